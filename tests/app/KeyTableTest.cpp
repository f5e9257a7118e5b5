#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "app/MainFrame.h"

namespace {

// The first-run key words of the wide layouts: w, s, q, e, space, c, Enter, a, d.
constexpr u32 kWideKeys[9] = {119, 115, 113, 101, 32, 99, 13, 97, 100};

}  // namespace

TEST(KeyTable, ConfiguredKeysApplyOnlyInTheWideLayouts) {
    struct Case {
        u32 key;
        bool ctrl;
        u32 mode;
        u32 command;
    } cases[] = {
        {13, false, 15, kCommandAttack},  // Enter is "Key7" in the wide layouts ...
        {13, false, 9, kCommandUse},      // ... and the fixed table's confirm elsewhere
        {13, false, 14, kCommandAttack},
        {13, false, 16, kCommandAttack},
        {'C', false, 15, kCommandSpellBook},
        {'C', false, 9, 0},
        {'W', false, 15, kCommandForward},
        {'S', true, 15, kCommandBack},
        {'Q', false, 15, kCommandTurnLeft},
        {32, false, 15, kCommandUse},
        {'A', false, 15, kCommandStrafeLeft},
        {'D', false, 15, kCommandStrafeRight},
        // Keys no configured word names fall through to the fixed table.
        {37, false, 15, kCommandTurnLeft},
        {37, true, 15, kCommandStrafeLeft},
        {39, true, 15, kCommandStrafeRight},
        {38, true, 15, kCommandForward},
        {27, false, 15, kCommandCancel},
        // Fixed table alone.
        {37, false, 9, kCommandTurnLeft},
        {37, true, 9, kCommandStrafeLeft},
        {'Q', true, 9, kCommandTurnLeft},
        {'E', false, 9, kCommandTurnRight},
        {40, false, 9, kCommandBack},
        {'S', false, 9, kCommandBack},
        {'A', false, 9, kCommandStrafeLeft},
        {39, false, 9, kCommandTurnRight},
        {'I', false, 9, kCommandInventory},
        {'I', true, 15, kCommandInventory},
        // No command: Tab, digits, function keys, shift, other letters.
        {9, false, 9, 0},
        {'1', false, 9, 0},
        {'0', false, 15, 0},
        {112, false, 9, 0},
        {123, false, 15, 0},
        {16, false, 9, 0},
        {'Z', false, 15, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyDownCommand(c.key, c.ctrl, c.mode, kWideKeys), c.command)
            << "key " << c.key << (c.ctrl ? " with Ctrl" : "") << " in mode " << c.mode;
    }
}

// Keys moved in the settings: the new key does the command, and a letter taken off every row does
// nothing in the wide layouts, though the fixed table names it; the arrows keep their meaning, and
// the handheld layouts keep the whole fixed table.
TEST(KeyTable, ALetterTakenOffItsCommandStopsInTheWideLayouts) {
    // Turn left on "a" (strafe left, tried later, loses it), turn right on the right arrow, forward
    // and strafe right on none.
    const u32 moved[9] = {0, 115, 97, 39, 32, 99, 13, 97, 0};
    struct Case {
        u32 key;
        bool ctrl;
        u32 mode;
        u32 command;
    } cases[] = {
        {'A', false, 15, kCommandTurnLeft},   {'Q', false, 15, 0},
        {'Q', true, 15, 0},                   {'E', false, 16, 0},
        {'W', false, 14, 0},                  {'D', false, 15, 0},
        {39, false, 15, kCommandTurnRight},   {38, false, 15, kCommandForward},
        {37, false, 15, kCommandTurnLeft},    {'S', false, 15, kCommandBack},
        {'I', false, 15, kCommandInventory},  {'Q', false, 9, kCommandTurnLeft},
        {'W', false, 9, kCommandForward},     {'D', false, 10, kCommandStrafeRight},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyDownCommand(c.key, c.ctrl, c.mode, moved), c.command)
            << "key " << c.key << (c.ctrl ? " with Ctrl" : "") << " in mode " << c.mode;
    }
}

