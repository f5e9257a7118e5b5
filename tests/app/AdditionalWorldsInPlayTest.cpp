// The additional-worlds screen as a user reaches it, by the main menu with the mouse, on the small
// additional world that the builder writes: disabled and enabled again before a game, the settings
// and the installed list following at once and after a restart, a new game opening only an enabled
// world, and the list read-only while a game runs. Then the way there as a player takes it: the
// boatman on the town square offers the enabled world, rows the player into the Ember Caves, and the
// boat at the caves' landing brings the player back; a disabled world is not offered.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "core/Settings.h"
#include "core/WorldEntry.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/frontend/WorldsScreen.h"
#include "script/ScriptContext.h"
#include "script/ScriptValue.h"
#include "screens/panels/RealmTravelDialog.h"
#include "tests/app/NewGameRig.h"
#include "tests/app/PlayRig.h"
#include "ui/ActionMenu.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "world/GameViewWorld.h"
#include "world/MapObject.h"

namespace {

constexpr u32 kDisable0 = 674, kEnable0 = 691, kBack = 25;

struct WorldsInPlayRig : testing_support::NewGameRig {
    WorldsInPlayRig() { env.withAdditionalWorld = true; }

    // Past the splash to the main menu; a game left running by the run before was saved as it ended,
    // and the menu's offer to load it is declined.
    bool StartAtMenu() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        Tick(30);
        auto* menu = static_cast<CMainMenuScreen*>(Game()->GetScreen(kScreenMainMenu));
        if (Current() != menu) return false;
        if (menu->pendingPrompt == kPromptLoadAutoSave) {
            for (const CTextButton& b : menu->promptBar.buttons)
                if (b.IsShown() && b.commandId == CButtonBar::kNo) Tap(b.x + b.w / 2, b.y + b.h / 2);
            Tick(30);
        }
        return menu->modalChild == nullptr;
    }
    // A tap on the menu's entry with that text.
    bool TapMenuEntry(const char* text) {
        auto* menu = static_cast<CMainMenuScreen*>(Game()->GetScreen(kScreenMainMenu));
        if (Current() != menu) return false;
        const CListBox& list = menu->list;
        for (i32 i = 0; i < list.items.GetCount(); ++i) {
            if (std::string(list.items.GetAt(i)->label.GetText()) != text) continue;
            Tap(list.x + list.w / 2, list.y + (i - list.topRow) * list.rowHeight + list.rowHeight / 2);
            Tick(30);
            return true;
        }
        return false;
    }
    CWorldsScreen* OpenWorlds() {
        if (!TapMenuEntry("Additional worlds")) return nullptr;
        auto* screen = static_cast<CWorldsScreen*>(Game()->GetScreen(kScreenWorlds));
        if (Current() != screen) return nullptr;
        Tick(30);
        return screen;
    }
    void TapElement(u32 element) {
        ASSERT_TRUE(TapLayoutElement(CWorldsScreen::kLayoutGroup, element)) << element;
        Tick(30);
    }
    // What a script in the game view that lists the first expansion's start entries offers, as
    // (id, label): it makes a list and adds "exppack1" to it.
    std::vector<std::pair<std::string, std::string>> StartEntriesOffered() {
        CGameScreen* view = View();
        CScriptContext* context = Game()->GetScriptContext();
        if (!context || context->GetWorld() != &view->scriptWorld) return {{"no script world", ""}};
        context->SetupEvent(kEventUse, nullptr, view->section, nullptr, view->playerX, view->playerY, -1, 1,
                            kRouteGameView);
        ScriptArgs args;
        ScriptResult result;
        args.a[0] = CScriptValue("Where to?");
        context->ExecuteWorldCommand(238, args, result);
        args.a[0] = CScriptValue("exppack1");
        args.a[1] = CScriptValue("exppack1");
        context->ExecuteWorldCommand(170, args, result);
        return view->pendingList.entries;
    }
    const CWorldEntry& Entry() const { return Game()->GetInstalledWorlds()[0]; }
    u32 StoredActive() {
        u32 active = 9;
        EXPECT_TRUE(env.store.ReadDword(kSettingsKey, "WorldID00Active", active));
        return active;
    }
};

bool PenOn(const CWidget& w) { return (w.state & kWidgetPenEnabled) != 0; }

