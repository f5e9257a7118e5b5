// The map objects of the built world as a player meets them in a new game: the use key on a sign, a
// lever and its gate, a locked door with and without its key, a chest, the card player in the town,
// and the stairs and the ladder between the town, the cellar and the crypt.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/WorldLists.h"
#include "screens/panels/PanelScreen.h"
#include "tests/app/PlayRig.h"
#include "tests/support/Png.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "world/GameMapObjects.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace {

using testing_support::PlayRig;
using testing_support::kNorth;
using testing_support::kSouth;
using testing_support::kWest;

// The game's objects take their events from the running view: the table is hosted by it.
TEST(MapObjectsInPlay, TheGamesObjectsAskTheView) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CMapObjectTable* table = rig.Game()->GetMapObjects();
    ASSERT_NE(rig.View()->mapObjects, nullptr);
    EXPECT_EQ(table->Host(), rig.View()->mapObjects.get());
    for (u32 i = 0; i < table->Count(); ++i) EXPECT_EQ(table->At(i)->host, rig.View()->mapObjects.get()) << i;
}

// The gallery's sign shows its text; its locked door refuses a player without the key and opens with
// it, which the key pays for; the player then walks through.
TEST(MapObjectsInPlay, ASignReadsAndALockedDoorOpensOnlyWithItsKey) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();

    rig.PlaceAt(20, 5, kNorth);  // before the sign
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText(), "The gallery: every kind of thing the old builders left, in a row.");
    rig.CloseMessage();

    CPlacement* door = rig.Placement("base_gallery22");
    ASSERT_NE(door, nullptr);
    CPlayer& player = rig.Game()->player;
    while (player.CountItems("base_key_gallery") > 0) player.RemoveItems("base_key_gallery", 1);
    rig.PlaceAt(26, 5, kNorth);
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText().rfind("The door is locked,\rand you don't have the right key", 0), 0u)
        << rig.LastQueuedText();
    EXPECT_NE(door->flags & mapobject::kClosed, 0);
    EXPECT_EQ(door->flags & mapobject::kOpening, 0) << "refused";
    view->events.clear();
    rig.SettleView();
    rig.Key(38);
    rig.SettleView();
    EXPECT_EQ(view->playerY, 5) << "the closed door blocks";

    const CItemType* key = rig.Game()->GetWorldLists()->items.FindItemType("base_key_gallery");
    ASSERT_NE(key, nullptr);
    player.AddItemCopies(1, *key);
    rig.Use();
    EXPECT_NE(door->flags & mapobject::kOpening, 0);
    EXPECT_EQ(player.CountItems("base_key_gallery"), 0) << "the lock keeps the key";
    ASSERT_TRUE(rig.TickUntilOpen(*door));
    rig.CloseMessage();  // "You have lost ..."
    rig.Key(38);
    rig.SettleView();
    EXPECT_EQ(view->playerY, 4) << "through the open door";
}

