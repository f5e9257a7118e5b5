// The view's interning caches of ground, block and wall descriptions: equal descriptions of many
// cells share one entry, and the cells' view records hold the entry's index (0 = none). Only a rebuild
// empties a cache; entries are never removed one by one.
#pragma once

#include "core/Types.h"
#include "view3d/ViewWorld.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

// Index of a window cell's record: 35 x 35 cells, row by row.
inline constexpr i32 kWindowCells = 35;
inline constexpr i32 kWindowCellCount = kWindowCells * kWindowCells;

// The cell's view record: what the emitters draw, as cache indices and the centre picture.
struct CCellView {
    u16 ground = 0;
    u16 lowerBlock = 0;
    u16 lowerWall = 0;
    u16 pictureGroup = 0;
    u16 centrePicture = 0;
    u16 centrePalette = 0;
    u16 centreX = 0;
    u16 centreY = 0;
    u16 centreHeight = 0;  // 16.16 of the level height
    u16 cellObject[2] = {0, 0};
    u16 light = 256;
    u16 groundShape = 0;
};

struct CCellOverlayView {
    u16 upperBlock = 0;
    u16 upperWall = 0;
    u16 upperLight = 0;
};

// The game view's bookkeeping of its cell window: counters, position words, the window's size,
// four quadruples of bounds and flag bytes. A reset leaves everything 0 but the size, which is the
// whole 35 x 35 window, so a view that was never filled still spans its window.
struct CCellWindowState {
    u16 counters[4] = {};
    u16 position[4] = {};
    u16 width = kWindowCells;
    u16 height = kWindowCells;
    u16 bounds[4][4] = {};
    u8 flags[4] = {};
};
inline void ResetCellWindowState(CCellWindowState& state) { state = CCellWindowState{}; }

// Two small view records kept beside the caches; both start as zeros.
struct CViewRecord14 {
    u16 words[7] = {};
};
struct CViewRecord20 {
    u32 words[5] = {};
};
inline void ZeroRecord14(CViewRecord14& record) { record = CViewRecord14{}; }
inline void ZeroRecord20(CViewRecord20& record) { record = CViewRecord20{}; }

// Nine words: three textures, their palette ids, flags (bit 0 a pit) and the two mask pictures.
struct CGroundCacheEntry {
    u16 texture[3] = {0, 0, 0};
    u16 palette[3] = {0, 0, 0};
    u16 flags = 0;
    u16 maskA = 0;
    u16 maskB = 0;
};

// A block description: the block kind and the model id (joint or shape code, or a door's state) in
// the first two bytes; the emitters of blocks give the other fields their meaning.
struct CBlockCacheEntry {
    u8 kind = 0;
    u8 model = 0;
    u16 picture[6] = {};
    u16 palette[6] = {};
    i16 x[6] = {};
    i16 y[6] = {};
    u16 heightFraction = 0;
    u16 undersideTexture = 0;
    u16 undersidePalette = 0;
    u16 flags = 0;
};

// Nine groups of four words, the word of part p in group k at p + 4 k.
struct CWallCacheEntry {
    u16 words[36] = {};
    static constexpr int kParts = 4;
    static constexpr int kWordsPerPart = 9;
    // The words of one part, in the order they follow each other every fourth word: the edge slot's
    // packed position, its front picture, its side picture (0: an upright picture at the position),
    // its palette id, the upright slot's packed position, picture and palette id, the edge slot's
    // stack word and one word the emitters leave alone.
    enum PartWord : int {
        kEdgePosition = 0,
        kEdgeFront,
        kEdgeSide,
        kEdgePalette,
        kUprightPosition,
        kUprightPicture,
        kUprightPalette,
        kEdgeStack,
        kSpare
    };
    u16& Word(int part, int k) { return words[part + kParts * k]; }
    u16 Word(int part, int k) const { return words[part + kParts * k]; }
    // Part -1 clears the whole entry, part 0..3 the nine words of that part; other parts nothing.
    void Clear(int part) {
        if (part == -1) {
            *this = CWallCacheEntry{};
            return;
        }
        if (part < 0 || part >= kParts) return;
        for (int k = 0; k < kWordsPerPart; ++k) Word(part, k) = 0;
    }
};

