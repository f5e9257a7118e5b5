// The main game view on the built world, headless, with the manual clock: movement and blocking,
// turning, the event queue's order, transitions and the change of map, prompts, death, the HUD.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Random.h"
#include "data/ItemType.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "script/ScriptContext.h"
#include "tests/data/BuiltWorld.h"
#include "tests/ui/WidgetRig.h"
#include "view3d/ViewCaches.h"
#include "world/GameScreen.h"

namespace {

class ViewHost : public IGameViewHost {
public:
    explicit ViewHost(fixtures::BuiltWorld& built) : built_(built) {}
    CWorldList* GetWorldList() const override { return nullptr; }
    CWorldLists* GetWorldLists() const override { return &built_.lists; }
    CTextureSet& GetTextures() override { return built_.textures; }
    CScriptContext* GetScriptContext() override { return context; }
    CRandom* GetRandom() const override { return &random_; }
    const char* GetPendingMapName() const override { return pending.c_str(); }
    void SetCurrentWorld(CWorld* world) override { current = world; }
    IGameViewDialogs* GetGameViewDialogs() override { return dialogs; }

    CScriptContext* context = nullptr;
    IGameViewDialogs* dialogs = nullptr;
    std::string pending = "base_start";
    CWorld* current = nullptr;

private:
    fixtures::BuiltWorld& built_;
    mutable CRandom random_;
};

// Records the cell events the map objects receive; the doors of the built world take enter, leave
// and use.
class EventLog : public IGameViewObjects {
public:
    explicit EventLog(const CGameViewWorld& view) : view_(view) {}
    u32 ObjectEventMask(u16 index) const override {
        const u8 code = view_.TypeCode(index);
        return code == typecode::kDoor ? (1 | 2 | 0x20 | 0x200) : 0;
    }
    u32 CreatureEventMask(CMapSection&, u8) const override { return 0; }
    const char* ObjectScript(u16, const CPlacement*) const override { return nullptr; }
    i32 HandleObjectEvent(u32 code, CMapSection*, u16, CPlacement* p, i32 x, i32 y, i32 side,
                          bool& changed) override {
        log.push_back(std::to_string(code) + "@" + std::to_string(x) + "," + std::to_string(y) + "," +
                      std::to_string(side) + (p ? " " + std::string(p->name) : ""));
        changed = false;
        return 1;
    }
    i32 HandleCreatureEvent(u32, CMapSection&, u8, i32, i32, bool&) override { return 0; }
    std::vector<std::string> log;

private:
    const CGameViewWorld& view_;
};

// Dialogs as plain forms; records what was opened.
class Dialogs : public IGameViewDialogs {
public:
    std::unique_ptr<CForm> OpenDialog(CGameViewDialog kind) override {
        opened.push_back(kind);
        return std::make_unique<CForm>();
    }
    std::vector<CGameViewDialog> opened;
};

// The fight's action list as far as the view asks: attacks counted, each running until cleared.
class Actions : public IGameViewActions {
public:
    void StartAttack() override { ++running; }
    void Run() override { ++steps; }
    bool Empty() const override { return running == 0; }
    bool HasBlockingAction() const override { return running != 0; }
    void Clear() override { running = 0; }
    int running = 0, steps = 0;
};

class GameScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        view = rig.gameScreen;
        view->SetHost(&host);
        view->AttachPlayer(&rig.game.player);
        view->world = built.base.get();
        rig.game.currentScreen = view;
        view->Enter(1, 0, 0, 0);
        ASSERT_NE(view->section, nullptr);
        Tick(30);
    }
    void TearDown() override { view->AttachPlayer(nullptr); }

    // One timer tick: the clock moves on and the game's tick counter with it.
    u32 Tick(u32 ms = 26) {
        rig.clock.Advance(ms);
        ++rig.game.tickCounter;
        return view->OnTick(rig.game.tickCounter);
    }
    void Settle() {
        for (int i = 0; i < 200 && view->IsBusy(); ++i) Tick();
    }
    // Places the player at a cell of the current map facing a direction, idle.
    void PlaceAt(i32 x, i32 y, i32 facing) {
        view->SetPosition(x, y);
        view->facing = view->targetFacing = facing;
        Settle();
    }
    u32 Key(u32 command) {
        ++rig.game.tickCounter;
        return view->OnKey(command);
    }
    CPlacement* Placement(const char* name) {
        return const_cast<CPlacement*>(view->section->FindPlacementByName(name));
    }

    fixtures::BuiltWorld built;
    widgetrig::Rig rig{15, 480, 400, {0, 0, 380, 320}};
    ViewHost host{built};
    CGameScreen* view = nullptr;
};

TEST(GameScreenTables, FacingDirections) {
    const struct {
        i32 facing;
        u32 direction;
    } directions[] = {{0, 0}, {90, 3}, {180, 2}, {270, 1}, {360, 0}};
    for (const auto& c : directions)
        EXPECT_EQ(CGameScreen::DirectionOfFacing(c.facing), c.direction) << c.facing;
}

