// The crypt below the cellar: the second underground map. The ladder from the cellar's side chamber
// comes down into its entrance hall; a locked door (picked, or opened with the key that lies in the
// hall) and a floor trap guard the corridor north; the tomb chamber holds the dead, a chest, a herb
// and a book on a lectern; a lever in its north wall raises the gate of the shrine, where the
// innkeeper's quest ends.
#include "tools/content/world/Sections.h"

namespace world {

using namespace parts;

// Named, not anonymous: the tests compile the builder's sources into one unit.
namespace crypt_layout {

struct Room {
    int x0, y0, x1, y1;
};

// Placement ids of the crypt.
enum : uint8_t {
    kLadder = 1, kArrival, kTombSign, kPickDoor, kTrap, kChest, kHerb, kBook, kGate, kLever, kShrine
};

}  // namespace crypt_layout

Section Crypt() {
    using namespace crypt_layout;
    Section s = Underground("base_crypt", "Crypt of the Keepers", 0x1082, 55, 120);  // a shorter view
    std::vector<CellSpec> cells(35 * 35, WallBlock());
    auto at = [&](int x, int y) -> CellSpec& { return cells[static_cast<size_t>(y * 35 + x)]; };
    // The entrance hall, the corridor, the tomb chamber and the shrine behind its gate.
    const Room rooms[] = {{13, 27, 21, 33}, {17, 19, 17, 26}, {9, 8, 25, 18}, {14, 2, 20, 6}};
    for (const Room& r : rooms)
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) at(x, y) = Floor();
    auto centre = [&](int x, int y, int typeCode, uint8_t id, uint16_t picture = kTexWall) {
        CellSpec& c = at(x, y);
        c.centre = GalleryRef(typeCode);
        c.centrePicture = picture;
        c.centreId = id;
    };
    // On the chamber's north wall, facing into the chamber.
    auto onNorthWall = [&](int x, int typeCode, uint8_t id) {
        CellSpec& c = at(x, 7);
        c.side[2] = GalleryRef(typeCode);
        c.sidePicture[2] = kTexWall;
        c.sideId[2] = id;
    };
    centre(17, 33, 15, kLadder);
    centre(15, 29, 19, kTombSign);
    at(17, 26) = Door(kPickDoor, kDoorByKey);
    centre(17, 22, 42, kTrap);
    onNorthWall(10, 14, kChest);
    centre(24, 17, 13, kHerb, kTexHerb);
    centre(21, 12, 19, kBook);
    at(17, 7) = Door(kGate, kDoorNoWay);
    onNorthWall(12, 16, kLever);
    centre(17, 3, 19, kShrine);
    at(17, 3).centre = kShrineBell;  // the gallery's sign in its working, but a bell to look at

    const std::vector<PlacementSpec> placements = {
        {0, "base_cryptladder", "base_cellar_ladderfoot#Climb up the ladder?", "", kLadder, 0, 17, 33, 0x01},
        {0, "base_crypt_arrive", "", "", kArrival, 0, 17, 31, 0x01},
        {0, "base_crypt_tombsign", "Here rest the keepers of the vale. Wake them not without cause.", "",
         kTombSign, 0, 15, 29, 0x01},
        // Locked: a lock to pick (or to open by magic), or the key that lies in the hall.
        {LockLevel(2), "base_crypt_door", "base_key_crypt", "", kPickDoor, 0, 17, 26, kClosedDoor},
        {2 << 8, "base_crypt_trap", "", "", kTrap, 0, 17, 22, 0x01},  // damage level 2
        {0, "base_crypt_chest", "", "", kChest, 1, 10, 7, 0x01},
        {0, "base_crypt_herb", "", "", kHerb, 0, 24, 17, 0x01},
        {0, "base_crypt_book",
         "An open book on the lectern: \"The bell of the shrine was hung to quiet the restless keepers. "
         "The lever in the north wall raises its gate.\"",
         "", kBook, 0, 21, 12, 0x01},
        {0, "base_crypt_gate", "", "", kGate, 0, 17, 7, kClosedDoor},
        // Off while its gate is shut: the first pull raises the gate.
        {0, "base_crypt_lever", "", "base_crypt_lever", kLever, 0, 12, 7, 0x01 | 0x02},
        {0, "base_crypt_shrine", "", "base_crypt_shrine", kShrine, 0, 17, 3, 0x01},
    };
    // The keepers who do not rest: a rat in the entrance hall, a skeleton warrior who keeps the
    // corridor beyond the trap, and restless bones and a skeleton mage by the lectern in the chamber,
    // who come at the player together. Each is a fight that a character who has cleared the cellar
    // above can win, one after the other.
    const std::vector<MonsterSpec> monsters = {
        {kBones, 1, 0x02, 0, 11, 13, 0}, {2, 2, 0x02, 0, 17, 20, 0}, {4, 3, 0x02, 0, 20, 15, 0},
        {1, 4, 0x02, 0, 14, 30, 0}};
    const std::vector<BagSpec> bags = {
        {1, 0, 255, 255,
         {"base_amulet_health", "base_money_100", "base_alc_purplefairyring", "base_alc_powerberries",
          "base_spbookmark", "base_spbookrecall", "base_wand_ash", "base_wand_sparks"}},
        // The door's key, dropped on the hall's floor by the ladder.
        // Beside the key, two healing potions left by whoever came down before: a character that
        // spent its own in the cellar otherwise meets the trap and the keepers already hurt; and
        // water, for a rest before the chamber.
        {2, 0, 19, 32, {"base_key_crypt", "base_phealsmall", "base_phealsmall", "base_drink_water"}}};
    s.recordsAt = [cells, monsters, placements, bags](uint8_t v) {
        return std::vector<std::vector<uint8_t>>{UndergroundCells(cells, v), {}, MonsterRecord(monsters, v),
                                                 PlacementRecord(placements, v), BagRecord(bags)};
    };
    return s;
}

}  // namespace world