TEST(AdditionalWorldsInPlay, TheBuiltWorldIsDisabledAndEnabledFromTheMenu) {
    WorldsInPlayRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    CGame& game = *rig.Game();
    ASSERT_EQ(game.GetInstalledWorlds().GetCount(), 1u);
    EXPECT_STREQ(rig.Entry().shortName.GetText(), "embr");
    EXPECT_EQ(rig.Entry().enabled, 1);
    // Found for the first time, it is remembered, and the store holds what the game remembers.
    std::string name;
    EXPECT_TRUE(rig.env.store.ReadString(kSettingsKey, "WorldID00", name));
    EXPECT_EQ(name, "embr");
    EXPECT_EQ(rig.StoredActive(), 1u);

    CWorldsScreen* screen = rig.OpenWorlds();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->editable, 1u);
    EXPECT_EQ(screen->modalChild, nullptr);
    EXPECT_STREQ(screen->rowNames[0].text.GetText(), "The Ember Caves");

    rig.TapElement(kDisable0);
    EXPECT_EQ(rig.Entry().enabled, 0);
    EXPECT_STREQ(game.settings.Worlds[0].Name, "embr");
    EXPECT_EQ(game.settings.Worlds[0].Active, 0);
    EXPECT_EQ(rig.StoredActive(), 0u);
    EXPECT_TRUE(screen->enableButtons[0].IsShown());
    EXPECT_FALSE(screen->disableButtons[0].IsShown());
    rig.TapElement(kBack);
    ASSERT_EQ(rig.Current(), game.GetScreen(kScreenMainMenu));

    // A new game leaves the disabled world closed and offers no start in it.
    ASSERT_TRUE(rig.EnterNewGame());
    EXPECT_EQ(game.worlds->FindWorldByShortName("embr"), nullptr);
    EXPECT_TRUE(rig.StartEntriesOffered().empty());

    // A new run remembers it disabled: the scan finds the file again, the settings keep it off.
    rig.Stop();
    ASSERT_TRUE(rig.StartAtMenu());
    CGame& again = *rig.Game();
    ASSERT_EQ(again.GetInstalledWorlds().GetCount(), 1u);
    EXPECT_EQ(rig.Entry().enabled, 0);
    screen = rig.OpenWorlds();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->enableButtons[0].IsShown());
    rig.TapElement(kEnable0);
    EXPECT_EQ(rig.Entry().enabled, 1);
    EXPECT_EQ(again.settings.Worlds[0].Active, 1);
    EXPECT_EQ(rig.StoredActive(), 1u);
    rig.TapElement(kBack);

    ASSERT_TRUE(rig.EnterNewGame());
    const CWorld* embers = again.worlds->FindWorldByShortName("embr");
    ASSERT_NE(embers, nullptr) << again.worlds->LastError();
    EXPECT_STREQ(embers->title.GetText(), "The Ember Caves");
    using Offer = std::pair<std::string, std::string>;
    EXPECT_EQ(rig.StartEntriesOffered(),
              std::vector<Offer>{Offer("embr_STARTGAME", "The Ember Caves (50\t)")});
}

// During a game the screen says why nothing may change, and its buttons take no taps.
TEST(AdditionalWorldsInPlay, DuringAGameTheListIsReadOnly) {
    WorldsInPlayRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    ASSERT_TRUE(rig.EnterNewGame());
    CGame& game = *rig.Game();
    rig.Key(27);
    ASSERT_EQ(rig.Current(), game.GetScreen(kScreenMainMenu));
    rig.Tick(30);

    CWorldsScreen* screen = rig.OpenWorlds();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->editable, 0u);
    ASSERT_EQ(screen->modalChild, &screen->promptBar);
    EXPECT_FALSE(PenOn(screen->disableButtons[0]));
    EXPECT_FALSE(PenOn(screen->deleteButtons[0]));
    const CWidget* ok = nullptr;
    for (const CTextButton& b : screen->promptBar.buttons)
        if (b.IsShown()) ok = &b;
    ASSERT_NE(ok, nullptr);
    rig.Tap(ok->x + ok->w / 2, ok->y + ok->h / 2);
    rig.Tick(30);
    EXPECT_EQ(screen->modalChild, nullptr);

    rig.TapElement(kDisable0);
    EXPECT_EQ(rig.Entry().enabled, 1);
    EXPECT_EQ(game.settings.Worlds[0].Active, 1);
    EXPECT_EQ(rig.StoredActive(), 1u);
    EXPECT_TRUE(screen->disableButtons[0].IsShown());
    rig.TapElement(kBack);
    EXPECT_EQ(rig.Current(), game.GetScreen(kScreenMainMenu));
    EXPECT_NE(game.worlds->FindWorldByShortName("embr"), nullptr) << "the open game keeps its worlds";
}

