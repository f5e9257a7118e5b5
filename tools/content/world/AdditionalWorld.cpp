#include "tools/content/world/AdditionalWorld.h"

#include <cstdio>
#include <stdexcept>

#include "tools/content/Canvas.h"
#include "tools/content/PictureEncoder.h"
#include "tools/content/world/GameWorlds.h"
#include "tools/content/world/Scenery.h"
#include "tools/content/world/Sections.h"
#include "tools/scriptasm/ScriptAssembler.h"

namespace world {

// Named, not anonymous: the tests compile the builder's sources into one unit.
namespace ember_caves {

using namespace parts;

// The caves' own 'C' table after the floor and the wall that the shared cell pieces name: the
// chest in the wall, the sign and the boat at the landing.
inline constexpr uint16_t kChest = 3, kSign = 4, kBoat = 5, kAltar = 6;

// Placement ids.
enum : uint8_t { kArrival = 1, kBoatId, kSignId, kChestId, kAltarId };

// Dark rock; the wall's has glowing seams, as if a fire burned behind it.
Canvas EmberRock(Rgba base, uint32_t seed, bool seams) {
    Canvas c(256, 128, base);
    c.Grain(0, 0, 256, 128, 0.16f, seed);
    if (!seams) return c;
    uint32_t s = seed;
    auto next = [&s](uint32_t n) {
        s = s * 1103515245u + 12345u;
        return (s >> 16) % n;
    };
    for (int i = 0; i < 7; ++i) {
        // One draw per statement: the argument order of a call is the compiler's choice.
        const float x = static_cast<float>(next(256));
        const float y = static_cast<float>(next(128));
        const float dx = static_cast<float>(next(60)) - 30.0f;
        const float dy = static_cast<float>(next(40)) - 20.0f;
        c.Line({x, y}, {x + dx, y + dy}, 2.0f, Shade(Rgb(0xE06020), 0.8f));
        c.Line({x, y}, {x + dx, y + dy}, 0.8f, Rgb(0xFFB040));
    }
    return c;
}

std::vector<uint8_t> Compiled(const char* id, const char* source) {
    scriptasm::Options options;
    options.lineRecords = true;
    scriptasm::Result result = scriptasm::Assemble(source, options);
    if (!result.ok) throw std::runtime_error(std::string("script ") + id + ": " + result.error);
    return std::move(result.bytes);
}

struct Room {
    int x0, y0, x1, y1;
};

// A landing on the underground lake where the boat puts in, a passage north into the hall of the
// embers, and a side chamber west of the hall with an old chest.
Section Cave() {
    Section s = Underground("embr_cave", "Ember Caves", 0x3082, 60, 110);  // a dull red glow
    std::vector<CellSpec> cells(35 * 35, WallBlock());
    auto at = [&](int x, int y) -> CellSpec& { return cells[static_cast<size_t>(y * 35 + x)]; };
    const Room rooms[] = {{14, 26, 20, 31}, {17, 20, 17, 25}, {9, 9, 25, 19}, {5, 12, 8, 12}, {2, 8, 6, 15}};
    for (const Room& r : rooms)
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) at(x, y) = Floor();
    auto centre = [&](int x, int y, uint16_t object, uint8_t id) {
        CellSpec& c = at(x, y);
        c.centre = object;
        c.centrePicture = kTexWall;
        c.centreId = id;
    };
    centre(17, 29, kBoat, kBoatId);
    centre(12, 18, kSign, kSignId);
    // The old altar at the head of the hall, where the embers that keep the caves awake are fed.
    centre(17, 9, kAltar, kAltarId);
    // The chest stands against the side chamber's north wall, facing into the chamber.
    CellSpec& wall = at(4, 7);
    wall.side[2] = kChest;
    wall.sidePicture[2] = kTexWall;
    wall.sideId[2] = kChestId;

    const std::vector<PlacementSpec> placements = {
        // Where a voyage to these caves puts the player: the start entry that the worlds list offers.
        {0, "embr_STARTGAME", "", "", kArrival, 0, 17, 28, 0x01},
        {0, "embr_boat", "", "embr_boat", kBoatId, 0, 17, 29, 0x01},
        {0, "embr_sign",
         "Scratched into the soot: \"The fire under the rock never sleeps. Neither do they.\" "
         "Someone has added: \"Put out the altar at the head of the hall.\"",
         "embr_sign",
         kSignId, 0, 12, 18, 0x01},
        {0, "embr_chest", "", "", kChestId, 1, 4, 7, 0x01},
        {0, "embr_altar", "A slab of black stone, warm to the touch; embers glow in a hollow on top.",
         "embr_altar", kAltarId, 0, 17, 9, 0x01},
    };
    // Two rats in the hall and a skeleton warrior at its far end, all hostile by their types.
    const std::vector<MonsterSpec> monsters = {
        {1, 1, 0x02, 0, 20, 15, 0}, {1, 2, 0x02, 0, 11, 11, 0}, {2, 3, 0x02, 0, 23, 10, 0}};
    const std::vector<BagSpec> bags = {
        {1, 0, 255, 255, {"base_money_100", "base_money_100", "base_pstrengthsmall", "base_alc_powerberries"}}};
    s.recordsAt = [cells, monsters, placements, bags](uint8_t v) {
        return std::vector<std::vector<uint8_t>>{UndergroundCells(cells, v), {}, MonsterRecord(monsters, v),
                                                 PlacementRecord(placements, v), BagRecord(bags)};
    };
    return s;
}

}  // namespace ember_caves

