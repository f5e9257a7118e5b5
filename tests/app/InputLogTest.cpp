// The recorded input log: its reader refuses malformed lines by number, what it reads writes back the
// same, and the recorder keeps the window's input events (and only those) with their ticks.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/InputLog.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/TempDir.h"

namespace {

using K = EInputLogKind;

TEST(InputLog, ReadsEveryKindAndWritesItBackTheSame) {
    const std::string text =
        "# a comment\n"
        "\n"
        "0 key-down 87\r\n"
        "  35\tkey-up 87\n"
        "60 pen-down 400 300\n"
        "60 pen-move -5 100000\n"
        "90 pen-up 0 0\n"
        "120 close\n"
        "0 key-down 27\n"
        "4294967295 close";
    std::vector<CInputLogEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputLog(text, events, error)) << error;
    const std::vector<CInputLogEvent> expected = {
        {0, K::KeyDown, 87},        {35, K::KeyUp, 87},        {60, K::PenDown, 0, 400, 300},
        {60, K::PenMove, 0, -5, 100000}, {90, K::PenUp, 0, 0, 0}, {120, K::Close},
        {0, K::KeyDown, 27},        {4294967295u, K::Close},
    };
    EXPECT_EQ(events, expected);
    std::string written;
    for (const CInputLogEvent& e : events) written += FormatInputLogEvent(e) + "\n";
    EXPECT_EQ(FormatInputLogEvent(events[3]), "60 pen-move -5 100000");
    std::vector<CInputLogEvent> again;
    ASSERT_TRUE(ParseInputLog(written, again, error)) << error;
    EXPECT_EQ(again, events);
}

