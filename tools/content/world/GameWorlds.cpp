#include "tools/content/world/GameWorlds.h"
#include "tools/content/world/Sections.h"

#include <cmath>
#include <cstdio>

#include "tools/content/Canvas.h"
#include "tools/content/PictureEncoder.h"
#include "tools/content/Wav.h"
#include "tools/content/WorldScripts.h"
#include "tools/content/world/FrontEndPages.h"
#include "tools/content/world/Music.h"
#include "tools/content/world/Scenery.h"

namespace world {

namespace {

constexpr double kPiSounds = 3.14159265358979323846;

Content Named(const char* db, const char* type, const char* shortName, const char* title) {
    Content c;
    c.dbName = db;
    c.type = type;
    c.shortName = shortName;
    c.title = title;
    return c;
}

// ---- sounds ----

int16_t S16(double v) {
    return static_cast<int16_t>(std::lround(std::max(-1.0, std::min(1.0, v)) * 32000.0));
}

uint32_t Next(uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

// A soft thud with a little grit: footsteps, hits, the bag.
std::vector<int16_t> Thud(double ms, double freq, double noise, double decay, uint32_t seed) {
    const int n = static_cast<int>(kWavRate * ms / 1000);
    std::vector<int16_t> s(n);
    double lp = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kWavRate;
        lp += 0.25 * ((Next(seed) & 0xFFFF) / 32768.0 - 1.0 - lp);
        const double env = std::exp(-t * decay) * std::min(1.0, t * 400);
        s[i] = S16(env * (0.7 * std::sin(2 * kPiSounds * freq * t * (1 - 0.3 * t)) + noise * lp));
    }
    return s;
}

// A swish of filtered noise that rises and falls: a missed blow.
std::vector<int16_t> Swish() {
    const int n = kWavRate * 220 / 1000;
    std::vector<int16_t> s(n);
    uint32_t seed = 5;
    double lp = 0;
    for (int i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / n;
        lp += (0.05 + 0.3 * x) * ((Next(seed) & 0xFFFF) / 32768.0 - 1.0 - lp);
        s[i] = S16(1.6 * std::sin(kPiSounds * x) * lp);
    }
    return s;
}

// A wooden creak falling in pitch: doors.
std::vector<int16_t> Creak() {
    const int n = kWavRate * 450 / 1000;
    std::vector<int16_t> s(n);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kWavRate;
        phase += 2 * kPiSounds * (180 - 90 * t) / kWavRate;
        const double buzz = std::sin(phase) + 0.4 * std::sin(3 * phase) + 0.2 * std::sin(5 * phase);
        s[i] = S16(0.35 * buzz * std::sin(kPiSounds * t / 0.45) *
                   (0.7 + 0.3 * std::sin(2 * kPiSounds * 23 * t)));
    }
    return s;
}

// A bright two-tone chime: a quest noted, a spell ready.
std::vector<int16_t> Chime() {
    const int n = kWavRate * 600 / 1000;
    std::vector<int16_t> s(n);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kWavRate;
        const double a = std::sin(2 * kPiSounds * 784 * t) * std::exp(-t * 6);
        const double b =
            t > 0.12 ? std::sin(2 * kPiSounds * 1175 * (t - 0.12)) * std::exp(-(t - 0.12) * 6) : 0.0;
        s[i] = S16(0.35 * (a + b));
    }
    return s;
}

// ---- pictures ----

std::vector<uint8_t> Encode(const Canvas& c) { return EncodePicture(c, Encoding::Palette); }

Canvas StoneTexture(Rgba base, uint32_t seed, bool bricks) {
    Canvas c(256, 128, base);
    c.Grain(0, 0, 256, 128, 0.12f, seed);
    // A wall texture lies on the wall with its width running down the face and its height along it,
    // so its courses run down the columns: eight courses a level, two bricks a cell.
    if (bricks)
        for (int course = 0; course < 8; ++course) {
            const int x = course * 32;
            c.Fill(x, 0, 2, 128, Shade(base, 0.55f));
            for (int y = (course % 2) * 32; y < 128; y += 64) c.Fill(x, y, 32, 2, Shade(base, 0.55f));
        }
    else
        for (int y = 0; y < 128; y += 64)
            for (int x = 0; x < 256; x += 64) c.Frame(x, y, 64, 64, Shade(base, 0.7f), 1);
    return c;
}

