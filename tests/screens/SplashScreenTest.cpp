#include <gtest/gtest.h>

#include "app/Game.h"
#include "data/RecordHolder.h"
#include "display/Picture.h"
#include "platform/Clock.h"
#include "screens/frontend/SplashScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/Layout.h"

namespace {

using Rig = testing_support::FrameRig;

// A splash screen on a game without video output: timing and input only.
struct BareSplash {
    explicit BareSplash(u32 mode = 15) {
        game.layoutMode = mode;
        auto owned = std::make_unique<CSplashScreen>();
        splash = owned.get();
        game.SetScreen(kScreenSplash, std::move(owned));
        splash->Attach(&game);
    }
    plat::ManualClock clock;
    plat::ScopedClock scoped{clock};
    CGame game;
    CSplashScreen* splash = nullptr;  // owned by the game
};

}  // namespace

TEST(Splash, AKeyOrAPenTapSkipsToTheMenuButADragDoesNot) {
    struct Case {
        const char* what;
        bool pen;
        u32 key, down, moving;
        u32 expected;
    } cases[] = {
        {"use key", false, kCommandUse, 0, 0, kScreenMainMenu},
        {"cancel key", false, kCommandCancel, 0, 0, kScreenMainMenu},
        {"forward key", false, kCommandForward, 0, 0, kScreenMainMenu},
        {"no key", false, 0, 0, 0, kScreenStay},
        {"pen tap", true, 0, 1, 0, kScreenMainMenu},
        {"pen drag", true, 0, 1, 1, kScreenStay},
        {"pen release", true, 0, 0, 0, kScreenStay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BareSplash s;
        s.splash->Enter(4, 5, 6, 7);
        u32 code = c.pen ? s.splash->OnPen(100, 100, c.down, c.moving) : s.splash->OnKey(c.key);
        EXPECT_EQ(code, c.expected);
        // Going to the menu hands it four zero words; staying keeps them.
        u32 words = s.splash->entryA | s.splash->entryB | s.splash->entryC | s.splash->entryD;
        EXPECT_EQ(words == 0, c.expected == kScreenMainMenu);
    }
}

TEST(Splash, StrokesStepEvery100msAfterTheirDelaysThenTheTitleShowsFor2000ms) {
    BareSplash s;
    // Stroke 0 has three points, stroke 1 two points after a delay of two steps; the rest are empty.
    const i16 three[] = {10, 10, 13, 10, 16, 10, 0};
    const i16 two[] = {20, 20, 23, 20, 0};
    const i16* lists[kSplashStrokeCount] = {three, two};
    u16 delays[kSplashStrokeCount] = {0, 2};
    s.splash->BuildStrokes(lists, delays);
    s.clock.SetTick(5000);
    s.splash->Enter(0, 0, 0, 0);
    CSplashScreen& sp = *s.splash;

    struct Step {
        u32 advance;
        u16 drawn0, drawn1;
        u32 phase;
        u32 code;
    } steps[] = {
        {99, 0, 0, CSplashScreen::kDrawing, kScreenStay},   // not yet 100 ms
        {1, 1, 0, CSplashScreen::kDrawing, kScreenStay},    // step 1: stroke 1 waits (2 -> 1)
        {60, 1, 0, CSplashScreen::kDrawing, kScreenStay},   // 60 ms after the step: nothing
        {40, 2, 0, CSplashScreen::kDrawing, kScreenStay},   // step 2: stroke 1 waits (1 -> 0)
        {100, 3, 1, CSplashScreen::kDrawing, kScreenStay},  // step 3: stroke 0 ends, stroke 1 starts
        // Step 4 draws the last point of stroke 1 without a spark: no stroke did work, so the writing
        // is over.
        {100, 3, 2, CSplashScreen::kFinishing, kScreenStay},
        {30, 3, 2, CSplashScreen::kShowing, kScreenStay},  // the finished title goes up
        {1999, 3, 2, CSplashScreen::kShowing, kScreenStay},
        {1, 3, 2, CSplashScreen::kShowing, kScreenMainMenu},
    };
    u32 tick = 0;
    for (const Step& st : steps) {
        SCOPED_TRACE(testing::Message() << "at " << s.clock.TickCount() + st.advance);
        s.clock.Advance(st.advance);
        EXPECT_EQ(sp.OnTick(++tick), st.code);
        EXPECT_EQ(sp.drawn[0], st.drawn0);
        EXPECT_EQ(sp.drawn[1], st.drawn1);
        EXPECT_EQ(sp.phase, st.phase);
    }
}

TEST(Splash, AStrokeThatWaitsIsNotCutOffWhenTheOthersHaveEnded) {
    BareSplash s;
    const i16 one[] = {10, 10, 0};
    const i16 late[] = {20, 20, 23, 20, 0};
    const i16* lists[kSplashStrokeCount] = {one, late};
    u16 delays[kSplashStrokeCount] = {0, 5};
    s.splash->BuildStrokes(lists, delays);
    s.splash->Enter(0, 0, 0, 0);
    for (u32 i = 0; i < 20 && s.splash->phase == CSplashScreen::kDrawing; ++i) {
        s.clock.Advance(100);
        s.splash->OnTick(i + 1);
    }
    EXPECT_EQ(s.splash->drawn[1], 2);
}

TEST(Splash, SmallLayoutsStoreTwoThirdsOfEveryCoordinateMinusOne) {
    const i16 list[] = {90, 90, 3, 60, 1, 250, 0};
    const i16* lists[kSplashStrokeCount] = {list};
    u16 delays[kSplashStrokeCount] = {};
    struct Case {
        u32 mode;
        i16 x[3], y[3];
    } cases[] = {
        {15, {90, 3, 1}, {90, 60, 250}},
        {9, {90, 3, 1}, {90, 60, 250}},
        {6, {59, 1, -1}, {59, 39, 165}},
        {2, {59, 1, -1}, {59, 39, 165}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        BareSplash s(c.mode);
        s.splash->BuildStrokes(lists, delays);
        ASSERT_EQ(s.splash->strokes[0].count, 3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(s.splash->strokes[0].x[k], c.x[k]);
            EXPECT_EQ(s.splash->strokes[0].y[k], c.y[k]);
        }
    }
}

TEST(Splash, TheBuiltInStrokesFitTheirTableAndTheTitle) {
    BareSplash s;
    u32 longest = 0;
    for (int i = 0; i < kSplashStrokeCount; ++i) {
        const CSplashStroke& st = s.splash->strokes[i];
        EXPECT_GT(st.count, 1) << i;
        EXPECT_EQ(st.delay, kSplashStrokeDelays[i]);
        longest = std::max<u32>(longest, st.delay + st.count);
        for (int k = 0; k < st.count; ++k) {
            // The block and a 5 x 5 spark stay inside the 250 x 66 title, which the finished picture
            // covers again at the end.
            EXPECT_GE(st.x[k], 1);
            EXPECT_LE(st.x[k] + 5, 250);
            EXPECT_GE(st.y[k], 0);
            EXPECT_LE(st.y[k] + 5, 66);
        }
    }
    // The writing takes a few seconds, not more.
    EXPECT_LE(longest, 70u);

    // A list without its end is cut at 100 points.
    std::vector<i16> endless(2 * 150, 7);
    endless.push_back(0);
    const i16* lists[kSplashStrokeCount] = {endless.data()};
    u16 delays[kSplashStrokeCount] = {};
    s.splash->BuildStrokes(lists, delays);
    EXPECT_EQ(s.splash->strokes[0].count, kSplashStrokeMaxPoints);
}

TEST(Splash, TheLayoutModeChoosesThePictures) {
    struct Case {
        u32 mode;
        u16 finished, hidden, second;
    } cases[] = {{15, 3521, 3522, 3523},
                 {10, 3521, 3522, 3523},
                 {3, 3521, 3522, 3523},
                 {6, 4033, 4034, 4035},
                 {16, 4033, 4034, 4035}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        BareSplash s(c.mode);
        s.splash->Enter(0, 0, 0, 0);
        EXPECT_EQ(s.splash->finished.recordId, c.finished);
        EXPECT_EQ(s.splash->hidden.recordId, c.hidden);
        EXPECT_EQ(s.splash->second.recordId, c.second);
        EXPECT_EQ(s.splash->tips[0].recordId, 3524);
        EXPECT_EQ(s.splash->tips[3].recordId, 3527);
    }
}

TEST(SplashInGame, EachStepRevealsTheHiddenTitleBehindTheStrokeWithASparkAtItsTip) {
    Rig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame* game = rig.Game();
    auto* splash = static_cast<CSplashScreen*>(game->GetScreen(kScreenSplash));
    ASSERT_EQ(rig.Current(), splash);
    ASSERT_TRUE(splash->hidden.IsLoaded());

    // The frame is black before the first step.
    testing_support::Rgb565Image frame = rig.Capture();
    ASSERT_EQ(frame.width, 800);
    for (u16 p : frame.pixels) ASSERT_EQ(p, 0);

    // One stroke to the right along the middle of the title: a spark never reaches back over the
    // blocks behind it.
    std::vector<i16> line;
    for (i16 k = 0; k < 10; ++k) line.insert(line.end(), {static_cast<i16>(60 + 3 * k), 30});
    line.push_back(0);
    const i16* lists[kSplashStrokeCount] = {line.data()};
    u16 delays[kSplashStrokeCount] = {};
    splash->BuildStrokes(lists, delays);
    splash->Enter(0, 0, 0, 0);
    for (int i = 0; i < 5; ++i) rig.Tick(100);
    ASSERT_EQ(splash->drawn[0], 5);

    frame = rig.Capture();
    CPictureData hidden;
    ASSERT_TRUE(ReadPicture(splash->hidden.data, splash->hidden.Size(), hidden));
    auto shown = [&](i32 px, i32 py) { return frame.At(splash->originAX + px, splash->originAY + py); };
    for (int k = 0; k < 4; ++k)
        for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx) {
                i32 px = 60 + 3 * k + dx, py = 30 + dy;
                ASSERT_EQ(shown(px, py), PictureTexel(hidden, px, py)) << k << " " << dx << "," << dy;
            }
    // Beyond the tip nothing is revealed yet, but the tip itself carries a spark.
    EXPECT_EQ(shown(60 + 3 * 6, 31), 0);
    int sparkPixels = 0;
    for (int dy = 0; dy < 5; ++dy)
        for (int dx = 0; dx < 5; ++dx) {
            i32 px = 72 + dx, py = 30 + dy;
            u16 p = shown(px, py);
            bool revealed = dx < 3 && dy < 3 && p == PictureTexel(hidden, px, py);
            if (p != 0 && !revealed) ++sparkPixels;
        }
    EXPECT_GT(sparkPixels, 0);
}

TEST(SplashInGame, TheFinishedTitleStandsFor2000msAndTheMenuFollows) {
    Rig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame* game = rig.Game();
    auto* splash = static_cast<CSplashScreen*>(game->GetScreen(kScreenSplash));
    u32 guard = 0;
    while (splash->phase != CSplashScreen::kShowing && ++guard < 200) rig.Tick(100);
    ASSERT_EQ(splash->phase, CSplashScreen::kShowing);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/splash_finished_mode15", rig.Capture()));
    rig.Tick(1980);
    EXPECT_EQ(rig.Current(), splash);
    rig.Tick(30);
    EXPECT_EQ(rig.Current(), game->GetScreen(kScreenMainMenu));
    EXPECT_FALSE(splash->hidden.IsLoaded());  // released on leaving
}

TEST(SplashInGame, AKeyOrAClickThroughTheFrameGoesToTheMenu) {
    for (int how = 0; how < 2; ++how) {
        SCOPED_TRACE(how == 0 ? "key" : "click");
        Rig rig;
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        rig.Tick(100);
        if (how == 0)
            rig.Key(27);
        else
            rig.Tap(400, 300);
        EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    }
}
