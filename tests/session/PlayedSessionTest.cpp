// A played session as a test: the recorded input of first-steps.txt drives the real game object on a
// headless window with a manual clock and a fixed seed, from the main menu through "Start new game",
// the intro and character creation into the cellar, a fight with the cellar's rat to its death, the
// bag on the cellar's floor looked into and its helm taken and worn, the stair up into the town, a
// purchase from the merchant there, the house's door opened and walked through, the game saved
// through the menu, the window closed, the game started again and the save loaded. The
// state at the end must be the one that was saved, and two replays must show the same frames at the
// same ticks.
//
// Re-recording the session (after a change that moves what the input meets):
//  - by the scripted player below, which plays the same steps by looking at the game as it goes:
//      VANTREL_RERECORD_SESSION=1 build/test_session --gtest_filter='PlayedSession.Rerecord'
//    It writes first-steps.txt and first-steps.state (the expected end state) into this folder.
//  - or by hand in the game's window: `build/vantrel --record first-steps.txt` for the first run
//    (close the window after saving), a second `--record` for the run that loads, the two files joined
//    one after the other; then `build/tools/vantrel_replay first-steps.txt` prints the end state for
//    first-steps.state (its lines from "map:" on).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Game.h"
#include "app/HeadlessSession.h"
#include "app/InputLog.h"
#include "app/PlayerWays.h"
#include "data/CreatureCatalogue.h"
#include "data/World.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/npc/NpcServiceRules.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "screens/panels/PanelScreen.h"
#include "tests/support/GameEnvironment.h"
#include "ui/ButtonBar.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace {

const std::string kFolder = std::string(VANTREL_SOURCE_DIR) + "/tests/session/";
const std::string kLog = kFolder + "first-steps.txt";
const std::string kState = kFolder + "first-steps.state";
constexpr u32 kSeed = 20261211;

// What the session meets: the loot on the cellar's floor, the town the stair leads to, the merchant
// and the house's door there.
constexpr const char* kLootHelm = "base_helm_iron";
constexpr const char* kLootCoins = "base_money_100";
constexpr const char* kTown = "base_s0202";
constexpr const char* kMerchant = "Hesper";
constexpr const char* kHouseDoor = "base_housedoor";