TEST(InputLog, RefusesMalformedLinesNamingTheLine) {
    struct Case {
        std::string text;
        const char* error;  // the start of the message
    } cases[] = {
        {"0 key-down 27\nx key-up 27\n", "line 2: tick is not a number"},
        {"-1 close\n", "line 1: tick is not a number"},
        {"+1 close\n", "line 1: tick is not a number"},
        {"4294967296 close\n", "line 1: tick is not a number"},
        {"99999999999999999999999 close\n", "line 1: tick is not a number"},
        {"10\n", "line 1: no event after the tick"},
        {"10 key-press 27\n", "line 1: unknown event 'key-press'"},
        {"10 key-down\n", "line 1: key-down takes 1 number(s)"},
        {"10 key-down 27 28\n", "line 1: key-down takes 1 number(s)"},
        {"10 close now\n", "line 1: close takes 0 number(s)"},
        {"10 pen-down 5\n", "line 1: pen-down takes 2 number(s)"},
        {"10 key-down 0\n", "line 1: key code is not a number of 1..255"},
        {"10 key-down 256\n", "line 1: key code is not a number of 1..255"},
        {"10 key-down 0x1B\n", "line 1: key code is not a number of 1..255"},
        {"10 pen-up 100001 0\n", "line 1: pen position is not two numbers"},
        {"10 pen-up 0 -100001\n", "line 1: pen position is not two numbers"},
        {"10 pen-up 1.5 0\n", "line 1: pen position is not two numbers"},
        {"50 key-down 27\n\n# gap\n40 key-up 27\n", "line 4: tick 40 is before the tick before it"},
        {std::string("10 key-down 27\nA\0B\n", 19), "line 2: NUL byte in line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<CInputLogEvent> events;
        std::string error;
        EXPECT_FALSE(ParseInputLog(c.text, events, error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
    // A line far longer than any real one is refused before it is split.
    std::vector<CInputLogEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputLog("1 close\n2 " + std::string(300, ' ') + "close\n", events, error));
    EXPECT_EQ(error, "line 2: line too long");
}

TEST(InputLog, TheRecorderKeepsInputEventsWithTheirTicksAndEndsTheRunOnce) {
    testing_support::TempDir dir;
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    clock.SetTick(1000);
    const std::string path = dir.File("input.txt");
    {
        CInputRecorder recorder(path);
        ASSERT_TRUE(recorder.Ok());
        auto window = plat::CreateHeadlessWindow();
        ASSERT_TRUE(window->Create("t", 0, 0, 100, 100));
        window->AddListener(&recorder);
        auto push = [&](plat::EventType type, u32 key, int x, int y, bool held) {
            plat::Event e;
            e.type = type;
            e.key = key;
            e.x = x;
            e.y = y;
            e.leftHeld = held;
            window->PushEvent(e);
            plat::Event out;
            while (window->PollEvent(out)) {
            }
        };
        clock.Advance(40);
        push(plat::EventType::KeyDown, 87, 0, 0, false);
        clock.Advance(10);
        push(plat::EventType::Activate, 0, 0, 0, false);  // no input: not kept
        push(plat::EventType::Expose, 0, 0, 0, false);
        push(plat::EventType::MouseMove, 0, 10, 10, false);  // a move without the button: not kept
        push(plat::EventType::KeyUp, 87, 0, 0, false);
        clock.Advance(25);
        push(plat::EventType::LButtonDown, 0, 11, 12, false);
        push(plat::EventType::MouseMove, 0, 13, 14, true);
        push(plat::EventType::LButtonUp, 0, 13, 14, false);
        clock.Advance(5);
        push(plat::EventType::Close, 0, 0, 0, false);
        push(plat::EventType::Quit, 0, 0, 0, false);  // the same end: once
        window->Destroy();
        EXPECT_EQ(recorder.EventCount(), 6u);
    }
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<CInputLogEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputLog(all.str(), events, error)) << error;
    const std::vector<CInputLogEvent> expected = {
        {40, K::KeyDown, 87},         {50, K::KeyUp, 87},  {75, K::PenDown, 0, 11, 12},
        {75, K::PenMove, 0, 13, 14},  {75, K::PenUp, 0, 13, 14}, {80, K::Close},
    };
    EXPECT_EQ(events, expected);
}

TEST(InputLog, AWindowDestroyedWithoutACloseStillEndsTheRun) {
    testing_support::TempDir dir;
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    const std::string path = dir.File("input.txt");
    CInputRecorder recorder(path);
    auto window = plat::CreateHeadlessWindow();
    ASSERT_TRUE(window->Create("t", 0, 0, 100, 100));
    window->AddListener(&recorder);
    window->PushKeyDown(32);
    plat::Event out;
    while (window->PollEvent(out)) {
    }
    clock.Advance(300);
    window->Destroy();
    std::vector<CInputLogEvent> events;
    std::string error;
    ASSERT_TRUE(ReadInputLogFile(path, events, error)) << error;
    EXPECT_EQ(events, (std::vector<CInputLogEvent>{{0, K::KeyDown, 32}, {300, K::Close}}));
    EXPECT_FALSE(ReadInputLogFile(dir.File("missing.txt"), events, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

}  // namespace

// A recording notes the clock reading its run seeded from; the replay reads it back so random draws
// repeat. The line is a comment to the event reader.
TEST(InputLog, TheSeedRidesInACommentThatTheReplayFinds) {
    testing_support::TempDir dir;
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    const std::string path = dir.File("input.txt");
    {
        CInputRecorder recorder(path);
        recorder.NoteSeed(1765430000u);
    }
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    u32 seed = 0;
    ASSERT_TRUE(FindLoggedSeed(all.str(), seed));
    EXPECT_EQ(seed, 1765430000u);
    std::vector<CInputLogEvent> events;
    std::string error;
    EXPECT_TRUE(ParseInputLog(all.str(), events, error)) << error;
    EXPECT_TRUE(events.empty());

    const struct {
        const char* text;
        bool found;
        u32 seed;
    } cases[] = {
        {"# seed 0\n", true, 0},
        {"10 key-down 32\n# seed 42\r\n# seed 7\n", true, 42},  // the first run's
        {"# seed 4294967295\n", true, 4294967295u},
        {"# seed 4294967296\n", false, 0},  // beyond 32 bits
        {"# seed 12x\n", false, 0},
        {"# seed \n", false, 0},
        {"#seed 5\n", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        u32 got = 99;
        EXPECT_EQ(FindLoggedSeed(c.text, got), c.found) << c.text;
        if (c.found) EXPECT_EQ(got, c.seed) << c.text;
    }
}
