// Records built in memory for tests: layout tables, encoding-0 pictures and the record handles the
// game frees itself.
#pragma once

#include <functional>
#include <vector>

#include "core/Types.h"

class CRecordHolder;
struct CRecordData;

namespace testing_support {

// A saved game's header record that checks: the three opening bytes, the version, an 8,000-byte black
// picture and two empty texts.
std::vector<u8> SavedGameHeaderStub();

// Writes a little-endian word at `at`, growing the buffer as needed.
void PutWord(std::vector<u8>& bytes, size_t at, u16 value);

struct LayoutElementSpec {
    u16 id, x, y, w, h;
};
// One layout: the size and elements of a group in one layout mode.
struct LayoutSpec {
    u16 group;
    u16 mode;
    u16 width, height;
    std::vector<LayoutElementSpec> elements;
};
// The layout table record built from the layouts: one group entry per distinct group, in order of
// first appearance, each listing its modes in the order given.
std::vector<u8> BuildLayoutTable(const std::vector<LayoutSpec>& layouts);

// The same record written entry by entry, so that a table may name a group more than once.
struct LayoutModeSpec {
    u16 mode, width, height;
    std::vector<LayoutElementSpec> elements;
};
struct LayoutGroupSpec {
    u16 id;
    std::vector<LayoutModeSpec> modes;
};
std::vector<u8> BuildLayoutGroups(const std::vector<LayoutGroupSpec>& groups);

// An encoding-0 picture record whose texel (x, y) is index(x, y) into the colour table.
std::vector<u8> IndexedPicture(int width, int height, const std::function<u8(int, int)>& index,
                               const std::vector<u16>& table);
// An encoding-0 picture record whose texel (x, y) has colour(x, y); the colour table lists each
// colour once, in order of first appearance.
std::vector<u8> PictureRecord(int width, int height, const std::function<u16(int, int)>& colour);
// A picture record in encoding 0 of one colour, or with a one-texel border of a second colour
// (table: inside, border).
std::vector<u8> SolidPicture(i16 width, i16 height, u16 colour);
std::vector<u8> BorderedPicture(i16 width, i16 height, u16 inside, u16 border);

// A record the game may free (FreeDataBlock).
CRecordData* MakeRecord(const std::vector<u8>& bytes);
// A holder that owns its record (the game deletes interface pictures and frees their records).
CRecordHolder* MakeHolder(const std::vector<u8>& bytes);

}  // namespace testing_support
