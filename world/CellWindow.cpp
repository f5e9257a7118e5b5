#include "world/CellWindow.h"

#include <algorithm>

#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/MapObjectRecords.h"
#include "data/World.h"

const CCellWindow::Piece CCellWindow::kPieces[9] = {
    {-1, -1, 14, 14, 7, 7, 0, 0}, {0, -1, 0, 14, 21, 7, 7, 0}, {1, -1, 0, 14, 7, 7, 28, 0},
    {-1, 0, 14, 0, 7, 21, 0, 7},  {0, 0, 0, 0, 21, 21, 7, 7},  {1, 0, 0, 0, 7, 21, 28, 7},
    {-1, 1, 14, 0, 7, 7, 0, 28},  {0, 1, 0, 0, 21, 7, 7, 28},  {1, 1, 0, 0, 7, 7, 28, 28},
};

const u8 CCellWindow::kSectorPieces[25] = {0, 1, 1, 1, 2, 3, 4, 4, 4, 5, 3, 4, 4,
                                           4, 5, 3, 4, 4, 4, 5, 6, 7, 7, 7, 8};

// Clockwise from the north.
const i32 CCellWindow::kNeighbours[8][2] = {{0, -1}, {1, -1}, {1, 0},  {1, 1},
                                            {0, 1},  {-1, 1}, {-1, 0}, {-1, -1}};

CCellWindow::CCellWindow(CRandom* random)
    : cells_(std::make_unique<std::array<CMapCell, kMapWindowCells>>()),
      stored_(std::make_unique<std::array<CStoredCell, kMapWindowCells>>()),
      pileNumbers_(std::make_unique<std::array<PileNumber, kMapWindowCells>>()), random_(random) {}

void CCellWindow::Clear() {
    for (CMapCell& c : *cells_) c.Reset();
    for (CStoredCell& c : *stored_) c.Reset();
    ForgetPileNumbers();
    for (auto& s : sectors_) s = nullptr;
    for (auto& p : pieces_) p = nullptr;
    for (auto& g : pieceGround_) g[0] = g[1] = kNoCellIndex;
    section_ = nullptr;
    world_ = nullptr;
    surface_ = false;
}

void CCellWindow::Fill(CWorld* world, CMapSection* section, const CCellRefs& refs, u32 clock) {
    Clear();
    if (!section) return;
    world_ = world;
    section_ = section;
    surface_ = section->IsSurface();
    if (!surface_) {
        section->LoadIntoCellWindow(cells_->data(), stored_->data(), refs, clock);
        for (auto& s : sectors_) s = section;
        for (auto& p : pieces_) p = section;
        PlaceSectionContents(section);
        return;
    }
    for (i32 i = 0; i < 9; ++i) {
        const Piece& p = kPieces[i];
        CMapSection* piece =
            i == 4 ? section : (world ? world->FindNeighbourSection(section, p.dx, p.dy) : nullptr);
        if (piece && !piece->IsSurface()) piece = nullptr;
        pieces_[i] = piece;
        if (piece)
            piece->LoadPartIntoCellWindow(p.sx, p.sy, p.w, p.h, p.wx, p.wy, cells_->data(), stored_->data(),
                                          refs, clock);
    }
    for (i32 s = 0; s < 25; ++s) sectors_[s] = pieces_[kSectorPieces[s]];
    for (i32 i = 0; i < 9; ++i)
        if (pieces_[i]) PlaceSectionContents(pieces_[i]);
}

void CCellWindow::PlaceSectionContents(CMapSection* section) {
    if (catalogue_ && random_) section->FillBags(*catalogue_, *random_);
    for (CMonster& m : section->monsters) {
        const CPlacement* owner = section->FindPlacement(m.objectId);
        if (owner && owner->Hidden()) continue;
        i32 wx = 0, wy = 0;
        if (!SectionToWindowCell(section, m.x, m.y, wx, wy)) continue;
        PlaceObjectNear(section, m, m.x, m.y);
    }
    for (i32 i = 0; i < section->bags.Count(); ++i) {
        CItemBag* bag = section->bags.At(i);
        if (bag->x == kNowhere || bag->y == kNowhere) continue;
        i32 wx = 0, wy = 0;
        if (!SectionToWindowCell(section, bag->x, bag->y, wx, wy)) continue;
        PutBagInCell(section, bag->x, bag->y, *bag);
    }
}