// A new game with the built additional world beside the vale, the player on the town square.
struct VoyageRig : testing_support::PlayRig {
    explicit VoyageRig(bool enabled) {
        env.withAdditionalWorld = true;
        if (!enabled) {
            // Remembered disabled, as the worlds screen leaves it.
            env.store.WriteString(kSettingsKey, "WorldID00", "embr");
            env.store.WriteDword(kSettingsKey, "WorldID00Active", 0);
        }
    }
    // On the cell before the boatman's post, facing it, with the town's people sent away.
    bool StartBeforeTheBoatman() {
        if (!StartNewGame()) return false;
        CWorld* base = Game()->worlds->FindWorldByShortName("base");
        CMapSection* town = base ? base->FindSectionByName("base_s0202") : nullptr;
        if (!town) return false;
        View()->EnterMapAt(base, town, 18, 16, 2);
        Calm();
        return View()->section == town;
    }
    // The rows of the list the view shows, as (key, label).
    std::vector<std::pair<std::string, std::string>> Offered() const {
        std::vector<std::pair<std::string, std::string>> rows;
        const CListBox& list = View()->objectList;
        for (i32 i = 0; i < list.items.GetCount(); ++i)
            rows.emplace_back(list.items.GetAt(i)->key.GetText(), list.items.GetAt(i)->label.GetText());
        return rows;
    }
    // Taps the row with that key, then "Ok".
    bool Choose(const std::string& key) {
        CListBox& list = View()->objectList;
        for (i32 i = 0; i < list.items.GetCount(); ++i) {
            if (key != list.items.GetAt(i)->key.GetText()) continue;
            Tap(list.x + list.w / 2, list.y + (i - list.topRow) * list.rowHeight + list.rowHeight / 2);
            Tick(30);
            TapWidget(View()->objectMenu.okButton);
            SettleView();
            return true;
        }
        return false;
    }
    // Closes the messages that show, one after another.
    void CloseMessages() {
        for (int i = 0; i < 8 && View()->screenMode == CGameScreen::kModeMessage; ++i) CloseMessage();
    }
    // The voyage's "Ok", and the ticks for the map it enters.
    void Disembark() {
        CRealmTravelDialog& voyage = Game()->GetViewDialogs().voyage;
        TapWidget(voyage.okButton);
        SettleView();
    }
    std::string Where() const {
        const CGameScreen* view = View();
        return std::string(view->world ? view->world->shortName.GetText() : "") + " " +
               (view->section ? view->section->id : "");
    }
};

using Offer = std::pair<std::string, std::string>;