bool Wears(const CPlayer& player, const char* itemId) {
    for (const CItemInstance* slot : player.equipment)
        if (slot != nullptr && slot->type != nullptr && std::string(slot->type->GetName()) == itemId) return true;
    return false;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The state lines that a saved game keeps (from "map:" on; the run, tick and screen lines go).
std::string SavedPart(const std::string& state) {
    const size_t at = state.find("map:");
    return at == std::string::npos ? std::string() : state.substr(at);
}

std::string Field(const std::string& state, const std::string& name) {
    const size_t at = state.find(name + ": ");
    if (at == std::string::npos) return {};
    const size_t start = at + name.size() + 2;
    return state.substr(start, state.find('\n', start) - start);
}

struct Replay {
    std::vector<CFrameHashAt> hashes;
    std::string state;
    bool ratGone = false;
    bool doorOpen = false;
};

Replay PlayLog(const std::vector<CInputLogEvent>& events) {
    testing_support::GameEnvironment env;  // a fresh folder with the built databases
    EXPECT_TRUE(env.CopyBuiltDatabase());
    Replay out;
    CHeadlessSession session(env.dir.Path(), kSeed);
    out.hashes = session.Play(events, 1000);
    out.state = session.StateText();
    if (CGame* game = session.Game(); game != nullptr && game->currentWorld != nullptr) {
        // The maps of the loaded game keep what the first run did to them.
        CMapSection* cellar = game->currentWorld->FindSectionByName("base_cellar");
        out.ratGone = cellar != nullptr && cellar->FindMonster(1) == nullptr;
        CMapSection* town = game->currentWorld->FindSectionByName(kTown);
        const CPlacement* door = town != nullptr ? town->FindPlacementByName(kHouseDoor) : nullptr;
        out.doorOpen = door != nullptr && (door->flags & mapobject::kClosed) == 0;
    }
    return out;
}

// The items of a state's "items:" line.
std::vector<std::string> Items(const std::string& state) {
    std::vector<std::string> items;
    std::stringstream list(Field(state, "items"));
    for (std::string item; std::getline(list, item, ',');) items.push_back(item);
    return items;
}

TEST(PlayedSession, TheFirstStepsEndWhereTheyWereSavedAndReplayTheSame) {
    std::vector<CInputLogEvent> events;
    std::string error;
    ASSERT_TRUE(ReadInputLogFile(kLog, events, error)) << error;
    const Replay first = PlayLog(events);
    // The game was started twice, and the second run ends in the game view, in the loaded game: in
    // the town the cellar's stair led to, inside the house whose door the player opened.
    EXPECT_EQ(Field(first.state, "runs"), "2") << first.state;
    EXPECT_EQ(Field(first.state, "screen"), std::to_string(kScreenGame)) << first.state;
    EXPECT_EQ(Field(first.state, "map"), kTown);
    EXPECT_TRUE(first.doorOpen);
    // The rat was fought to its death and its experience kept; the character lives.
    EXPECT_TRUE(first.ratGone);
    EXPECT_NE(Field(first.state, "xp"), "0");
    EXPECT_NE(Field(first.state, "hp"), "0");
    // The helm from the cellar's floor is worn, and the merchant's ware carried after the start kit:
    // the loot and the purchase came back with the loaded game.
    const std::vector<std::string> items = Items(first.state);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[items.size() - 2], std::string(kLootHelm) + "*") << "the purchase comes after the loot";
    // Cell, facing, hit points, experience, gold, items and clock are those of the save.
    EXPECT_EQ(SavedPart(first.state), ReadText(kState));

    const Replay second = PlayLog(events);
    EXPECT_EQ(second.state, first.state);
    ASSERT_GT(first.hashes.size(), 50u);
    ASSERT_EQ(second.hashes.size(), first.hashes.size());
    for (size_t i = 0; i < first.hashes.size(); ++i) {
        ASSERT_EQ(second.hashes[i], first.hashes[i])
            << "frame after event " << i << " (run " << first.hashes[i].run << ", tick " << first.hashes[i].tick << ")";
    }
}

// ---- the scripted player that records first-steps.txt ----

// It plays by what the game shows, not by counted ticks: it waits for screens and for the view to
// settle, finds the places it goes to by their names in the map, walks there by the shortest way the
// cells allow, and fights whatever hostile creature stands in its way.
class ScriptedPlayer {
public:
    ScriptedPlayer(CHeadlessSession& session, std::vector<CInputLogEvent>& log) : s_(session), log_(log) {}

    CGame* Game() const { return s_.Game(); }
    CGameScreen* View() const { return Game() ? Game()->GetGameScreen() : nullptr; }
    u32 Screen() const { return s_.CurrentScreenId(); }

    void Wait(u32 ms) {
        if (s_.Running()) s_.AdvanceTo(s_.RunTick() + ms);
    }
    bool WaitForScreen(u32 id, u32 limitMs) {
        for (u32 t = 0; t < limitMs && Screen() != id; t += 30) Wait(30);
        return Screen() == id;
    }
    void WaitUntilIdle() {
        for (int i = 0; i < 60 && View() != nullptr && View()->IsBusy(); ++i) Wait(30);
        Wait(30);
    }
    void Key(u32 key) {
        Send({Next(40), EInputLogKind::KeyDown, key});
        Send({Next(20), EInputLogKind::KeyUp, key});
    }
    void Tap(i32 x, i32 y) {
        Send({Next(40), EInputLogKind::PenDown, 0, x, y});
        Send({Next(20), EInputLogKind::PenUp, 0, x, y});
    }
    void TapWidget(const CWidget& w) { Tap(w.x + w.w / 2, w.y + w.h / 2); }
    bool TapLayoutElement(u16 group, u32 element) {
        const u8* rect = FindLayoutRect(Game(), group, element);
        if (rect == nullptr) return false;
        const CLayoutElement e = ReadLayoutElement(rect);
        Tap(e.x + e.w / 2, e.y + e.h / 2);
        return true;
    }
    // A button of a shown button bar by its flag (CButtonBar::kOk, kYes, kNo).
    bool TapBarButton(CButtonBar& bar, u32 flag) {
        for (u32 i = 0; i < CButtonBar::kButtonCount; ++i)
            if (bar.buttons[i].commandId == flag && bar.buttons[i].IsShown()) {
                TapWidget(bar.buttons[i]);
                return true;
            }
        return false;
    }
    void Close() { Send({Next(40), EInputLogKind::Close}); }

