#include "view3d/CellBuilder.h"

namespace {

// The eight neighbours, from the one at y - 1 round through x + 1; the four sides are 0, 2, 4, 6.
constexpr i32 kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr i32 kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

inline u16 PaletteId(u16 word) { return word == kNoIndex ? 0 : word; }

struct Layer {
    u16 type, second, palette;
    bool operator==(const Layer&) const = default;
};

Layer FirstLayer(const CViewCell& c) { return {c.layer1, c.layer1Second, c.layer1Picture}; }
Layer SecondLayer(const CViewCell& c) { return {c.layer2, c.layer2Second, c.layer2Picture}; }

}  // namespace

u8 CViewCacheBuilder::GroundNeighbourCode(i32 x, i32 y, bool secondLayer) const {
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return 0;
    const Layer layer = secondLayer ? SecondLayer(c) : FirstLayer(c);
    u8 mask = 0;
    for (i32 k = 0; k < 8; ++k) {
        CViewCell n;
        const i32 nx = x + kDx[k], ny = y + kDy[k];
        if (!window_.GetCell(nx, ny, n)) continue;
        bool same = FirstLayer(n) == layer || SecondLayer(n) == layer;
        if (!same) {
            u16 type = kNoIndex, palette = kNoIndex;
            window_.DefaultGround(nx, ny, type, palette);
            same = layer.type == type && layer.palette == palette;
        }
        if (same) mask |= static_cast<u8>(1u << k);
    }
    return ApplyCornerRule(mask);
}

// The ground's composition is this system's own: a pit, one layer that covers the cell, or a bottom
// texture (the first layer where it covers the cell, else the sector's default ground) with the
// remaining layers over it, each through the transition mask its neighbours select.
void CViewCacheBuilder::BuildGroundEntry(i32 x, i32 y, CGroundCacheEntry& e, u16& shape) const {
    e = CGroundCacheEntry{};
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return;
    const CViewCellType* t0 = Type(c.layer1);
    if (t0 && t0->kind == 5) {
        e.texture[0] = t0->Picture(0);
        e.palette[0] = PaletteId(c.layer1Picture);
        e.flags |= 1;
        return;
    }
    shape = 54;
    const CViewCellType* t3 = Type(c.layer2);
    const u8 m2 = t3 ? GroundNeighbourCode(x, y, true) : 0;
    if (t3 && m2 == 255) {
        e.texture[0] = t3->Picture(0);
        e.palette[0] = PaletteId(c.layer2Picture);
        shape = t3->kind == 3 ? 59 : 60;
        return;
    }
    const CViewCellType* transition = Type(c.layer2Second);
    auto maskOf = [&](u8 m) -> u16 {
        return transition ? transition->Picture(window_.TransitionIndex(m)) : 0;
    };
    struct Top {
        u16 texture, palette, mask;
    } tops[2];
    int topCount = 0;
    const u8 m1 = t0 ? GroundNeighbourCode(x, y, false) : 0;
    if (t0 && m1 == 255) {
        e.texture[0] = t0->Picture(0);
        e.palette[0] = PaletteId(c.layer1Picture);
        if (t0->kind == 3) shape = 59;
    } else {
        u16 type = kNoIndex, palette = kNoIndex;
        window_.DefaultGround(x, y, type, palette);
        const CViewCellType* d = Type(type);
        e.texture[0] = d ? d->Picture(0) : 0;
        e.palette[0] = PaletteId(palette);
        if (t0) tops[topCount++] = {t0->Picture(0), PaletteId(c.layer1Picture), maskOf(m1)};
    }
    if (t3) tops[topCount++] = {t3->Picture(0), PaletteId(c.layer2Picture), maskOf(m2)};
    // A layer without a transition mask has no edge to blend: it covers the cell, and what lies under
    // it is not drawn (a layer with mask 0 would draw nothing at all, leaving a hole to the sky).
    for (int k = topCount - 1; k >= 0; --k) {
        if (tops[k].mask != 0) continue;
        e.texture[0] = tops[k].texture;
        e.palette[0] = tops[k].palette;
        for (int j = k + 1; j < topCount; ++j) tops[j - k - 1] = tops[j];
        topCount -= k + 1;
        break;
    }
    for (int k = 0; k < topCount; ++k) {
        e.texture[1 + k] = tops[k].texture;
        e.palette[1 + k] = tops[k].palette;
    }
    if (topCount > 0) e.maskA = tops[0].mask;
    if (topCount > 1) e.maskB = tops[1].mask;
}