// A packed position of a wall entry's slot: x and y inside the cell and the height in the part, each
// 1..31 for (value - 1) / 30 of the cell or the level (1 the western or northern edge or the part's
// floor, 31 the opposite edge or a full level up); `flag` is bit 15, whose meaning is the slot's.
constexpr u16 PackWallPosition(int x, int y, int height, bool flag = false) {
    auto clamp = [](int v) { return v < 1 ? 1 : (v > 31 ? 31 : v); };
    return static_cast<u16>(clamp(x) | (clamp(y) << 5) | (clamp(height) << 10) | (flag ? 0x8000 : 0));
}

// Two descriptions are equal when every byte of them is (the caches intern by this rule).
template <typename Entry>
bool EntriesEqual(const Entry& a, const Entry& b) {
    static_assert(std::has_unique_object_representations_v<Entry>, "descriptions are compared byte by byte");
    return std::memcmp(&a, &b, sizeof(Entry)) == 0;
}

struct CPictureGroup {
    u16 pictures[10] = {};
};

// A cell object or creature sprite, 14 bytes.
struct CCellObject {
    u16 picture = 0;
    u16 palette = 0;
    i16 x = 0;
    i16 y = 0;
    u16 heightFraction = 0;
    u16 flags = 0;
    u16 glowPercent = 0;
};

inline constexpr u32 kGroundCacheCapacity = 500;
inline constexpr u32 kBlockCacheCapacity = 800;
inline constexpr u32 kWallCacheCapacity = 500;

// One interning cache. Entry i sits at position i; entry 0 is never used.
template <typename Entry, u32 Capacity>
class CViewCache {
    static_assert(std::has_unique_object_representations_v<Entry>, "descriptions are compared byte by byte");

public:
    CViewCache() : entries_(Capacity) {}

    const Entry& operator[](u32 index) const { return entries_[index < Capacity ? index : 0]; }
    Entry& At(u32 index) { return entries_[index < Capacity ? index : 0]; }
    u32 Count() const { return static_cast<u32>(used_.size()); }
    static constexpr u32 CapacityOf() { return Capacity; }
    bool IsShared(u32 index) const { return index >= 1 && index <= shared_.size() && shared_[index - 1]; }
    // Cells that found the cache full since the last rebuild (they show nothing of that kind).
    u32 Dropped() const { return dropped_; }

    // Empties the cache (a rebuild) and lets the full notice show again.
    void Reset() {
        used_.clear();
        shared_.clear();
        noticeShown_ = false;
        dropped_ = 0;
    }

    // Stores a description for a cell that holds `index` (0 = none yet) and returns its index. An entry
    // that belongs to that cell alone is rewritten in place; a shared entry is never rewritten, since
    // that would change every cell sharing it: the description is interned afresh instead. In shared
    // mode an equal shared entry is reused. A full cache shows its notice once per rebuild and gives 0.
    u16 Intern(u16 index, const Entry& entry, bool shared, CViewNotices* notices, const char* fullText) {
        if (index != 0 && index <= used_.size() && !shared_[index - 1]) {
            entries_[index] = entry;
            return index;
        }
        if (shared) {
            for (u32 k = 0; k < used_.size(); ++k) {
                if (shared_[k] && EntriesEqual(entries_[k + 1], entry))
                    return static_cast<u16>(k + 1);
            }
        }
        u32 next = Count() + 1;
        if (next >= Capacity) {
            ++dropped_;
            if (!noticeShown_) {
                noticeShown_ = true;
                if (notices) {
                    char text[96];
                    std::snprintf(text, sizeof text, fullText, static_cast<unsigned long>(Count()),
                                  static_cast<unsigned long>(Capacity));
                    notices->ShowViewNotice(text);
                }
            }
            return 0;
        }
        entries_[next] = entry;
        used_.push_back(static_cast<u16>(next));
        shared_.push_back(shared ? 1 : 0);
        return static_cast<u16>(next);
    }