Canvas SkyPicture(Rgba top, Rgba horizon, bool stars, bool clouds, uint32_t seed) {
    Canvas c(256, 64);
    c.VGradient(0, 0, 256, 64, top, horizon);
    // One draw per statement: the order of a call's arguments is the compiler's to choose, and the
    // built databases must not depend on which compiler built the builder.
    if (stars)
        for (int i = 0; i < 60; ++i) {
            const uint32_t x = Next(seed) % 256;
            const uint32_t y = Next(seed) % 48;
            c.Set(static_cast<int>(x), static_cast<int>(y), Rgb(0xF0F0FF));
        }
    if (clouds)
        for (int i = 0; i < 9; ++i) {
            const uint32_t x = Next(seed) % 256;
            const uint32_t y = 20 + Next(seed) % 24;
            const uint32_t r = 6 + Next(seed) % 8;
            c.Disc(static_cast<float>(x), static_cast<float>(y), static_cast<float>(r), Rgb(0xD8DCE4, 150));
        }
    return c;
}

// The world map: the vale at one pixel a cell in the top-left corner, where the dialog's grid of
// 21-pixel pieces lies over it, and the country round it filling the dialog's frame: the ridges that
// close the vale, the forest to the south, the mountains to the north-east and the still water to
// the east, with the caves' island beyond it where the boatman rows.
Canvas WorldMapPicture() {
    constexpr int kW = 520, kH = 320, kVale = 63;
    Canvas c(kW, kH, Rgb(0x6A8E46));
    uint32_t seed = 4711;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 16) % n);
    };
    // The open country: meadows in soft patches.
    for (int i = 0; i < 160; ++i) {
        const float x = next(kW), y = next(kH), r = 6 + next(18);
        c.Disc(x, y, r, Rgb(i % 2 ? 0x5E8440 : 0x76985A, 120));
    }
    // The still water east of the vale, its shore ragged, and the caves' island of dark rock in it.
    c.Polygon({{150, 40}, {230, 22}, {330, 36}, {400, 70}, {420, 140}, {396, 210}, {330, 246}, {250, 240},
               {196, 210}, {168, 160}, {140, 110}},
              Rgb(0x3A6E9C));
    c.Polygon({{160, 52}, {228, 34}, {320, 48}, {386, 80}, {404, 140}, {382, 200}, {326, 232}, {254, 226},
               {206, 198}, {180, 156}, {156, 108}},
              Rgb(0x2E5E8C));
    for (int i = 0; i < 40; ++i) {
        const float x = 190 + next(180), y = 70 + next(140);
        c.Line({x, y}, {x + 8, y}, 1.0f, Rgb(0x7AA4C8, 160));
    }
    c.Polygon({{300, 120}, {322, 108}, {346, 116}, {352, 138}, {334, 152}, {308, 148}}, Rgb(0x4A3A32));
    c.Disc(326, 130, 5, Rgb(0xE06020));
    c.Disc(326, 130, 2.5f, Rgb(0xFFB040));
    // The mountains to the north-east, snow on their peaks.
    for (int i = 0; i < 9; ++i) {
        const float x = 400 + 15 * i + next(10), base = 64 + next(24), top = 8 + next(20);
        c.Polygon({{x - 34, base}, {x, top}, {x + 34, base}}, Rgb(0x7E7A74));
        c.Polygon({{x, top}, {x + 34, base}, {x + 8, base}}, Rgb(0x5E5A56));
        c.Polygon({{x - 8, top + 12}, {x, top}, {x + 8, top + 12}}, Rgb(0xF0F0F4));
    }
    // The forest to the south and south-west.
    for (int i = 0; i < 420; ++i) {
        const float x = next(240), y = 110 + next(205);
        c.Disc(x, y, 3 + next(3), Rgb(i % 3 ? 0x2E5A26 : 0x3A6A2E));
    }
    for (int i = 0; i < 160; ++i) {
        const float x = 250 + next(270), y = 250 + next(70);
        c.Disc(x, y, 2 + next(3), Rgb(0x2E5A26));
    }
    // The ridges that close the vale on the east and the south, and the road out over them to the
    // boatman's landing.
    for (int i = 0; i < 14; ++i) {
        const float t = static_cast<float>(i) / 13;
        c.Disc(kVale + 10 + next(6), 4 + t * 70, 9, Rgb(0x8A7A5A));
        c.Disc(4 + t * 70, kVale + 10 + next(6), 9, Rgb(0x8A7A5A));
    }
    c.Line({52, 40}, {150, 96}, 2.0f, Rgb(0xB89A6A));
    c.Fill(148, 94, 10, 3, Rgb(0x6A4A2A));  // the landing
    c.Grain(0, 0, kW, kH, 0.05f, 12);

    // The vale itself, a pixel a cell, piece by piece as the sections lay it out.
    c.Fill(0, 0, kVale, kVale, Rgb(0x5E8C3A));
    for (int row = 1; row <= 3; ++row)
        for (int column = 1; column <= 3; ++column) {
            const char* const* layout = ValeLayout(column, row);
            for (int y = 0; y < 21; ++y)
                for (int x = 0; x < 21; ++x) {
                    const char cell = layout ? layout[y][x] : TownMapCell(x, y);
                    Rgba colour = Rgb(0x5E8C3A);
                    switch (cell) {
                    case 'T': colour = Rgb(0x2E5A26); break;
                    case 'F': colour = Rgb(0x1E4A2A); break;
                    case 'b': colour = Rgb(0x4A7A32); break;
                    case '~': colour = Rgb(0x3A6EC8); break;
                    case '=': colour = Rgb(0xB89A6A); break;
                    case '#': colour = Rgb(0x5A4A3A); break;
                    case 'r': colour = Rgb(0x8A8A84); break;
                    case 'R': colour = Rgb(0x9A9080); break;
                    case 'W': colour = Rgb(0x6A8AAA); break;
                    case 'H': colour = Rgb(0x8A4A32); break;
                    case 's': colour = Rgb(0xA8A49A); break;
                    default: break;
                    }
                    c.Set((column - 1) * 21 + x, (row - 1) * 21 + y, colour);
                }
        }
    c.Frame(0, 0, kVale, kVale, Rgb(0x3A2A1A, 160), 1);
    return c;
}