CMapCell* CCellWindow::Cell(i32 x, i32 y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return nullptr;
    return &(*cells_)[static_cast<size_t>(y * kSize + x)];
}

const CMapCell* CCellWindow::Cell(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return nullptr;
    return &(*cells_)[static_cast<size_t>(y * kSize + x)];
}

CStoredCell* CCellWindow::StoredCell(i32 x, i32 y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return nullptr;
    return &(*stored_)[static_cast<size_t>(y * kSize + x)];
}

CMapSection* CCellWindow::SectorSection(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return nullptr;
    return sectors_[SectorIndex(x, y)];
}

bool CCellWindow::SectionToWindowCell(const CMapSection* section, i32 x, i32 y, i32& wx, i32& wy) const {
    if (!section) return false;
    if (!surface_) {
        if (section != section_) return false;
        wx = x;
        wy = y;
        return true;
    }
    if (section == section_) {
        wx = x + 7;
        wy = y + 7;
        return true;
    }
    for (i32 i = 0; i < 9; ++i) {
        const Piece& p = kPieces[i];
        if (pieces_[i] != section) continue;
        if (x < p.sx || y < p.sy || x >= p.sx + p.w || y >= p.sy + p.h) continue;
        wx = p.wx - p.sx + x;
        wy = p.wy - p.sy + y;
        return true;
    }
    return false;
}

bool CCellWindow::WindowToSectionCell(i32 wx, i32 wy, CMapSection*& section, i32& x, i32& y) const {
    if (wx < 0 || wy < 0 || wx >= kSize || wy >= kSize) return false;
    if (!surface_) {
        section = section_;
        x = wx;
        y = wy;
        return section != nullptr;
    }
    const i32 piece = kSectorPieces[SectorIndex(wx, wy)];
    section = pieces_[piece];
    if (!section) return false;
    const Piece& p = kPieces[piece];
    x = wx + p.sx - p.wx;
    y = wy + p.sy - p.wy;
    return true;
}

int CCellWindow::PutBagInCell(CMapSection* section, i32 x, i32 y, CItemBag& bag) {
    i32 wx = 0, wy = 0;
    if (!SectionToWindowCell(section, x, y, wx, wy)) return 1;
    CMapCell* cell = Cell(wx, wy);
    if (cell && cell->bag == 0) {
        cell->bag = bag.id;
        bag.x = static_cast<u8>(x);
        bag.y = static_cast<u8>(y);
        return 1;
    }
    // The bag stays in its section's list, lying nowhere: it is found by id and can be put down again.
    bag.x = bag.y = kNowhere;
    return 0;
}

bool CCellWindow::IsCellCentreBlocking(const CMapCell& cell, CMapSection* section) const {
    if (cell.centre == kNoCellIndex || !objects_) return false;
    const CPlacement* p = section && cell.centreId ? section->FindPlacement(cell.centreId) : nullptr;
    return objects_->IsBlocking(cell.centre, p);
}

CMapCell* CCellWindow::GetFreeCreatureCell(i32 x, i32 y, const CMapSection* section) {
    CMapCell* cell = Cell(x, y);
    if (!cell || IsCellCentreBlocking(*cell, const_cast<CMapSection*>(section))) return nullptr;
    return cell->creature[0] == 0 || cell->creature[1] == 0 ? cell : nullptr;
}

