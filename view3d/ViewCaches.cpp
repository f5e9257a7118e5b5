#include "view3d/ViewCaches.h"

#include "view3d/ViewRecord.h"

namespace {

struct JointPair {
    u8 mask;
    u8 code;
};

// The masks a corner-ruled neighbourhood can take, and their joint codes.
constexpr JointPair kJoints[] = {
    {124, 1},  {31, 2},   {199, 4},  {241, 8}, {28, 3},   {68, 5},   {112, 9},  {7, 6},
    {17, 10},  {193, 12}, {1, 14},   {64, 13}, {16, 11},  {4, 7},    {0, 15},   {127, 17},
    {223, 18}, {247, 20}, {253, 24}, {95, 19}, {119, 21}, {125, 25}, {215, 22}, {221, 26},
    {245, 28}, {213, 30}, {117, 29}, {93, 27}, {87, 23},  {85, 31},  {116, 33}, {92, 34},
    {84, 35},  {29, 37},  {23, 38},  {21, 39}, {71, 41},  {197, 42}, {69, 43},  {209, 45},
    {113, 46}, {81, 47},  {65, 32},  {80, 36}, {20, 40},  {5, 44},
};

constexpr u8 kCornerEdges[4] = {5, 20, 80, 65};
constexpr u8 kCornerBits[4] = {2, 8, 32, 128};

}  // namespace

u8 ApplyCornerRule(u8 mask) {
    for (int c = 0; c < 4; ++c) {
        if ((mask & kCornerEdges[c]) != kCornerEdges[c]) mask &= static_cast<u8>(~kCornerBits[c]);
    }
    return mask;
}

u16 JointCodeOfMask(u8 mask) {
    for (const JointPair& j : kJoints) {
        if (j.mask == mask) return j.code;
    }
    return 0;
}

u16 BlockShapeCode(const bool s5[4], const bool s1[4]) {
    if (s5[0]) {
        if (s5[1] && s1[2] && s1[3]) return 56;
        if (s5[3] && s1[2] && s1[1]) return 57;
        if (!s1[3] && !s5[3]) {
            if (s1[1]) return 55;
        } else {
            if (s1[1] || s5[1]) return 48;
            return 52;
        }
    }
    if (s5[2]) {
        if (s5[1] && s1[0] && s1[3]) return 59;
        if (s5[3] && s1[0] && s1[1]) return 58;
        if (!s1[3] && !s5[3]) {
            if (s1[1]) return 54;
            goto four;
        }
        if (s1[1] || s5[1]) return 50;
        if (s1[3]) return 53;
    }
    if (s5[3]) return 49;
four:
    if (s5[1]) return 51;
    if (!s1[0]) return !s1[2] ? 48 : (s1[3] ? 53 : 54);
    return s1[3] ? 52 : 55;
}

void AnimateGroundTextures(std::vector<CAnimatedTexture>& textures, CGroundCache& ground) {
    for (CAnimatedTexture& t : textures) {
        i32 count = static_cast<i32>(t.frames.size());
        if (count == 0) continue;
        if (t.current >= count || t.current < 0) t.current = 0;
        u16 id = t.frames[static_cast<size_t>(t.current)];
        i16 next = static_cast<i16>(t.current + 1 >= count ? 0 : t.current + 1);
        u16 nextId = t.frames[static_cast<size_t>(next)];
        for (u32 i = 0; i < kGroundCacheCapacity; ++i) {
            CGroundCacheEntry& e = ground.At(i);
            for (u16& w : e.texture) {
                if (w == id) w = nextId;
            }
        }
        t.current = next;
    }
}

void RebuildViewCaches(CViewState3D& view, CViewCellBuilder& builder) {
    view.groundCache.Reset();
    view.blockCache.Reset();
    view.wallCache.Reset();
    for (i32 y = 0; y < kWindowCells; ++y) {
        for (i32 x = 0; x < kWindowCells; ++x) {
            const size_t i = static_cast<size_t>(y * kWindowCells + x);
            view.cellViews[i] = CCellView{};
            builder.BuildCellCaches(x, y);
            view.overlayViews[i] = CCellOverlayView{};
            builder.BuildCellCachesPass3(x, y);
        }
    }
}