// The lever's script opens the gate it names (a golden frame of the open gate) and shuts it again.
TEST(MapObjectsInPlay, ALeverOpensTheGateAndShutsIt) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CPlacement* gate = rig.Placement("harbour_gate");
    CPlacement* lever = rig.Placement("base_gallery16");
    ASSERT_NE(gate, nullptr);
    ASSERT_NE(lever, nullptr);
    ASSERT_NE(gate->flags & mapobject::kClosed, 0);

    // The shut gate stands in its doorway: the view's entry of the cell has the doorway and the
    // bars, not moved at all (a golden frame of the shut gate).
    rig.PlaceAt(2, 9, kSouth);
    const CBlockCacheEntry& shut = rig.GateEntry(2, 11);
    EXPECT_EQ(shut.kind, 3);
    EXPECT_NE(shut.picture[3], 0) << "the doorway";
    EXPECT_NE(shut.picture[1], 0) << "the bars";
    EXPECT_EQ(shut.model >> 2, 0) << "shut";
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_gate_shut", rig.FreshFrame()));

    rig.PlaceAt(14, 1, kNorth);  // under the lever on the north wall
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText(), "Somewhere a gate grinds open.");
    EXPECT_EQ(lever->flags & mapobject::kClosed, 0) << "the lever is on";
    EXPECT_NE(gate->flags & mapobject::kOpening, 0);
    rig.CloseMessage();

    rig.PlaceAt(2, 9, kSouth);  // two cells north of the gate, looking at it
    // Half way up the bars are drawn half way up: the view follows the leaf as it moves.
    for (int i = 0; i < 200 && (rig.GateEntry(2, 11).model >> 2) < 24; ++i) rig.Tick(30);
    const i32 halfWay = rig.GateEntry(2, 11).model >> 2;
    EXPECT_GT(halfWay, 0);
    EXPECT_LT(halfWay, 63);
    ASSERT_TRUE(rig.TickUntilOpen(*gate));
    rig.SettleView();
    EXPECT_EQ(rig.GateEntry(2, 11).model >> 2, 63) << "open: the bars are gone";
    EXPECT_NE(rig.GateEntry(2, 11).picture[3], 0) << "the doorway stays";
    const testing_support::Rgb565Image open = rig.FreshFrame();
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_gate_open", open));
    rig.PlaceAt(2, 10, kSouth);
    rig.Key(38);
    rig.SettleView();
    EXPECT_EQ(rig.View()->playerY, 11) << "into the open gate";

    rig.PlaceAt(14, 1, kNorth);
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText(), "The gate rattles shut.");
    EXPECT_NE(lever->flags & mapobject::kClosed, 0);
    EXPECT_NE(gate->flags & mapobject::kClosing, 0);
}

// The chest beside the locked door opens its bag in the panels, with the view kept underneath.
TEST(MapObjectsInPlay, AChestShowsItsBag) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();
    rig.PlaceAt(12, 1, kNorth);
    rig.Use();
    rig.Tick(30);
    auto* panels = dynamic_cast<CPanelScreen*>(rig.Current());
    ASSERT_NE(panels, nullptr);
    ASSERT_NE(view->section, nullptr);
    const CItemBag* chest = view->section->bags.FindBagById(rig.Placement("base_gallery14")->bagId);
    ASSERT_NE(chest, nullptr);
    EXPECT_EQ(panels->container, chest);
    EXPECT_EQ(panels->showContainer, 1u);
    EXPECT_EQ(chest->GetItemCount(), 5);
    rig.Game()->SwitchScreen(kScreenBack);
    EXPECT_EQ(rig.Current(), view);
}