int CCellWindow::PlaceObjectNear(CMapSection* section, CMonster& creature, i32 x, i32 y) {
    i32 wx = 0, wy = 0;
    if (!SectionToWindowCell(section, x, y, wx, wy)) return 1;
    CMapCell* cell = Cell(wx, wy);
    if (!cell) return 0;
    if (!IsPlayerCell(wx, wy) && (cell->creature[0] == 0 || cell->creature[1] == 0)) {
        cell->creature[cell->creature[0] == 0 ? 0 : 1] = creature.id;
        creature.x = static_cast<u8>(x);
        creature.y = static_cast<u8>(y);
        return 1;
    }
    const i32 start = random_ ? static_cast<i32>(random_->Next(8)) : 0;
    for (i32 k = 0; k < 8; ++k) {
        const i32* d = kNeighbours[(start + k) % 8];
        const i32 nx = wx + d[0], ny = wy + d[1];
        if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize || IsPlayerCell(nx, ny)) continue;
        if (SectorSection(nx, ny) != section) continue;
        // The neighbour's position in its section must be a real one: a position that would wrap
        // below 0 or past 254 reads as "none" (255) and loses the creature.
        const i32 px = x + d[0], py = y + d[1];
        if (px < 0 || py < 0 || px >= kNowhere || py >= kNowhere) continue;
        CMapCell* n = GetFreeCreatureCell(nx, ny, section);
        if (!n) continue;
        n->creature[n->creature[0] == 0 ? 0 : 1] = creature.id;
        creature.x = static_cast<u8>(px);
        creature.y = static_cast<u8>(py);
        return 1;
    }
    return 0;
}

void CCellWindow::RemoveCreatureFromCell(CMapSection* section, const CMonster& creature) {
    i32 wx = 0, wy = 0;
    if (!SectionToWindowCell(section, creature.x, creature.y, wx, wy)) return;
    CMapCell* cell = Cell(wx, wy);
    if (!cell) return;
    if (cell->creature[0] == creature.id) {
        cell->creature[0] = cell->creature[1];
        cell->creature[1] = 0;
    } else if (cell->creature[1] == creature.id) {
        cell->creature[1] = 0;
    }
}

bool CCellWindow::IsViewBlockingCell(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || cell->centre == kNoCellIndex || !objects_ || objects_->TypeCode(cell->centre) != 5)
        return false;
    if (cell->centreId == 0) return true;
    CMapSection* section = SectorSection(x, y);
    const CPlacement* p = section ? section->FindPlacement(cell->centreId) : nullptr;
    return !p || (p->flags & CPlacement::kVisible);
}

bool CCellWindow::IsCentrePassableForProjectile(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell) return false;
    if (cell->centre == kNoCellIndex || !objects_) return true;
    CMapSection* section = SectorSection(x, y);
    const CPlacement* p = section && cell->centreId ? section->FindPlacement(cell->centreId) : nullptr;
    if (p && !(p->flags & CPlacement::kVisible)) return true;
    switch (objects_->TypeCode(cell->centre)) {
    case 5:
    case 19:
    case 25:
    case 32:
    case 33: return false;
    case 7:
    case 8:
    case 20:
    case 22:
    case 26:
    case 38: return !objects_->IsBlocking(cell->centre, p);
    case 35: return !p || (p->flags & CPlacement::kClosed);
    default: return true;
    }
}

namespace {

// Per facing quarter, per ray, the offsets of steps 1..3 (the player's own cell marked by a flag).
struct RayStep {
    i32 dx, dy;
    bool own;
};
constexpr RayStep kRays[4][5][3] = {
    {{{0, -1, false}, {0, -2, false}, {0, -3, false}},
     {{-1, -1, false}, {-1, -2, false}, {-1, -3, false}},
     {{1, -1, false}, {1, -2, false}, {1, -3, false}},
     {{0, 0, true}, {-2, -2, false}, {-2, -3, false}},
     {{0, 0, true}, {2, -2, false}, {2, -3, false}}},
    {{{-1, 0, false}, {-2, 0, false}, {-3, 0, false}},
     {{-1, -1, false}, {-2, -1, false}, {-3, -1, false}},
     {{-1, 1, false}, {-2, 1, false}, {-3, 1, false}},
     {{0, 0, true}, {-2, -2, false}, {-3, -2, false}},
     {{0, 0, true}, {-2, 2, false}, {-3, 2, false}}},
    {{{0, 1, false}, {0, 2, false}, {0, 3, false}},
     {{1, 1, false}, {1, 2, false}, {1, 3, false}},
     {{-1, 1, false}, {-1, 2, false}, {-1, 3, false}},
     {{0, 0, true}, {2, 2, false}, {2, 3, false}},
     {{0, 0, true}, {-2, 2, false}, {-2, 3, false}}},
    {{{1, 0, false}, {2, 0, false}, {3, 0, false}},
     {{1, 1, false}, {2, 1, false}, {3, 1, false}},
     {{1, -1, false}, {2, -1, false}, {3, -1, false}},
     {{0, 0, true}, {2, 2, false}, {3, 2, false}},
     {{0, 0, true}, {2, -2, false}, {3, -2, false}}},
};

}  // namespace