TEST(AdditionalWorldsInPlay, TheBoatmanRowsToTheEnabledCavesAndBack) {
    VoyageRig rig(true);
    ASSERT_TRUE(rig.StartBeforeTheBoatman());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    player.gold = 80;

    rig.Use();
    rig.SettleView();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeObjectList);
    EXPECT_EQ(rig.Offered(), (std::vector<Offer>{{"embr_STARTGAME", "The Ember Caves (50\t)"},
                                                 {"stay", "Stay in the vale"}}));
    // Staying ashore costs nothing and goes nowhere.
    ASSERT_TRUE(rig.Choose("stay"));
    rig.CloseMessage();
    EXPECT_EQ(rig.Where(), "base base_s0202");
    EXPECT_EQ(player.gold, 80u);

    rig.Use();
    rig.SettleView();
    ASSERT_TRUE(rig.Choose("embr_STARTGAME"));
    // The player hears what the fare took, then the voyage begins.
    rig.CloseMessages();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeRealmTravel);
    EXPECT_EQ(player.gold, 30u) << "the fare is the price the list shows";
    EXPECT_STREQ(rig.Game()->GetViewDialogs().voyage.GetDestination(), "embr_STARTGAME");
    rig.Disembark();
    ASSERT_EQ(rig.Where(), "embr embr_cave");
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    const CPlacement* arrival = rig.Placement("embr_STARTGAME");
    ASSERT_NE(arrival, nullptr);
    i32 x = -1, y = -1;
    ASSERT_TRUE(view->GetPlayerCell(x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(static_cast<i32>(arrival->x), static_cast<i32>(arrival->y)));
    // The caves are a place: their creatures, their chest and their own rock.
    EXPECT_EQ(view->section->monsters.size(), 3u);
    EXPECT_NE(rig.Placement("embr_chest"), nullptr);
    const CWorld* caves = view->world;
    ASSERT_GE(caves->tableF.Count(), 4u);
    for (u32 i = 1; i < caves->tableF.Count(); ++i) EXPECT_NE(caves->tableF.entries[i], nullptr) << i;

    // With too little gold left, the boatman would not row again; the boat home is free.
    rig.Calm();
    rig.PlaceAt(arrival->x, arrival->y, testing_support::kSouth);
    rig.Use();
    rig.SettleView();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeRealmTravel);
    rig.Disembark();
    ASSERT_EQ(rig.Where(), "base base_s0202");
    const CPlacement* home = rig.Placement("base_city1");
    ASSERT_NE(home, nullptr);
    ASSERT_TRUE(view->GetPlayerCell(x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(static_cast<i32>(home->x), static_cast<i32>(home->y)));
    EXPECT_EQ(player.gold, 30u);

    rig.PlaceAt(home->x, home->y, testing_support::kSouth);
    rig.Use();
    rig.SettleView();
    ASSERT_TRUE(rig.Choose("embr_STARTGAME"));
    rig.CloseMessage();
    EXPECT_EQ(rig.Where(), "base base_s0202") << "a fare of 50 with 30 gold";
    EXPECT_EQ(player.gold, 30u);
}

// The caves' altar looks like an altar (a picture of its own, not a block of the caves' rock) and
// answers the use key before the sign has told of the errand.
TEST(AdditionalWorldsInPlay, TheAltarLooksLikeOneAndAnswersBeforeTheErrand) {
    VoyageRig rig(true);
    ASSERT_TRUE(rig.StartBeforeTheBoatman());
    CGameScreen* view = rig.View();
    rig.Game()->player.gold = 80;
    rig.Use();
    rig.SettleView();
    ASSERT_TRUE(rig.Choose("embr_STARTGAME"));
    rig.CloseMessages();
    rig.Disembark();
    ASSERT_EQ(rig.Where(), "embr embr_cave");
    rig.Calm();
    rig.PlaceAt(17, 10, testing_support::kNorth);
    const CMapCell* cell = view->window.Cell(17, 9);
    ASSERT_NE(cell, nullptr);
    const CMapObject* altar = view->viewWorld->Objects().At(cell->centre);
    ASSERT_NE(altar, nullptr);
    const CTextureSet& textures = rig.Game()->GetTextures();
    EXPECT_NE(altar->PictureId(0), textures.FindPictureIndex("embr_wallrock"));
    EXPECT_EQ(altar->PictureId(0), textures.FindPictureIndex("embr_altarstone"));
    view->events.clear();
    rig.Use();
    EXPECT_NE(rig.LastQueuedText().find("altar"), std::string::npos) << rig.LastQueuedText();
}

TEST(AdditionalWorldsInPlay, ADisabledWorldIsNotOffered) {
    VoyageRig rig(false);
    ASSERT_TRUE(rig.StartBeforeTheBoatman());
    ASSERT_EQ(rig.Game()->GetInstalledWorlds().GetCount(), 1u);
    EXPECT_EQ(rig.Game()->GetInstalledWorlds()[0].enabled, 0);
    rig.Use();
    rig.SettleView();
    ASSERT_EQ(rig.View()->screenMode, CGameScreen::kModeObjectList);
    EXPECT_EQ(rig.Offered(), (std::vector<Offer>{{"stay", "Stay in the vale"}}));
}

