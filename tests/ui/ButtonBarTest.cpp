#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/ui/WidgetRig.h"
#include "ui/ButtonBar.h"
#include "ui/TextView.h"
#include "ui/WidgetHelpers.h"

using widgetrig::Rig;

namespace {

// A 480 x 320 frame whose 3D view is the 400 x 300 rectangle at (0, 0); mode 15 unless asked.
struct BarRig : Rig {
    explicit BarRig(u32 mode = 15, int width = 480, int height = 320)
        : Rig(mode, width, height,
              widgetrig::RigView{0, 0, static_cast<u16>(width - 80), static_cast<u16>(height - 20)}) {
        InstallInterfacePictures();
        SetInterfaceSoundListener([this](u16 record, i32 volume) { sounds.emplace_back(record, volume); });
        bar.Attach(&game);
    }
    ~BarRig() { SetInterfaceSoundListener(nullptr); }

    // Shows a message over the screen the way every screen does.
    void Show(const char* text, u32 flags) {
        ShowMessageText(&game, &view, text, flags, &bar, screen);
        screen->OpenModal(&bar);
        screen->Draw();
    }
    void NextTick() { ++game.tickCounter; }
    std::vector<u32> ShownFlags() {
        std::vector<u32> out;
        for (int i = 0; i < bar.widgets.GetCount(); ++i)
            out.push_back(bar.widgets.At<CTextButton>(i)->commandId);
        return out;
    }
    CTextButton& Button(u32 flag) { return bar.buttons[std::countr_zero(flag)]; }

    CTextView view;
    CButtonBar bar;
    std::vector<std::pair<u16, i32>> sounds;
};

std::string Lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += (i > 1 ? "\r" : "") + ("line " + std::to_string(i));
    return text;
}

}  // namespace

// Sizes by flags and text in mode 15 (line pitch 27, margins 24, top margin 50, minimum height 154).
TEST(ButtonBar, LayoutSizesTheBoxByTextAndButtons) {
    {
        // No buttons, one line: the minimum box, the text dropped by the spare height and 10 more.
        BarRig rig;
        rig.Show("Hi", 0);
        EXPECT_EQ(rig.bar.flagCount, 0u);
        EXPECT_EQ(rig.bar.width, 180u);
        EXPECT_EQ(rig.bar.height, 154u);
        EXPECT_EQ(rig.bar.x, (480u - 180) / 2);
        EXPECT_EQ(rig.bar.y, (320u - 154) / 2);
        const i32 h0 = 27 * 1 + 2 * 50 + 5;
        EXPECT_EQ(rig.view.x, rig.bar.x + 24);
        EXPECT_EQ(rig.view.y, rig.bar.y + 50 + (154 - h0) / 2 + 10);
        EXPECT_EQ(rig.view.w, 180 - 48);
        EXPECT_EQ(rig.view.h, 154 - 120);
        EXPECT_EQ(rig.view.noPauses, 1u);
        EXPECT_EQ(rig.view.centred, 1u);
        EXPECT_EQ(rig.view.backgroundOn, 0u);
        EXPECT_EQ(rig.view.margin, 0);
        EXPECT_TRUE(rig.ShownFlags().empty());
    }
    {
        // Only a flag outside the ten: no button, but a row line is still reserved.
        BarRig rig;
        rig.Show("Hi", 1024);
        EXPECT_EQ(rig.bar.flagCount, 1u);
        EXPECT_TRUE(rig.ShownFlags().empty());
        EXPECT_EQ(rig.bar.height, 27u * 2 + 2 * 50 + 5);
        EXPECT_EQ(rig.view.y, rig.bar.y + 50);
    }
    {
        // "Ok" and "Continue": Ok leads the row, Continue is centred on its own; the row counts both.
        BarRig rig;
        ShowMessageText(&rig.game, &rig.view, "Hi", 1 | 16, &rig.bar, rig.screen);
        ASSERT_EQ(rig.ShownFlags(), (std::vector<u32>{1, 16}));
        CTextButton& ok = rig.Button(1);
        CTextButton& more = rig.Button(16);
        EXPECT_EQ(rig.bar.MeasureButtons(), ok.w + more.w + 5);
        const i32 rowWidth = ok.w + more.w + 5 + 30;
        const i32 barWidth = std::max(180, rowWidth + 48 + 20);
        EXPECT_EQ(static_cast<i32>(rig.bar.width), barWidth);
        EXPECT_EQ(ok.x, rig.bar.x + (barWidth - rowWidth) / 2 + 15);
        EXPECT_EQ(more.x, rig.bar.x + (barWidth - more.w) / 2);
        EXPECT_EQ(ok.y, more.y);
        EXPECT_EQ(ok.y, rig.bar.y + rig.view.h + 50);
        // Once all of the text is in, a draw lays the row out again 41 pixels below the text.
        rig.screen->OpenModal(&rig.bar);
        rig.screen->Draw();
        EXPECT_EQ(ok.x, rig.bar.x + (barWidth - (ok.w + more.w + 5)) / 2);
        EXPECT_EQ(ok.y, rig.bar.y + rig.view.h + 41);
    }
    {
        // A long line widens the box past the minimum; the message is wrapped to 4/5 of the view.
        BarRig rig;
        rig.Show("a message that is rather longer than the narrowest box", 1);
        EXPECT_GT(rig.bar.width, 180u);
        EXPECT_LE(rig.bar.width, 400u * 4 / 5 + 48 + 20 + 1);
    }
}

