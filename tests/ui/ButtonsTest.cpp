#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/WidgetRig.h"
#include "ui/Buttons.h"
#include "ui/WidgetHelpers.h"

using widgetrig::MakePicture;
using widgetrig::Rig;

namespace {

struct Pen {
    i32 x, y;
    u32 down, moving;
    u32 result;    // what the button answers
    bool pressed;  // its pressed bit afterwards
};

// Runs a pen sequence on a button and checks each answer and the pressed bit after it.
template <typename Button>
void RunPen(Button& button, const char* what, const std::vector<Pen>& events) {
    for (size_t i = 0; i < events.size(); ++i) {
        const Pen& e = events[i];
        EXPECT_EQ(button.OnPen(e.x, e.y, e.down, e.moving), e.result) << what << ", event " << i;
        EXPECT_EQ((button.state & kWidgetPressed) != 0, e.pressed) << what << ", event " << i;
    }
}

// The button lies at (20, 20), 60 x 30; (30, 30) is inside, (100, 30) outside, (80, 30) just past the
// right edge.
const std::vector<std::pair<const char*, std::vector<Pen>>> kPressCases = {
    {"tap", {{30, 30, 1, 0, 0, true}, {30, 30, 0, 0, 7, false}}},
    {"press, drag inside, release",
     {{30, 30, 1, 0, 0, true}, {40, 35, 1, 1, 0, true}, {41, 35, 0, 0, 7, false}}},
    {"slide off and release outside",
     {{30, 30, 1, 0, 0, true}, {100, 30, 1, 1, 0, false}, {100, 30, 0, 0, 0, false}}},
    {"slide off and back",
     {{30, 30, 1, 0, 0, true}, {80, 30, 1, 1, 0, false}, {79, 30, 1, 1, 0, true}, {79, 49, 0, 0, 7, false}}},
    {"release inside without a press", {{30, 30, 0, 0, 0, false}}},
    {"bottom edge is outside", {{30, 50, 1, 0, 0, false}}},
};

struct ButtonRig : Rig {
    ButtonRig() : Rig(15, 160, 80) {
        InstallInterfacePictures();
        normal = MakePicture(60, 30, 0x2A69);
        pressed = MakePicture(60, 30, 0x5BD1);
        disabled = MakePicture(60, 30, 0x8410);
        set[0] = normal.get();
        set[1] = pressed.get();
        set[2] = disabled.get();
    }
    void Place(CWidget& w) {
        w.Attach(screen);
        screen->AddWidget(&w);
    }
    std::unique_ptr<CRecordHolder> normal, pressed, disabled;
    CRecordHolder* set[3] = {};
};

}  // namespace

TEST(Buttons, PictureAndTextButtonsFollowThePressProtocol) {
    for (const auto& [what, events] : kPressCases) {
        ButtonRig rig;
        CBitmapButton picture;
        rig.Place(picture);
        picture.SetPictures(rig.set, 7, 0);
        picture.SetRect(20, 20, 60, 30);
        RunPen(picture, what, events);

        CTextButton text;
        rig.Place(text);
        text.SetLabel("Ok", 7);
        text.SetRect(20, 20, 60, 30);
        RunPen(text, what, events);
    }
}

TEST(Buttons, AnAutoRepeatButtonFiresOnPressAndWhileHeldButNotOnRelease) {
    ButtonRig rig;
    CBitmapButton button;
    rig.Place(button);
    button.SetPictures(rig.set, 1000, 0);
    button.SetRect(20, 20, 60, 30);
    button.firesOnPress = 1;
    RunPen(button, "auto-repeat",
           {{30, 30, 1, 0, 1000, true},
            {31, 30, 1, 1, 1000, true},
            {31, 30, 1, 1, 1000, true},
            {31, 30, 0, 0, 0, false},
            {31, 30, 0, 0, 0, false}});
}

// With its pen bit cleared a picture button neither presses nor answers its shortcut key; it draws
// the disabled picture when it has one and the pressed one otherwise.
TEST(Buttons, APictureButtonWithoutPenShowsItsDisabledLookAndIgnoresItsKey) {
    ButtonRig rig;
    CBitmapButton button;
    rig.Place(button);
    button.SetPictures(rig.set, 5, 3006);
    EXPECT_EQ(button.w, 60);
    EXPECT_EQ(button.h, 30);
    button.SetRect(20, 20, 60, 30);
    EXPECT_EQ(button.OnKey(3006), 5u);
    EXPECT_EQ(button.OnKey(3007), 0u);
    button.EnablePen(0);
    EXPECT_EQ(button.OnKey(3006), 0u);
    EXPECT_EQ(button.OnPen(30, 30, 1, 0), 0u);
    EXPECT_EQ(button.state & kWidgetPressed, 0);

    button.Draw();
    EXPECT_EQ(rig.Pixel(40, 30), 0x5BD1) << "pressed picture without a disabled one";
    button.hasDisabledPicture = 1;
    button.Draw();
    EXPECT_EQ(rig.Pixel(40, 30), 0x8410) << "the disabled picture";
    button.EnablePen(1);
    button.state |= kWidgetLatched;
    button.Draw();
    EXPECT_EQ(rig.Pixel(40, 30), 0x5BD1) << "latched draws pressed";
    button.state &= ~kWidgetLatched;
    button.Draw();
    EXPECT_EQ(rig.Pixel(40, 30), 0x2A69);

    // A button without a picture has no size.
    CRecordHolder* none[3] = {nullptr, nullptr, nullptr};
    CBitmapButton empty;
    rig.Place(empty);
    empty.SetPictures(none, 1, 0);
    EXPECT_EQ(empty.w, 0);
    EXPECT_EQ(empty.h, 0);
}