// A game saved in the caves loads back into them while the world is installed and enabled; once it is
// disabled, the load puts the player into the vale instead, on a cell that can be stood on.
TEST(AdditionalWorldsInPlay, AGameSavedInTheCavesLoadsThereOrInTheValeWhenTheyAreGone) {
    VoyageRig rig(true);
    ASSERT_TRUE(rig.StartBeforeTheBoatman());
    CGame& game = *rig.Game();
    game.player.gold = 500;
    rig.Use();
    rig.SettleView();
    ASSERT_TRUE(rig.Choose("embr_STARTGAME"));
    rig.CloseMessages();
    rig.Disembark();
    ASSERT_EQ(rig.Where(), "embr embr_cave");
    rig.Calm();
    rig.PlaceAt(17, 22, testing_support::kNorth);
    ASSERT_EQ(game.saveGames.Save(3), 1) << game.saveGames.LastError();

    // The loaded game is entered as the load screen enters it.
    auto load = [&rig, &game] {
        if (game.saveGames.Load(3, nullptr) != 1) return false;
        rig.View()->entryA = 0;
        game.SwitchScreen(kScreenGame);
        rig.SettleView();
        return rig.Current() == rig.View();
    };
    auto cell = [&rig] {
        i32 x = -1, y = -1;
        rig.View()->GetPlayerCell(x, y);
        return std::pair(x, y);
    };
    ASSERT_TRUE(load()) << game.saveGames.LastError();
    EXPECT_EQ(rig.Where(), "embr embr_cave");
    EXPECT_EQ(cell(), std::pair(17, 22));

    game.GetInstalledWorlds()[0].enabled = 0;
    ASSERT_TRUE(load()) << game.saveGames.LastError();
    EXPECT_EQ(game.worlds->FindWorldByShortName("embr"), nullptr);
    const CGameScreen* view = rig.View();
    ASSERT_NE(view->section, nullptr);
    EXPECT_STREQ(view->world->shortName.GetText(), "base");
    // The fallback's piece of the vale is not in this vale's grid: the loader's own fallback, the
    // world's first map at the same cell, holds the player on open floor.
    const CMapCell* under = view->window.Cell(view->playerX, view->playerY);
    ASSERT_NE(under, nullptr) << rig.Where();
    EXPECT_FALSE(view->window.IsCellCentreBlocking(*under, view->section)) << rig.Where();
}

}  // namespace

// The caves' own errand: the sign at the hall's entrance gives it, the altar at the hall's head ends
// it once, with gold and experience; the altar asked again only says the caves are quiet.
TEST(AdditionalWorldsInPlay, TheCavesSignGivesTheirQuestAndTheAltarEndsIt) {
    VoyageRig rig(true);
    ASSERT_TRUE(rig.StartBeforeTheBoatman());
    CPlayer& player = rig.Game()->player;
    player.gold = 80;
    rig.Use();
    rig.SettleView();
    ASSERT_TRUE(rig.Choose("embr_STARTGAME"));
    rig.CloseMessages();
    rig.Disembark();
    ASSERT_EQ(rig.Where(), "embr embr_cave");
    rig.Calm();
    auto quest = [&player]() -> const CPlayerQuest* {
        for (const CPlayerQuest& q : player.quests)
            if (q.id == "embr_q_embers") return &q;
        return nullptr;
    };
    // Before the quest the altar gives nothing.
    const CPlacement* altar = rig.Placement("embr_altar");
    ASSERT_NE(altar, nullptr);
    rig.PlaceAt(altar->x, altar->y + 1, testing_support::kNorth);
    rig.Use();
    rig.SettleView();
    rig.CloseMessages();
    EXPECT_EQ(quest(), nullptr);
    EXPECT_EQ(player.gold, 30u);

    const CPlacement* sign = rig.Placement("embr_sign");
    ASSERT_NE(sign, nullptr);
    rig.PlaceAt(sign->x, sign->y + 1, testing_support::kNorth);
    rig.Use();
    rig.SettleView();
    rig.CloseMessages();
    ASSERT_NE(quest(), nullptr) << "the sign hands out the errand";

    const u32 xp = player.xp;
    for (int time = 0; time < 2; ++time) {
        rig.PlaceAt(altar->x, altar->y + 1, testing_support::kNorth);
        rig.Use();
        rig.SettleView();
        rig.CloseMessages();
    }
    ASSERT_NE(quest(), nullptr);
    EXPECT_NE(quest()->state, 0) << "solved";
    EXPECT_EQ(player.gold, 150u) << "paid once";
    EXPECT_EQ(player.xp, xp + 80);
}