// The view's two tables of the 47-tile neighbour scheme: only the masks the corner rule leaves as
// they are have a shape, each of the 47 its own number (the mask surrounded on all sides 0, the
// others 1..47 without 16); a corner without both of its edges has none.
TEST(GameScreenTables, ShapeTablesOfTheNeighbourScheme) {
    CGameScreen view;
    std::vector<int> uses(48, 0);
    int shaped = 0;
    for (u32 mask = 0; mask < 256; ++mask) {
        const u8 m = static_cast<u8>(mask);
        EXPECT_EQ(view.transitionShapes[mask], view.jointCodes[mask]) << mask;
        ASSERT_LE(view.jointCodes[mask], 47u) << mask;
        if (ApplyCornerRule(m) != m) {
            EXPECT_EQ(view.jointCodes[mask], 0u) << "a corner without its edges: " << mask;
            continue;
        }
        ++shaped;
        ++uses[view.jointCodes[mask]];
    }
    EXPECT_EQ(shaped, 47);
    for (int code = 0; code <= 47; ++code) EXPECT_EQ(uses[static_cast<size_t>(code)], code == 16 ? 0 : 1) << code;
    const struct {
        u8 mask;
        u16 code;
    } cases[] = {{0, 15}, {255, 0}, {2, 0}, {7, 6}, {124, 1}, {85, 31}, {5, 44}};
    for (const auto& c : cases) EXPECT_EQ(view.jointCodes[c.mask], c.code) << int(c.mask);
}

// The caches read the view's tables, not a copy of their own: the blocks' joint codes and the ground
// transitions' picture numbers follow what the view holds.
TEST_F(GameScreenTest, TheCachesReadTheViewsShapeTables) {
    for (u32 mask = 0; mask < 256; ++mask)
        EXPECT_EQ(view->window.TransitionIndex(static_cast<u8>(mask)), view->transitionShapes[mask]) << mask;
    i32 bx = -1, by = -1;
    for (i32 y = 0; y < 35 && bx < 0; ++y)
        for (i32 x = 0; x < 35 && bx < 0; ++x)
            if (view->cacheBuilder->BlockJointCode(x, y) != 0) bx = x, by = y;
    ASSERT_GE(bx, 0) << "the cellar has joined blocks";
    for (u16& code : view->jointCodes) code = 33;
    EXPECT_EQ(view->cacheBuilder->BlockJointCode(bx, by), 33u);
    view->transitionShapes[7] = 9;
    EXPECT_EQ(view->window.TransitionIndex(7), 9u);
}

TEST_F(GameScreenTest, ANewGameBeginsAtTheStartPlace) {
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    EXPECT_EQ(host.current, built.base.get());
    EXPECT_EQ(view->playerX, 17);
    EXPECT_EQ(view->playerY, 17);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_EQ(view->inGame, 1u);
    EXPECT_EQ(view->IsBusy(), 0u);
}

TEST_F(GameScreenTest, AStepGlidesOverEightPhasesAndTakesOneMinute) {
    PlaceAt(17, 17, 0);
    const u32 clock = view->gameClock.minutes;
    Key(1000);
    EXPECT_TRUE(view->stepping);
    EXPECT_EQ(view->gameClock.minutes, clock + 1);
    // A second command while the step runs is ignored.
    Key(1000);
    int phases = 0;
    while (view->stepping && phases < 20) {
        Tick();
        ++phases;
    }
    EXPECT_EQ(phases, 8);
    EXPECT_EQ(view->playerY, 16);
    EXPECT_EQ(view->fractionY, 0x8000u);
    EXPECT_EQ(view->gameClock.minutes, clock + 1);
    // The next command is taken once the step has ended.
    Settle();
    Key(1000);
    Settle();
    EXPECT_EQ(view->playerY, 15);
}

TEST_F(GameScreenTest, TurningLeftFromTheWestStepsTenDegreesAPhase) {
    PlaceAt(17, 17, 270);
    Key(1004);
    EXPECT_EQ(view->targetFacing, 0);
    std::vector<i32> seen;
    for (int i = 0; i < 20 && view->turning; ++i) {
        Tick();
        seen.push_back(view->facing);
    }
    EXPECT_FALSE(view->turning);
    ASSERT_GE(seen.size(), 9u);
    EXPECT_EQ(seen[0], 280);
    EXPECT_EQ(seen[7], 350);
    EXPECT_EQ(seen[8], 0);
    EXPECT_EQ(view->facing, 0);
}