// A press that starts on one button and slides onto another moves there; releasing gives the
// second button's command, through the form.
TEST(Buttons, APressSlidesFromOneButtonToTheNext) {
    ButtonRig rig;
    CTextButton a, b;
    rig.Place(a);
    rig.Place(b);
    a.SetLabel("Yes", 4);
    b.SetLabel("No", 8);
    a.SetRect(10, 10, 60, 30);
    b.SetRect(80, 10, 60, 30);
    rig.screen->AddWidget(&a);
    rig.screen->AddWidget(&b);
    rig.game.tickCounter++;
    EXPECT_EQ(rig.screen->OnPen(20, 20, 1, 0), 0u);
    EXPECT_NE(a.state & kWidgetPressed, 0);
    EXPECT_EQ(rig.screen->OnPen(90, 20, 1, 1), 0u);
    EXPECT_EQ(a.state & kWidgetPressed, 0);
    EXPECT_NE(b.state & kWidgetPressed, 0);
    rig.screen->OnPen(90, 20, 0, 0);
    EXPECT_EQ(rig.screen->commands, (std::vector<u32>{8}));
}

TEST(Buttons, TextButtonsSizeThemselvesToTheirLabel) {
    for (u32 mode : {15u, 2u}) {
        ButtonRig rig;
        rig.game.layoutMode = mode;
        CTextButton button;
        rig.Place(button);
        button.SetRect(33, 44, 1, 1);
        button.state |= kWidgetPressed;
        button.SetLabel("Continue", 16);
        i32 widest = 0, lines = 0;
        rig.fonts.MeasureText("Continue", 100, widest, lines);
        EXPECT_EQ(button.w, widest + (mode == 2 ? 26 : 40)) << mode;
        EXPECT_EQ(button.h, 30);
        EXPECT_EQ(button.x, 0);
        EXPECT_EQ(button.y, 0);
        EXPECT_EQ(button.state, kWidgetVisible | kWidgetEnabled);

        CRecordHolder* const* frames = StandardButtonFrames(&rig.game, true);
        button.SetRect(33, 44, 1, 1);
        button.SetLabelFrames("Continue", 16, frames, frames);
        EXPECT_EQ(button.w, widest + 40);
        EXPECT_EQ(button.x, 33);
        EXPECT_EQ(button.commandId, 16u);
    }
}

// The looks of both buttons: picture, caption on pictures, framed caption, each normal and pressed.
TEST(Buttons, DrawnLooks) {
    ButtonRig rig;
    rig.Clear(0x1082);
    CBitmapButton picture, captioned, framed;
    CTextButton text;
    for (CWidget* w : std::initializer_list<CWidget*>{&picture, &captioned, &framed, &text}) rig.Place(*w);
    picture.SetPictures(rig.set, 1, 0);
    captioned.SetPicturesAndText(rig.set, "Open", 2, 0);
    framed.SetFramedText(StandardButtonFrames(&rig.game, true), StandardButtonFrames(&rig.game, false), "Map",
                         3, 1, 0xFFFFFF, 0x202020, 0x00FFFF, 0x202020, 0);
    text.SetLabel("Cancel", 4);
    const std::pair<i32, i32> places[4] = {{4, 4}, {70, 4}, {4, 44}, {70, 44}};
    CWidget* all[4] = {&picture, &captioned, &framed, &text};
    for (int look = 0; look < 2; ++look) {
        rig.Clear(0x1082);
        for (int i = 0; i < 4; ++i) {
            all[i]->x = static_cast<u16>(places[i].first);
            all[i]->y = static_cast<u16>(places[i].second);
            if (all[i] == &framed) all[i]->w = 60, all[i]->h = 30;
            all[i]->state = static_cast<u16>((all[i]->state & ~kWidgetPressed) | (look ? kWidgetPressed : 0));
            all[i]->Draw();
        }
        EXPECT_TRUE(
            testing_support::MatchesGolden(look ? "ui/buttons_pressed" : "ui/buttons_normal", rig.Capture()));
    }
}