void AddPicture(Content& c, const std::string& name, const Canvas& canvas) {
    c.pictures.push_back({name, Encode(canvas)});
}

}  // namespace

std::vector<uint8_t> ScriptCode(std::initializer_list<uint8_t> tokens) {
    // {u16 unused, u16 offset of the string table, the tokens ending with 0, the table with no strings}
    std::vector<uint8_t> code = {0, 0, 0, 0};
    code.insert(code.end(), tokens.begin(), tokens.end());
    code.push_back(0);
    if (code.size() % 2) code.push_back(0);
    const size_t table = code.size();
    code[2] = static_cast<uint8_t>(table);
    code[3] = static_cast<uint8_t>(table >> 8);
    code.push_back(0);
    code.push_back(0);
    return code;
}

std::vector<std::vector<uint8_t>> EmptyCaveRecords(const std::string& entryPoint) {
    // Base + 0: the cells, all empty for now; + 2: no monsters; + 3: the entry point; + 4: no bags.
    ByteWriter cells;
    cells.U8('H');
    for (int i = 0; i < 35 * 35; ++i) A2U16(cells, 0);
    ByteWriter monsters;
    monsters.U32(0);
    monsters.U8(1);
    ByteWriter objects;
    objects.U8('I');
    objects.U8(2);
    A2U16(objects, 1);
    A2U16(objects, 0);
    Str(objects, entryPoint);
    Str(objects, "");
    Str(objects, "");
    objects.U8(1);     // id
    objects.U8(0);     // bag
    objects.U8(17);    // x
    objects.U8(17);    // y
    objects.U8(0x01);  // visible
    ByteWriter bags;
    A2U16(bags, 0);
    bags.U8(1);
    return {cells.Take(), {}, monsters.Take(), objects.Take(), bags.Take()};
}