u16 CViewCacheBuilder::BlockShapeCode(i32 x, i32 y) const {
    bool s5[4] = {}, s1[4] = {};
    for (i32 i = 0; i < 4; ++i) {
        const i32 nx = x + kDx[2 * i], ny = y + kDy[2 * i];
        CViewCell n;
        if (!window_.GetCell(nx, ny, n)) continue;
        s5[i] = OpenKind5(nx, ny, n);
        s1[i] = Kind(n.centre) == 1;
    }
    return ::BlockShapeCode(s5, s1);
}

u16 CViewCacheBuilder::BlockJointCode(i32 x, i32 y) const {
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return 0;
    u8 mask = 0;
    for (i32 k = 0; k < 8; ++k) {
        const i32 nx = x + kDx[k], ny = y + kDy[k];
        CViewCell n;
        if (!window_.GetCell(nx, ny, n)) continue;
        bool hit = n.centre == c.centre && n.centrePicture == c.centrePicture && OpenKind5(nx, ny, n);
        CViewSecondCell s;
        if (!hit && window_.GetSecondCell(nx, ny, s))
            hit = Kind(s.firstType) == 1 && s.firstType == c.centre && s.firstPalette == c.centrePicture;
        if (hit) mask |= static_cast<u8>(1u << k);
    }
    return JointCode(ApplyCornerRule(mask));
}

u16 CViewCacheBuilder::OverlayBlockJointCode(i32 x, i32 y) const {
    CViewSecondCell s;
    if (!window_.GetSecondCell(x, y, s)) return 0;
    const bool kind1 = Kind(s.firstType) == 1;
    const u16 refType = kind1 ? s.firstType : s.secondType;
    const u16 refPalette = kind1 ? s.firstPalette : s.secondPalette;
    u8 mask = 0;
    for (i32 k = 0; k < 8; ++k) {
        const i32 nx = x + kDx[k], ny = y + kDy[k];
        CViewCell n;
        if (!window_.GetCell(nx, ny, n)) continue;
        CViewSecondCell ns;
        const bool hasSecond = window_.GetSecondCell(nx, ny, ns);
        const bool secondOpen = !window_.SecondCentreObject(nx, ny).Hides();
        bool hit;
        if (kind1) {
            hit = (hasSecond && secondOpen && Kind(ns.firstType) == 1 && ns.firstType == refType &&
                   ns.firstPalette == refPalette) ||
                  (OpenKind5(nx, ny, n) && n.centre == refType && n.centrePicture == refPalette);
        } else {
            hit = hasSecond && secondOpen && Kind(ns.firstType) == 5 && ns.secondType == refType &&
                  ns.secondPalette == refPalette;
        }
        if (hit) mask |= static_cast<u8>(1u << k);
    }
    return JointCode(ApplyCornerRule(mask));
}

void CViewCacheBuilder::BuildWalls(i32 x, i32 y, bool upper) {
    if (!window_.HasMapData()) return;
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return;
    const size_t i = static_cast<size_t>(y * kWindowCells + x);
    u16& index = upper ? view_.overlayViews[i].upperWall : view_.cellViews[i].lowerWall;
    CWallCacheEntry wall;
    bool described = false, unique = false;
    for (i32 side = 0; side < 4; ++side) {
        const i32 nx = x + kDx[2 * side], ny = y + kDy[2 * side];
        CViewCell n;
        if (!window_.GetCell(nx, ny, n)) continue;
        bool block;
        if (upper) {
            CViewSecondCell s;
            block = window_.GetSecondCell(nx, ny, s) && Kind(s.firstType) == 5 &&
                    !window_.SecondCentreObject(nx, ny).Hides();
        } else {
            block = OpenKind5(nx, ny, n);
        }
        if (!block) continue;
        unique |= window_.DescribeSide(nx, ny, (side + 2) & 3, upper, wall);
        described = true;
    }
    if (!described) {
        index = 0;
        return;
    }
    index =
        view_.wallCache.Intern(index, wall, !unique, notices_, unique ? kWallUniqueFull : kWallSharedFull);
}