TEST(ButtonBar, WithoutButtonsAnyKeyOrATapInsideAnswersZero) {
    BarRig rig;
    rig.Show("Hi", 0);
    // The key that arrives in the tick of the layout is ignored.
    EXPECT_EQ(rig.screen->OnKey(3006), 0u);
    EXPECT_TRUE(rig.screen->commands.empty());
    rig.NextTick();
    rig.screen->OnKey(1000);
    EXPECT_EQ(rig.screen->commands, (std::vector<u32>{0}));
    EXPECT_EQ(rig.sounds, (std::vector<std::pair<u16, i32>>{{4032, 10}}));

    // Without a parent the answer is 1.
    BarRig lone;
    ShowMessageText(&lone.game, &lone.view, "Hi", 0, &lone.bar, lone.screen);
    lone.NextTick();
    EXPECT_EQ(lone.bar.OnKey(3007), 1u);

    // A pen up inside counts only after a pen down since the layout.
    BarRig tap;
    tap.Show("Hi", 0);
    tap.NextTick();
    const i32 cx = static_cast<i32>(tap.bar.x + 20), cy = static_cast<i32>(tap.bar.y + 20);
    EXPECT_EQ(tap.screen->OnPen(cx, cy, 0, 0), 0u);
    EXPECT_TRUE(tap.screen->commands.empty());
    tap.screen->OnPen(cx, cy, 1, 0);
    tap.screen->OnPen(static_cast<i32>(tap.bar.x + tap.bar.width), cy, 0, 0);  // just outside
    EXPECT_TRUE(tap.screen->commands.empty());
    tap.screen->OnPen(cx, cy, 1, 0);
    tap.screen->OnPen(cx, cy, 0, 0);
    EXPECT_EQ(tap.screen->commands, (std::vector<u32>{0}));
}

// Keys choose among the shown buttons: 3006 the first of Ok, Yes, Continue; 3007 the first of Cancel,
// No; 3000 (Enter where it strikes) the first of Ok, Yes, Continue when no Cancel or No is shown.
// A bar reused for another message answers with the new buttons only.
TEST(ButtonBar, KeysChooseTheShownButtons) {
    struct Case {
        u32 flags;
        u32 key;
        std::vector<u32> commands;
    } const cases[] = {
        {1, 3006, {1}},      {1, 3007, {}},      {2, 3007, {2}},           {1 | 2, 3006, {1}},
        {1 | 2, 3007, {2}},  {4 | 8, 3006, {4}}, {4 | 8, 3007, {8}},       {2 | 8, 3007, {2}},
        {32 | 64, 3006, {}}, {1, 1000, {}},      {1, 0x10000 | 3006, {1}},
        // The attack key answers a message with nothing to refuse, never a question.
        {1, 3000, {1}},      {4 | 8, 3000, {}},  {1 | 2, 3000, {}},        {2 | 8, 3000, {}},
    };
    for (const Case& c : cases) {
        BarRig rig;
        rig.Show("Hi", c.flags);
        rig.NextTick();
        rig.screen->OnKey(c.key);
        EXPECT_EQ(rig.screen->commands, c.commands) << "flags " << c.flags << ", key " << c.key;
    }
    BarRig rig;
    rig.Show("First", 1);
    rig.NextTick();
    rig.screen->OnKey(3006);
    rig.screen->CloseModal();
    rig.Show("Second", 4 | 8);
    EXPECT_EQ(rig.ShownFlags(), (std::vector<u32>{4, 8}));
    EXPECT_FALSE(rig.Button(1).IsShown());
    rig.NextTick();
    rig.screen->OnKey(3006);
    rig.screen->OnKey(3007);
    EXPECT_EQ(rig.screen->commands, (std::vector<u32>{1, 4, 8}));
}

TEST(ButtonBar, AButtonTappedAndReleasedAnswersItsFlagWithTheConfirmSound) {
    BarRig rig;
    rig.Show("Choose", 4 | 8);
    CTextButton& no = rig.Button(8);
    const i32 x = no.x + 5, y = no.y + 5;
    // The tap that opened the bar (same tick) and a release without a press do nothing.
    EXPECT_EQ(rig.screen->OnPen(x, y, 1, 0), 0u);
    rig.NextTick();
    rig.screen->OnPen(x, y, 0, 0);
    EXPECT_TRUE(rig.screen->commands.empty());
    rig.screen->OnPen(x, y, 1, 0);
    EXPECT_NE(no.state & kWidgetPressed, 0);
    rig.screen->OnPen(x, y, 0, 0);
    EXPECT_EQ(rig.screen->commands, (std::vector<u32>{8}));
    EXPECT_EQ(rig.sounds, (std::vector<std::pair<u16, i32>>{{4032, 10}}));
}