    // ---- in the game view ----

    // Waits for the view to settle and answers the messages it shows with their Ok.
    void Settle() {
        CGameScreen* view = View();
        for (int i = 0; i < 10 && view != nullptr; ++i) {
            WaitUntilIdle();
            if (view->screenMode != CGameScreen::kModeMessage) return;
            auto* bar = dynamic_cast<CButtonBar*>(view->modalChild);
            if (bar == nullptr || !TapBarButton(*bar, CButtonBar::kOk)) return;
        }
    }
    u32 Facing() const { return CGameScreen::DirectionOfFacing(View()->facing); }
    // Turns to a direction (0 north, 1 east, 2 south, 3 west) by the turn keys.
    void Face(u32 direction) {
        for (int i = 0; i < 4 && Facing() != direction; ++i) {
            Key(direction == ((Facing() + 1) & 3) ? 39u : 37u);
            Settle();
        }
    }
    // The window cell of a position of the current section.
    bool WindowCell(i32 x, i32 y, i32& wx, i32& wy) const {
        return View()->window.SectionToWindowCell(View()->section, x, y, wx, wy);
    }
    // A hostile creature next to the player (not a person), or null.
    CMonster* AdjacentFoe(CMapSection*& at) const {
        CMonster* found = nullptr;
        const CGameScreen* view = View();
        view->window.ForEachCreatureNear(1, [&](CMapSection& s, CMonster& m) {
            if (found != nullptr || CCreatures::IsPerson(m) || m.hp <= 0) return;
            i32 wx = 0, wy = 0;
            if (!view->window.SectionToWindowCell(&s, m.x, m.y, wx, wy)) return;
            if (std::abs(wx - view->playerX) + std::abs(wy - view->playerY) != 1) return;
            found = &m;
            at = &s;
        });
        return found;
    }
    // Fights the creature to its death: turns towards it, steps along the longer way and strikes when
    // it stands in front. False when the player died or the fight took too long.
    bool Fight(CMapSection& at, u8 id) {
        CGameScreen* view = View();
        for (int acts = 0; acts < 3000 && at.FindMonster(id) != nullptr && Game()->player.hp > 0; ++acts) {
            Wait(30);
            if (view->screenMode == CGameScreen::kModeMessage) {
                if (auto* bar = dynamic_cast<CButtonBar*>(view->modalChild)) TapBarButton(*bar, CButtonBar::kOk);
                continue;
            }
            const CMonster* foe = at.FindMonster(id);
            if (foe == nullptr || view->IsBusy()) continue;
            i32 fx = 0, fy = 0;
            if (!view->window.SectionToWindowCell(&at, foe->x, foe->y, fx, fy)) return false;
            const i32 dx = fx - view->playerX, dy = fy - view->playerY;
            const u32 want = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 1u : 3u) : (dy > 0 ? 2u : 0u);
            if (want != Facing())
                Key(want == ((Facing() + 1) & 3) ? 39 : 37);
            else if (std::abs(dx) + std::abs(dy) == 1)
                TapLayoutElement(43, 542);  // the attack button
            else
                Key(38);
        }
        Settle();
        return at.FindMonster(id) == nullptr && Game()->player.hp > 0;
    }
    bool FightWhatStandsNear() {
        CMapSection* at = nullptr;
        for (int i = 0; i < 5; ++i) {
            CMonster* foe = AdjacentFoe(at);
            if (foe == nullptr) return true;
            if (!Fight(*at, foe->id)) return false;
        }
        return AdjacentFoe(at) == nullptr;
    }
    // Walks to a window cell (or next to it), fighting on the way. Stops early when the map changes
    // (a stair). False when no way leads there.
    bool WalkTo(i32 tx, i32 ty, bool beside = false) {
        CGameScreen* view = View();
        const CMapSection* map = view->section;
        refused_.clear();
        for (int steps = 0; steps < 200; ++steps) {
            Settle();
            if (view->section != map) return true;
            if (!FightWhatStandsNear()) return false;
            const int d = FirstStepTowards(*view, tx, ty, beside, refused_);
            if (d == kWayArrived) return true;
            if (d == kWayNone) {
                // A creature may stand in the only way: wait for it to move on.
                Wait(300);
                if (FirstStepTowards(*view, tx, ty, beside, refused_) == kWayNone && refused_.empty()) return false;
                refused_.clear();
                continue;
            }
            Face(static_cast<u32>(d));
            const i32 fromX = view->playerX, fromY = view->playerY;
            Key(38);
            Settle();
            if (view->section == map && view->playerX == fromX && view->playerY == fromY)
                refused_.insert({fromX + CGameScreen::kDx[d], fromY + CGameScreen::kDy[d]});
        }
        return false;
    }
    // Walks to a section position (see WalkTo).
    bool WalkToSectionCell(i32 x, i32 y, bool beside = false) {
        i32 wx = 0, wy = 0;
        return WindowCell(x, y, wx, wy) && WalkTo(wx, wy, beside);
    }
    // Turns to face a neighbouring window cell.
    void FaceCell(i32 wx, i32 wy) { Face(DirectionTowards(*View(), wx, wy)); }

    // ---- the item panel ----

    // A cell of the panel's item grid: its middle selects (or takes), its top-left corner is the wear
    // mark. The page turns first when the entry is on another.
    bool TapItemCell(CPanelScreen& panel, int index, bool corner) {
        CItemList& list = panel.inventory.list;
        for (int i = 0; i < 20 && index < list.first; ++i) TapWidget(panel.inventory.pageUp), Wait(30);
        for (int i = 0; i < 20 && index >= list.first + list.PageSize(); ++i) TapWidget(panel.inventory.pageDown), Wait(30);
        i32 cx = 0, cy = 0;
        if (!list.CellOf(index, cx, cy)) return false;
        if (corner)
            Tap(cx + 3, cy + 3);
        else
            Tap(cx + list.cellWidth / 2, cy + list.cellHeight / 2);
        Wait(30);
        return true;
    }
    static int EntryOf(const CPanelScreen& panel, const char* itemId) {
        const auto& entries = panel.inventory.lists.GetEntries();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].item && entries[i].item->type && std::string(entries[i].item->type->GetName()) == itemId)
                return static_cast<int>(i);
        return -1;
    }