    std::vector<Entry>& Entries() { return entries_; }

private:
    std::vector<Entry> entries_;
    std::vector<u16> used_;
    std::vector<u8> shared_;
    bool noticeShown_ = false;
    u32 dropped_ = 0;
};

using CGroundCache = CViewCache<CGroundCacheEntry, kGroundCacheCapacity>;
using CBlockCache = CViewCache<CBlockCacheEntry, kBlockCacheCapacity>;
using CWallCache = CViewCache<CWallCacheEntry, kWallCacheCapacity>;

// The notices of a full cache, by cache and place.
inline constexpr const char* kGroundCacheFull = "Fatal Error: ground cache is full (1), %lu/%lu";
inline constexpr const char* kLowerBlockUniqueFull = "Fatal Error: block cache is full (1), %lu/%lu";
inline constexpr const char* kLowerBlockSharedFull = "Fatal Error: block cache is full (2), %lu/%lu";
inline constexpr const char* kUpperBlockUniqueFull = "Fatal Error: block cache is full (3), %lu/%lu";
inline constexpr const char* kUpperBlockSharedFull = "Fatal Error: block cache is full (4), %lu/%lu";
inline constexpr const char* kWallUniqueFull = "Fatal Error: wall cache is full (1), %lu/%lu";
inline constexpr const char* kWallSharedFull = "Fatal Error: wall cache is full (2), %lu/%lu";

// Eight-neighbour masks: bit k for neighbour k, from the one at y - 1 round through x + 1. A corner's
// bit counts only when both edge neighbours beside it are set.
u8 ApplyCornerRule(u8 mask);
// The joint code of a roof block from its (corner-ruled) neighbour mask; 0 for masks the rule cannot
// produce and for a block surrounded on all sides.
u16 JointCodeOfMask(u8 mask);
// The shape code 48..59 of a kind-1 block from its four orthogonal neighbours (north, east, south,
// west): s5[i] a kind-5 block whose object is absent or open, s1[i] a kind-1 block.
u16 BlockShapeCode(const bool s5[4], const bool s1[4]);

// An animated ground texture: the frames of a cell type of kind 3 and its current frame.
struct CAnimatedTexture {
    std::vector<u16> frames;
    i16 current = 0;
};
// One animation step: every ground entry's first three words equal to a record's current frame become
// its next frame.
void AnimateGroundTextures(std::vector<CAnimatedTexture>& textures, CGroundCache& ground);

// Numbering of the cell objects and picture groups of the window: 1, 2, ... up to 255, the last entry
// of the 256-entry tables; objects beyond it get 0 and are not drawn.
class CViewNumbering {
public:
    u16 NextCellObject() { return Next(cellObjects_); }
    u16 NextPictureGroup() { return Next(pictureGroups_); }
    void Reset() { cellObjects_ = pictureGroups_ = 1; }

private:
    static u16 Next(u16& counter) { return counter <= 255 ? counter++ : 0; }
    u16 cellObjects_ = 1;
    u16 pictureGroups_ = 1;
};

struct CViewState3D;

// The game view's side of a rebuild: it describes one window cell into the view record (ground,
// lower block and walls; then upper block, walls and light), interning through the caches.
class CViewCellBuilder {
public:
    virtual ~CViewCellBuilder() = default;
    virtual void BuildCellCaches(i32 x, i32 y) = 0;
    virtual void BuildCellCachesPass3(i32 x, i32 y) = 0;
    // The walls alone, of the lower or the upper part (after a side's object changed).
    virtual void BuildCellCachesPass2(i32, i32) {}
    virtual void BuildCellCachesPass4(i32, i32) {}
};

// Rebuilds the whole window: the caches are emptied (so a full cache says so again, once), and every
// cell's view records are reset (light 256) and built afresh, row by row.
void RebuildViewCaches(CViewState3D& view, CViewCellBuilder& builder);