TEST_F(GameScreenTest, WallsAndClosedDoorsBumpWithoutTakingTime) {
    struct Case {
        const char* what;
        i32 x, y, facing;
        bool moves;
        i32 endX, endY;
    };
    const Case cases[] = {
        {"wall to the north", 16, 13, 0, false, 16, 13},
        {"closed cellar door", 17, 13, 0, false, 17, 13},
        {"open chamber door", 13, 22, 90, true, 12, 22},
        {"open floor", 20, 20, 180, true, 20, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceAt(c.x, c.y, c.facing);
        const u32 clock = view->gameClock.minutes;
        Key(1000);
        EXPECT_EQ(view->bump, !c.moves);
        Settle();
        EXPECT_EQ(view->playerX, c.endX);
        EXPECT_EQ(view->playerY, c.endY);
        EXPECT_EQ(view->fractionX, 0x8000u);
        EXPECT_EQ(view->fractionY, 0x8000u);
        EXPECT_EQ(view->gameClock.minutes, clock + (c.moves ? 1 : 0));
    }
    // Opened, the cellar door lets the player through.
    Placement("base_cellardoor")->flags = CPlacement::kVisible;
    PlaceAt(17, 13, 0);
    Key(1000);
    Settle();
    EXPECT_EQ(view->playerY, 12);
}

TEST_F(GameScreenTest, ThePlayerMovesUpToThreeHalvesOfTheCarryingCapacity) {
    CPlayer& player = rig.game.player;
    const u32 limit = static_cast<u32>(player.GetCarryCapacity()) * 3 / 2;
    ASSERT_GT(limit, 0u);
    CItemType load;
    player.items.push_back(std::make_unique<CItemInstance>());
    player.items.back()->type = &load;
    const struct {
        u32 weight;
        bool moves;
    } cases[] = {{limit, true}, {limit + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weight);
        load.weight = static_cast<u16>(c.weight);
        ASSERT_EQ(player.GetCarriedWeight(), c.weight) << "the load must fit the weight field";
        PlaceAt(20, 20, 180);
        view->events.clear();
        Key(1000);
        EXPECT_EQ(view->stepping, c.moves);
        EXPECT_FALSE(view->bump) << "overload is no bump";
        if (!c.moves) {
            ASSERT_EQ(view->events.size(), 1u);
            EXPECT_STREQ(view->events[0]->text.GetText(), "You carry way too much - you can't move.");
            view->events.clear();
        }
        Settle();
        EXPECT_EQ(view->playerY, c.moves ? 21 : 20);
    }
    player.items.clear();
}

TEST_F(GameScreenTest, WalkingOffASurfacePieceMakesTheNeighbourTheCurrentPiece) {
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    PlaceAt(10, 20, 180);  // section cells on a surface map: the window's (17, 27)
    ASSERT_EQ(view->playerY, 27);
    Key(1000);
    Settle();
    EXPECT_STREQ(view->section->GetName(), "base_s0203");
    EXPECT_EQ(view->playerY, 7);
    EXPECT_EQ(view->playerX, 17);
    EXPECT_EQ(view->window.CurrentSection(), view->section);
    // Back north: the town again, the player on its southern edge.
    view->facing = view->targetFacing = 0;
    Key(1000);
    Settle();
    EXPECT_STREQ(view->section->GetName(), "base_s0202");
    EXPECT_EQ(view->playerY, 27);
}

TEST_F(GameScreenTest, StepsSendLeaveAndEnterToTheCellsObjects) {
    EventLog objects(*view->viewWorld);
    view->SetObjects(&objects);
    PlaceAt(13, 22, 90);
    Key(1000);  // west, into the chamber door's cell
    Settle();
    Key(1000);  // and out of it
    Settle();
    // Using what stands in front: the open door, and the closed one (an active door takes the use
    // that opens it).
    PlaceAt(13, 22, 90);
    Key(3006);
    PlaceAt(17, 13, 0);
    Key(3006);
    view->SetObjects(nullptr);
    EXPECT_EQ(objects.log,
              (std::vector<std::string>{"1@12,22,-1 base_chamberdoor", "2@12,22,-1 base_chamberdoor",
                                        "32@12,22,-1 base_chamberdoor", "32@17,12,-1 base_cellardoor"}));
    // A door that is not active takes nothing.
    objects.log.clear();
    view->SetObjects(&objects);
    Placement("base_cellardoor")->flags = CPlacement::kClosed;
    Key(3006);
    view->SetObjects(nullptr);
    EXPECT_TRUE(objects.log.empty());
}

TEST_F(GameScreenTest, MessagesComeOneAfterAnotherAndWaitForTheBoxToClose) {
    view->PostMessageEvent("First.", 1, "");
    view->PostMessageEvent("Second.", 1, "");
    EXPECT_EQ(view->IsBusy(), 1u);
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMessage);
    EXPECT_EQ(view->modalChild, &view->messageBar);
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "Second.");
    Tick();
    EXPECT_EQ(view->events.size(), 1u) << "the second waits while the box is open";
    view->OnCommand(CButtonBar::kOk);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMessage);
    EXPECT_TRUE(view->events.empty());
    view->OnCommand(CButtonBar::kOk);
    EXPECT_EQ(view->IsBusy(), 0u);
}

