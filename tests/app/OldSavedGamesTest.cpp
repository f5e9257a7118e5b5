// Whole saved games of older versions, every record written by hand from the field lists, loaded into
// the running game on the built world: each version reads only the fields it had, and what it had
// comes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/MapSection.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "tests/support/FrameRig.h"
#include "tests/world/PlayerRecordFixture.h"
#include "world/GameScreen.h"
#include "world/GameViewState.h"
#include "tools/content/ByteWriter.h"

namespace {

struct Names {
    std::string section, monsterType;
    u8 curseSchool = 0;
    u8 freshNextId = 0;  // the section's next creature id as the world data gives it
};

void Text(ByteWriter& w, const std::string& text) {
    w.Text(text);
    w.U8(0);
}
void Word(ByteWriter& w, u32 v) {
    w.Align(2);
    w.U16(v);
}
void Dword(ByteWriter& w, u32 v) {
    w.Align(4);
    w.U32(v);
}

// Every record of a saved game of `version` whose current place is `names.section` of the base world.
std::vector<std::pair<u16, std::vector<u8>>> OldSavedGame(u32 version, const Names& names) {
    std::vector<std::pair<u16, std::vector<u8>>> records;
    ByteWriter w;
    w.U8(0x02);
    w.U8(0x03);
    w.U8(0xFF);
    w.U8(version);
    Word(w, 8000);
    for (int i = 0; i < 4000; ++i) w.U16(0x07E0);
    Text(w, "Old Hall");
    Text(w, "Day 2, 6:30 am");
    records.emplace_back(3000, w.Take());

    Dword(w, 1);
    Text(w, "base");
    Text(w, names.section);
    if (version > 120) w.U8(1);
    Text(w, "base");
    Dword(w, 3010);
    records.emplace_back(3001, w.Take());

    w.U8('V');
    if (version > 90) {
        Dword(w, 101);
        Dword(w, 102);
    }
    if (version > 99) Dword(w, 103);
    Word(w, 1);
    Text(w, names.section);
    Word(w, 3011);
    records.emplace_back(3010, w.Take());

    w.U8(0x02);
    Dword(w, 2000);
    if (version > 92) {
        w.U8(40);
        w.U8(50);
    }
    Word(w, 0);  // no placed objects
    w.U8(1);     // every cell explored
    Word(w, 1);  // one creature: id 1, the first monster type, hp 1
    w.U8(1);
    Word(w, 1);
    w.U8(1);
    Word(w, 1);
    Word(w, 1);  // one bag: id 9 at (3, 4) with the mace
    w.U8(9);
    w.U8(2 | 4);
    w.U8(3);
    w.U8(4);
    Word(w, 1);
    Word(w, 1);
    w.U8(0);
    if (version > 91) Word(w, 0);
    records.emplace_back(3011, w.Take());

    w.U8(0x10);
    Word(w, 1);
    Text(w, "base_ratskilled");
    w.U8(0);
    Dword(w, 6);
    records.emplace_back(3002, w.Take());

    records.emplace_back(3003, testing_support::PlayerRecordFixture(version, names.curseSchool));

    w.U8('W');
    for (u32 v : {135u, 17u, 18u, 0u, 0u, 0u, 1500u, 0u}) Dword(w, v);
    Text(w, "");
    Dword(w, 0);
    if (version > 98)
        for (u32 v : {7u, 8u, 9u}) Dword(w, v);
    Dword(w, 3);  // screen mode
    Dword(w, 0);
    Dword(w, 0);
    Text(w, "");
    records.emplace_back(3004, w.Take());

    w.U8('X');
    records.emplace_back(3005, w.Take());

    w.U8('U');
    Word(w, 3);
    for (const char* s : {"", "base_weap_mace", "base_weap_longsword"}) Text(w, s);
    Word(w, 2);
    Text(w, "");
    Text(w, names.monsterType);
    Word(w, 2);
    Text(w, "");
    Text(w, "base_spellcurse");
    records.emplace_back(3006, w.Take());
    return records;
}

TEST(OldSavedGames, EachVersionLoadsWhatItHad) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    ASSERT_TRUE(game.NewGame(nullptr));

    Names names;
    CWorld* base = game.worlds->FindWorldByShortName("base");
    ASSERT_NE(base, nullptr);
    for (u32 i = 0; i < base->SectionCount() && names.section.empty(); ++i) {
        const CMapSection* s = base->SectionAt(i);
        if (s->monsters.empty()) continue;
        names.section = s->GetName();
        names.monsterType = base->tableE.names[s->monsters[0].typeIndex];
        names.freshNextId = s->nextMonsterId;
    }
    ASSERT_FALSE(names.section.empty());
    const CSpell* curse = game.worldLists->spells.FindById("base_spellcurse");
    ASSERT_NE(curse, nullptr);
    names.curseSchool = curse->school;

