#include "tests/support/TestRecords.h"

#include <algorithm>
#include <cstring>

#include "core/PdbFile.h"
#include "data/RecordHolder.h"

namespace testing_support {

std::vector<u8> SavedGameHeaderStub() {
    std::vector<u8> record(6 + 8000 + 2, 0);
    record[0] = 0x02;
    record[1] = 0x03;
    record[2] = 0xFF;
    record[3] = 122;
    record[4] = 8000 & 0xFF;
    record[5] = 8000 >> 8;
    return record;
}

void PutWord(std::vector<u8>& bytes, size_t at, u16 value) {
    if (bytes.size() < at + 2) bytes.resize(at + 2);
    bytes[at] = static_cast<u8>(value);
    bytes[at + 1] = static_cast<u8>(value >> 8);
}

std::vector<u8> BuildLayoutGroups(const std::vector<LayoutGroupSpec>& groups) {
    std::vector<u8> r;
    PutWord(r, 0, static_cast<u16>(groups.size()));
    size_t at = 2 + 4 * groups.size();
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::vector<LayoutModeSpec>& modes = groups[g].modes;
        PutWord(r, 2 + 4 * g, static_cast<u16>(at));
        PutWord(r, 4 + 4 * g, groups[g].id);
        const size_t list = at;
        PutWord(r, list, static_cast<u16>(modes.size()));
        at = list + 2 + 4 * modes.size();
        for (size_t m = 0; m < modes.size(); ++m) {
            PutWord(r, list + 2 + 4 * m, static_cast<u16>(at));
            PutWord(r, list + 4 + 4 * m, modes[m].mode);
            PutWord(r, at, modes[m].width);
            PutWord(r, at + 2, modes[m].height);
            PutWord(r, at + 4, static_cast<u16>(modes[m].elements.size()));
            size_t e = at + 6;
            for (const LayoutElementSpec& el : modes[m].elements) {
                PutWord(r, e, el.id);
                PutWord(r, e + 2, el.x);
                PutWord(r, e + 4, el.y);
                PutWord(r, e + 6, el.w);
                PutWord(r, e + 8, el.h);
                e += 10;
            }
            at = e;
        }
    }
    return r;
}

std::vector<u8> BuildLayoutTable(const std::vector<LayoutSpec>& layouts) {
    std::vector<LayoutGroupSpec> groups;
    for (const LayoutSpec& l : layouts) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const LayoutGroupSpec& g) { return g.id == l.group; });
        if (it == groups.end()) {
            groups.push_back({l.group, {}});
            it = groups.end() - 1;
        }
        it->modes.push_back({l.mode, l.width, l.height, l.elements});
    }
    return BuildLayoutGroups(groups);
}

std::vector<u8> IndexedPicture(int width, int height, const std::function<u8(int, int)>& index,
                               const std::vector<u16>& table) {
    std::vector<u8> r(8, 0);
    PutWord(r, 2, static_cast<u16>(width));
    PutWord(r, 4, static_cast<u16>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) r.push_back(index(x, y));
    if (r.size() % 2) r.push_back(0);
    for (u16 c : table) PutWord(r, r.size(), c);
    return r;
}

std::vector<u8> PictureRecord(int width, int height, const std::function<u16(int, int)>& colour) {
    std::vector<u16> table;
    std::vector<u8> texels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const u16 c = colour(x, y);
            auto it = std::find(table.begin(), table.end(), c);
            if (it == table.end()) {
                table.push_back(c);
                it = table.end() - 1;
            }
            texels.push_back(static_cast<u8>(it - table.begin()));
        }
    }
    return IndexedPicture(
        width, height, [&](int x, int y) { return texels[static_cast<size_t>(y) * width + x]; }, table);
}

std::vector<u8> SolidPicture(i16 width, i16 height, u16 colour) {
    return BorderedPicture(width, height, colour, colour);
}

std::vector<u8> BorderedPicture(i16 width, i16 height, u16 inside, u16 border) {
    return IndexedPicture(
        width, height,
        [=](int x, int y) {
            return static_cast<u8>((x == 0 || y == 0 || x == width - 1 || y == height - 1) ? 1 : 0);
        },
        {inside, border});
}

CRecordData* MakeRecord(const std::vector<u8>& bytes) {
    auto* record = new CRecordData;
    record->size = static_cast<u32>(bytes.size());
    record->data = new u8[std::max<size_t>(bytes.size(), 1)];
    if (!bytes.empty()) std::memcpy(record->data, bytes.data(), bytes.size());
    return record;
}

CRecordHolder* MakeHolder(const std::vector<u8>& bytes) {
    auto* holder = new CRecordHolder;
    holder->record = MakeRecord(bytes);
    holder->data = holder->record->data;
    return holder;
}

}  // namespace testing_support