void CCellWindow::MarkExploredCells() {
    auto mark = [this](i32 wx, i32 wy) {
        CMapSection* section = nullptr;
        i32 x = 0, y = 0;
        if (WindowToSectionCell(wx, wy, section, x, y)) section->MarkExplored(x, y);
    };
    mark(playerX_, playerY_);
    const u32 q = (facing_ % 360) / 90;
    bool on[5] = {true, true, true, true, true};
    for (i32 k = 0; k < 3; ++k)
        for (i32 r = 0; r < 5; ++r) {
            if (!on[r]) continue;
            const RayStep& step = kRays[q][r][k];
            if (step.own) continue;
            const i32 x = playerX_ + step.dx, y = playerY_ + step.dy;
            if (x < 0 || y < 0 || x >= kSize || y >= kSize) continue;
            mark(x, y);
            if (!IsViewBlockingCell(x, y)) continue;
            if (r == 0) {
                on[0] = false;
                if (k == 0)
                    for (bool& b : on) b = false;
            } else if (r == 1) {
                on[1] = on[3] = false;
            } else if (r == 2) {
                on[2] = on[4] = false;
            }
        }
}

void CCellWindow::LightingBounds(i32& x0, i32& y0, i32& x1, i32& y1) const {
    const u32 f = facing_ % 360;
    i32 west = 6, north = 6, east = 6, south = 6;
    if (f >= 225 && f < 315)
        west = 3;
    else if (f >= 135 && f < 225)
        north = 3;
    else if (f >= 45 && f < 135)
        east = 3;
    else
        south = 3;
    auto clamp = [](i32 v) { return v < 0 ? 0 : (v > kSize - 1 ? kSize - 1 : v); };
    x0 = clamp(playerX_ - west);
    x1 = clamp(playerX_ + east);
    y0 = clamp(playerY_ - north);
    y1 = clamp(playerY_ + south);
}

bool CCellWindow::GetCell(i32 x, i32 y, CViewCell& v) const {
    const CMapCell* c = Cell(x, y);
    if (!c) return false;
    v.layer1 = c->layer1;
    v.layer1Picture = c->layer1Picture;
    v.layer1Second = c->layer1Second;
    v.layer2 = c->layer2;
    v.layer2Picture = c->layer2Picture;
    v.layer2Second = c->layer2Second;
    v.centre = c->centre;
    v.centrePicture = c->centrePicture;
    v.layer4 = c->layer4;
    v.layer4Picture = c->layer4Picture;
    for (int s = 0; s < 4; ++s) v.side[s] = c->side[s];
    return true;
}

bool CCellWindow::GetSecondCell(i32 x, i32 y, CViewSecondCell& v) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
    const CStoredCell& c = (*stored_)[static_cast<size_t>(y * kSize + x)];
    if (c.IsEmpty()) return false;
    v.firstType = c.centre;
    v.firstPalette = c.centrePicture;
    v.secondType = c.layer4;
    v.secondPalette = c.layer4Picture;
    return true;
}

const CViewCellType* CCellWindow::GetCellType(u16 index) const {
    return objects_ && index != kNoCellIndex ? objects_->CellType(index) : nullptr;
}