// Down the stairs from the town into the cellar and back up; the town's sign greets by its script;
// the ladder in the cellar's side chamber asks and climbs down into the crypt.
TEST(MapObjectsInPlay, StairsAndTheLadderLeadBetweenTownCellarAndCrypt) {
    PlayRig rig;
    ASSERT_TRUE(rig.Start());
    CGameScreen* view = rig.View();

    // The cellar's stair up, walked onto from the cell before it.
    rig.PlaceAt(17, 29, kSouth);
    rig.Key(38);
    rig.SettleView();
    for (int i = 0; i < 40 && view->section && std::string(view->section->GetName()) == "base_cellar"; ++i)
        rig.Tick(30);
    rig.SettleView();
    ASSERT_NE(view->section, nullptr);
    EXPECT_STREQ(view->section->GetName(), "base_s0202");
    EXPECT_EQ(view->playerX, 4 + 7);
    EXPECT_EQ(view->playerY, 5 + 7);
    rig.Calm();

    // The harbour sign runs its script.
    rig.PlaceAt(16, 5, kNorth);
    rig.Use();
    EXPECT_EQ(rig.LastQueuedText().rfind("Vantrel Town. The inn is the house on the square", 0), 0u)
        << rig.LastQueuedText();
    rig.CloseMessage();

    // The town's stair down, walked onto from the south.
    rig.PlaceAt(4, 5, kNorth);
    rig.Key(38);
    rig.SettleView();
    for (int i = 0; i < 40 && view->section && std::string(view->section->GetName()) != "base_cellar"; ++i)
        rig.Tick(30);
    rig.SettleView();
    ASSERT_NE(view->section, nullptr);
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    EXPECT_EQ(view->playerX, 17);
    EXPECT_EQ(view->playerY, 29);
    rig.Calm();

    // The ladder asks first; a No steps back, a Yes climbs down.
    for (u32 answer : {CButtonBar::kNo, CButtonBar::kYes}) {
        rig.PlaceAt(3, 32, kWest);
        rig.Key(38);
        rig.SettleView();
        ASSERT_EQ(view->screenMode, CGameScreen::kModeMapPrompt) << answer;
        view->OnCommand(answer);
        for (int i = 0; i < 80 && view->section && std::string(view->section->GetName()) == "base_cellar"; ++i)
            rig.Tick(30);
        rig.SettleView();
        if (answer == CButtonBar::kNo) {
            EXPECT_STREQ(view->section->GetName(), "base_cellar");
            EXPECT_EQ(view->playerX, 3) << "stepped back off the ladder";
        }
    }
    EXPECT_STREQ(view->section->GetName(), "base_crypt");
    EXPECT_EQ(view->playerX, 17);
    EXPECT_EQ(view->playerY, 31);
}

// The ladder down stands in its hatch, see-through between its rungs: something standing in the
// ladder's cell shows in front of it (a stone block there once hid a creature that struck the player).
TEST(MapObjectsInPlay, TheLadderShowsWhatStandsOnIt) {
    PlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapSection* map = view->section;
    const CMonsterType* bones = nullptr;
    for (const CMonster& m : map->monsters)
        if (m.x == 4 && m.y == 16) bones = static_cast<const CMonsterType*>(m.type);
    ASSERT_NE(bones, nullptr) << "the side chamber's restless bones";
    rig.Calm();
    rig.PlaceAt(2, 30, kSouth);
    const testing_support::Rgb565Image ladder = rig.FreshFrame();
    EXPECT_TRUE(testing_support::MatchesGolden("app_cellar_ladder", ladder));

    CMonster* standing = map->CreateMonster(bones, 2, 32);
    ASSERT_NE(standing, nullptr);
    standing->flags = 0;  // not roused: it stays on the ladder
    view->window.PlaceObjectNear(map, *standing, 2, 32);
    view->EnterCreatures();
    view->RebuildViewCaches();
    rig.SettleView();
    ASSERT_EQ(standing->x, 2);
    ASSERT_EQ(standing->y, 32);
    const testing_support::Rgb565Image withBones = rig.FreshFrame();
    EXPECT_GT(rig.DifferingInTheMiddle(withBones, ladder), 800) << "the bones on the ladder are seen";
}

// The card player in the town's house: used from in front, the talk (his services) opens.
TEST(MapObjectsInPlay, TheCardPlayerTalks) {
    PlayRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    ASSERT_TRUE(view->ChangeMap("base_town_arrive", 0));
    rig.SettleView();
    // He sits at (9, 11) facing north; the player stands before him.
    rig.PlaceAt(9, 10, kSouth);
    rig.Use();
    for (int i = 0; i < 10 && rig.Current() == view; ++i) rig.Tick(30);
    CScreen* talk = rig.Current();
    ASSERT_NE(talk, view);
    EXPECT_TRUE(talk == rig.Game()->GetScreen(kScreenServices) || talk == rig.Game()->GetScreen(kScreenTalk));
    const CNpc* npc = rig.Game()->GetNpcForEntry(view->entryB);
    ASSERT_NE(npc, nullptr);
    EXPECT_STREQ(npc->GetName(), "Fenn");
    rig.Game()->SwitchScreen(kScreenBack);
    EXPECT_EQ(rig.Current(), view);
}

}  // namespace