TEST_F(GameScreenTest, AppendingMessagesAndInsertingTransitions) {
    view->AppendMessage("You found a key.");
    view->AppendMessage("It is rusty.");
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "You found a key. It is rusty.");
    // A long name from a world never overruns the message.
    const std::string name(3000, 'x');
    view->AppendMessage(name.c_str());
    EXPECT_EQ(std::string(view->events[0]->text.GetText()).size(), 29u + 1 + 3000);
    view->PostTurnEvent(2);
    view->InsertTransitionEvent("base_start", 4);
    ASSERT_EQ(view->events.size(), 3u);
    EXPECT_EQ(view->events[0]->type, kEventTransition);
    EXPECT_EQ(view->events[1]->type, kEventMessage);
    EXPECT_EQ(view->events[2]->type, kEventTurn);
}

TEST_F(GameScreenTest, ALadderPassageChangesTheMapAfterItsFrames) {
    rig.clock.ClearSleepLog();
    view->ChangeMap("base_housedoor", 4);
    ASSERT_EQ(view->events.size(), 1u);
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeTransition);
    EXPECT_EQ(view->transitionFrames, 50u);
    int frames = 0;
    while (view->screenMode == CGameScreen::kModeTransition && frames < 100) {
        Tick();
        ++frames;
    }
    EXPECT_EQ(frames, 50);
    EXPECT_EQ(rig.clock.SleepLog(), std::vector<u32>{100});
    EXPECT_STREQ(view->section->GetName(), "base_s0202");
    EXPECT_TRUE(view->window.IsSurface());
    EXPECT_EQ(view->playerX, 10 + 7);
    EXPECT_EQ(view->playerY, 13 + 7);
}

TEST_F(GameScreenTest, UnknownRealmsAndEntriesKeepThePlayerWhereHeIs) {
    EXPECT_FALSE(view->ChangeMap("zzzz_nowhere", 0));
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "This realm doesn't exist.");
    EXPECT_FALSE(view->ChangeMap("base_nowhere", 0));
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    view->EnterMapAt(built.base.get(), nullptr, 3, 3, 0);
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    EXPECT_EQ(view->playerX, 17);
}

TEST_F(GameScreenTest, AMapPromptAnsweredYesChangesTheMapAndNoStepsBack) {
    view->PostMapPromptEvent("base_housedoor", "Climb the stairs?", 0, 1);
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMapPrompt);
    view->OnCommand(CButtonBar::kYes);
    EXPECT_STREQ(view->section->GetName(), "base_s0202");

    view->ChangeMap("base_start", 0);
    PlaceAt(17, 17, 0);
    Key(1000);
    Settle();
    ASSERT_EQ(view->playerY, 16);
    view->PostMapPromptEvent("base_housedoor", "Climb the stairs?", 0, 1);
    Tick();
    view->OnCommand(CButtonBar::kNo);
    Settle();
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    EXPECT_EQ(view->playerY, 17) << "refused, the player steps back";
}

TEST_F(GameScreenTest, AScriptQuestionGivesTheScriptTheButtonsFlag) {
    CScriptContext context;
    host.context = &context;
    view->SetHost(&host);
    view->PostMessageEvent("Pull the lever?", CButtonBar::kYes | CButtonBar::kNo, "");
    Tick();
    view->OnCommand(CButtonBar::kNo);
    EXPECT_EQ(context.GetAnswer(), static_cast<i32>(CButtonBar::kNo));
    view->SetHost(nullptr);
}

TEST_F(GameScreenTest, HitPointsZeroLeadToTheDeathScreenEvenWithADialogOpen) {
    view->PostMessageEvent("A trap!", 1, "");
    Tick();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeMessage);
    rig.game.player.hp = 0;
    EXPECT_EQ(Tick(), kScreenDeath);
    EXPECT_EQ(view->inGame, 0u);
}

TEST_F(GameScreenTest, TheHudPlacesOnlyTheWidgetsWhoseRectanglesExist) {
    // The rig's layout table has the view's rectangle and nothing else.
    EXPECT_EQ(view->widgets.GetCount(), 0);
    for (const CBitmapButton& b : view->buttons) EXPECT_FALSE(b.IsShown());
    // Commands from the buttons still reach the view.
    PlaceAt(20, 20, 180);
    ++rig.game.tickCounter;
    view->OnCommand(537);
    EXPECT_TRUE(view->stepping);
}

}  // namespace

namespace {

TEST(GameScreenSentence, LossesAreDrawnABoundedNumberOfTimes) {
    CRandom random;
    // Nothing qualifies but the first one drawn: no endless redrawing, no loss.
    EXPECT_EQ(CGameScreen::DrawSentenceLoss(&random, 5, 2, [](i32 v) { return v == 2; }), 0);
    EXPECT_EQ(CGameScreen::DrawSentenceLoss(&random, 20, 0, [](i32) { return false; }), 0);
    // One value qualifies: it is found, drawn or searched.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(CGameScreen::DrawSentenceLoss(&random, 20, 0, [](i32 v) { return v == 13; }), 13);
    EXPECT_EQ(CGameScreen::DrawSentenceLoss(nullptr, 5, 1, [](i32 v) { return v >= 1; }), 2);
}

}  // namespace

