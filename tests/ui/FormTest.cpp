#include <gtest/gtest.h>

#include <vector>

#include "app/Game.h"
#include "ui/Form.h"
#include "ui/Screen.h"
#include "ui/Widget.h"

namespace {

// A widget that answers every offered event with a fixed command and records what it saw.
class ProbeWidget : public CWidget {
public:
    ProbeWidget(u8 caps, u32 answer, std::vector<int>* order = nullptr, int name = 0)
        : CWidget(caps), answer(answer), order(order), name(name) {}
    u32 OnKey(u32 key) override { return Seen(); }
    u32 OnPen(i32, i32, u32, u32) override { return Seen(); }
    u32 OnTick(u32) override { return Seen(); }
    void Draw() override { ++draws; }
    u32 Seen() {
        ++events;
        if (order) order->push_back(name);
        return answer;
    }
    u32 answer;
    std::vector<int>* order;
    int name;
    int events = 0;
    int draws = 0;
};

// A screen that counts its draws and records the commands it is handed.
class ProbeScreen : public CScreen {
public:
    void Draw() override {
        ++draws;
        CScreen::Draw();
    }
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        return answer;
    }
    int draws = 0;
    u32 answer = 0;
    std::vector<u32> commands;
};

class Forms : public testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<ProbeScreen>();
        screen = owned.get();
        screen->Attach(&game);
        game.SetScreen(9, std::move(owned));
        game.currentScreen = screen;
        game.tickCounter = 100;
        screen->Enter(0, 0, 0, 0);
    }
    ProbeWidget* Add(u8 caps, u32 answer, std::vector<int>* order = nullptr, int name = 0) {
        widgets.push_back(std::make_unique<ProbeWidget>(caps, answer, order, name));
        widgets.back()->Attach(screen);
        screen->AddWidget(widgets.back().get());
        return widgets.back().get();
    }
    CGame game;
    ProbeScreen* screen = nullptr;
    std::vector<std::unique_ptr<ProbeWidget>> widgets;
};

}  // namespace

TEST_F(Forms, PenGuardIgnoresTheOpeningTapAndMovesWithoutAPress) {
    ProbeWidget* w = Add(kWidgetTakesPen, 0);
    // Same tick as the Enter: the pen-up of the tap that opened the screen is ignored.
    EXPECT_EQ(screen->OnPen(10, 10, 0, 0), 0u);
    EXPECT_EQ(w->events, 0);
    game.tickCounter++;
    // A later drag without a new pen-down is ignored too.
    EXPECT_EQ(screen->OnPen(10, 10, 1, 1), 0u);
    EXPECT_EQ(w->events, 0);
    // The next pen-down is accepted, and so is everything after it.
    screen->OnPen(10, 10, 1, 0);
    screen->OnPen(12, 10, 1, 1);
    screen->OnPen(12, 10, 0, 0);
    EXPECT_EQ(w->events, 3);
}

TEST_F(Forms, InputGoesFromTheLastAddedWidgetDownUntilOneAnswers) {
    std::vector<int> order;
    Add(kWidgetTakesPen | kWidgetTakesKeys, 7, &order, 1);
    Add(kWidgetTakesPen | kWidgetTakesKeys, 0, &order, 2);
    Add(kWidgetTakesTicks, 0, &order, 3);  // takes no keys or pen: never offered them
    game.tickCounter++;
    screen->OnPen(5, 5, 1, 0);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
    EXPECT_EQ(screen->commands, (std::vector<u32>{7}));

    order.clear();
    screen->OnKey(kCommandUse);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));

    // A pen-disabled widget is not offered pen events, but still keys.
    widgets[1]->EnablePen(0);
    order.clear();
    screen->OnPen(5, 5, 1, 0);
    EXPECT_EQ(order, (std::vector<int>{1}));
    order.clear();
    screen->OnKey(kCommandUse);
    EXPECT_EQ(order, (std::vector<int>{2, 1}));

    // A hidden widget gets nothing.
    widgets[0]->Show(0);
    order.clear();
    screen->OnKey(kCommandUse);
    EXPECT_EQ(order, (std::vector<int>{2}));
}

TEST_F(Forms, ModalChildTakesAllInput) {
    ProbeWidget* under = Add(kWidgetTakesKeys | kWidgetTakesTicks, 5);
    ProbeScreen dialog;
    dialog.Attach(&game);
    ProbeWidget inDialog(kWidgetTakesKeys, 0);
    inDialog.Attach(&dialog);
    dialog.AddWidget(&inDialog);
    dialog.answer = 42;
    screen->OpenModal(&dialog);
    EXPECT_EQ(dialog.parent, screen);
    EXPECT_NE(dialog.flags & kFormRedrawAll, 0);

    screen->OnKey(kCommandUse);
    screen->OnTick(1);
    EXPECT_EQ(under->events, 0);
    EXPECT_EQ(inDialog.events, 1);

    // The dialog's own command result comes back unchanged.
    inDialog.answer = 9;
    EXPECT_EQ(screen->OnKey(kCommandUse), 42u);
    EXPECT_EQ(dialog.commands, (std::vector<u32>{9}));

    screen->CloseModal();
    EXPECT_EQ(screen->modalChild, nullptr);
    EXPECT_NE(screen->flags & kFormRedrawAll, 0);
    screen->OnKey(kCommandUse);
    EXPECT_EQ(under->events, 1);
}

