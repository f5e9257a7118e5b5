// A new game on the built world, played on by hand (the player, the inventory and equipment, the
// globals, a visited section's creatures and bags, the clock), saved and loaded back into a running game
// that has changed since: what comes back equals what was saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/Spells.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "tests/support/FrameRig.h"
#include "tests/support/SavedGameFiles.h"
#include "platform/Files.h"
#include "world/GameScreen.h"

namespace {

// The player's record as a fresh save writes it, with the names it refers to.
std::vector<u8> PlayerRecord(CPlayer& player) {
    CSaveStringTable strings;
    CStream stream;
    stream.InitForWriting();
    EXPECT_TRUE(player.SerializeSaved(stream, strings, savegame::kSaveVersion));
    EXPECT_TRUE(strings.Serialize(stream));
    return std::vector<u8>(stream.GetBuffer(), stream.GetBuffer() + stream.GetOffset());
}

int CountFromSource(const CPlayer& player, u8 source) {
    int n = 0;
    for (const auto& list : player.effects)
        for (const CActiveEffect& e : list) n += e.source == source;
    return n;
}

CMapSection* SectionWithCreatures(CWorld& world) {
    for (u32 i = 0; i < world.SectionCount(); ++i)
        if (!world.SectionAt(i)->monsters.empty()) return world.SectionAt(i);
    return nullptr;
}

struct SectionSnapshot {
    std::string name;
    u32 lastVisit = 0;
    std::vector<std::pair<u8, u16>> creatures;  // id, hp
    std::vector<std::string> bagItems;
    int holderEntries = 0;
};

SectionSnapshot Snapshot(const CMapSection& section) {
    SectionSnapshot s;
    s.name = section.GetName();
    s.lastVisit = section.lastVisit;
    for (const CMonster& m : section.monsters) s.creatures.emplace_back(m.id, m.hp);
    for (int b = 0; b < section.bags.Count(); ++b)
        for (int i = 0; i < section.bags.At(b)->GetItemCount(); ++i) {
            const CItemInstance* item = section.bags.At(b)->GetItem(i);
            s.bagItems.push_back(std::to_string(section.bags.At(b)->id) + ":" + item->type->GetName() + ":" +
                                 std::to_string(item->count));
        }
    for (int h = 0; h < section.effects.GetHolderCount(); ++h)
        s.holderEntries += section.effects.HolderAt(h)->Count();
    return s;
}

TEST(SavedGameRoundTrip, APlayedNewGameLoadsBackAsItWasSaved) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    ASSERT_TRUE(game.NewGame(nullptr)) << game.WorldOpenError();
    CPlayer& player = game.player;
    const CRuleContext& rules = *player.GetWorld();

    // The player, played on.
    player.AddGold(1234, false, false);
    player.AddXp(5000, false);
    player.skills[3] = 77;
    player.attributes[2] = 33;
    player.fame = -12;
    player.crime = 40;
    player.hp = 17;
    CItemInstance* sword = player.ReceiveItem("base_weap_longsword", 1, false);
    ASSERT_NE(sword, nullptr);
    player.EquipItem(sword, false);
    sword->count = 321;
    const CSpell* curse = rules.spells->FindById("base_spellcurse");
    ASSERT_NE(curse, nullptr);
    sword->effects = CloneEffectList(curse->effects);
    sword->effects->value = 99;
    player.ReapplyEquipmentEffects();
    ASSERT_TRUE(player.LearnSpell("base_spellburninghand", false));
    player.AddAbility("base_ability_derth", false);
    player.InfectDisease("base_disease_swampcough");
    player.AddQuest("base_quest_rats", "Rats");
    player.SetQuestState("base_quest_rats", 1, "Rats");
    player.UpdateMarkSlots();
    player.SetMarkedPosition(0, "base", "base_town", 3, 4, 2);
    player.RememberReadText("base_weap_mace");
    const CItemType* mace = rules.items->FindItemType("base_weap_mace");
    ASSERT_NE(mace, nullptr);
    player.AddConditionEffect(2, kFromSpell, curse, 5, 10, 1, nullptr);
    player.AddConditionEffect(2, kFromDrink, mace, -3, 20, 2, nullptr);
    player.AddConditionEffect(1, kFromHit, nullptr, 4, 30, 3, nullptr);
    const int equipmentEffects = CountFromSource(player, kFromEquipment);
    const int abilityEffects = CountFromSource(player, kFromAbility);
    const int diseaseEffects = CountFromSource(player, kFromDisease);
    ASSERT_GT(equipmentEffects, 0);
    ASSERT_GT(diseaseEffects, 0);
    const std::vector<u8> savedPlayer = PlayerRecord(player);