TEST_F(GameScreenTest, WithoutAPrisonNearbyThePlayerStaysFree) {
    view->PostJailEvent("");
    Tick();
    EXPECT_FALSE(view->gameClock.inPrison);
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(),
                 "There's no prison nearby - you're free - at least for a while.");
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMessage);
}

TEST_F(GameScreenTest, ASentenceOfCrimeFiveIsOneDayAndOneAttributePoint) {
    CPlayer& player = rig.game.player;
    for (int a = 1; a <= 5; ++a) player.attributes[a] = 40;
    for (int s = 1; s <= 20; ++s) player.skills[s] = 10;
    player.crime = 5;
    view->jailTarget.Assign("base_cellar_jail");  // the built world has no jail: the player stays put
    const u32 clock = view->gameClock.minutes;
    view->gameClock.EnterPrison();
    // Ten game minutes after the arrival the clock lets the prisoner go.
    for (int m = 0; m < 9; ++m) view->AdvanceMinute();
    EXPECT_TRUE(view->gameClock.inPrison);
    view->AdvanceMinute();
    EXPECT_FALSE(view->gameClock.inPrison);
    EXPECT_EQ(view->gameClock.minutes, clock + 10 + 24 * 60);
    int attributeSum = 0, skillSum = 0;
    for (int a = 1; a <= 5; ++a) attributeSum += player.attributes[a];
    for (int s = 1; s <= 20; ++s) skillSum += player.skills[s];
    EXPECT_EQ(attributeSum, 5 * 40 - 1);
    EXPECT_EQ(skillSum, 20 * 10 - 1);
    EXPECT_EQ(player.crime, 0u);
    ASSERT_GE(view->events.size(), 2u);
    const std::string text = view->events[view->events.size() - 2]->text.GetText();
    EXPECT_EQ(text.rfind("You have served your sentence. Your ", 0), 0u) << text;
    EXPECT_NE(text.find(" skill have been decreased."), std::string::npos) << text;
    EXPECT_STREQ(view->events.back()->text.GetText(), "Your crime records have been cleared.");
}

TEST_F(GameScreenTest, RestAnsweredYesSleepsEightHoursAndHeals) {
    Dialogs dialogs;
    host.dialogs = &dialogs;
    CPlayer& player = rig.game.player;
    const int maxHp = player.GetMaxHp();
    ASSERT_GT(maxHp, 2);
    player.hp = static_cast<u16>(maxHp / 2);
    // The night's meal: bread and water.
    for (const char* id : {"base_food_bread", "base_drink_water"}) {
        const CItemType* type = built.lists.items.FindItemType(id);
        ASSERT_NE(type, nullptr) << id;
        ASSERT_NE(player.AddItemCopies(1, *type), nullptr);
    }
    const u32 clock = view->gameClock.minutes;
    view->OnCommand(547);
    Tick();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeRestPrompt);
    view->OnCommand(CButtonBar::kYes);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeRest);
    EXPECT_EQ(dialogs.opened, std::vector<CGameViewDialog>{CGameViewDialog::kRest});
    EXPECT_EQ(view->gameClock.minutes, clock + 8 * 60);
    EXPECT_EQ(player.hp, maxHp);
    // The dialog's close command gives the view back.
    view->OnCommand(5);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    Tick();
    EXPECT_EQ(view->IsBusy(), 0u);
    // Refused on a map that forbids it.
    view->section->flags |= 0x10;
    view->OnCommand(547);
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "You cannot rest here.");
    view->section->flags &= static_cast<u16>(~0x10);
    host.dialogs = nullptr;
}

TEST_F(GameScreenTest, AScriptsObjectListGivesTheChosenEntryBack) {
    CScriptContext context;
    host.context = &context;
    view->SetHost(&host);
    IScriptWorld& world = view->scriptWorld;
    world.CreatePendingList("Which key?");
    world.AddPendingListEntry("base_key_iron", "Iron key");
    world.AddPendingListEntry("base_key_brass", "Brass key");
    world.PostShowObjectListEvent();
    Tick();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeObjectList);
    EXPECT_EQ(view->objectList.GetCount(), 2);
    view->objectList.selection = 1;
    ++rig.game.tickCounter;
    CTextButton& ok = view->objectMenu.okButton;
    ok.SetRect(10, 10, 40, 20);  // the rig has no button frames to size it
    ok.state |= kWidgetPlaced;
    const i32 x = ok.x + ok.w / 2, y = ok.y + ok.h / 2;
    EXPECT_EQ(view->OnPen(x, y, 1, 0), 0u);
    EXPECT_EQ(view->OnPen(x, y, 0, 0), 0u) << "an answer is never a screen code";
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_STREQ(context.GetChosenEntry(), "base_key_brass");
    EXPECT_EQ(context.GetAnswer(), static_cast<i32>(CActionMenu::kOk));
    view->SetHost(nullptr);
}