    struct Case {
        u32 version;
        u32 words;     // world state words read
        bool nextIds;  // the section's next ids
        bool marks;
        bool viewWords;  // the game view's three further words
    } cases[] = {{89, 0, false, false, false}, {92, 2, false, true, false}, {98, 2, true, true, false},
                 {115, 3, true, true, true},   {120, 3, true, true, true},  {122, 3, true, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        CPdbFile db(nullptr, game.finder.get());
        db.InitSavedGameHeader("VantrelSave4");
        for (auto& [id, bytes] : OldSavedGame(c.version, names))
            ASSERT_EQ(db.AddRecord(id, bytes.data(), static_cast<u32>(bytes.size())), 1);
        ASSERT_EQ(db.Save(game.saveGames.SlotPath(4).c_str()), 1);
        db.Release();

        std::unique_ptr<CSavedGameInfo> info = game.saveGames.List(4);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->version, c.version);
        EXPECT_EQ(info->mapName, "Old Hall");
        ASSERT_EQ(game.saveGames.Load(4, nullptr), 1) << game.saveGames.LastError();

        base = game.worlds->FindWorldByShortName("base");
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(base->worldX, c.words >= 1 ? 101u : 0u);
        EXPECT_EQ(base->worldY, c.words >= 2 ? 102u : 0u);
        EXPECT_EQ(base->worldZ, c.words >= 3 ? 103u : 0u);
        ASSERT_NE(base->currentSection, nullptr);
        const CMapSection& section = *base->currentSection;
        EXPECT_EQ(names.section, section.GetName());
        EXPECT_EQ(section.lastVisit, 2000u);
        EXPECT_EQ(section.nextMonsterId, c.nextIds ? 40 : names.freshNextId);
        ASSERT_EQ(section.monsters.size(), 1u);
        EXPECT_EQ(section.monsters[0].hp, 1);
        ASSERT_EQ(section.bags.Count(), 1);
        EXPECT_EQ(section.bags.At(0)->id, 9);
        ASSERT_EQ(section.bags.At(0)->GetItemCount(), 1);
        EXPECT_STREQ(section.bags.At(0)->GetItem(0)->type->GetName(), "base_weap_mace");
        for (u8 byte : section.explored) EXPECT_EQ(byte, 0xFF);

        const CGlobalVar* rats = game.worldLists->globals.FindById("base_ratskilled");
        ASSERT_NE(rats, nullptr);
        EXPECT_EQ(rats->number, 6);
        const CPlayer& player = game.player;
        EXPECT_EQ(player.gold, 4321u);
        EXPECT_EQ(player.hp, 1);
        EXPECT_EQ(player.skills[20], 40);
        EXPECT_EQ(player.marks.size(), c.marks ? 1u : 0u);
        ASSERT_NE(player.equipment[5], nullptr);
        EXPECT_STREQ(player.equipment[5]->type->GetName(), "base_weap_longsword");
        EXPECT_TRUE(player.KnowsSpell("base_spellcurse"));
        // Facing 135 turns down to 90; the screen mode is always 1 after a load.
        const CGameScreen& view = *game.GetGameScreen();
        EXPECT_EQ(view.facing, 90);
        EXPECT_EQ(view.playerX, 17);
        EXPECT_EQ(view.playerY, 18);
        EXPECT_EQ(view.gameClock.minutes, 1500u);
        EXPECT_EQ(view.screenMode, 1u);
        // The first two further words are the prison's: only saves that hold them put the player there.
        EXPECT_EQ(view.gameClock.inPrison, c.viewWords);
        EXPECT_EQ(view.gameClock.prisonArrival, c.viewWords ? 8u : 0u);
    }
}

// The game view's cell indexes the cell window: a stored cell outside 0..34 fails the record.
TEST(OldSavedGames, AViewCellOutsideTheWindowIsDamage) {
    for (u32 x : {0u, 34u, 35u, 0xFFFFFFFFu}) {
        ByteWriter w;
        w.U8('W');
        for (u32 v : {0u, x, 34u, 0u, 0u, 0u, 0u, 0u}) Dword(w, v);
        Text(w, "");
        Dword(w, 0);
        for (int i = 0; i < 6; ++i) Dword(w, 0);
        Text(w, "");
        std::vector<u8> bytes = w.Take();
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        CGameViewState view;
        EXPECT_EQ(view.Serialize(stream, 122), x < 35) << x;
    }
}

}  // namespace
