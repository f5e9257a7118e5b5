#include "core/PictureRecord.h"

#include <algorithm>
#include <limits>

u32 PictureDataBytes(u8 encoding, i16 width, i16 height) {
    u32 n = static_cast<u32>(static_cast<i32>(width) * static_cast<i32>(height));
    if (encoding == 0) return n;
    return encoding == 2 ? n / 2 : n / 4;
}

void ReadPictureHeader(const u8* record, CPictureData& picture) {
    picture.encoding = record[0];
    picture.width = static_cast<i16>(record[2] | (record[3] << 8));
    picture.height = static_cast<i16>(record[4] | (record[5] << 8));
    picture.data = record + 8;
    u32 n = PictureDataBytes(picture.encoding, picture.width, picture.height);
    picture.table = reinterpret_cast<const u16*>(record + 8 + n + (n & 1));
    picture.tableCount = std::numeric_limits<u32>::max();
}

namespace {

// A plain loop over the bytes (or little-endian u16 of encoding 2), which the compiler vectorises.
u32 LargestIndex(const u8* data, u8 encoding, u64 bytes) {
    if (encoding != 2) {
        u8 m = 0;
        for (u64 i = 0; i < bytes; ++i) m = std::max(m, data[i]);
        return m;
    }
    u16 m = 0;
    for (u64 i = 0; i + 1 < bytes; i += 2)
        m = std::max<u16>(m, static_cast<u16>(data[i] | (data[i + 1] << 8)));
    return m;
}

}  // namespace

bool ReadPicture(const u8* record, size_t size, CPictureData& picture) {
    picture = CPictureData{};
    if (!record || size < 8) return false;
    u8 encoding = record[0];
    i16 width = static_cast<i16>(record[2] | (record[3] << 8));
    i16 height = static_cast<i16>(record[4] | (record[5] << 8));
    if (encoding > 2 || width < 0 || height < 0) return false;
    if (encoding != 0 && ((width & 1) || (height & 1))) return false;
    u64 n = PictureDataBytes(encoding, width, height);
    u64 tableStart = 8 + n + (n & 1);
    if (8 + n > size) return false;
    picture.encoding = encoding;
    picture.width = width;
    picture.height = height;
    picture.data = record + 8;
    if (tableStart <= size) {
        picture.table = reinterpret_cast<const u16*>(record + tableStart);
        picture.tableCount = static_cast<u32>((size - tableStart) / 2);
    }
    const u64 entries = encoding == 0 ? 256 : encoding == 1 ? 1024 : 262144;
    if (picture.tableCount < entries) picture.maxIndex = LargestIndex(picture.data, encoding, n);
    return true;
}

bool PictureTableCoversData(const CPictureData& p) {
    const u64 entries = p.encoding == 0 ? 256 : p.encoding == 1 ? 1024 : 262144;
    if (p.tableCount >= entries) return true;
    if (p.maxIndex == CPictureData::kUnknownIndex) return false;
    const u64 needed = p.encoding == 0 ? u64{p.maxIndex} + 1 : 4 * u64{p.maxIndex} + 4;
    return needed <= p.tableCount;
}