    // The world: a global, a visited section with a hurt creature, a bag and an effect on a creature.
    CGlobalVar* rats = game.worldLists->globals.FindById("base_ratskilled");
    ASSERT_NE(rats, nullptr);
    rats->number = 7;
    rats->text = "7";
    CWorld* base = game.worlds->FindWorldByShortName("base");
    ASSERT_NE(base, nullptr);
    CMapSection* section = SectionWithCreatures(*base);
    ASSERT_NE(section, nullptr);
    base->currentSection = section;
    section->lastVisit = 4000;
    CMonster& creature = section->monsters.front();
    ASSERT_GT(creature.hp, 1);
    creature.hp = static_cast<u16>(creature.hp - 1);
    CItemBag* bag = section->bags.CreateBag(0);
    ASSERT_NE(bag, nullptr);
    bag->x = 5;
    bag->y = 6;
    bag->AddItem(CreateItemInstance(*mace, 50, nullptr));
    section->effects.AddMonsterEffect(creature.id, 3, 4, 26, 0, nullptr);
    const SectionSnapshot savedSection = Snapshot(*section);
    CGameScreen* view = game.GetGameScreen();
    ASSERT_NE(view, nullptr);
    view->gameClock.minutes = 3 * 1440 + 19 * 60 + 5;
    view->facing = 180;

    ASSERT_EQ(game.saveGames.Save(1), 1) << game.saveGames.LastError();
    std::unique_ptr<CSavedGameInfo> info = game.saveGames.List(1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dayAndTime, "Day 4, 7:05 pm");

    // The running game moves on, then the saved one replaces it.
    player.AddGold(1, false, false);
    player.hp = 3;
    rats->number = 0;
    section->lastVisit = 1;
    view->gameClock.minutes = 0;
    ASSERT_EQ(game.saveGames.Load(1, nullptr), 1) << game.saveGames.LastError();

    EXPECT_EQ(PlayerRecord(player), savedPlayer);
    EXPECT_EQ(player.hp, 17);
    ASSERT_NE(player.equipment[5], nullptr);
    EXPECT_STREQ(player.equipment[5]->type->GetName(), "base_weap_longsword");
    EXPECT_EQ(player.equipment[5]->count, 321);
    ASSERT_NE(player.equipment[5]->effects, nullptr);
    EXPECT_EQ(player.equipment[5]->effects->value, 99u);
    EXPECT_TRUE(player.KnowsSpell("base_spellburninghand"));
    EXPECT_TRUE(player.HasAbility("base_ability_derth"));
    EXPECT_TRUE(player.IsDiseased("base_disease_swampcough"));
    EXPECT_TRUE(player.IsQuestSolved("base_quest_rats"));
    // What equipment, abilities and diseases give is built again, once each.
    EXPECT_EQ(CountFromSource(player, kFromEquipment), equipmentEffects);
    EXPECT_EQ(CountFromSource(player, kFromAbility), abilityEffects);
    EXPECT_EQ(CountFromSource(player, kFromDisease), diseaseEffects);
    EXPECT_EQ(CountFromSource(player, kFromSpell), 1);
    EXPECT_EQ(CountFromSource(player, kFromDrink), 1);
    EXPECT_EQ(CountFromSource(player, kFromHit), 1);

    CGlobalVar* ratsAgain = game.worldLists->globals.FindById("base_ratskilled");
    ASSERT_NE(ratsAgain, nullptr);
    EXPECT_EQ(ratsAgain->number, 7);
    base = game.worlds->FindWorldByShortName("base");
    ASSERT_NE(base, nullptr);
    ASSERT_NE(base->currentSection, nullptr);
    EXPECT_EQ(std::string(base->currentSection->GetName()), savedSection.name);
    const SectionSnapshot loaded = Snapshot(*base->currentSection);
    EXPECT_EQ(loaded.lastVisit, savedSection.lastVisit);
    EXPECT_EQ(loaded.creatures, savedSection.creatures);
    EXPECT_EQ(loaded.bagItems, savedSection.bagItems);
    EXPECT_EQ(loaded.holderEntries, 1);
    EXPECT_EQ(view->gameClock.minutes, 3u * 1440 + 19 * 60 + 5);
    EXPECT_EQ(view->facing, 180);
    ASSERT_NE(game.GetGameScreen(), nullptr);
    EXPECT_EQ(game.GetGameScreen()->inGame, 1u);
}

