#include "tools/content/world/Sections.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "tools/content/WorldScripts.h"
#include "tools/content/world/Scenery.h"

namespace world {

using namespace parts;

namespace {

constexpr uint8_t GalleryId(int typeCode) { return static_cast<uint8_t>(10 + typeCode); }
// The type codes drawn on a wall's side; the others stand in a cell's centre.
constexpr bool IsSideType(int t) {
    return t == 6 || t == 9 || t == 10 || t == 11 || t == 12 || t == 14 || t == 16 || t == 17 || t == 18 ||
           t == 28 || t == 40;
}

void Ref(ByteWriter& w, uint16_t v) { A2U16(w, v); }

}  // namespace

uint16_t CellMask(const CellSpec& c) {
    uint16_t m = 0;
    if (c.layer1) m |= 0x0001 | (c.layer1Picture ? 0x1000 : 0);
    if (c.layer2) m |= 0x0002 | (c.layer2Picture ? 0x2000 : 0);
    if (c.centre) m |= 0x0004 | (c.centrePicture ? 0x4000 : 0);
    if (c.layer4) m |= 0x0008;
    for (int s = 0; s < 4; ++s) {
        if (c.side[s]) m |= static_cast<uint16_t>(0x0010 << s);
        if (c.secondSide[s]) m |= static_cast<uint16_t>(0x0100 << s);
    }
    if (c.hasStored) m |= 0x8000;
    return m;
}

void EncodeCell(ByteWriter& w, const CellSpec& c, uint8_t v) {
    const uint16_t m = CellMask(c);
    A2U16(w, m);
    if (m == 0) return;
    const bool old = v < 34;
    if (m & 0x0001) {
        Ref(w, c.layer1);
        if ((m & 0x1000) || old) Ref(w, c.layer1Picture);
        Ref(w, c.layer1Second);
    }
    if (m & 0x0002) {
        Ref(w, c.layer2);
        if ((m & 0x2000) || old) Ref(w, c.layer2Picture);
        Ref(w, c.layer2Second);
    }
    if (m & 0x0004) {
        Ref(w, c.centre);
        if ((m & 0x4000) || old) Ref(w, c.centrePicture);
        w.U8(c.centreId);
        if (v > 42) w.U8(c.doorMode);
    }
    if (m & 0x0008) {
        Ref(w, c.layer4);
        Ref(w, c.layer4Picture);
    }
    for (int s = 0; s < 4; ++s)
        if (m & (0x0010 << s)) {
            Ref(w, c.side[s]);
            Ref(w, c.sidePicture[s]);
            w.U8(c.sideId[s]);
        }
    for (int s = 0; s < 4; ++s)
        if (m & (0x0100 << s)) {
            Ref(w, c.secondSide[s]);
            Ref(w, c.secondSidePicture[s]);
        }
    w.Align(2);
    if (!c.hasStored) return;
    const CellSpec::Stored& st = c.stored;
    uint16_t sm = 0;
    if (st.layer1) sm |= 0x0001 | (st.layer1Picture ? 0x1000 : 0);
    if (st.centre) sm |= 0x0004 | (st.centrePicture ? 0x4000 : 0);
    if (st.layer4) sm |= 0x0008 | (st.layer4Picture ? 0x8000 : 0);
    for (int s = 0; s < 4; ++s) {
        if (st.side[s]) sm |= static_cast<uint16_t>(0x0010 << s);
        if (st.secondSide[s]) sm |= static_cast<uint16_t>(0x0100 << s);
    }
    A2U16(w, sm);
    if (sm == 0) return;
    if (sm & 0x0001) {
        Ref(w, st.layer1);
        if ((sm & 0x1000) || old) Ref(w, st.layer1Picture);
    }
    if (sm & 0x0004) {
        Ref(w, st.centre);
        if ((sm & 0x4000) || old) Ref(w, st.centrePicture);
        w.U8(st.centreId);
    }
    if (sm & 0x0008) {
        Ref(w, st.layer4);
        if (sm & 0x8000) Ref(w, st.layer4Picture);
    }
    for (int s = 0; s < 4; ++s)
        if (sm & (0x0010 << s)) {
            Ref(w, st.side[s]);
            Ref(w, st.sidePicture[s]);
            w.U8(st.sideId[s]);
        }
    for (int s = 0; s < 4; ++s)
        if (sm & (0x0100 << s)) {
            Ref(w, st.secondSide[s]);
            Ref(w, st.secondSidePicture[s]);
        }
    w.Align(2);
}

std::vector<uint8_t> PlacementRecord(const std::vector<PlacementSpec>& placements, uint8_t version) {
    ByteWriter w;
    w.U8('I');
    uint8_t next = 1;
    for (const PlacementSpec& p : placements) next = std::max<uint8_t>(next, static_cast<uint8_t>(p.id + 1));
    w.U8(next);
    A2U16(w, static_cast<uint32_t>(placements.size()));
    for (const PlacementSpec& p : placements) {
        A2U16(w, p.level);
        if (version > 52) {
            Str(w, p.name);
            Str(w, p.text);
            Str(w, p.third);
        }
        w.U8(p.id);
        w.U8(p.bagId);
        if (version > 53) {
            w.U8(p.x);
            w.U8(p.y);
        }
        w.U8(p.flags);
    }
    return w.Take();
}

std::vector<uint8_t> MonsterRecord(const std::vector<MonsterSpec>& monsters, uint8_t version) {
    ByteWriter w;
    w.U32(static_cast<uint32_t>(monsters.size()));
    uint8_t next = 1;
    for (const MonsterSpec& m : monsters) next = std::max<uint8_t>(next, static_cast<uint8_t>(m.id + 1));
    w.U8(next);
    for (const MonsterSpec& m : monsters) {
        A2U16(w, m.typeIndex);
        if (version < 71) A2U16(w, 10);
        w.U8(m.id);
        w.U8(m.flags);
        w.U8(m.objectId);
        if (version >= 65 && version <= 69) w.U8(0);
        w.U8(m.x);
        w.U8(m.y);
        if (version > 88) w.U8(m.bagId);
    }
    return w.Take();
}

std::vector<uint8_t> BagRecord(const std::vector<BagSpec>& bags) {
    ByteWriter w;
    A2U16(w, static_cast<uint32_t>(bags.size()));
    uint8_t next = 1;
    for (const BagSpec& b : bags) next = std::max<uint8_t>(next, static_cast<uint8_t>(b.id + 1));
    w.U8(next);
    for (const BagSpec& b : bags) {
        w.U8('K');
        w.U8(b.id);
        w.U8(b.flags);
        w.U8(b.x);
        w.U8(b.y);
        A2U16(w, static_cast<uint32_t>(b.items.size()));
        for (const std::string& item : b.items) {
            Str(w, item);
            w.U8(1);
            w.U8(1);
            w.U8(100);
            w.U8(100);
        }
    }
    return w.Take();
}

std::vector<uint8_t> UndergroundCells(const std::vector<CellSpec>& cells, uint8_t version) {
    if (cells.size() != 35 * 35) throw std::logic_error("an underground map holds 35 x 35 cells");
    ByteWriter w;
    w.U8('H');
    for (const CellSpec& c : cells) EncodeCell(w, c, version);
    return w.Take();
}

std::vector<uint8_t> SurfaceCells(const std::vector<CellSpec>& cells, uint8_t version) {
    if (cells.size() != 21 * 21) throw std::logic_error("a surface piece holds 21 x 21 cells");
    ByteWriter w;
    w.U8('H');
    A2U16(w, 0);
    A2U16(w, 0);
    A2U16(w, 21);
    A2U16(w, 21);
    const size_t table = w.Size();
    for (size_t i = 0; i < cells.size(); ++i) A2U16(w, 0);
    for (size_t i = 0; i < cells.size(); ++i) {
        if (CellMask(cells[i]) == 0) continue;
        w.Align(2);
        w.PatchU16(table + 2 * i, static_cast<uint32_t>(w.Size()));
        EncodeCell(w, cells[i], version);
    }
    if (w.Size() > 65535) throw std::logic_error("a surface piece's cells outgrow their record");
    return w.Take();
}

namespace parts {

CellSpec Floor() {
    CellSpec c;
    c.layer1 = kFloor;
    c.layer1Picture = kTexFloor;
    return c;
}

CellSpec WallBlock() {
    CellSpec c = Floor();
    c.centre = kWall;
    c.centrePicture = kTexWall;
    c.hasStored = true;
    c.stored.centre = kWall;
    c.stored.centrePicture = kTexWall;
    return c;
}

CellSpec Door(uint8_t id, uint8_t mode) {
    CellSpec c = Floor();
    c.centre = kDoor;
    c.centreId = id;
    c.doorMode = mode;
    return c;
}

CellSpec HouseWallCell(uint16_t ground, uint16_t groundPicture) {
    CellSpec c = WallBlock();
    c.centre = ground;
    c.centrePicture = groundPicture;
    c.stored.centre = kHouseUpper;
    c.stored.centrePicture = kTexHouseUpper;
    return c;
}

Section Underground(const char* id, const char* name, uint16_t light, uint8_t level, uint8_t visibility) {
    Section s;
    s.id = id;
    s.displayName = name;
    s.lightBColour = s.lightAColour = light;
    s.lightBLevel = s.lightALevel = level;
    s.byteE = 0;
    s.bytes[0] = visibility;
    s.bytes[1] = 2;  // the ceiling's picture set
    s.indices[0] = kFloor;
    s.indices[1] = kTexFloor;
    s.indices[3] = kTexCeiling;  // the ceiling object falls back to the first of type 1
    return s;
}

}  // namespace parts

namespace {

// The gallery north of the cellar's hall: one object of every type code. Side objects hang on the
// south face of the north wall; centre objects stand in three rows with room to walk between them.
// Its doors: the trapped one (opened by hand, its trap casts a fireball), the locked one (its key lies
// in the chest beside it) and the gate that the lever works through its script.
void PlaceGallery(std::vector<CellSpec>& cells, std::vector<PlacementSpec>& placements, std::vector<BagSpec>& bags) {
    auto at = [&](int x, int y) -> CellSpec& { return cells[static_cast<size_t>(y * 35 + x)]; };
    int sideX = 2, centre = 0;
    for (int t = 1; t <= 43; ++t) {
        if (t == 25) continue;  // the cellar's stairs stand for the type
        PlacementSpec p;
        p.id = GalleryId(t);
        char name[24];
        std::snprintf(name, sizeof name, "base_gallery%02d", t);
        p.name = name;
        if (IsSideType(t)) {
            p.x = static_cast<uint8_t>(sideX);
            p.y = 0;
            CellSpec& wall = at(sideX, 0);
            wall.side[2] = GalleryRef(t);
            wall.sidePicture[2] = kTexWall;
            wall.sideId[2] = p.id;
            sideX += 2;
        } else {
            const int x = 2 + (centre % 16) * 2, y = 4 + (centre / 16) * 3;
            ++centre;
            p.x = static_cast<uint8_t>(x);
            p.y = static_cast<uint8_t>(y);
            CellSpec& c = at(x, y);
            c.centre = GalleryRef(t);
            // A passage draws its picture in the colours of the cell's centre picture: the arch keeps
            // its own.
            c.centrePicture = t == 13 ? kTexHerb : (t == 7 || t == 8) ? 0 : kTexWall;
            c.centreId = p.id;
            if (t == 20) c.doorMode = kDoorByHand;
            if (t == 22) c.doorMode = kDoorByKey;
        }
        switch (t) {
        case 7:
        case 8: p.text = "base_town_arrive#Leave the cellar by this way?"; break;
        case 9: p.text = "Scratched into the stone: the key of the locked door lies in the chest."; break;
        case 11: p.text = "Maren"; break;
        case 12: p.text = "Tamsin"; break;
        case 14:
            p.bagId = 3;
            break;
        case 15: p.text = "base_cellar_arrive#Climb down the ladder?"; break;
        case 17: p.bagId = 4; break;
        case 16:
            // The lever stands off while its gate is shut: the first pull opens the gate.
            p.third = "bres_lever_gate";
            p.flags = 0x01 | 0x02;
            break;
        case 19: p.text = "The gallery: every kind of thing the old builders left, in a row."; break;
        case 20:
            p.level = TrapLevel(2);
            p.flags = kClosedDoor;
            break;
        case 22:
            p.level = LockLevel(3);
            p.text = "base_key_gallery";
            p.flags = kClosedDoor;
            break;
        case 31:
            p.third = "bres_plate_cellar";
            p.flags = 0x01 | 0x02;
            break;
        case 33:
            p.text = "base_cellar_arrive#Step into the flames?";
            p.level = 1;  // the way leads down
            break;
        case 40: p.text = "base_town_arrive#Crawl through the gap?"; break;
        case 42: p.level = 2 << 8; break;  // damage level 2
        default: break;
        }
        placements.push_back(p);
    }
    // The gate the lever opens: a door with no visible way to open it.
    CellSpec& gate = at(2, 11);
    gate.centre = GalleryRef(20);
    gate.centreId = 60;
    gate.doorMode = kDoorNoWay;
    placements.push_back({0, "harbour_gate", "", "", 60, 0, 2, 11, kClosedDoor});
    // A lockpick beside the gallery key, for the crypt's door (whose key lies in the crypt).
    // And water: a rest wants food and drink, and the start kit's waterskin goes on the first night.
    bags.push_back({3, 0, 255, 255,
                    {"base_key_gallery", "base_food_bread", "base_key_lockpickbeginner", "base_pstrengthsmall",
                     "base_drink_water"}});
    // The cupboard holds an alchemist's things: the mortar and two restoring herbs that brew a
    // healing potion together.
    bags.push_back({4, 0, 255, 255, {"base_alc_mortarbeginner", "base_alc_alkieberries", "base_alc_ladyslipper"}});
}

// A thing hung on a wall: its pictures and the height of its foot, in the middle of the wall.
void Hang(MapObject& o, std::vector<std::string> frames, uint16_t height) {
    o.frames = std::move(frames);
    o.params[0] = height;
}

// One gallery object of each type code, with the pictures and sounds the type draws and plays.
std::vector<MapObject> GalleryObjects() {
    std::vector<MapObject> objects;
    for (int t = 1; t <= 43; ++t) {
        MapObject o;
        o.typeCode = static_cast<uint8_t>(t);
        char id[24];
        std::snprintf(id, sizeof id, "base_obj%02d", t);
        o.id = id;
        o.frames = {"bres_wallstone", "bres_floorstone"};
        switch (t) {
        // The ways out of the cellar: a dark arch that the passage runs off through.
        case 7:
        case 8:
            o.viewFlags = 0x4000 | 0x40;
            o.frames = {"bres_archway"};
            break;
        // What stands about the gallery. A centre picture's further frames lie on its first at
        // their texel offsets, so the billboards have one frame each.
        case 5: o.frames = {"bres_winerack", "bres_floorstone"}; break;  // a block of racks, stone on top
        case 26: o.frames = {"bres_urn"}; break;
        case 27: o.frames = {"bres_barrel"}; break;
        case 29: o.frames = {"bres_crateside"}; break;  // the four sides of a box
        case 31: o.frames = {"bres_pressureplate"}; break;
        case 32: o.frames = {"bres_statue"}; break;
        // Panels across the cell that turn to face the eye: cobwebs that give way to a blow, and a
        // barricade.
        case 35: o.frames = {"bres_cobwebs"}; break;
        case 37: o.frames = {"bres_barricade"}; break;
        case 38: o.frames = {"bres_altar"}; break;
        case 41: o.frames = {"bres_fountain"}; break;
        case 15:
            o.viewFlags = 0x4000 | 0x40;
            o.frames = {"bres_ladder"};
            break;
        case 40:
            o.viewFlags = 0x4000 | 0x40;
            Hang(o, {"bres_wallgap"}, 1);
            break;
        case 3: o.frames = {"bres_pool1", "bres_pool2"}; break;
        case 13:
            o.frames = {"bres_item_herb", "bres_item_herb"};
            o.text3 = "bres_useherb";
            break;
        case 20:
        case 22:
            o.sound1 = "bsnd_doorwood";
            o.sound2 = "bsnd_doorwood";
            // The harbour's gate is the gallery's door of type 20: iron bars; type 22 a wooden door.
            o.frames = {"bres_doorway", t == 20 ? "bres_gate" : "bres_doorleaf"};
            o.params[4] = kDoorwayLeft;
            o.params[5] = kDoorwayTop;
            o.cellViewBits = 1 << 4;  // its trap casts the fireball
            break;
        case 19: o.frames = {"bres_signpost"}; break;  // the signs of the town and the gallery
        case 42: o.frames = {"bres_trapblades"}; break;
        // What hangs on the north wall: its picture, the height of its foot on the wall (P0, in
        // thirtieths of a level after the first) and for switches the picture while off.
        case 6: Hang(o, {"bres_bannerblue"}, 6); break;
        case 9: Hang(o, {"bres_wallwriting"}, 14); break;
        case 10: Hang(o, {"bres_sconce"}, 13); break;
        case 11: Hang(o, {"bres_walldoor"}, 1); break;
        case 12: Hang(o, {"bres_walldoorsign"}, 1); break;
        case 14: Hang(o, {"bres_wallchest"}, 1); break;
        case 16: Hang(o, {"bres_lever_on", "bres_lever_off"}, 9); break;
        case 17: Hang(o, {"bres_wallcupboard"}, 11); break;
        case 18: Hang(o, {"bres_wallpicture"}, 15); break;
        case 28: Hang(o, {"bres_loosestone", "bres_loosestone_in"}, 10); break;
        case 33:
            // Behind its flames: a few sparks, and the arch it leads into, up or down.
            o.frames = {"bres_sparks", "bres_firearch", "bres_firearch"};
            o.text2 = "bres_animfire";  // its flames, an animated object of their own
            break;
        default: break;
        }
        objects.push_back(o);
    }
    return objects;
}

// The cellar below the town: a walled hall, a wall across its north with a door, a wall down its west
// with a door, a side chamber with banners, puddles, a stair up and a hanging ceiling beam.
Section Cellar() {
    // Visibility 150: fog from 1 cell, the view reaching 9.
    Section s = Underground("base_cellar", "Old Cellar", 0x2104, 70, 150);
    std::vector<CellSpec> cells(35 * 35, Floor());
    auto at = [&](int x, int y) -> CellSpec& { return cells[static_cast<size_t>(y * 35 + x)]; };
    for (int i = 0; i < 35; ++i) at(i, 0) = at(i, 34) = at(0, i) = at(34, i) = WallBlock();
    for (int x = 1; x < 34; ++x) at(x, 12) = WallBlock();
    for (int y = 13; y < 34; ++y) at(12, y) = WallBlock();
    at(17, 12) = Door(2);
    at(12, 22) = Door(3);
    // Banners on the walls of the hall: side objects of the wall blocks, on the face towards the
    // hall, and a second decoration.
    for (int x = 14; x <= 32; x += 6) {
        CellSpec& c = at(x, 12);
        c.side[2] = kBanner;
        c.sidePicture[2] = kTexWall;
        c.secondSide[2] = kBanner;
        c.secondSidePicture[2] = kTexWall;
    }
    const struct { int x, y, side; } banners[] = {{34, 20, 3}, {20, 34, 0}, {12, 28, 1}};
    for (const auto& b : banners) {
        CellSpec& c = at(b.x, b.y);
        c.side[b.side] = kBanner;
        c.sidePicture[b.side] = kTexWall;
        c.secondSide[b.side] = kBanner;
    }
    // Puddles: a second ground layer.
    for (int x = 22; x < 26; ++x)
        for (int y = 26; y < 29; ++y) {
            at(x, y).layer2 = kWater;
            at(x, y).layer2Picture = kTexFloor;
        }
    at(27, 27).layer2 = kWater;  // a puddle that takes the object's own picture
    // The stair up out of the cellar, and a beam under the ceiling over the hall.
    at(17, 30).layer4 = kStairs;
    at(17, 30).layer4Picture = kTexWall;
    at(17, 30).centre = kStairs;
    at(17, 30).centreId = 7;
    at(20, 20).layer1Second = kWater;
    // The second layer: a beam over the door of the hall and a shelf in the side chamber.
    CellSpec& beam = at(17, 13);
    beam.hasStored = true;
    beam.stored.layer4 = kWall;
    beam.stored.layer4Picture = kTexCeiling;
    beam.stored.layer1 = kFloor;
    beam.stored.layer1Picture = kTexFloor;
    CellSpec& shelf = at(6, 20);
    shelf.hasStored = true;
    shelf.stored.centre = kBanner;
    shelf.stored.centrePicture = kTexWall;
    shelf.stored.centreId = 5;
    for (int side = 0; side < 4; ++side) {
        shelf.stored.side[side] = kBanner;
        shelf.stored.sidePicture[side] = kTexWall;
        shelf.stored.secondSide[side] = kBanner;
        shelf.stored.secondSidePicture[side] = kTexWall;
    }
    at(8, 20).hasStored = true;  // an empty second layer
    // The side chamber's wall has a niche with a placed banner on each side.
    CellSpec& niche = at(6, 26);
    for (int side = 0; side < 4; ++side) {
        niche.side[side] = kBanner;
        niche.sidePicture[side] = kTexWall;
        niche.sideId[side] = 6;
    }
    std::vector<PlacementSpec> placements = {
        {0, "base_start", "", "", 1, 0, 17, 17, 0x01},
        {0, "base_cellardoor", "", "", 2, 0, 17, 12, kClosedDoor},
        {0, "base_chamberdoor", "", "", 3, 0, 12, 22, 0x01},
        {0, "base_ratnest", "", "", 4, 0, 30, 30, 0x02},  // hidden until the nest is stirred
        {0, "base_shelf", "", "", 5, 0, 6, 20, 0x01},
        {0, "base_niche", "", "", 6, 0, 6, 26, 0x01},
        {0, "base_cellarstairs", "base_town_arrive", "", 7, 0, 17, 30, 0x01},
        {0, "base_cellar_arrive", "", "", 8, 0, 17, 29, 0x01},
        // The ladder down into the crypt, in the side chamber's far corner, and its foot.
        {0, "base_cellarladder", "base_crypt_arrive#Climb down the ladder?", "", 61, 0, 2, 32, 0x01},
        {0, "base_cellar_ladderfoot", "", "", 62, 0, 3, 32, 0x01},
    };
    at(2, 32).centre = GalleryRef(15);
    at(2, 32).centrePicture = kTexWall;
    at(2, 32).centreId = 61;
    // The rat in the hall comes at once; a wolf prowls the hall's far corner, and restless bones keep
    // the side chamber and the north passage behind the cellar door. A new character meets them all
    // in the first minutes, so each is a fight it can win; the warriors and the mage who casts wait
    // in the crypt below, where the innkeeper's quest sends the player later. All are hostile by their
    // types and leave what they carry.
    std::vector<MonsterSpec> monsters = {
        {1, 1, 0x02, 0, 26, 18, 0}, {1, 2, 0x06, 4, 30, 30, 0},  // bound to the hidden nest
        {3, 3, 0x02, 0, 29, 31, 0}, {kBones, 4, 0x02, 0, 4, 16, 0}, {kBones, 5, 0x02, 0, 17, 5, 0},
    };
    // Someone's things left on the hall's floor near the start: coins and a helm to wear.
    std::vector<BagSpec> bags = {{1, 0, 20, 16, {"base_money_100", "base_helm_iron"}},
                                 {2, 0, 255, 255, {"base_weap_dirkcheap"}}};
    PlaceGallery(cells, placements, bags);
    s.recordsAt = [cells, monsters, placements, bags](uint8_t v) {
        return std::vector<std::vector<uint8_t>>{UndergroundCells(cells, v),
                                                 {},
                                                 MonsterRecord(monsters, v),
                                                 PlacementRecord(placements, v),
                                                 BagRecord(bags)};
    };
    return s;
}

// The vale's pieces round the town, row by row from the north-west (the town's own entry is empty):
// '.' grass, '=' a paved road, '~' a pond, '#' a field wall, 'T' a tree, 'F' a fir, 'b' a bush,
// 'r' a rock, 'R' a ruin, 'W' the well. The roads meet the town's four sides in the middle of each
// edge; creatures and the people who stand outside the town have free cells.
const char* const kValeLayouts[9][21] = {
    {  // Alder Wood
        "..T..T...T...T..T..T.",
        ".T..T..T...T..T...T..",
        "...T...b..T....T..T..",
        ".T...T....b..T...T...",
        "..b....T.....b...T.T.",
        ".T..T....~~~...T.....",
        "...T....~~~~~.....T..",
        ".T....b.~~~~~..T.....",
        "..T.T....~~~....T..T.",
        ".....T.......T.......",
        ".T.b...T..b.....T..T.",
        "...T.....T...T.......",
        ".T...T.........b..T..",
        "..T....T..T.T........",
        "T...T.........=======",
        "..T...T.======.....T.",
        ".T...====..........T.",
        "...T.=..T..T..T..T...",
        ".T...=..T..b.....T...",
        "..T..=.T...T..T....T.",
        ".T.T.=...T....T..T...",
    },
    {  // North Road
        ".....T....=.....T....",
        "..b.......=........b.",
        "...#.#.#.#=#.#.#.#...",
        "..........=..........",
        ".T..r.....=......T...",
        "..........=...b......",
        "....b.....=..........",
        ".........b=.r......T.",
        "..T.......=..........",
        "....r.....=....b.....",
        "..........=..........",
        ".b....T...=.....r....",
        "..........=..........",
        ".....b....=...T......",
        "==========....r......",
        "..........=......b...",
        ".r....T...=..........",
        "..........=....T.....",
        "...b......=.......r..",
        "..........=..b.......",
        ".T........=.......T..",
    },
    {  // Stony Rise
        ".F..r...F....F..r..F.",
        "...F...r...F.....F...",
        ".r...F.....rr..F...r.",
        "...F...F.........F...",
        ".F...r.........r...F.",
        "...r.....r.R...r.....",
        ".F.....r.....r....F..",
        "...F..............r..",
        ".r...r..F..~~..F.....",
        "...F.....~~~~....r.F.",
        ".F...r...~~~~..F.....",
        "....F..r..~~......F..",
        ".r....F.......r......",
        "...F......F.......F..",
        "=======..r....F...r..",
        ".F....===....r.......",
        "...r....==....F...F..",
        ".F.....r.=.......r...",
        "...F.....=.F.....F...",
        ".r....F..=....r......",
        "...F.....=.F...F...r.",
    },
    {  // Western Meadow
        "..T..=...b...T....b..",
        ".b...=.........b.....",
        "..#..=..b....T.......",
        ".....=..........b....",
        "..#..=...T...........",
        ".....=.......b....T..",
        "..#..=..b............",
        "..........T......b...",
        "..#.....b.....b......",
        ".....T...............",
        "..#==================",
        "...........b.....T...",
        "..#...b.....T........",
        "..........b.....b....",
        "..#...............b..",
        ".....T...b...........",
        "..#........T....b....",
        "....b.............T..",
        "..#...T.....b........",
        ".........b.......b...",
        "..#..T.........T.....",
    },
    {},  // Vantrel Town: laid out by hand below
    {  // Eastern Fields
        "...b.b.b.b.b.b.b.b...",
        ".....................",
        "...b.b.b.b.b.b.b.#...",
        ".....................",
        "...b.b.b.b.b.b.b.#...",
        ".....................",
        "...b.b.b.b.b.b.b.#...",
        ".................T...",
        "..........r......#...",
        ".........W.......T...",
        "=====================",
        "........r........#...",
        "...b.b.b.b.b.b.b.....",
        ".................#...",
        "...b.b.b.b.b.b.b.....",
        ".................#...",
        "...b.b.b.b.b.b.b.....",
        ".................#...",
        "..T......T.......T...",
        ".....................",
        "..T..r....T..r...T...",
    },
    {  // Reed Marsh
        "..b..=..b..T...b...T.",
        ".b...=...b.....b.....",
        "...b.=..b...b....b...",
        ".T...=....b.....T....",
        "..b..=.b.~~~~.b....b.",
        "....b=..~~~~~~.......",
        ".b...=.~~~~~~~~.b..T.",
        "...b.=.~~~~~~~~..b...",
        ".T...=.~~~~~~~~.b....",
        "..b..====~~~~~~....b.",
        ".b......~~~~~~..T....",
        "...b.b...~~~~.b..b...",
        ".T.....b.......b.....",
        "..b..T....b..T....b..",
        ".b.....b.........b...",
        "...T..b...T..b....T..",
        "..b.....b......b.....",
        ".T...b.....T.....b...",
        "...b...T.....b.....T.",
        ".b..T.....b.....T....",
        "...b...T...b...T...b.",
    },
    {  // South Road
        ".T........=.......T..",
        "..b.......=...b......",
        "..........=..........",
        ".....r....=.....r....",
        "..........=..........",
        "...b......=....b.....",
        ".T........=.........T",
        "........b.=..........",
        "...r......=...r......",
        "..........=..........",
        ".....T....=.....T....",
        "..........=..........",
        "...b......=.....b....",
        "..........=..........",
        ".r........=....r.....",
        "......b...=..........",
        "..........=.......T..",
        "..T.......=..b.......",
        "...#.#.#.#=#.#.#.#...",
        "..........=..........",
        ".T....b...=......T...",
    },
    {  // Old Mill
        ".F..=....F....F....F.",
        "...F=..r....F....F...",
        ".F..=.......R.....r..",
        "....=..F.........F...",
        ".r..=.....r....F.....",
        "...F=..F.........F...",
        ".F..=........r.......",
        "....====~~~~~.F....F.",
        ".F.....~~~~~~~.....r.",
        "...r..~~~~~~~~..F....",
        ".F.....~~~~~~~R..F...",
        "....F...~~~~~........",
        ".r.......~~~.....F...",
        "...F..F.......r......",
        ".F......r...F.....F..",
        "....F.........F......",
        "..r....F.......F...r.",
        ".F...F.....r.........",
        "....r...F......F..F..",
        ".F........F.....r....",
        "...F..F.....F.....F..",
    },
};

}  // namespace

const char* const* ValeLayout(int column, int row) {
    if (column < 1 || column > 3 || row < 1 || row > 3 || (column == 2 && row == 2)) return nullptr;
    return kValeLayouts[(row - 1) * 3 + column - 1];
}

namespace {

// The town's houses round the square (corners, inclusive), the inn in the middle.
struct HouseBlock {
    int x0, y0, x1, y1, doorX, doorY;
};
constexpr HouseBlock kTownHouses[] = {{1, 15, 4, 18, 4, 16}, {15, 6, 19, 7, 17, 7}, {14, 18, 16, 19, 15, 18}};

}  // namespace

char TownMapCell(int x, int y) {
    const bool innWall = x >= 7 && x <= 13 && y >= 7 && y <= 13 && (x == 7 || x == 13 || y == 7 || y == 13);
    if (innWall) return 'H';
    for (const HouseBlock& h : kTownHouses)
        if (x >= h.x0 && x <= h.x1 && y >= h.y0 && y <= h.y1) return 'H';
    return 's';
}

namespace {

// A piece's cell from its layout character: grass under everything but the roads, which are paved
// like the town's square.
CellSpec ValeCell(char c) {
    CellSpec cell = Floor();
    cell.layer1 = c == '=' ? kFloor : kGrass;
    cell.layer1Picture = c == '=' ? kTexFloor : kTexGrass;
    auto stand = [&cell](uint16_t object) {
        cell.centre = object;
        cell.centrePicture = kTexGrass;
    };
    switch (c) {
    case '~':
        cell.layer2 = kPond;
        cell.layer2Picture = kTexWater;
        break;
    case '#': cell = WallBlock(); break;
    case 'T': stand(kTree); break;
    case 'F': stand(kFir); break;
    case 'b': stand(kBush); break;
    case 'r': stand(kRock); break;
    case 'R': stand(kRuin); break;
    case 'W': stand(kWell); break;
    default: break;
    }
    return cell;
}

// One piece of the vale: a stone-paved square with a walled house in the middle piece; woods, fields,
// a marsh, a rise with a ruin and an old mill round it. Column and row count from 1.
Section ValePiece(int column, int row) {
    Section s;
    char name[16];
    std::snprintf(name, sizeof name, "base_s%02d%02d", column, row);
    s.id = name;
    // Row by row from the north-west: wood, road and rise; meadow, town and fields; marsh, road, mill.
    static const char* const kNames[9] = {"Alder Wood",  "North Road", "Stony Rise",
                                          "Western Meadow", "Vantrel Town", "Eastern Fields",
                                          "Reed Marsh",  "South Road", "Old Mill"};
    s.displayName = kNames[(row - 1) * 3 + column - 1];
    s.flags = 0x80;
    if (column == 2 && row == 2) s.flags |= 0x0200;  // a town the town portal reaches
    s.lightBColour = 0xFFDF;
    s.lightAColour = 0xFFDF;
    s.byteE = 255;
    s.bytes[1] = 1;  // the sky picture set
    const bool town = column == 2 && row == 2;
    s.indices[0] = town ? kFloor : kGrass;
    s.indices[1] = town ? kTexFloor : kTexGrass;
    std::vector<CellSpec> cells(21 * 21, Floor());
    auto at = [&](int x, int y) -> CellSpec& { return cells[static_cast<size_t>(y * 21 + x)]; };
    std::vector<PlacementSpec> placements;
    std::vector<MonsterSpec> monsters;
    std::vector<BagSpec> bags;
    if (column == 2 && row == 2) {
        // The town house: walls round 7..13, a door on the south, a banner inside.
        for (int i = 7; i <= 13; ++i) at(i, 7) = at(i, 13) = at(7, i) = at(13, i) = WallBlock();
        at(10, 13) = Door(1);
        // Houses along the square's edges, so that it reads as a town from its middle; they keep clear
        // of the roads that meet the piece's sides, the stair, the sign, the boatman and the people.
        // Each has a shut door on the side that faces the square (nobody goes in) and windows on both
        // storeys in every other cell from it; a block shows the same face on each of its open sides.
        for (const HouseBlock& h : kTownHouses)
            for (int y = h.y0; y <= h.y1; ++y)
                for (int x = h.x0; x <= h.x1; ++x) {
                    const bool door = x == h.doorX && y == h.doorY;
                    const bool window = (x + y + h.doorX + h.doorY) % 2 == 1;
                    at(x, y) = door     ? HouseWallCell(kHouseDoor, kTexHouseDoor)
                               : window ? HouseWallCell(kHouseWindow, kTexHouseWindow)
                                        : WallBlock();
                }
        // The inn's windows, likewise every other cell, its corners plain.
        for (int i = 7; i <= 13; ++i)
            for (auto [x, y] : {std::pair{i, 7}, std::pair{i, 13}, std::pair{7, i}, std::pair{13, i}})
                if ((x + y) % 2 == 1 && at(x, y).centre == kWall)
                    at(x, y) = HouseWallCell(kHouseWindow, kTexHouseWindow);
        at(11, 7).side[2] = kBanner;  // inside the inn, on its north wall
        at(11, 7).sidePicture[2] = kTexWall;
        placements.push_back({0, "base_housedoor", "", "", 1, 0, 10, 13, kClosedDoor});
        // The stair down into the cellar, where it arrives back up, and the harbour sign.
        at(4, 4).centre = kStairs;
        at(4, 4).centreId = 2;
        placements.push_back({0, "base_townstairs", "base_cellar_arrive", "", 2, 0, 4, 4, 0x01});
        placements.push_back({0, "base_town_arrive", "", "", 3, 0, 4, 5, 0x01});
        at(16, 4).centre = GalleryRef(19);
        at(16, 4).centrePicture = kTexWall;
        at(16, 4).centreId = 4;
        placements.push_back({0, "base_townsign", "", "bres_sign_harbour", 4, 0, 16, 4, 0x01});
        // Where the town portal sets the player down: on the square before the house door.
        placements.push_back({0, "base_s0202townportal", "", "", 5, 0, 10, 16, 0x01});
        // The boatman's post on the square's south-east: he rows to the worlds beyond the vale, and
        // whoever he brings back steps ashore on the cell before it.
        at(18, 17).centre = GalleryRef(19);
        at(18, 17).centrePicture = kTexWall;
        at(18, 17).centreId = 6;
        placements.push_back({0, "base_boatman", "", "base_boatman", 6, 0, 18, 17, 0x01});
        placements.push_back({0, "base_city1", "", "", 7, 0, 18, 16, 0x01});
    } else {
        const char* const* layout = kValeLayouts[(row - 1) * 3 + column - 1];
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x) at(x, y) = ValeCell(layout[y][x]);
    }
    if (column == 3 && row == 3) monsters.push_back({1, 1, 0x02, 0, 15, 15, 0});
    // A grey wolf on the western meadow that leaves the player alone until it is struck.
    if (column == 1 && row == 2) monsters.push_back({3, 1, 0x00, 0, 6, 14, 0});
    // The elder keeps to his cottage garden by the north road, facing the road; he sends the player
    // to the smith with a letter.
    if (column == 2 && row == 1) monsters.push_back({12, 1, 0x0A, 0, 12, 8, 0});
    // The merchant's lost ring lies in the grass beside the well of the eastern fields.
    if (column == 3 && row == 2) bags.push_back({1, 0, 10, 9, {content::kRingItemId}});
    if (column == 2 && row == 2) {
        // The town's people: the innkeeper behind the house's banner, the smith and the trainer at
        // their places on the square, the merchant by the house door and the shepherd who wanders.
        // Each stands for the NPC the talk screens show; only the shepherd walks.
        // The two who trade keep their stock in a bag of their own, lying nowhere.
        monsters.push_back({7, 1, 0x12, 0, 10, 9, 0});   // facing south, into the room
        monsters.push_back({8, 2, 0x1A, 0, 3, 10, 2});   // facing east
        monsters.push_back({9, 3, 0x0A, 0, 17, 10, 0});  // facing west
        monsters.push_back({5, 4, 0x12, 0, 12, 15, 1});
        monsters.push_back({6, 5, 0x02, 0, 15, 4, 0});
        // The card player keeps a table in the house, facing the innkeeper.
        monsters.push_back({10, 6, 0x02, 0, 9, 11, 0});
        // The enchanter keeps to the square's north-east corner, facing west.
        monsters.push_back({11, 7, 0x0A, 0, 17, 2, 0});
        bags = {{1, 0, BagSpec{}.x, BagSpec{}.y, {}}, {2, 0, BagSpec{}.x, BagSpec{}.y, {}}};
    }
    at(0, 0) = CellSpec{};  // a cell left empty: it shows the world's default ground
    ByteWriter bits;
    bits.U16(0);
    for (int y = 0; y < 21; ++y)
        for (int b = 0; b < 3; ++b) bits.U8(column == 2 && row == 2 && b == 1 ? 0x3C : 0);
    s.recordsAt = [cells, monsters, placements, bags, map = bits.Take()](uint8_t v) {
        return std::vector<std::vector<uint8_t>>{SurfaceCells(cells, v), map, MonsterRecord(monsters, v),
                                                 PlacementRecord(placements, v), BagRecord(bags)};
    };
    return s;
}

}  // namespace

