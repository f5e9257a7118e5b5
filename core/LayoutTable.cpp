#include "core/LayoutTable.h"

namespace {

struct TableReader {
    const u8* data;
    size_t size;

    // Offsets in the table are even; a look-up rounds an odd one down.
    static size_t Even(size_t offset) { return offset & ~static_cast<size_t>(1); }

    bool Word(size_t offset, u16& out) const {
        if (data == nullptr || offset > size || size - offset < 2) return false;
        out = static_cast<u16>(data[offset] | (data[offset + 1] << 8));
        return true;
    }
};

// The start of the layout for (group, mode), or false when the table has none.
bool FindLayout(const TableReader& t, u32 mode, u16 group, size_t& layout) {
    u16 groups = 0;
    if (!t.Word(0, groups)) return false;
    for (size_t i = 0; i < groups; ++i) {
        u16 groupOffset = 0, groupId = 0;
        if (!t.Word(2 + 4 * i, groupOffset) || !t.Word(4 + 4 * i, groupId)) return false;
        if (groupId != group) continue;
        size_t o = TableReader::Even(groupOffset);
        u16 modes = 0;
        if (!t.Word(o, modes)) continue;
        for (size_t j = 0; j < modes; ++j) {
            u16 layoutOffset = 0, layoutMode = 0;
            if (!t.Word(o + 2 + 4 * j, layoutOffset) || !t.Word(o + 4 + 4 * j, layoutMode)) break;
            if (layoutMode == mode) {
                layout = TableReader::Even(layoutOffset);
                return true;
            }
        }
    }
    return false;
}

}  // namespace

CLayoutElement ReadLayoutElement(const u8* element) {
    CLayoutElement e;
    if (element == nullptr) return e;
    auto w = [element](int i) { return static_cast<u16>(element[2 * i] | (element[2 * i + 1] << 8)); };
    e.id = w(0);
    e.x = w(1);
    e.y = w(2);
    e.w = w(3);
    e.h = w(4);
    return e;
}

const u8* FindLayoutRectIn(const u8* table, size_t size, u32 mode, u16 group, u32 element) {
    TableReader t{table, size};
    size_t p = 0;
    if (!FindLayout(t, mode, group, p)) return nullptr;
    u16 count = 0;
    if (!t.Word(p + 4, count)) return nullptr;
    for (size_t k = 0; k < count; ++k) {
        size_t at = p + 6 + 10 * k;
        // The whole record must lie inside the table, since the caller reads all five words.
        if (at > size || size - at < 10) return nullptr;
        u16 id = 0;
        t.Word(at, id);
        if (id == element) return table + at;
    }
    return nullptr;
}

bool GetLayoutSizeIn(const u8* table, size_t size, u32 mode, u16 group, u32& width, u32& height) {
    TableReader t{table, size};
    size_t p = 0;
    u16 w = 0, h = 0;
    if (!FindLayout(t, mode, group, p) || !t.Word(p, w) || !t.Word(p + 2, h)) return false;
    width = w;
    height = h;
    return true;
}

std::string CheckLayoutTable(const u8* table, size_t size, u32 mode, const CLayoutNeed* needs,
                             size_t needCount) {
    TableReader t{table, size};
    u16 groups = 0;
    if (!t.Word(0, groups)) return "shorter than its group count";
    if (2 + 4 * static_cast<size_t>(groups) > size) return "the group directory runs past the record's end";
    for (size_t i = 0; i < groups; ++i) {
        u16 groupOffset = 0, groupId = 0, modes = 0;
        t.Word(2 + 4 * i, groupOffset);
        t.Word(4 + 4 * i, groupId);
        const size_t o = TableReader::Even(groupOffset);
        const std::string group = "group " + std::to_string(groupId);
        if (!t.Word(o, modes) || o + 2 + 4 * static_cast<size_t>(modes) > size)
            return "the mode list of " + group + " runs past the record's end";
        for (size_t j = 0; j < modes; ++j) {
            u16 layoutOffset = 0, layoutMode = 0, count = 0;
            t.Word(o + 2 + 4 * j, layoutOffset);
            t.Word(o + 4 + 4 * j, layoutMode);
            const size_t p = TableReader::Even(layoutOffset);
            if (!t.Word(p + 4, count) || p + 6 + 10 * static_cast<size_t>(count) > size)
                return "the layout of " + group + " in layout mode " + std::to_string(layoutMode) +
                       " runs past the record's end";
        }
    }
    for (size_t i = 0; i < needCount; ++i) {
        if (FindLayoutRectIn(table, size, mode, needs[i].group, needs[i].element) != nullptr) continue;
        return "no element " + std::to_string(needs[i].element) + " of group " +
               std::to_string(needs[i].group) + " in layout mode " + std::to_string(mode);
    }
    return {};
}