CViewObjectState CCellWindow::ObjectState(CMapSection* section, u8 id) const {
    CViewObjectState state;
    const CPlacement* p = section && id ? section->FindPlacement(id) : nullptr;
    if (!p) return state;
    state.exists = true;
    // The view draws a placed object while it is visible (a closed door is drawn closed).
    state.open = (p->flags & CPlacement::kVisible) != 0;
    return state;
}

bool CCellWindow::DescribeCentre(i32 x, i32 y, bool upper, CBlockCacheEntry& entry, u16& light) {
    const CMapCell* cell = Cell(x, y);
    if (!cell || !objects_) return false;
    CMapSection* section = SectorSection(x, y);
    const CStoredCell& stored = (*stored_)[static_cast<size_t>(y * kSize + x)];
    const u16 index = upper ? stored.centre : cell->centre;
    const u8 id = upper ? stored.centreId : cell->centreId;
    if (index == kNoCellIndex) return false;
    const CPlacement* p = section && id ? section->FindPlacement(id) : nullptr;
    return objects_->DescribeCentre(index, p, *cell, entry, light);
}

bool CCellWindow::DescribeSide(i32 nx, i32 ny, i32 part, bool upper, CWallCacheEntry& entry) {
    const CMapCell* cell = Cell(nx, ny);
    if (!cell || !objects_ || part < 0 || part > 3) return false;
    CMapSection* section = SectorSection(nx, ny);
    const CStoredCell& stored = (*stored_)[static_cast<size_t>(ny * kSize + nx)];
    // `part` is the neighbour's side that faces the cell being built; the objects fill the part
    // (side + 2) & 3 of the description they are given.
    const i32 side = (part + 2) & 3;
    const u16 block = upper ? stored.centre : cell->centre;
    if (block != kNoCellIndex) objects_->DescribeSide(block, nullptr, *cell, entry, side, upper);
    const u16 decoration = upper ? stored.side[part] : cell->side[part];
    const u8 id = upper ? stored.sideId[part] : cell->sideId[part];
    if (decoration == kNoCellIndex) return false;
    const CPlacement* p = section && id ? section->FindPlacement(id) : nullptr;
    if (p && !(p->flags & CPlacement::kVisible)) return id != 0;
    objects_->DescribeSide(decoration, p, *cell, entry, side, upper);
    return id != 0;
}

CViewObjectState CCellWindow::CentreObject(i32 x, i32 y) const {
    const CMapCell* c = Cell(x, y);
    return c ? ObjectState(SectorSection(x, y), c->centreId) : CViewObjectState{};
}

CViewObjectState CCellWindow::SecondCentreObject(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return {};
    return ObjectState(SectorSection(x, y), (*stored_)[static_cast<size_t>(y * kSize + x)].centreId);
}

void CCellWindow::SetPieceGround(i32 piece, u16 type, u16 picture) {
    if (piece < 0 || piece >= 9) return;
    pieceGround_[piece][0] = type;
    pieceGround_[piece][1] = picture;
}

void CCellWindow::DefaultGround(i32 x, i32 y, u16& type, u16& palette) const {
    type = defaultGround;
    palette = defaultGroundPicture;
    if (!surface_ || x < 0 || y < 0 || x >= kSize || y >= kSize) return;
    const i32 piece = kSectorPieces[SectorIndex(x, y)];
    if (!pieces_[piece] || pieceGround_[piece][0] == kNoCellIndex) return;
    type = pieceGround_[piece][0];
    palette = pieceGround_[piece][1];
}

CItemBag* CCellWindow::PileAt(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || cell->bag == 0 || cell->bag > 255) return nullptr;
    const CMapSection* section = SectorSection(x, y);
    return section ? section->bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
}

u16 CCellWindow::PictureGroupIndex(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || cell->bag == 0) return 0;
    const PileNumber& n = (*pileNumbers_)[static_cast<size_t>(y * kSize + x)];
    // A number given to another bag (taken away, and a new one put down since) is not this one's.
    return n.bag == cell->bag && PileAt(x, y) ? n.index : 0;
}