TEST_F(GameScreenTest, ForgettingTheWorldLeavesNothingThatPointsIntoIt) {
    Actions fight;
    view->SetActions(&fight);
    view->Attack();
    EXPECT_EQ(fight.running, 1);
    view->PostMessageEvent("Queued.", 1, "");
    view->ForgetWorld();
    EXPECT_EQ(view->section, nullptr);
    EXPECT_EQ(view->world, nullptr);
    EXPECT_FALSE(view->window.HasMapData());
    EXPECT_TRUE(view->events.empty());
    EXPECT_EQ(fight.running, 0);
    view->SetActions(nullptr);
    EXPECT_EQ(view->IsBusy(), 0u);
    Tick();  // draws nothing, does nothing
    // A new game enters again.
    view->world = built.base.get();
    view->Enter(1, 0, 0, 0);
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
}

TEST_F(GameScreenTest, ATeleportToAPositionEntersThatMapFacingItsDirection) {
    CMapSection* town = built.base->FindSectionByName("base_s0202");
    ASSERT_NE(town, nullptr);
    view->PostTransitionEvent(built.base.get(), town, 3, 4, 2, 1);
    view->PostTransitionEvent(built.base.get(), nullptr, 5, 5, 0, 2);  // a second one waits its turn
    Tick();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeTransition);
    EXPECT_EQ(view->transitionFrames, 10u);
    for (int i = 0; i < 20 && view->screenMode == CGameScreen::kModeTransition; ++i) Tick();
    EXPECT_EQ(view->section, town);
    EXPECT_EQ(view->playerX, 3 + 7);
    EXPECT_EQ(view->playerY, 4 + 7);
    EXPECT_EQ(view->facing, 180);
    // The second leads nowhere: the player stays, told why.
    for (int i = 0; i < 40 && view->screenMode != CGameScreen::kModeMessage; ++i) Tick();
    EXPECT_EQ(view->section, town);
    EXPECT_EQ(view->playerX, 10);
}

TEST_F(GameScreenTest, WalkingIntoAnObjectThatIsUsedSoUsesItInstead) {
    EventLog objects(*view->viewWorld);
    view->SetObjects(&objects);
    const CMapCell* door = view->window.Cell(12, 22);
    ASSERT_NE(door, nullptr);
    CMapObject* object = view->viewWorld->Objects().At(door->centre);
    ASSERT_NE(object, nullptr);
    const u16 flags = object->viewFlags;
    object->viewFlags = static_cast<u16>(flags | kObjectUsedWhenWalkedInto);
    PlaceAt(13, 22, 90);
    const u32 clock = view->gameClock.minutes;
    Key(1000);
    Settle();
    object->viewFlags = flags;
    view->SetObjects(nullptr);
    EXPECT_EQ(objects.log, std::vector<std::string>{"32@12,22,-1 base_chamberdoor"});
    EXPECT_EQ(view->playerX, 13);
    EXPECT_EQ(view->gameClock.minutes, clock);
}