void AddBaseSections(Content& c) {
    MapObject door;
    door.typeCode = 20;
    door.id = "base_doorwood";
    door.sound1 = "bsnd_doorwood";
    door.sound2 = "bsnd_doorwood";
    door.frames = {"bres_doorway", "bres_doorleaf"};
    door.params[4] = kDoorwayLeft;
    door.params[5] = kDoorwayTop;
    MapObject banner;
    banner.typeCode = 6;
    banner.id = "base_banner";
    banner.frames = {"bres_banner"};
    banner.params[0] = 6;  // its foot a fifth of a level up the wall
    c.mapObjects.push_back(door);
    c.mapObjects.push_back(banner);
    c.tableC.push_back("base_doorwood");
    c.tableC.push_back("base_banner");
    for (const MapObject& o : GalleryObjects()) {
        c.mapObjects.push_back(o);
        c.tableC.push_back(o.id);
    }
    c.tableF.push_back("bres_item_herb");
    c.tableF.push_back("bres_tex_grass");
    c.tableF.push_back("bres_tex_water");
    // The vale's scenery, in the order of its references: sprites that block the way, but for the
    // bushes, which a player pushes through.
    const struct {
        const char* id;
        const char* picture;
        uint8_t typeCode;
    } scenery[] = {{"base_tree", "bres_tree", 32}, {"base_fir", "bres_fir", 32},   {"base_bush", "bres_bush", 26},
                   {"base_rock", "bres_rock", 32}, {"base_ruin", "bres_ruin", 32}, {"base_well", "bres_well", 32}};
    for (const auto& sc : scenery) {
        MapObject o;
        o.typeCode = sc.typeCode;
        o.id = sc.id;
        o.frames = {sc.picture};
        c.mapObjects.push_back(o);
        c.tableC.push_back(o.id);
    }
    for (const auto& [id, picture] : {std::pair{"base_grass", "bres_grass"}, std::pair{"base_pond", "bres_water"}}) {
        MapObject o;
        o.typeCode = 1;
        o.id = id;
        o.frames = {picture};
        c.mapObjects.push_back(o);
        c.tableC.push_back(o.id);
    }
    if (c.tableC.size() != kPond) throw std::logic_error("the vale's references moved");
    for (const auto& [id, picture] : {std::pair{"base_wallhousewindow", "bres_housewindow"},
                                      std::pair{"base_wallhousedoor", "bres_housedoor"},
                                      std::pair{"base_wallhouseupper", "bres_houseupper"}}) {
        MapObject o;
        o.typeCode = 5;
        o.id = id;
        o.frames = {picture};
        c.mapObjects.push_back(o);
        c.tableC.push_back(o.id);
    }
    // The flames of the way through the fire (type 33): an animated object that no cell refers to,
    // found by its name; the view preloads the pictures of one of this name.
    MapObject fire;
    fire.typeCode = 3;
    fire.id = "bres_animfire";
    fire.frames = {"bres_flame1", "bres_flame2"};
    c.mapObjects.push_back(fire);
    for (const char* texture : {"bres_tex_housewindow", "bres_tex_housedoor", "bres_tex_houseupper"})
        c.tableF.push_back(texture);
    if (c.tableC.size() != kHouseUpper || c.tableF.size() != kTexHouseUpper)
        throw std::logic_error("the town's references moved");
    // The shrine's bell after them, so that no earlier reference moves.
    MapObject bell;
    bell.typeCode = 19;
    bell.id = "base_shrinebell";
    bell.frames = {"bres_shrinebell"};
    c.mapObjects.push_back(bell);
    c.tableC.push_back(bell.id);
    if (c.tableC.size() != kShrineBell) throw std::logic_error("the shrine's reference moved");
    c.sectionPrefix = "base_s";
    c.gridWidth = 3;
    c.gridHeight = 3;
    c.sections.clear();
    c.sections.push_back(Cellar());
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) c.sections.push_back(ValePiece(column, row));
    c.sections.push_back(Crypt());
}

}  // namespace world