// Twelve lines in a large mode: the box is sized for ten; "Continue" pages on (with the click) until
// the last line is in, and then the flagged buttons replace it.
TEST(ButtonBar, TwelveLinesPageOnWithContinue) {
    BarRig rig(15, 640, 480);
    const std::string text = Lines(12);
    rig.Show(text.c_str(), 1);
    EXPECT_EQ(rig.bar.height, 27u * (10 + 1) + 2 * 50 + 5);
    EXPECT_EQ(rig.view.visibleRows, 10);
    EXPECT_EQ(rig.view.PendingCount(), 2u);
    EXPECT_EQ(rig.ShownFlags(), (std::vector<u32>{16}));
    EXPECT_TRUE(testing_support::MatchesGolden("ui/message_continue", rig.Capture()));

    rig.NextTick();
    rig.screen->OnKey(3006);  // Continue
    EXPECT_TRUE(rig.screen->commands.empty());
    EXPECT_EQ(rig.sounds, (std::vector<std::pair<u16, i32>>{{4031, 10}}));
    EXPECT_EQ(rig.view.PendingCount(), 0u);
    EXPECT_EQ(rig.ShownFlags(), (std::vector<u32>{1}));
    EXPECT_STREQ(rig.view.rows.At(9).text.GetText(), "line 12");
    EXPECT_TRUE(testing_support::MatchesGolden("ui/message_continued", rig.Capture()));
    rig.screen->OnKey(3006);
    EXPECT_EQ(rig.screen->commands, (std::vector<u32>{1}));
    EXPECT_TRUE(rig.clock.SleepLog().empty()) << "the served view takes its lines in without pauses";
}

TEST(ButtonBar, SmallModesUseTheirOwnMetrics) {
    BarRig rig(2);
    const std::string text = Lines(9);
    rig.Show(text.c_str(), 0);
    // At most eight lines in the small modes, pitch 16, top margin 34; no row line.
    EXPECT_EQ(rig.bar.height, 16u * 8 + 2 * 34 + 5);
    BarRig five(5);
    five.Show(text.c_str(), 0);
    EXPECT_EQ(five.bar.height, 16u * 6 + 2 * 34 + 5);
}

// In mode 16 the main menu's message box moves a quarter of the frame to the right.
TEST(ButtonBar, TheMainMenusBoxMovesRightInModeSixteen) {
    BarRig rig(16);
    rig.Show("Hi", 1);
    EXPECT_EQ(rig.bar.x, (480u - rig.bar.width) / 2 + 480 / 4);
    rig.game.currentScreen = rig.gameScreen;
    rig.bar.Layout(&rig.view, 1, 1);
    EXPECT_EQ(rig.bar.x, (480u - rig.bar.width) / 2);
    // Placement 0 centres on the 3D view instead.
    rig.bar.Layout(&rig.view, 1, 0);
    EXPECT_EQ(rig.bar.x, (400u - rig.bar.width) / 2);
    EXPECT_EQ(rig.bar.y, (300u - rig.bar.height) / 2);
}

TEST(ButtonBar, TicksReachNoButtonAndDrawNothing) {
    BarRig rig;
    rig.Show("Hi", 1);
    rig.Clear(0x1234);
    rig.NextTick();
    EXPECT_EQ(rig.screen->OnTick(rig.game.tickCounter), 0u);
    for (u16 p : rig.Capture().pixels) ASSERT_EQ(p, 0x1234);
}

TEST(ButtonBar, OwnsItsServedViewWhenAsked) {
    BarRig rig;
    auto* bar = new CButtonBar;
    bar->Attach(&rig.game);
    // A view that tells when it is destroyed.
    struct WatchedView : CTextView {
        explicit WatchedView(bool& gone) : gone(gone) {}
        ~WatchedView() override { gone = true; }
        bool& gone;
    };
    bool gone = false;
    auto view = std::make_unique<WatchedView>(gone);
    view->Attach(rig.screen);
    view->AddText("owned", 1, 0);
    bar->Layout(view.get(), 1, 0);
    bar->ownedView = std::move(view);
    delete bar;
    EXPECT_TRUE(gone);

    // A view it serves without owning it stays its owner's.
    bool released = false;
    WatchedView served(released);
    auto* other = new CButtonBar;
    other->Attach(&rig.game);
    served.Attach(rig.screen);
    other->Layout(&served, 1, 0);
    delete other;
    EXPECT_FALSE(released);
}

TEST(ButtonBar, DrawnMessages) {
    struct Case {
        const char* golden;
        const char* text;
        u32 flags;
    } const cases[] = {
        {"ui/message_ok", "The door is locked.", 1},
        {"ui/message_yes_no", "Do you want to rest\rhere for the night?", 4 | 8},
        {"ui/message_open_disarm_pick", "A trap guards the chest.", 128 | 256 | 512 | 2},
    };
    for (const Case& c : cases) {
        BarRig rig;
        rig.Show(c.text, c.flags);
        EXPECT_TRUE(testing_support::MatchesGolden(c.golden, rig.Capture())) << c.golden;
    }
}