TEST(KeyTable, ConfiguredKeyMatching) {
    // Codes that are not letters match by equality; a word of 0 never matches; the first match wins.
    u32 keys[9] = {38, 0, 'z', 187, 0, 0, 0, 0, 38};
    EXPECT_EQ(KeyDownCommand(38, false, 15, keys), kCommandForward);
    EXPECT_EQ(KeyDownCommand('Z', false, 15, keys), kCommandTurnLeft);
    EXPECT_EQ(KeyDownCommand(187, false, 15, keys), kCommandTurnRight);
    // Key code 0 is no key: the empty words must not match it.
    EXPECT_EQ(KeyDownCommand(0, false, 15, keys), 0u);
    // An upper-case word does not match the letter key (only its folded, lower-case form does).
    u32 upper[9] = {'W'};
    EXPECT_EQ(KeyDownCommand('W', false, 15, upper), kCommandForward);  // equals the key code
    u32 lower[9] = {'w'};
    EXPECT_EQ(KeyDownCommand('W', false, 15, lower), kCommandForward);
    EXPECT_EQ(KeyDownCommand('W' + 256, false, 15, lower), kCommandForward);  // low byte only
    // The settings store Shift and Ctrl as the left-hand keys; the keyboard reports them as 16 and 17.
    u32 modifiers[9] = {0, 0, 0, 0, 162, 160};
    EXPECT_EQ(KeyDownCommand(17, false, 15, modifiers), kCommandUse);
    EXPECT_EQ(KeyDownCommand(16, false, 15, modifiers), kCommandSpellBook);
}

TEST(KeyTable, HeldKeyCodesAndPenRounding) {
    struct Held {
        u32 word, code;
    } held[] = {{'w', 'W'}, {'a', 'A'},   {'z', 'Z'},  {'W', 'W'}, {13, 13}, {32, 32},
                {'5', '5'}, {0x177, 'W'}, {1000, 232}, {160, 16},  {162, 17}};
    for (const Held& h : held) EXPECT_EQ(HeldKeyCode(h.word), h.code) << h.word;

    struct Pen {
        i32 in, out;
    } pens[] = {{0, 0}, {1, 0}, {5, 4}, {6, 6}, {-1, 0}, {-3, -2}, {-4, -4}, {799, 798}};
    for (const Pen& p : pens) EXPECT_EQ(RoundPenCoordinate(p.in), p.out) << p.in;
}

TEST(KeyTable, ScreenModeTable) {
    struct Case {
        u32 mode;
        bool known;
        u32 w, h;
        const char* title;
    } cases[] = {
        {15, true, 800, 584, "Vantrel - 800x600 PPC HPC"},
        {9, true, 640, 480, "Vantrel - 640x480 PPC Hi Landscape"},
        {4, true, 480, 320, "Vantrel - 480x320 Palm Hi LandScape"},
        {16, true, 640, 240, "Vantrel - 640x240 PPC HPC"},
        {2, true, 320, 320, "Vantrel - 320x320 Palm Hi"},
        {1, false, 0, 0, ""},
        {12, false, 0, 0, ""},
        {13, false, 0, 0, ""},
        {17, false, 0, 0, ""},
        {0, false, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const char* title = "untouched";
        u32 w = 1, h = 2;
        EXPECT_EQ(GetScreenModeInfo(c.mode, &title, &w, &h), c.known) << c.mode;
        if (c.known) {
            EXPECT_STREQ(title, c.title);
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        } else {
            EXPECT_STREQ(title, "untouched");
            EXPECT_EQ(w, 1u);
            EXPECT_EQ(h, 2u);
        }
    }
}

// What a key types into a name: the on-screen keyboard's characters only (letters, digits, space,
// backspace), a capital only with Shift; nothing with Ctrl (those keys stay commands).
TEST(KeyTable, TypedCharactersAreThoseOfTheOnScreenKeyboard) {
    struct Case {
        u32 key;
        bool shift, ctrl;
        char typed;
    } cases[] = {
        {'A', false, false, 'a'},
        {'Z', false, false, 'z'},
        {'Q', true, false, 'Q'},
        {'0', false, false, '0'},
        {'9', false, false, '9'},
        {'1', true, false, 0},    // Shift+1 is no digit
        {96, false, false, '0'},  // the number pad
        {105, false, false, '9'},
        {32, false, false, ' '},
        {32, true, false, ' '},
        {8, false, false, '\b'},
        // With Ctrl a key stays a command.
        {'W', false, true, 0},
        {8, false, true, 0},
        // Enter, Escape, an arrow, Tab, ';', the number pad's '*', the codes beside the letters.
        {13, false, false, 0},
        {27, false, false, 0},
        {37, false, false, 0},
        {9, false, false, 0},
        {186, false, false, 0},
        {106, false, false, 0},
        {'A' - 1, false, false, 0},
        {'Z' + 1, false, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypedChar(c.key, c.shift, c.ctrl), c.typed)
            << c.key << " shift " << c.shift << " ctrl " << c.ctrl;
}