void CCellWindow::SetPictureGroupIndex(i32 x, i32 y, u16 index) {
    const CMapCell* cell = Cell(x, y);
    if (!cell) return;
    (*pileNumbers_)[static_cast<size_t>(y * kSize + x)] = {index, static_cast<u8>(cell->bag)};
    if (index != 0) pilesNumbered_ = std::max(pilesNumbered_, index);
}

void CCellWindow::ForgetPileNumbers() {
    for (PileNumber& n : *pileNumbers_) n = PileNumber{};
    pilesNumbered_ = 0;
}

bool CCellWindow::HasUnnumberedPile() const {
    if (pilesNumbered_ >= 255) return false;
    for (i32 y = 0; y < kSize; ++y)
        for (i32 x = 0; x < kSize; ++x)
            if (PictureGroupIndex(x, y) == 0 && PileAt(x, y)) return true;
    return false;
}

bool CCellWindow::LowersLight() const { return section_ && (section_->flags & 0x100) != 0; }

namespace {

const CMonsterType* TypeOf(const CMonster& m) { return static_cast<const CMonsterType*>(m.type); }

// A creature bound to a placement acts only while that placement is there and visible.
bool IsActive(CMapSection& section, const CMonster& m) {
    const CPlacement* p = section.FindPlacement(m.objectId);
    return p == nullptr || (p->flags & CPlacement::kVisible) != 0;
}

}  // namespace

u32 CCellWindow::CountPeopleNearby() const {
    u32 count = 0;
    ForEachCreatureNear(2, [&](CMapSection& section, const CMonster& m) {
        const CMonsterType* type = TypeOf(m);
        if (type && type->kind == kCreaturePeople && IsActive(section, m)) ++count;
    });
    return count;
}

bool CCellWindow::IsHostileWithin(i32 radius) const {
    bool threat = false;
    ForEachCreatureNear(radius, [&](CMapSection& section, const CMonster& m) {
        const CMonsterType* type = TypeOf(m);
        if (!type || type->kind == kCreaturePeople || !IsActive(section, m)) return;
        if ((m.flags & 0x04) || ((m.flags & 0x02) && (type->flags & 0x04))) threat = true;
    });
    return threat;
}

bool CCellWindow::LocateMapObject(CMapSection* section, const CPlacement& placement, i32& x, i32& y,
                                  i32& side, i32& layer) const {
    x = y = 0;
    side = -1;
    layer = 1;
    i32 wx = 0, wy = 0;
    if (!SectionToWindowCell(section, placement.x, placement.y, wx, wy)) return false;
    const CMapCell* cell = Cell(wx, wy);
    if (!cell || placement.id == 0) return false;
    x = wx;
    y = wy;
    if (cell->centreId == placement.id) return true;
    for (i32 s = 0; s < 4; ++s)
        if (cell->sideId[s] == placement.id) {
            side = s;
            return true;
        }
    const CStoredCell& stored = (*stored_)[static_cast<size_t>(wy * kSize + wx)];
    layer = 2;
    if (stored.centreId == placement.id) return true;
    for (i32 s = 0; s < 4; ++s)
        if (stored.sideId[s] == placement.id) {
            side = s;
            return true;
        }
    layer = 1;
    return false;
}

CPlacement* CCellWindow::PlacementAt(i32 x, i32 y, u8 id) const {
    CMapSection* section = SectorSection(x, y);
    return section && id ? section->FindPlacement(id) : nullptr;
}

bool CCellWindow::IsSectionLoaded(const CMapSection* section) const {
    if (!section) return false;
    if (!surface_) return section == section_;
    for (CMapSection* p : pieces_)
        if (p == section) return true;
    return false;
}

namespace {

bool IsOpen(const CPlacement* p) { return !p || (p->flags & CPlacement::kClosed) == 0; }
bool IsVisible(const CPlacement* p) { return !p || (p->flags & CPlacement::kVisible) != 0; }
constexpr u16 kDoorViewFlag = 0x8000;

}  // namespace