TEST_F(Forms, DrawCounts) {
    ProbeWidget* w = Add(kWidgetTakesKeys | kWidgetTakesTicks, 0);
    // No command: one draw. A command on the current screen: drawn, handled, drawn again.
    screen->draws = 0;
    screen->OnKey(kCommandUse);
    EXPECT_EQ(screen->draws, 1);
    w->answer = 3;
    screen->draws = 0;
    screen->OnKey(kCommandUse);
    EXPECT_EQ(screen->draws, 2);
    // A tick whose command OnCommand answers with 0 still draws exactly once.
    screen->draws = 0;
    EXPECT_EQ(screen->OnTick(1), 0u);
    EXPECT_EQ(screen->draws, 1);
    // Not the current screen: no second draw after the command.
    game.currentScreen = nullptr;
    screen->draws = 0;
    screen->OnKey(kCommandUse);
    EXPECT_EQ(screen->draws, 1);
}

TEST_F(Forms, WidgetListAndRedrawBits) {
    ProbeWidget* w = Add(0, 0);
    w->state = 0;
    screen->AddWidget(w);  // already there: not added twice, but placed again
    EXPECT_EQ(screen->widgets.GetCount(), 1);
    EXPECT_EQ(w->state, kWidgetPlaced);

    // Only widgets with the redraw bit are drawn unless everything is redrawn; the bit is cleared.
    screen->DrawWidgets();  // redraw-all from Enter
    EXPECT_EQ(w->draws, 1);
    EXPECT_EQ(w->state & kWidgetRedraw, 0);
    screen->DrawWidgets();
    EXPECT_EQ(w->draws, 1);

    screen->RemoveWidget(w);
    EXPECT_EQ(screen->widgets.GetCount(), 0);
    EXPECT_EQ(w->state & kWidgetVisible, 0);
    EXPECT_NE(screen->flags & kFormRedrawAll, 0);

    // Leaving removes every widget, and an empty form still asks for a full repaint.
    Add(0, 0);
    screen->flags = 0;
    screen->Leave();
    EXPECT_EQ(screen->widgets.GetCount(), 0);
    EXPECT_NE(screen->flags & kFormRedrawAll, 0);
    screen->flags = 0;
    screen->RemoveAllWidgets();
    EXPECT_NE(screen->flags & kFormRedrawAll, 0);
}

TEST(Widgets, PlacementFromLayoutRecords) {
    CGame game;
    CScreen form;
    form.Attach(&game);
    form.x = 100;
    form.y = 50;
    CWidget w;
    w.Attach(&form);
    const u8 element[10] = {44, 0, 10, 0, 20, 0, 30, 0, 40, 0};
    w.state = kWidgetPressed | kWidgetLatched | kWidgetVisible;
    w.SetLayoutRect(element);
    EXPECT_EQ(w.id, 44);
    EXPECT_EQ(w.x, 110);
    EXPECT_EQ(w.y, 70);
    EXPECT_EQ(w.w, 30);
    EXPECT_EQ(w.h, 40);
    EXPECT_EQ(w.state, kWidgetPlaced);
    w.SetLayoutRect(nullptr);
    EXPECT_EQ(w.state, 0);

    struct Case {
        u16 w, h;
        i32 x, y;
        bool inside;
    } cases[] = {
        {30, 40, 110, 70, true},   {30, 40, 139, 109, true}, {30, 40, 140, 70, false},
        {30, 40, 110, 110, false}, {30, 40, 109, 70, false}, {0, 40, 110, 70, false},
        {30, 0, 110, 70, false},
    };
    for (const Case& c : cases) {
        w.SetRect(110, 70, c.w, c.h);
        EXPECT_EQ(w.Contains(c.x, c.y), c.inside) << c.w << "x" << c.h << " at " << c.x << "," << c.y;
    }

    w.state = kWidgetPlaced;
    form.flags = 0;
    w.Show(0);
    EXPECT_NE(form.flags & kFormRedrawAll, 0);
    w.state = 0;
    w.Show(1);
    EXPECT_EQ(w.state, kWidgetVisible | kWidgetRedraw);
}

TEST(Widgets, APressSlidesFromOneButtonToAnother) {
    CWidget a, b;
    a.SetRect(0, 0, 10, 10);
    b.SetRect(20, 0, 10, 10);
    auto pen = [&](i32 x, u32 down) {
        u32 ra = a.TrackPress(x, 5, down, 1);
        u32 rb = b.TrackPress(x, 5, down, 2);
        return ra ? ra : rb;
    };
    EXPECT_EQ(pen(5, 1), 0u);
    EXPECT_NE(a.state & kWidgetPressed, 0);
    EXPECT_EQ(pen(25, 1), 0u);  // the drag leaves a and presses b
    EXPECT_EQ(a.state & kWidgetPressed, 0);
    EXPECT_NE(b.state & kWidgetPressed, 0);
    EXPECT_EQ(pen(25, 0), 2u);
    EXPECT_EQ(b.state & kWidgetPressed, 0);
    // A pen-up inside without a press gives nothing; a tap widget answers only a pen-down.
    EXPECT_EQ(pen(5, 0), 0u);
    a.id = 77;
    EXPECT_EQ(a.HitTestTap(5, 5, 1, 0), 77u);
    EXPECT_EQ(a.HitTestTap(5, 5, 1, 1), 0u);
    EXPECT_EQ(a.HitTestTap(5, 5, 0, 0), 0u);
    EXPECT_EQ(a.HitTestTap(15, 5, 1, 0), 0u);
}