void CViewCacheBuilder::BuildCellCaches(i32 x, i32 y) {
    if (!window_.HasMapData()) return;
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return;
    CCellView& v = view_.cellViews[static_cast<size_t>(y * kWindowCells + x)];

    CGroundCacheEntry ground;
    u16 shape = v.groundShape;
    BuildGroundEntry(x, y, ground, shape);
    v.groundShape = shape;
    v.ground = view_.groundCache.Intern(v.ground, ground, true, notices_, kGroundCacheFull);

    if (const CViewCellType* block = Type(c.centre)) {
        CBlockCacheEntry entry;
        if (!window_.CentreObject(x, y).Hides()) {
            u16 light = v.light;
            window_.DescribeCentre(x, y, false, entry, light);
            v.light = light;
            if (block->kind == 5 && c.layer2Second != kNoIndex)
                entry.model = static_cast<u8>(BlockJointCode(x, y));
            else if (block->kind == 1)
                entry.model = static_cast<u8>(BlockShapeCode(x, y));
        }
        const bool unique = block->uniqueLower;
        v.lowerBlock = view_.blockCache.Intern(v.lowerBlock, entry, !unique, notices_,
                                               unique ? kLowerBlockUniqueFull : kLowerBlockSharedFull);
    }

    BuildWalls(x, y, false);

    for (i32 slot = 0; slot < 2; ++slot) {
        u16 k = window_.CellObjectIndex(x, y, slot);
        if (k == 0 || k >= view_.cellObjects.size()) {
            v.cellObject[slot] = 0;
            continue;
        }
        view_.cellObjects[k] = CCellObject{};
        window_.FillCellObject(x, y, slot, view_.cellObjects[k]);
        v.cellObject[slot] = k;
    }
    u16 group = window_.PictureGroupIndex(x, y);
    if (group != 0 && group < view_.pictureGroups.size()) {
        view_.pictureGroups[group] = CPictureGroup{};
        window_.FillPictureGroup(x, y, view_.pictureGroups[group]);
        v.pictureGroup = group;
    } else {
        v.pictureGroup = 0;
    }

    if (window_.LowersLight() && v.light > 255) v.light = static_cast<u16>(v.light - 64);
}

void CViewCacheBuilder::BuildCellCachesPass3(i32 x, i32 y) {
    if (!window_.HasMapData()) return;
    CViewCell c;
    if (!window_.GetCell(x, y, c)) return;
    const size_t i = static_cast<size_t>(y * kWindowCells + x);
    CCellOverlayView& o = view_.overlayViews[i];
    u16 light = view_.cellViews[i].light;
    CViewSecondCell s;
    if (window_.GetSecondCell(x, y, s) && !window_.SecondCentreObject(x, y).Hides()) {
        CBlockCacheEntry entry;
        if (window_.DescribeCentre(x, y, true, entry, light)) {
            entry.model = static_cast<u8>(OverlayBlockJointCode(x, y));
            const CViewCellType* t = Type(s.firstType);
            const bool unique = t && t->uniqueUpper;
            o.upperBlock = view_.blockCache.Intern(o.upperBlock, entry, !unique, notices_,
                                                   unique ? kUpperBlockUniqueFull : kUpperBlockSharedFull);
        }
    }
    o.upperLight = light;
    BuildWalls(x, y, true);
}

void CViewCacheBuilder::NumberCellObjects() {
    numbering_.Reset();
    for (i32 y = 0; y < kWindowCells; ++y) {
        for (i32 x = 0; x < kWindowCells; ++x) {
            for (i32 slot = 0; slot < 2; ++slot) {
                if (window_.HasCellObject(x, y, slot))
                    window_.SetCellObjectIndex(x, y, slot, numbering_.NextCellObject());
            }
            if (window_.HasPictureGroup(x, y))
                window_.SetPictureGroupIndex(x, y, numbering_.NextPictureGroup());
        }
    }
}