Content MusicWorld() {
    Content c = Named("VantrelMusic", "bmus", "bmus", "Vantrel music");
    MusicContent music = ComposeMusic();
    c.banks = std::move(music.banks);
    c.songs = std::move(music.songs);
    return c;
}

Content SoundWorld() {
    Content c = Named("VantrelSound", "bsnd", "bsnd", "Vantrel sounds");
    auto add = [&c](const char* name, const std::vector<int16_t>& samples) {
        Sound s;
        s.name = name;
        s.wav = MakeWav(samples);
        c.sounds.push_back(std::move(s));
    };
    add("bsnd_click", ClickSamples());
    add("bsnd_confirm", ConfirmSamples());
    add("bsnd_bagopen", Thud(180, 140, 0.8, 18, 11));
    add("bsnd_stepbarefoot-left", Thud(110, 90, 0.5, 40, 21));
    add("bsnd_stepbarefoot-right", Thud(110, 100, 0.5, 40, 22));
    add("bsnd_hitclub", Thud(160, 70, 1.0, 25, 31));
    add("bsnd_hitmiss", Swish());
    add("bsnd_doorwood", Creak());
    add("bsnd_questnote", Chime());
    return c;
}

Content ResourceWorld() {
    Content c = Named("VantrelRes", "bres", "bres", "Vantrel pictures");
    const Canvas floor = StoneTexture(Rgb(0x6A6258), 1, false);
    const Canvas wall = StoneTexture(Rgb(0x7A6E5E), 2, true);
    const Canvas ceiling = StoneTexture(Rgb(0x4A4640), 3, false);
    AddPicture(c, "bres_floorstone", floor);
    AddPicture(c, "bres_wallstone", wall);
    AddPicture(c, "bres_ceilingstone", ceiling);
    AddPicture(c, "bres_skyday", SkyPicture(Rgb(0x3A6EC8), Rgb(0xB8D4F0), false, true, 4));
    AddPicture(c, "bres_skyrain", SkyPicture(Rgb(0x4A5060), Rgb(0x8A909A), false, true, 5));
    AddPicture(c, "bres_skydusk", SkyPicture(Rgb(0x2A2A60), Rgb(0xE89A50), false, false, 6));
    AddPicture(c, "bres_skynight", SkyPicture(Rgb(0x050818), Rgb(0x1A2440), true, false, 7));
    AddPicture(c, "bres_sky-thunder", SkyPicture(Rgb(0x8A8AA0), Rgb(0xD0D0E0), false, true, 8));
    // The stairs and the vale's scenery, drawn as sprites by the map objects that name them.
    for (const ScenerySprite& sprite : PaintScenery()) AddPicture(c, sprite.name, sprite.picture);
    for (const ScenerySprite& sprite : PaintWallHangings(wall)) AddPicture(c, sprite.name, sprite.picture);
    // The pictures the base world's rule records name: items, creature frames, hands, portraits.
    for (const RulePicture& p : PaintRulePictures()) AddPicture(c, p.name, p.picture);
    for (const auto& [name, picture] : PaintPagePictures()) AddPicture(c, name, picture);
    // The two frames of the gallery's animated ground: pictures of their own, since the animation
    // swaps every ground in view that shows the current frame.
    AddPicture(c, "bres_pool1", StoneTexture(Rgb(0x2A4A7A), 9, false));
    AddPicture(c, "bres_pool2", StoneTexture(Rgb(0x36588A), 10, false));
    // The frames of the potions' visual effect.
    std::vector<std::string> drinkFrames;
    for (int i = 0; i < kDrinkEffectFrames; ++i) {
        drinkFrames.push_back(std::string(kDrinkEffect) + std::to_string(i));
        AddPicture(c, drinkFrames.back(), PaintDrinkEffect(i));
    }
    std::vector<std::string> hitFrames;
    for (int i = 0; i < kHitEffectFrames; ++i) {
        hitFrames.push_back(std::string(kHitEffect) + std::to_string(i));
        AddPicture(c, hitFrames.back(), PaintHitEffect(i));
    }
    // The sections' textures, found by the worlds' 'F' tables.
    c.seconds.push_back({"bres_tex_floor", "bres_floorstone", 0, Encode(floor)});
    c.seconds.push_back({"bres_tex_wall", "bres_wallstone", 0, Encode(wall)});
    c.seconds.push_back({"bres_tex_ceiling", "bres_ceilingstone", 0, Encode(ceiling)});
    // The vale's ground: grass and the water of its ponds. A ground cell draws
    // its object's picture in the colours of its second picture, so each is both, from one encoding.
    const struct {
        const char* second;
        const char* picture;
        Canvas canvas;
    } ground[] = {{"bres_tex_grass", "bres_grass", ValeGrass()},
                  {"bres_tex_water", "bres_water", ValeWater()}};
    for (const auto& g : ground) {
        AddPicture(c, g.picture, g.canvas);
        c.seconds.push_back({g.second, g.picture, 0, Encode(g.canvas)});
    }
    // The faces of the town's houses, built of the same stone as every wall: each both the wall
    // object's picture and the texture its cells name, like the vale's ground.
    const struct {
        const char* second;
        const char* picture;
        HouseFace face;
    } houses[] = {{"bres_tex_housewindow", "bres_housewindow", HouseFace::Window},
                  {"bres_tex_housedoor", "bres_housedoor", HouseFace::Door},
                  {"bres_tex_houseupper", "bres_houseupper", HouseFace::UpperWindow}};
    for (const auto& h : houses) {
        const Canvas face = HouseWall(wall, h.face);
        AddPicture(c, h.picture, face);
        c.seconds.push_back({h.second, h.picture, 0, Encode(face)});
    }
    AddPicture(c, "bres_winerack", WineRack(wall));
    // The herb that the cellar's flower shows, by the name its item type gives as its picture.
    for (const RulePicture& p : PaintRulePictures())
        if (p.name == "bres_item_herb") c.seconds.push_back({p.name, p.name, 0, Encode(p.picture)});
    // Each sky: time class, weather level, visibility percent, moving flag and, as the fog colour, its
    // own horizon. A clear day sees as far as the surface lets anyone see (fog from two cells out).
    // The thunder sky is found by its id while lightning flashes; the storm sky by level.
    const uint16_t dayFog = To565(Rgb(0xB8D4F0)), rainFog = To565(Rgb(0x8A909A));
    const uint16_t duskFog = To565(Rgb(0xE89A50)), nightFog = To565(Rgb(0x1A2440));
    const uint16_t thunderFog = To565(Rgb(0xD0D0E0));
    c.skies = {{"bres_skyday", "", 1, 0, 100, 1, dayFog},
               {"bres_skyrain", "", 1, 3, 50, 1, rainFog},
               {"bres_skydusk", "", 4, 0, 60, 0, duskFog},
               {"bres_skynight", "", 2, 0, 40, 0, nightFog},
               {"bres_skystorm", "bres_sky-thunder", 1, 6, 30, 1, thunderFog},
               {"bres_sky-thunder", "", 8, 9, 30, 0, thunderFog}};
    // The sky set of the surface, and the ceiling of the cellar (an underground map's first picture).
    c.pictureSets = {{"bres_skyset", 1, {"bres_skyday", "bres_skydusk", "bres_skynight"}, {}},
                     {"bres_ceilingset", 1, {"bres_ceilingstone"}, {}},
                     {kDrinkEffect, 1, drinkFrames, {}},
                     {kHitEffect, 1, hitFrames, {}}};
    return c;
}

