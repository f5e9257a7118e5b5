#include "tools/content/world/AdditionalWorld.h"

#include <cstdio>

#include "tools/content/world/GameWorlds.h"

namespace world {

Content AdditionalWorld() {
    Content c;
    c.dbName = kAdditionalWorldDatabase;
    c.type = "VnTW";
    c.shortName = kAdditionalWorldShortName;
    c.title = kAdditionalWorldTitle;
    c.stringC = kAdditionalWorldShortName;
    c.headerWord = 1;
    c.expansion = 1;  // offered beside the first expansion's start entries, at the lowest price
    // The caves are cut from the resource world's stone: floor and wall take its pictures.
    MapObject floor;
    floor.typeCode = 1;
    floor.id = "embr_floor";
    floor.frames = {"bres_floorstone"};
    MapObject wall;
    wall.typeCode = 5;
    wall.id = "embr_wall";
    wall.frames = {"bres_wallstone"};
    c.mapObjects = {floor, wall};
    c.tableC = {"embr_floor", "embr_wall"};
    c.tableF = {"bres_tex_floor", "bres_tex_wall", "bres_tex_ceiling"};
    c.quests = {{"embr_q_embers", "Embers in the dark",
                 "Something keeps the old fires of the caves burning. Find out what it is."}};
    // The start entry: what a new game runs when the player chooses to begin in these caves.
    c.scripts = {{"embr_STARTGAME", 5, ScriptCode({})}};

    Section cave;
    cave.id = "embr_cave";
    cave.displayName = "Ember Caves";
    cave.lightAColour = 0x3082;  // a dull red glow
    cave.lightALevel = 60;
    cave.lightBColour = 0x3082;
    cave.lightBLevel = 60;
    cave.byteE = 0;
    cave.bytes[0] = 5;    // visibility
    cave.indices[0] = 1;  // floor
    cave.indices[1] = 1;
    cave.indices[3] = 3;  // ceiling picture
    // Empty for now but for its entry point, where a game that starts here puts the player.
    cave.records = EmptyCaveRecords("embr_start");
    c.sections = {cave};
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