// Being put somewhere else frees a paralysed player: a position set, a change of map and the end of
// a position transition each say so once and take the paralysis away.
TEST_F(GameScreenTest, APlayerPutElsewhereIsNoLongerParalysed) {
    CPlayer& player = rig.game.player;
    CMapSection* town = built.base->FindSectionByName("base_s0202");
    ASSERT_NE(town, nullptr);
    const struct {
        const char* way;
        std::function<void()> move;
    } ways[] = {
        {"position set", [&] { view->SetPosition(20, 20); }},
        {"change of map", [&] { view->ChangeMap("base_housedoor", 0); }},
        {"entered at a place", [&] { view->EnterMapAt(built.base.get(), town, 3, 4, 2); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        view->ChangeMap("base_start", 0);
        player.AddConditionEffect(28, kFromHit, nullptr, 0, 5, 0, nullptr);
        ASSERT_TRUE(player.IsParalyzed());
        view->events.clear();
        way.move();
        EXPECT_FALSE(player.IsParalyzed());
        int told = 0;
        for (const auto& e : view->events)
            if (e->type == kEventMessage && std::string(e->text.GetText()).find("You're no longer paralyzed.") !=
                                                std::string::npos)
                ++told;
        EXPECT_EQ(told, 1);
        // Not paralysed, nothing is said.
        view->events.clear();
        way.move();
        for (const auto& e : view->events) {
            if (e->type == kEventMessage) {
                EXPECT_EQ(std::string(e->text.GetText()).find("paralyzed"), std::string::npos);
            }
        }
    }
}

// Coming up from below to the surface brings new weather, unless the player was last on the surface
// within the hour.
TEST_F(GameScreenTest, LeavingTheUndergroundForTheSurfaceBringsNewWeatherAfterAnHour) {
    CMapSection* town = built.base->FindSectionByName("base_s0202");
    ASSERT_NE(town, nullptr);
    const u8 byte = town->byteE;
    town->byteE = 90;  // rain of intensity 750
    view->gameClock.minutes = 5000;
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    EXPECT_EQ(view->weather.intensity, 750) << "first time up";
    // Down and up again within the hour: the weather is what it was.
    ASSERT_TRUE(view->ChangeMap("base_start", 0));
    view->weather.Clear();
    view->gameClock.minutes += 30;
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    EXPECT_EQ(view->weather.intensity, 0) << "back within the hour";
    // Down for more than an hour: new weather.
    ASSERT_TRUE(view->ChangeMap("base_start", 0));
    view->gameClock.minutes += 61;
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    EXPECT_EQ(view->weather.intensity, 750) << "back after an hour";
    // From one surface place to another the weather stays.
    view->weather.Clear();
    view->gameClock.minutes += 500;
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    EXPECT_EQ(view->weather.intensity, 0) << "surface to surface";
    town->byteE = byte;
}

// Under a roof no rain or snow is drawn: the step that arrives under it, and the one that leaves it,
// say so to the view.
TEST_F(GameScreenTest, NoRainIsDrawnUnderCover) {
    ASSERT_TRUE(view->ChangeMap("base_housedoor", 0));
    view->weather.intensity = 750;
    view->UpdateSkyPicture();
    // Two open cells of the town, one north of the other, with nothing over them.
    auto open = [&](i32 cx, i32 cy) {
        const CMapCell* c = view->window.Cell(cx, cy);
        const CStoredCell* st = view->window.StoredCell(cx, cy);
        return c && st && c->centre == kNoCellIndex && st->centre == kNoCellIndex && !c->creature[0] &&
               !c->creature[1] && view->viewWorld->TypeCode(c->layer1) != typecode::kWall &&
               view->viewWorld->TypeCode(c->layer1) != typecode::kKind3 &&
               view->viewWorld->TypeCode(c->layer2) != typecode::kKind3;
    };
    i32 x = -1, y = -1;
    for (i32 cy = 8; cy < 26 && x < 0; ++cy)
        for (i32 cx = 8; cx < 26 && x < 0; ++cx)
            if (open(cx, cy) && open(cx, cy + 1)) x = cx, y = cy;
    ASSERT_GE(x, 0);
    // A roof over the southern one, whose object has no placement.
    CStoredCell* roof = view->window.StoredCell(x, y + 1);
    roof->centre = view->window.Cell(x, y)->layer1 != kNoCellIndex ? view->window.Cell(x, y)->layer1 : 1;
    roof->centreId = 0;
    ASSERT_TRUE(view->viewState.flags & kViewFlagWeather);
    PlaceAt(x - 7, y - 7, 180);  // a surface map places by the piece's own cells
    ASSERT_EQ(view->playerY, y);
    ASSERT_TRUE(view->viewState.flags & kViewFlagWeather);
    Key(1000);
    Settle();
    ASSERT_EQ(view->playerY, y + 1) << "the way south is open";
    EXPECT_FALSE(view->viewState.flags & kViewFlagWeather) << "under the roof";
    view->facing = view->targetFacing = 0;
    Key(1000);
    Settle();
    ASSERT_EQ(view->playerY, y);
    EXPECT_TRUE(view->viewState.flags & kViewFlagWeather) << "out in the rain again";
}

// A wall whose face towards the player holds a passage used when walked into: the step uses it.
TEST_F(GameScreenTest, WalkingIntoAWallSideThatIsUsedSoUsesIt) {
    EventLog objects(*view->viewWorld);
    view->SetObjects(&objects);
    // The wall west of the cellar door, its south face given the door's object and placement.
    CMapCell* wall = view->window.Cell(16, 12);
    const CMapCell* door = view->window.Cell(17, 12);
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(view->viewWorld->TypeCode(wall->centre), typecode::kWall);
    CMapObject* object = view->viewWorld->Objects().At(door->centre);
    ASSERT_NE(object, nullptr);
    const u16 flags = object->viewFlags;
    wall->side[2] = door->centre;
    wall->sideId[2] = door->centreId;
    PlaceAt(16, 13, 0);
    const u32 clock = view->gameClock.minutes;
    object->viewFlags = static_cast<u16>(flags & ~kObjectUsedWhenWalkedInto);
    Key(1000);
    Settle();
    EXPECT_TRUE(objects.log.empty()) << "a side not used so: a bump";
    object->viewFlags = static_cast<u16>(flags | kObjectUsedWhenWalkedInto);
    Key(1000);
    Settle();
    object->viewFlags = flags;
    view->SetObjects(nullptr);
    EXPECT_EQ(objects.log, std::vector<std::string>{"32@16,12,2 base_cellardoor"});
    EXPECT_EQ(view->playerY, 13);
    EXPECT_EQ(view->gameClock.minutes, clock);
}

// Every object of a cell hears the player leave it.
class LeaveLog : public IGameViewObjects {
public:
    u32 ObjectEventMask(u16) const override { return 2; }
    u32 CreatureEventMask(CMapSection&, u8) const override { return 0; }
    const char* ObjectScript(u16, const CPlacement*) const override { return nullptr; }
    i32 HandleObjectEvent(u32 code, CMapSection* at, u16, CPlacement*, i32 x, i32 y, i32, bool& changed) override {
        changed = false;
        left.push_back({at, x, y});
        return 1;
    }
    i32 HandleCreatureEvent(u32, CMapSection&, u8, i32, i32, bool&) override { return 0; }
    struct Left {
        CMapSection* section;
        i32 x, y;
    };
    std::vector<Left> left;
};

// The cell a player leaves across the border of a surface piece hears it, as any other cell left:
// an edge cell with an object in it (a tree, a bush) and open ground beyond, in some piece of the vale.
TEST_F(GameScreenTest, TheCellLeftAtASurfacePiecesBorderGetsItsLeaveEvent) {
    struct Edge {
        i32 facing, dx, dy;
    };
    const Edge edges[] = {{0, 0, -1}, {90, -1, 0}, {180, 0, 1}, {270, 1, 0}};
    LeaveLog objects;
    bool crossed = false;
    for (u32 i = 0; i < built.base->SectionCount() && !crossed; ++i) {
        CMapSection* piece = built.base->SectionAt(i);
        if (!piece || !piece->IsSurface()) continue;
        for (const Edge& e : edges)
            for (i32 along = 8; along <= 26 && !crossed; ++along) {
                view->EnterMapAt(built.base.get(), piece, 10, 10, 0);
                Settle();
                const i32 x = e.dx ? (e.dx < 0 ? 7 : 27) : along, y = e.dy ? (e.dy < 0 ? 7 : 27) : along;
                const CMapCell* edge = view->window.Cell(x, y);
                const CMapCell* beyond = view->window.Cell(x + e.dx, y + e.dy);
                if (!edge || !beyond || edge->centre == kNoCellIndex || beyond->centre != kNoCellIndex ||
                    beyond->creature[0] || view->window.SectorSection(x + e.dx, y + e.dy) == piece)
                    continue;
                objects.left.clear();
                view->SetObjects(&objects);
                PlaceAt(x - 7, y - 7, e.facing);  // by the piece's own cells
                Key(1000);
                Settle();
                view->SetObjects(nullptr);
                if (view->section == piece) continue;  // the ground beyond held the player back
                crossed = true;
                ASSERT_EQ(objects.left.size(), 1u);
                EXPECT_EQ(objects.left[0].section, piece);
                // The window moved by a piece: the edge now lies in its margin.
                EXPECT_EQ(objects.left[0].x, x - 21 * e.dx);
                EXPECT_EQ(objects.left[0].y, y - 21 * e.dy);
            }
    }
    EXPECT_TRUE(crossed) << "some piece of the vale has such an edge";
}

TEST_F(GameScreenTest, TheSavedViewStateComesBackTidied) {
    PlaceAt(20, 21, 180);
    CGameViewState saved;
    view->StoreState(saved);
    EXPECT_EQ(saved.cellX, 20u);
    EXPECT_EQ(saved.cellY, 21u);
    EXPECT_EQ(saved.facing, 180u);
    EXPECT_EQ(saved.clock, view->gameClock.minutes);
    view->ResetState();
    EXPECT_EQ(view->gameClock.minutes, 0u);
    EXPECT_EQ(view->section, nullptr);
    saved.facing = 135;
    saved.screenMode = 4;
    view->RestoreState(saved);
    EXPECT_EQ(view->facing, 90);
    EXPECT_EQ(view->playerX, 20);
    EXPECT_EQ(view->playerY, 21);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    saved.cellX = 99;
    view->RestoreState(saved);
    EXPECT_EQ(view->playerX, 17) << "a cell outside the window is none of the map's";
}

TEST_F(GameScreenTest, AnActionRunningHoldsTheEventsBackAndAnAttackTakesAMinute) {
    Actions fight;
    view->SetActions(&fight);
    const u32 clock = view->gameClock.minutes;
    ++rig.game.tickCounter;
    view->OnKey(3000);
    EXPECT_EQ(fight.running, 1);
    EXPECT_EQ(view->gameClock.minutes, clock + 1);
    view->PostMessageEvent("Waits for the swing.", 1, "");
    Tick();
    EXPECT_GT(fight.steps, 0);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal) << "the event waits while an action runs";
    fight.running = 0;
    Tick();
    EXPECT_EQ(view->screenMode, CGameScreen::kModeMessage);
    // A map that forbids attacks says so.
    view->OnCommand(CButtonBar::kOk);
    view->section->flags |= 0x04;
    ++rig.game.tickCounter;
    view->OnKey(3000);
    view->section->flags &= static_cast<u16>(~0x04);
    EXPECT_EQ(fight.running, 0);
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "Attack is forbidden on this map.");
    view->SetActions(nullptr);
}