Content BaseWorld() {
    Content c = Named("VantrelBase", "base", "base", "The Vale of Vantrel");
    c.baseRules = true;
    c.stringC = "base";
    c.headerWord = 1;
    // The last one is the floor plate's: it warns once.
    c.globals = {"base_metelder", "base_cellarkey", "base_ratskilled", "cellar_warned", "base_crypt_rested"};
    MapObject floor;
    floor.typeCode = 1;
    floor.id = "base_floorstone";
    floor.frames = {"bres_floorstone"};
    MapObject water = floor;
    water.id = "base_water";
    water.frames = {"bres_floorstone"};
    MapObject wall;
    wall.typeCode = 5;
    wall.id = "base_wallstone";
    wall.frames = {"bres_wallstone"};
    MapObject stairs;
    stairs.typeCode = 25;
    stairs.id = "base_stairsup";
    stairs.text1 = "stairup";
    stairs.frames = {"bres_stairs"};
    stairs.sound1 = "bsnd_stepbarefoot-left";
    c.mapObjects = {floor, water, wall, stairs};
    c.tableC = {"base_floorstone", "base_wallstone", "base_water", "base_stairsup"};
    c.tableD = {"base_money_100", "base_weap_dirkcheap"};
    // Monster types by 1-based index: the cellar's and the crypt's creatures, the town's people, and
    // the restless bones of the cellar.
    c.tableE = {"base_rat_small",           "base_skeleton_warrior",   "base_wolf_grey",
                "base_skeleton_mage",       "base_townsfolk_merchant", "base_townsfolk_shepherd",
                "base_townsfolk_innkeeper", "base_townsfolk_smith",    "base_townsfolk_trainer",
                "base_townsfolk_gambler",   "base_townsfolk_enchanter", "base_townsfolk_elder",
                "base_skeleton_bones"};
    c.tableF = {"bres_tex_floor", "bres_tex_wall", "bres_tex_ceiling"};
    c.quests = {
        {"base_q_cellar", "Knocking Below",
         "Maren at the inn hears knocking from below her cellar. A ladder in the cellar's side chamber "
         "leads down to the old crypt: find what wakes the dead there and quiet it."},
        {content::kElderQuestId, "Elder's Errand",
         "Bram, the elder who lives by the north road, gave me a letter for Corwen, the smith on the town "
         "square."},
        {content::kRingQuestId, "Harbour Ring",
         "Hesper the merchant lost her ring by the well in the eastern fields, east of the town."}};
    for (const std::string& id : FrontEndPageIds()) c.pageIds.push_back(id);
    c.pageSequences = FrontEndPageSequences();
    c.scripts = {{"base_startgame1", 5, ScriptCode({})}, {"base_cellarenter", 5, ScriptCode({})}};
    // The harbour's sign, lever, floor plate and the harbour master's talk.
    for (content::CompiledScript& script : content::CompileWorldScripts())
        c.scripts.push_back({script.id, 5, std::move(script.code)});
    c.talkProfiles = {{"base_npc_elder", "The elder", {{"bres_npc_bram", {0, 0, 0}}}}};
    c.worldMap = Encode(WorldMapPicture());
    AddBaseSections(c);
    return c;
}

std::vector<Content> GameWorlds() { return {MusicWorld(), SoundWorld(), ResourceWorld(), BaseWorld()}; }

bool WriteGameWorlds(const std::string& folder, uint8_t version) {
    for (const Content& c : GameWorlds()) {
        const std::string path = folder + "/" + c.dbName + ".pdb";
        if (!WriteWorldDatabase(c, BuildWorld(c, version), path)) {
            std::fprintf(stderr, "vantrel_content: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace world
