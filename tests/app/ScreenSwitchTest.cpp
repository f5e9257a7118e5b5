#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "ui/Screen.h"

namespace {

// A screen that writes every Enter, Leave and Resume into a shared log.
class LogScreen : public CScreen {
public:
    LogScreen(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void Enter(u32 a, u32 b, u32 c, u32 d) override {
        CScreen::Enter(a, b, c, d);
        log_.push_back("enter " + name_ + " " + std::to_string(a) + "," + std::to_string(b) + "," +
                       std::to_string(c) + "," + std::to_string(d));
    }
    void Leave() override {
        CScreen::Leave();
        log_.push_back("leave " + name_);
    }
    void Resume() override {
        CScreen::Resume();
        log_.push_back("resume " + name_);
    }
    u32 OnTick(u32 tick) override {
        ++ticks;
        return tickAnswer;
    }
    u32 tickAnswer = 0;
    int ticks = 0;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class ScreenSwitch : public testing::Test {
protected:
    void SetUp() override {
        game.screenStack = std::make_unique<CPointerArray>();
        for (u32 id : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u, 15u}) {
            auto s = std::make_unique<LogScreen>("s" + std::to_string(id), log);
            s->Attach(&game);
            game.SetScreen(id, std::move(s));
        }
    }
    LogScreen* S(u32 id) { return static_cast<LogScreen*>(game.GetScreen(id)); }
    // Makes `id` current with the given entry words and forgets the log so far.
    void Start(u32 id, u32 a = 0, u32 b = 0, u32 c = 0, u32 d = 0) {
        game.currentScreen = S(id);
        S(id)->Enter(a, b, c, d);
        log.clear();
    }
    u32 StackSize() const { return game.screenStack->GetCount(); }

    std::vector<std::string> log;
    CGame game;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(ScreenSwitch, TheFirstSwitchEntersTheSplashScreenWithZeroWords) {
    ASSERT_EQ(game.currentScreen, nullptr);
    game.SwitchScreen(6);
    EXPECT_EQ(log, (Log{"enter s6 0,0,0,0"}));
    EXPECT_EQ(game.currentScreen, S(6));
}

TEST_F(ScreenSwitch, KeptScreenIsPushedAndResumedOnBack) {
    Start(1, 11, 12, 13, 14);
    S(1)->keepOnStack = 1;
    game.SwitchScreen(4);
    EXPECT_EQ(log, (Log{"enter s4 11,12,13,14"}));
    EXPECT_EQ(StackSize(), 1u);

    log.clear();
    game.SwitchScreen(99);
    EXPECT_EQ(log, (Log{"leave s4", "resume s1"}));
    EXPECT_EQ(game.currentScreen, S(1));
    EXPECT_EQ(S(1)->keepOnStack, 0u);
    EXPECT_EQ(StackSize(), 0u);
}

TEST_F(ScreenSwitch, CodesThatNameNoScreenReenterTheCurrentOne) {
    struct Case {
        u32 code;
    } cases[] = {{0}, {13}, {16}, {98}, {99} /* empty stack */, {100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Start(9, 1, 2, 3, 4);
        game.SwitchScreen(c.code);
        EXPECT_EQ(log, (Log{"leave s9", "enter s9 1,2,3,4"}));
        EXPECT_EQ(game.currentScreen, S(9));
        EXPECT_EQ(StackSize(), 0u);
    }
}

TEST_F(ScreenSwitch, EveryScreenIdIsReachableAndTheLeftScreensWordsTravel) {
    for (u32 id : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 14u, 15u}) {
        SCOPED_TRACE(id);
        u32 from = id == 9 ? 8 : 9;
        Start(from, 5, 6, 7, 8);
        game.SwitchScreen(id);
        EXPECT_EQ(log, (Log{"leave s" + std::to_string(from), "enter s" + std::to_string(id) + " 5,6,7,8"}));
        EXPECT_EQ(game.currentScreen, S(id));
    }
}

TEST_F(ScreenSwitch, StackOperations) {
    // Three kept screens: 1 under 4 under 2, with 3 current.
    Start(1);
    for (u32 next : {4u, 2u, 3u}) {
        static_cast<CScreen*>(game.currentScreen)->keepOnStack = 1;
        game.SwitchScreen(next);
    }
    ASSERT_EQ(StackSize(), 3u);
    log.clear();
    game.PopScreensToOne();
    EXPECT_EQ(log, (Log{"leave s2", "leave s4"}));
    ASSERT_EQ(StackSize(), 1u);
    EXPECT_EQ(game.screenStack->GetAt(0), S(1));

    game.PopAllScreens();
    EXPECT_EQ(StackSize(), 0u);

    // The release leaves stacked screens from the bottom and clears their flags.
    Start(5);
    for (u32 next : {7u, 8u}) {
        static_cast<CScreen*>(game.currentScreen)->keepOnStack = 1;
        game.SwitchScreen(next);
    }
    log.clear();
    game.LeaveStackedScreens();
    EXPECT_EQ(log, (Log{"leave s5", "leave s7"}));
    EXPECT_EQ(S(5)->keepOnStack, 0u);
    EXPECT_EQ(S(7)->keepOnStack, 0u);
}

TEST_F(ScreenSwitch, AKeptScreenThatBecomesCurrentLeavesNoStaleStackEntry) {
    Start(1);
    S(1)->keepOnStack = 1;
    game.SwitchScreen(4);
    log.clear();
    // The panel switches straight back to the game view's own id instead of answering 99.
    game.SwitchScreen(1);
    EXPECT_EQ(log, (Log{"leave s4", "resume s1"}));
    EXPECT_EQ(StackSize(), 0u);

    // A kept screen answering a code that names no screen stays current, not on the stack.
    log.clear();
    S(1)->keepOnStack = 1;
    game.SwitchScreen(50);
    EXPECT_EQ(log, (Log{"resume s1"}));
    EXPECT_EQ(StackSize(), 0u);
}

TEST_F(ScreenSwitch, TickAdvancesTheCounterButReachesNoScreenWithoutVideo) {
    Start(9);
    S(9)->tickAnswer = 4;
    EXPECT_EQ(game.Tick(), 0u);
    EXPECT_EQ(game.tickCounter, 1u);
    EXPECT_EQ(S(9)->ticks, 0);
    EXPECT_EQ(game.currentScreen, S(9));
}

TEST(ScreenSlots, SlotOrderAndUnknownIds) {
    struct Case {
        u32 id;
        int slot;
    } cases[] = {{1, 0},   {5, 4},   {7, 5},  {6, 6},   {8, 7},   {12, 11},
                 {14, 12}, {15, 13}, {0, -1}, {13, -1}, {16, -1}, {99, -1}};
    for (const Case& c : cases) EXPECT_EQ(ScreenSlotOf(c.id), c.slot) << c.id;
}