bool CCellWindow::IsDoorCellOpen(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || !objects_ || cell->centre == kNoCellIndex) return false;
    if (objects_->TypeCode(cell->centre) != 4 || !(objects_->ViewFlags(cell->centre) & kDoorViewFlag)) return false;
    return IsOpen(PlacementAt(x, y, cell->centreId));
}

bool CCellWindow::IsCellKind5(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    return cell && objects_ && cell->layer1 != kNoCellIndex && objects_->TypeCode(cell->layer1) == 5;
}

bool CCellWindow::FindKind3TypeAt(i32 x, i32 y) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || !objects_) return false;
    for (u16 index : {cell->layer1, cell->layer2, cell->centre, cell->layer4})
        if (index != kNoCellIndex && objects_->TypeCode(index) == 3) return true;
    const CMapSection* section = SectorSection(x, y);
    return section && section->groundObject && section->groundObject->typeCode == 3;
}

i32 CCellWindow::CountKind3Across(i32 x, i32 y, i32 direction) const {
    // Across a move north or south the strip runs east to west, across east or west north to south.
    const bool northSouth = (direction & 1) == 0;
    i32 count = 0;
    for (i32 k = -1; k <= 1; ++k)
        if (FindKind3TypeAt(northSouth ? x + k : x, northSouth ? y : y + k)) ++count;
    return count;
}

bool CCellWindow::CanCreatureEnter(i32 x, i32 y, const CMonsterType* monsterType, i32 direction) const {
    const CMapCell* cell = Cell(x, y);
    if (!cell || (cell->creature[0] != 0 && cell->creature[1] != 0)) return true;
    if (FindKind3TypeAt(x, y) && CountKind3Across(x, y, direction) == 3 && !IsDoorCellOpen(x, y)) return true;
    if (IsCellKind5(x, y) && !IsDoorCellOpen(x, y)) return true;
    if (cell->centre != kNoCellIndex && objects_) {
        const CPlacement* p = PlacementAt(x, y, cell->centreId);
        if (IsVisible(p) && objects_->IsBlocking(cell->centre, p)) return true;
    }
    if (monsterType && monsterType->bytes[1] != 0) {
        const CStoredCell& stored = (*stored_)[static_cast<size_t>(y * kSize + x)];
        if (stored.centre != kNoCellIndex && IsVisible(PlacementAt(x, y, stored.centreId))) return true;
    }
    return false;
}

bool CCellWindow::IsSheltered() const {
    if (!surface_ || !objects_) return false;
    const CMapCell* cell = Cell(playerX_, playerY_);
    if (!cell) return false;
    const CStoredCell& stored = (*stored_)[static_cast<size_t>(playerY_ * kSize + playerX_)];
    if (stored.centre != kNoCellIndex && IsOpen(PlacementAt(playerX_, playerY_, stored.centreId))) return true;
    if (cell->centre == kNoCellIndex) return false;
    const u8 code = objects_->TypeCode(cell->centre);
    return (code == 20 || code == 22) && IsOpen(PlacementAt(playerX_, playerY_, cell->centreId));
}

u16 CCellWindow::ResolveMapObjectTarget(CMapSection* section, const CPlacement& placement) const {
    i32 x = 0, y = 0, side = -1, layer = 1;
    if (!LocateMapObject(section, placement, x, y, side, layer)) return kNoCellIndex;
    if (layer == 1) {
        const CMapCell* cell = Cell(x, y);
        return side < 0 ? cell->centre : cell->side[side];
    }
    const CStoredCell& stored = (*stored_)[static_cast<size_t>(y * kSize + x)];
    return side < 0 ? stored.centre : stored.side[side];
}

bool CCellWindow::FindNamedObjectCell(const CPlacement& placement, i32& x, i32& y) const {
    x = y = 0;
    if (!section_ || placement.id == 0) return false;
    for (const CMonster& m : section_->monsters) {
        if (m.objectId != placement.id) continue;
        i32 wx = 0, wy = 0;
        if (!SectionToWindowCell(section_, m.x, m.y, wx, wy)) return false;
        x = wx;
        y = wy;
        return true;
    }
    return false;
}
