#include "display/Picture.h"

#include <algorithm>
#include <limits>

namespace {

inline u32 BlockIndex(const CPictureData& p, i32 column, i32 row) {
    size_t k =
        static_cast<size_t>(row >> 1) * static_cast<size_t>(p.width >> 1) + static_cast<size_t>(column >> 1);
    if (p.encoding == 1) return p.data[k];
    return static_cast<u32>(p.data[2 * k] | (p.data[2 * k + 1] << 8));
}

inline u16 TableEntry(const CPictureData& p, u64 index) { return index < p.tableCount ? p.table[index] : 0; }

}  // namespace

u16 PictureTexel(const CPictureData& p, i32 column, i32 row) {
    if (p.encoding == 0) return TableEntry(p, p.data[static_cast<size_t>(row) * p.width + column]);
    u64 k = BlockIndex(p, column, row);
    return TableEntry(p, 4 * k + 2 * (row & 1) + (column & 1));
}

bool PictureTexelIsClear(const CPictureData& p, i32 column, i32 row) {
    if (p.encoding == 0) return PictureTexel(p, column, row) == kTransparentPixel;
    u64 k = BlockIndex(p, column, row);
    return k == 0 || TableEntry(p, 4 * k + 2 * (row & 1) + (column & 1)) == kTransparentPixel;
}

void ReadPictureHeader(const u8* record, CTextureDesc& texture) {
    CPictureData picture;
    ReadPictureHeader(record, picture);
    texture = TextureDescOf(picture);
}

CTextureDesc TextureDescOf(const CPictureData& picture, const u16* table, u32 count) {
    CTextureDesc t;
    t.encoding = picture.encoding;
    t.width = picture.width;
    t.height = picture.height;
    t.data = picture.data;
    t.table = table ? table : picture.table;
    t.tableCount = table ? count : picture.tableCount;
    return t;
}

CMaskDesc MaskDescOf(const CPictureData& picture) {
    CMaskDesc m;
    m.width = static_cast<u16>(picture.width);
    m.height = static_cast<u16>(picture.height);
    m.bits = picture.data;
    return m;
}