Content AdditionalWorld() {
    using namespace ember_caves;
    Content c;
    c.dbName = kAdditionalWorldDatabase;
    c.type = "VnTW";
    c.shortName = kAdditionalWorldShortName;
    c.title = kAdditionalWorldTitle;
    c.stringC = kAdditionalWorldShortName;
    c.headerWord = 1;
    c.expansion = 1;  // offered beside the first expansion's start entries, at the lowest price

    // The caves' own rock: a sooty floor, seamed walls and a low black ceiling.
    const Canvas floor = EmberRock(Rgb(0x3A302C), 21, false);
    const Canvas wall = EmberRock(Rgb(0x4A3A32), 22, true);
    const Canvas ceiling = EmberRock(Rgb(0x201A18), 23, false);
    const struct {
        const char* texture;
        const char* picture;
        const Canvas& canvas;
    } rock[] = {{"embr_tex_floor", "embr_floorrock", floor},
                {"embr_tex_wall", "embr_wallrock", wall},
                {"embr_tex_ceiling", "embr_ceilingrock", ceiling}};
    for (const auto& r : rock) {
        c.pictures.push_back({r.picture, EncodePicture(r.canvas, Encoding::Palette)});
        c.seconds.push_back({r.texture, r.picture, 0, EncodePicture(r.canvas, Encoding::Palette)});
        c.tableF.push_back(r.texture);
    }

    MapObject ground;
    ground.typeCode = 1;
    ground.id = "embr_floor";
    ground.frames = {"embr_floorrock"};
    MapObject rockWall;
    rockWall.typeCode = 5;
    rockWall.id = "embr_wall";
    rockWall.frames = {"embr_wallrock"};
    // The old chest built into the chamber's wall: the vale's wall chest, standing on the floor.
    for (const ScenerySprite& h : PaintWallHangings(wall))
        if (h.name == "bres_wallchest") c.pictures.push_back({"embr_wallchest", EncodePicture(h.picture)});
    MapObject chest;
    chest.typeCode = 14;
    chest.id = "embr_chestobj";
    chest.frames = {"embr_wallchest"};
    MapObject sign;
    sign.typeCode = 19;
    sign.id = "embr_signobj";
    sign.frames = {"embr_wallrock", "embr_floorrock"};
    MapObject boat = sign;
    boat.id = "embr_boatobj";
    // The altar works as a sign does (the use key runs its script) but looks like the altar it is:
    // the vale's stone altar, standing in the hall.
    for (const ScenerySprite& s : PaintScenery())
        if (s.name == "bres_altar") c.pictures.push_back({"embr_altarstone", EncodePicture(s.picture)});
    MapObject altar = sign;
    altar.id = "embr_altarobj";
    altar.frames = {"embr_altarstone"};
    c.mapObjects = {ground, rockWall, chest, sign, boat, altar};
    c.tableC = {"embr_floor", "embr_wall", "embr_chestobj", "embr_signobj", "embr_boatobj", "embr_altarobj"};
    if (c.tableC.size() != kAltar) throw std::logic_error("the caves' references moved");
    // The creatures are the vale's kinds: its rat and its skeleton warrior.
    c.tableE = {"base_rat_small", "base_skeleton_warrior"};
    c.globals = {"embr_embers_out"};
    c.quests = {{"embr_q_embers", "Embers in the dark",
                 "Something keeps the old fires of the caves burning. Find out what it is."}};
    c.scripts = {
        // What a new game runs when it begins in these caves.
        {"embr_STARTGAME", 5, ScriptCode({})},
        {"embr_sign", 5,
         Compiled("embr_sign",
                "// Whoever reads the soot learns of the caves' trouble.\n"
                "if (evtuse() && !player.hasquest(\"embr_q_embers\")) player.addquest(\"embr_q_embers\");\n")},
        {"embr_altar", 5,
         Compiled("embr_altar",
                "// Scattering the altar's embers ends the caves' trouble, once, with gold and "
                "experience.\n"
                "if (evtuse()) {\n"
                "    if (getglobal(\"embr_embers_out\") == 1) {\n"
                "        message(\"The hollow is cold and grey. The caves are quiet.\");\n"
                "    } else if (player.hasquest(\"embr_q_embers\")) {\n"
                "        setglobal(\"embr_embers_out\", 1);\n"
                "        message(\"You scatter the embers over the cold floor. The glow in the walls "
                "fades.\");\n"
                "        player.solvequest(\"embr_q_embers\");\n"
                "        player.receivegold(120);\n"
                "        player.addxp(80);\n"
                "    } else message(\"An old altar of black stone, warm to the touch; embers glow in a hollow "
                "on top. Whoever tends them, you have no cause yet to scatter them.\");\n"
                "}\n")},
        {"embr_boat", 5,
         Compiled("embr_boat",
                "// The boatman waits at the landing to row the player home to the vale.\n"
                "if (evtuse()) player.movebyship(\"base_city1\", \"The boatman rows you back across the "
                "still water to Vantrel Town.\");\n")},
    };
    c.sections = {Cave()};
    return c;
}

bool WriteAdditionalWorld(const std::string& folder, uint8_t version) {
    const Content c = AdditionalWorld();
    const std::string path = folder + "/" + c.dbName + ".pdb";
    if (WriteWorldDatabase(c, BuildWorld(c, version), path)) return true;
    std::fprintf(stderr, "vantrel_content: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace world