private:
    // The tick of the next event: a little after now, or early in a new run.
    u32 Next(u32 ms) { return s_.Running() ? s_.RunTick() + ms : 200; }
    void Send(const CInputLogEvent& e) {
        s_.Deliver(e);
        log_.push_back(e);
    }

    CHeadlessSession& s_;
    std::vector<CInputLogEvent>& log_;
    CRefusedCells refused_;  // cells a step into did not reach, on this walk
};

TEST(PlayedSession, Rerecord) {
    if (std::getenv("VANTREL_RERECORD_SESSION") == nullptr) GTEST_SKIP() << "set VANTREL_RERECORD_SESSION=1 to re-record";
    testing_support::GameEnvironment env;
    ASSERT_TRUE(env.CopyBuiltDatabase());
    std::vector<CInputLogEvent> log;
    CHeadlessSession session(env.dir.Path(), kSeed);
    ScriptedPlayer p(session, log);

    // The splash, then "Start new game": the intro's three pages, then creation and its OK.
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 1000));
    p.Wait(60);
    p.Key(40);
    p.Key(32);
    ASSERT_TRUE(p.WaitForScreen(kScreenPages, 1000));
    for (int page = 0; page < 3; ++page) {
        p.Wait(200);
        p.Key(32);
    }
    ASSERT_TRUE(p.WaitForScreen(kScreenCreatePlayer, 1000));
    auto* creation = static_cast<CCreatePlayerScreen*>(p.Game()->GetScreen(kScreenCreatePlayer));
    p.Wait(100);
    p.TapWidget(creation->okButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 3000));
    p.WaitUntilIdle();

    // A few steps, then the rat that comes at once, fought to its death.
    CGameScreen* view = p.View();
    CMapSection* cellar = view->section;
    ASSERT_STREQ(cellar->GetName(), "base_cellar");
    for (u32 key : {38u, 39u, 38u, 37u}) {
        p.Key(key);
        p.WaitUntilIdle();
    }
    ASSERT_NE(cellar->FindMonster(1), nullptr);
    ASSERT_TRUE(p.Fight(*cellar, 1)) << "the rat won";
    ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal) << view->modalChild;

    // The bag on the hall's floor: walked onto, looked into by a tap low in the view, its helm and
    // coins taken, the helm worn.
    const CItemBag* floorBag = nullptr;
    for (int i = 0; i < cellar->bags.Count(); ++i) {
        const CItemBag* bag = cellar->bags.At(i);
        for (int k = 0; k < bag->GetItemCount(); ++k)
            if (std::string(bag->GetItem(k)->type->GetName()) == kLootHelm) floorBag = bag;
    }
    ASSERT_NE(floorBag, nullptr);
    ASSERT_TRUE(p.WalkToSectionCell(floorBag->x, floorBag->y));
    const CWidget& sight = view->viewWidget;
    p.Tap(sight.x + sight.w / 2, sight.y + sight.h - sight.h / 20);
    ASSERT_TRUE(p.WaitForScreen(kScreenPanels, 300));
    CPanelScreen* panel = p.Game()->GetPanelScreen();
    ASSERT_TRUE(panel->inventory.lists.IsShowingContainer());
    p.Wait(60);
    const u32 goldBefore = p.Game()->player.gold;
    for (const char* id : {kLootHelm, kLootCoins}) {
        const int entry = ScriptedPlayer::EntryOf(*panel, id);
        ASSERT_GE(entry, 0) << id;
        ASSERT_TRUE(p.TapItemCell(*panel, entry, false));
        p.TapWidget(panel->inventory.takeButton);
        p.Wait(60);
        ASSERT_EQ(ScriptedPlayer::EntryOf(*panel, id), -1) << id << " stays in the bag";
    }
    ASSERT_GT(p.Game()->player.gold, goldBefore) << "the coins went to the gold";
    p.TapWidget(panel->inventory.dropButton);  // with the bag shown: the player's items
    p.Wait(60);
    ASSERT_FALSE(panel->inventory.lists.IsShowingContainer());
    ASSERT_TRUE(p.TapItemCell(*panel, ScriptedPlayer::EntryOf(*panel, kLootHelm), true));
    ASSERT_TRUE(Wears(p.Game()->player, kLootHelm));
    p.TapWidget(panel->closeButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 300));
    p.Settle();

    // Up the cellar's stair into the town.
    const CPlacement* stair = cellar->FindPlacementByName("base_cellarstairs");
    ASSERT_NE(stair, nullptr);
    ASSERT_TRUE(p.WalkToSectionCell(stair->x, stair->y));
    for (int i = 0; i < 100 && view->section == cellar; ++i) p.Wait(30);
    p.Settle();
    ASSERT_NE(view->section, cellar);
    ASSERT_STREQ(view->section->GetName(), kTown);

    // The merchant: walked up to, used, its trade opened; the cheapest thing the gold pays for bought.
    const CMonster* merchant = nullptr;
    for (const CMonster& m : view->section->monsters) {
        const auto* type = static_cast<const CMonsterType*>(m.type);
        if (type != nullptr && type->npcId != nullptr && std::string(type->npcId) == kMerchant) merchant = &m;
    }
    ASSERT_NE(merchant, nullptr);
    const u8 merchantId = merchant->id;
    CMapSection* town = view->section;
    for (int attempt = 0; attempt < 5 && p.Screen() == kScreenGame; ++attempt) {
        // People talk to who stands before them.
        merchant = town->FindMonster(merchantId);
        i32 mx = 0, my = 0, bx = 0, by = 0;
        ASSERT_TRUE(p.WindowCell(merchant->x, merchant->y, mx, my));
        ASSERT_TRUE(CellBefore(*view, *town, *merchant, bx, by));
        ASSERT_TRUE(p.WalkTo(bx, by));
        p.FaceCell(mx, my);
        p.Key(32);  // use
        for (int i = 0; i < 20 && p.Screen() == kScreenGame; ++i) p.Wait(30);
    }
    if (p.Screen() == kScreenTalk) {
        auto* talk = static_cast<CTalkScreen*>(p.Game()->GetScreen(kScreenTalk));
        p.Wait(60);
        for (const auto& link : talk->links)
            if (link->commandId == kServicesBuySell) {
                p.TapWidget(*link);
                break;
            }
    }
    ASSERT_TRUE(p.WaitForScreen(kScreenServices, 300)) << p.Screen();
    auto* services = static_cast<CServicesScreen*>(p.Game()->GetScreen(kScreenServices));
    p.Wait(60);
    bool offered = false;
    for (size_t i = 0; i < services->buttons.size() && !offered; ++i)
        if (static_cast<u32>(services->buttons[i].command) == kServicesBuySell) {
            p.TapWidget(services->menuButtons[i]);
            offered = true;
        }
    ASSERT_TRUE(offered);
    ASSERT_TRUE(p.WaitForScreen(kScreenShop, 300));
    auto* shop = static_cast<CShopScreen*>(p.Game()->GetScreen(kScreenShop));
    p.Wait(60);
    const auto& stock = shop->trade.GetEntries();
    int cheapest = -1;
    for (size_t i = 0; i < stock.size(); ++i)
        if (stock[i].price <= p.Game()->player.gold && (cheapest < 0 || stock[i].price < stock[cheapest].price))
            cheapest = static_cast<int>(i);
    ASSERT_GE(cheapest, 0) << "nothing the gold pays for";
    const std::string bought = stock[cheapest].item->type->GetName();
    const u32 price = stock[cheapest].price;
    CShopItemGrid& grid = shop->grid;
    for (int i = 0; i < 20 && cheapest >= grid.firstVisible + grid.PageSize(); ++i)
        ASSERT_TRUE(p.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kPageDown));
    const int onPage = cheapest - grid.firstVisible;
    p.Tap(grid.x + (onPage % grid.columns) * grid.entryWidth + grid.entryWidth / 2,
          grid.y + (onPage / grid.columns) * grid.entryHeight + grid.entryHeight / 2);
    p.Wait(60);
    ASSERT_EQ(shop->trade.GetSelection(), cheapest);
    const u32 goldBeforeBuying = p.Game()->player.gold;
    const int carried = p.Game()->player.CountItems(bought.c_str());
    ASSERT_TRUE(p.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kBuy));
    p.Wait(60);
    ASSERT_EQ(p.Game()->player.CountItems(bought.c_str()), carried + 1) << bought;
    ASSERT_EQ(p.Game()->player.gold, goldBeforeBuying - price);
    ASSERT_TRUE(p.TapLayoutElement(CShopScreen::kLayoutGroup, CShopScreen::kLeave));
    ASSERT_TRUE(p.WaitForScreen(kScreenServices, 300));
    p.Wait(60);
    p.TapWidget(services->leaveButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 300));
    p.Settle();

    // The house's door: walked up to from outside, used, and stepped through once it stands open.
    const CPlacement* door = town->FindPlacementByName(kHouseDoor);
    ASSERT_NE(door, nullptr);
    i32 doorX = 0, doorY = 0;
    ASSERT_TRUE(p.WindowCell(door->x, door->y + 1, doorX, doorY));
    ASSERT_TRUE(p.WalkTo(doorX, doorY));
    p.Face(0);
    p.Key(32);
    for (int i = 0; i < 100 && (door->flags & (mapobject::kOpening | mapobject::kClosed)); ++i) p.Wait(30);
    ASSERT_EQ(door->flags & (mapobject::kOpening | mapobject::kClosed), 0) << "the door stays shut";
    p.Settle();
    i32 insideX = 0, insideY = 0;
    ASSERT_TRUE(p.WindowCell(door->x, door->y - 1, insideX, insideY));
    ASSERT_TRUE(p.WalkTo(insideX, insideY));
    ASSERT_EQ(view->playerY, insideY) << "inside the house";
    ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal) << view->modalChild;

    // Escape, "Save Game" (the fourth entry in a game), the first slot, save; "Game saved.", OK.
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 300));
    p.Wait(60);
    for (int i = 0; i < 4; ++i) p.Key(40);
    p.Key(13);
    ASSERT_TRUE(p.WaitForScreen(kScreenLoadSave, 300));
    auto* slots = static_cast<CLoadSaveScreen*>(p.Game()->GetScreen(kScreenLoadSave));
    ASSERT_EQ(slots->mode, CLoadSaveScreen::kModeSave);
    p.Wait(60);
    p.TapWidget(slots->boxes[0]);
    p.Wait(60);
    p.TapWidget(slots->loadSaveButton);
    p.Wait(60);
    ASSERT_EQ(slots->message, "Game saved.");
    const std::string saved = SavedPart(session.StateText());
    ASSERT_TRUE(p.TapBarButton(slots->promptBar, CButtonBar::kOk));
    p.Wait(200);

    // The window closes; the game starts again, says no to the automatic save, and loads the slot.
    p.Close();
    p.Key(27);
    ASSERT_TRUE(p.WaitForScreen(kScreenMainMenu, 1000));
    auto* menu = static_cast<CMainMenuScreen*>(p.Game()->GetScreen(kScreenMainMenu));
    p.Wait(60);
    if (menu->pendingPrompt != kPromptNone) {
        ASSERT_TRUE(p.TapBarButton(menu->promptBar, CButtonBar::kNo));
    }
    p.Wait(60);
    p.Key(40);
    p.Key(40);
    p.Key(13);
    ASSERT_TRUE(p.WaitForScreen(kScreenLoadSave, 300));
    slots = static_cast<CLoadSaveScreen*>(p.Game()->GetScreen(kScreenLoadSave));
    ASSERT_EQ(slots->mode, CLoadSaveScreen::kModeLoad);
    p.Wait(60);
    p.TapWidget(slots->boxes[0]);
    p.Wait(60);
    p.TapWidget(slots->loadSaveButton);
    ASSERT_TRUE(p.WaitForScreen(kScreenGame, 3000)) << p.Game()->saveGames.LastError();
    p.WaitUntilIdle();
    ASSERT_EQ(SavedPart(session.StateText()), saved);

    std::ofstream out(kLog, std::ios::binary | std::ios::trunc);
    out << "# The first steps of a new game (tests/session/PlayedSessionTest.cpp says how to re-record).\n";
    for (const CInputLogEvent& e : log) out << FormatInputLogEvent(e) << "\n";
    std::ofstream(kState, std::ios::binary | std::ios::trunc) << saved;
}

}  // namespace