// A saved game whose globals, player, view or panels record is cut short or missing fails the load
// before anything of the running game goes: the player, the worlds and the view stay as they were.
TEST(SavedGameRoundTrip, ADamagedPartFailsTheLoadAndKeepsTheRunningGame) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    ASSERT_TRUE(game.NewGame(nullptr));
    ASSERT_NE(game.player.ReceiveItem("base_weap_mace", 1, false), nullptr);
    ASSERT_EQ(game.saveGames.Save(2), 1) << game.saveGames.LastError();
    const std::string path = game.saveGames.SlotPath(2);

    game.player.AddGold(55, false, false);
    game.GetGameScreen()->gameClock.minutes = 77;
    const u32 gold = game.player.gold;
    const CItemInstance* item = game.player.items.back().get();
    const CWorld* base = game.worlds->FindWorldByShortName("base");
    for (u16 id : {savegame::kGlobalsRecord, savegame::kPlayerRecord, savegame::kGameViewRecord,
                   savegame::kPanelsRecord}) {
        for (bool drop : {false, true}) {
            SCOPED_TRACE(std::to_string(id) + (drop ? " missing" : " cut"));
            std::vector<u8> half;
            {
                CPdbFile db(nullptr, game.finder.get());
                ASSERT_EQ(db.Open(path.c_str(), "VnTS"), 1);
                CRecordDataPtr record(db.ReadRecord(id));
                ASSERT_TRUE(record);
                half.assign(record->data, record->data + record->size / 2);
            }
            ASSERT_TRUE(testing_support::RewriteSavedGame(game.finder.get(), path, game.saveGames.SlotPath(5),
                                                          id, drop ? nullptr : &half));
            EXPECT_EQ(game.saveGames.Load(5, nullptr), 0);
            EXPECT_FALSE(game.saveGames.LastError().empty());
            EXPECT_EQ(game.player.gold, gold);
            EXPECT_EQ(game.player.items.back().get(), item);
            EXPECT_EQ(game.worlds->FindWorldByShortName("base"), base);
            EXPECT_EQ(game.GetGameScreen()->gameClock.minutes, 77u);
        }
    }
    ASSERT_EQ(game.saveGames.Load(2, nullptr), 1) << game.saveGames.LastError();
    EXPECT_EQ(game.player.gold, gold - 55);
}

// A globals record of one byte (its tag alone) is shorter than any the game writes: the database's
// padding after it read as an empty list, which reset every script variable. So is a one-byte panel
// record that is not the panels' tag (the tag alone is the panels' older form). The load refuses both
// and names the record; the running game keeps its variables.
TEST(SavedGameRoundTrip, ARecordShorterThanItsSmallestFormIsDamaged) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    ASSERT_TRUE(game.NewGame(nullptr));
    CGlobalVar* rats = game.worldLists->globals.FindById("base_ratskilled");
    ASSERT_NE(rats, nullptr);
    rats->number = 7;
    ASSERT_EQ(game.saveGames.Save(2), 1) << game.saveGames.LastError();
    const std::string path = game.saveGames.SlotPath(2);
    rats->number = 9;
    const struct {
        u16 id;
        u8 tag;
    } cases[] = {{savegame::kGlobalsRecord, 0x10}, {savegame::kPanelsRecord, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const std::vector<u8> one = {c.tag};
        ASSERT_TRUE(testing_support::RewriteSavedGame(game.finder.get(), path, game.saveGames.SlotPath(5), c.id,
                                                      &one));
        EXPECT_EQ(game.saveGames.Load(5, nullptr), 0);
        EXPECT_NE(game.saveGames.LastError().find("record " + std::to_string(c.id) + " is damaged"),
                  std::string::npos)
            << game.saveGames.LastError();
        EXPECT_EQ(game.worldLists->globals.FindById("base_ratskilled")->number, 9);
    }
    ASSERT_EQ(game.saveGames.Load(2, nullptr), 1) << game.saveGames.LastError();
    EXPECT_EQ(game.worldLists->globals.FindById("base_ratskilled")->number, 7);
}

// Closing the window during a game writes the automatic save, which the next start lists.
TEST(SavedGameRoundTrip, EndingDuringAGameWritesTheAutomaticSave) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    ASSERT_TRUE(game.NewGame(nullptr));
    game.player.AddGold(777, false, false);
    const u32 gold = game.player.gold;
    CWorld* base = game.worlds->FindWorldByShortName("base");
    ASSERT_NE(base, nullptr);
    CMapSection* section = SectionWithCreatures(*base);
    ASSERT_NE(section, nullptr);
    base->currentSection = section;
    section->lastVisit = 321;
    const std::string sectionName = section->GetName();
    rig.Stop();

    // The next start finds its saved games in the same user folder.
    testing_support::FrameRig next;
    plat::SetUserDataFolder(rig.env.dir.Path());
    ASSERT_TRUE(next.StartOnBuiltDatabase());
    CGame& again = *next.Game();
    ASSERT_TRUE(again.saveGames.List(0));
    // Loaded from the menu of a fresh start, before any world is open: the sections' states still
    // reach their sections.
    ASSERT_EQ(again.worlds->FindWorldByShortName("base"), nullptr);
    ASSERT_EQ(again.saveGames.Load(0, nullptr), 1) << again.saveGames.LastError();
    EXPECT_EQ(again.player.gold, gold);
    CWorld* loaded = again.worlds->FindWorldByShortName("base");
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->currentSection, nullptr);
    EXPECT_EQ(sectionName, loaded->currentSection->GetName());
    EXPECT_EQ(loaded->currentSection->lastVisit, 321u);
}

}  // namespace
