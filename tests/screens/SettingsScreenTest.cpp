#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "app/MainFrame.h"
#include "core/Settings.h"
#include "display/Video.h"
#include "display/ViewState.h"
#include "screens/frontend/SettingsScreen.h"
#include "sound/SoundManager.h"
#include "tests/support/FrameRig.h"
#include "ui/Layout.h"
#include "ui/WidgetHelpers.h"

namespace {

// The game started on the built database, at the settings screen over the main menu.
struct SettingsRig : testing_support::FrameRig {
    // prepare runs before the screen is entered.
    template <typename Prepare>
    bool Open(Prepare prepare) {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);  // past the splash
        prepare(*Game());
        Game()->currentScreen->keepOnStack = 1;
        Game()->SwitchScreen(kScreenSettings);
        screen = static_cast<CSettingsScreen*>(Game()->GetScreen(kScreenSettings));
        Tick();
        return Current() == screen;
    }
    bool Open() {
        return Open([](CGame&) {});
    }

    void TapElement(u32 element) {
        ASSERT_TRUE(TapLayoutElement(CSettingsScreen::kLayoutGroup, element)) << element;
    }

    std::vector<std::string> Values() const {
        std::vector<std::string> out;
        for (u32 r = 0; r < CSettingsScreen::kRowCount; ++r)
            out.push_back(screen->rowValues[r].text.GetText());
        return out;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (u32 r = 0; r < CSettingsScreen::kRowCount; ++r)
            out.push_back(screen->rowNames[r].text.GetText());
        return out;
    }
    u32 Stored(const char* name) const {
        u32 value = 0xDEADBEEF;
        env.store.ReadDword(kSettingsKey, name, value);
        return value;
    }

    CSettingsScreen* screen = nullptr;
};

constexpr u32 kRowLeft[9] = {631, 633, 634, 635, 649, 636, 637, 638, 639};
constexpr u32 kRowRight[9] = {632, 640, 641, 642, 650, 643, 644, 645, 646};

bool PenOn(const CWidget& w) { return (w.state & kWidgetPenEnabled) != 0; }

}  // namespace

TEST(SettingsScreen, KeyListsAndTheirLookUps) {
    const u32 counts[9] = {3, 3, 4, 4, 6, 8, 6, 4, 4};
    for (u32 r = 0; r < 9; ++r) {
        EXPECT_EQ(KeyChoiceCount(r), counts[r]) << r;
        EXPECT_STREQ(KeyChoiceName(0, r), "none");
        for (u32 i = 0; i < counts[r]; ++i)
            EXPECT_EQ(FindKeyChoice(r, KeyChoiceValue(i, r)), i) << r << " " << i;
    }
    EXPECT_EQ(FindKeyChoice(0, 1000), 0u);  // a command id is no key
    EXPECT_EQ(FindKeyChoice(9, 0), 0u);
    EXPECT_EQ(KeyChoiceCount(9), 0u);
    EXPECT_EQ(FindKeyChoice(5, 99), 7u);
    EXPECT_STREQ(KeyChoiceName(4, 4), "ctrl");
    EXPECT_EQ(FindKeyCommand(3006), 9u);
    EXPECT_EQ(FindKeyCommand(1234), 0u);
    EXPECT_STREQ(KeyCommandName(5), "strafe left");

    struct Case {
        u32 mode, orientation, result;
    } cases[] = {{3, 0, 3}, {3, 1, 4},  {4, 0, 3},  {4, 2, 4},   {7, 1, 6},
                 {6, 0, 7}, {10, 2, 9}, {9, 0, 10}, {15, 1, 15}, {2, 1, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(LayoutModeForOrientation(c.mode, c.orientation), c.result) << c.mode;
}

TEST(SettingsScreen, TheStartModeShowsKeyboardRowsAndDefaultKeysFillTheLetters) {
    SettingsRig rig;
    // The key words still hold the command ids of the block's defaults: no row names a key.
    ASSERT_TRUE(rig.Open([](CGame& game) {
        const u32 commands[9] = {1000, 1002, 1004, 1006, 3006, 3001, 3004, 3005, 3000};
        for (u32 i = 0; i < 9; ++i) game.settings.Key[i] = commands[i];
    }));
    CSettingsScreen& s = *rig.screen;
    EXPECT_EQ(s.keysHeader.text.GetText(), std::string("Keys:"));
    EXPECT_EQ(s.viewSizeLabel.text.GetText(), std::string("View size:"));
    EXPECT_EQ(s.viewValue.text.GetText(), std::string("largest"));
    EXPECT_FALSE(s.orientationLabel.IsShown());  // the start mode offers no turn
    EXPECT_EQ(rig.Names(),
              (std::vector<std::string>{"Foward:", "Backward:", "Turn left:", "Turn right:", "Use:", "Spell:",
                                        "Hit:", "Strafe left:", "Strafe right:"}));
    EXPECT_EQ(rig.Values(), std::vector<std::string>(9, "none"));
    for (u32 r = 0; r < 9; ++r) EXPECT_FALSE(PenOn(s.rowLeft[r])) << r;

    rig.TapElement(647);  // "Default keys"
    EXPECT_EQ(rig.Values(), (std::vector<std::string>{"w", "s", "q", "e", "space", "c", "return", "a", "d"}));
    const u32 letters[9] = {119, 115, 113, 101, 32, 99, 13, 97, 100};
    for (u32 i = 0; i < 9; ++i) {
        EXPECT_EQ(rig.Game()->settings.Key[i], letters[i]);
        EXPECT_EQ(rig.Stored(("Key" + std::to_string(i + 1)).c_str()), letters[i]);
    }
    // The forward row's last choice is "w": its right arrow is off, its left one on.
    EXPECT_FALSE(PenOn(s.rowRight[0]));
    EXPECT_TRUE(PenOn(s.rowLeft[0]));
}

TEST(SettingsScreen, AReassignedKeyIsWhatTheFrameReads) {
    SettingsRig rig;
    ASSERT_TRUE(rig.Open());
    CSettingsScreen& s = *rig.screen;
    ASSERT_EQ(s.rowValues[2].text.GetText(), std::string("q"));  // the first run's letters
    // Turn left: q -> a; a choice beyond the list's end stays.
    rig.TapElement(kRowRight[2]);
    EXPECT_EQ(s.rowValues[2].text.GetText(), std::string("a"));
    EXPECT_FALSE(PenOn(s.rowRight[2]));
    rig.TapElement(kRowRight[2]);
    EXPECT_EQ(rig.Game()->settings.Key[2], 97u);
    // Forward: w -> up arrow.
    rig.TapElement(kRowLeft[0]);
    EXPECT_EQ(s.rowValues[0].text.GetText(), std::string("up arrow"));
    // Changed in memory only, until the screen is left.
    EXPECT_EQ(rig.Stored("Key3"), 113u);

    rig.TapElement(25);
    EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    EXPECT_EQ(rig.Stored("Key3"), 97u);
    EXPECT_EQ(rig.Stored("Key1"), 38u);

    // The frame maps "A" to turning left now (the fixed table would strafe), and no longer maps "W".
    const u32* keys = rig.Game()->settings.Key;
    EXPECT_EQ(KeyDownCommand('A', false, 15, keys), kCommandTurnLeft);
    // The letters taken off their rows do nothing, though the fixed table names them.
    EXPECT_EQ(KeyDownCommand('Q', false, 15, keys), 0u);
    EXPECT_EQ(KeyDownCommand('W', false, 15, keys), 0u);
    EXPECT_EQ(HeldKeyCode(keys[2]), static_cast<u32>('A'));
    EXPECT_EQ(KeyDownCommand(38, false, 15, keys), kCommandForward);
    // A key that the player took off every row falls to the fixed table.
    rig.Game()->settings.Key[4] = 0;
    rig.Game()->settings.Key[6] = 0;
    EXPECT_EQ(KeyDownCommand(13, false, 15, keys), kCommandUse);
}

TEST(SettingsScreen, AHandheldModeEditsCommandsPerOrientation) {
    SettingsRig rig;
    ASSERT_TRUE(rig.Open([](CGame& game) { game.SwitchLayoutMode(7); }));
    CSettingsScreen& s = *rig.screen;
    CGame& game = *rig.Game();
    ASSERT_EQ(game.layoutMode, 7u);
    EXPECT_EQ(s.orientation, 0u);
    EXPECT_EQ(s.keysHeader.text.GetText(), std::string("Portrait keys:"));
    EXPECT_FALSE(s.viewSizeLabel.IsShown());  // mode 7 has no view size
    EXPECT_TRUE(s.orientationLinks[0].IsShown());
    EXPECT_NE(s.orientationLinks[0].state & kWidgetLatched, 0);
    EXPECT_EQ(rig.Names(),
              (std::vector<std::string>{"Up arrow:", "Down arrow:", "Left arrow:", "Right arrow:", "Select:",
                                        "Calendar:", "Contacts:", "Messaging:", "Home:"}));
    // The first run's letters are no commands.
    EXPECT_EQ(rig.Values(), std::vector<std::string>(9, "none"));
    // A value in no list steps to the list's second entry on the right arrow.
    rig.TapElement(kRowRight[8]);
    EXPECT_EQ(s.rowValues[8].text.GetText(), std::string("forward"));
    EXPECT_EQ(game.settings.Key[8], 1000u);

    rig.TapElement(647);
    EXPECT_EQ(rig.Values(), (std::vector<std::string>{"forward", "back", "turn left", "turn right", "use",
                                                      "spell", "strafe left", "strafe right", "hit"}));
    EXPECT_EQ(rig.Stored("Key9"), 3000u);
    // The handheld list ends with "use".
    EXPECT_FALSE(PenOn(s.rowRight[4]));
    EXPECT_TRUE(PenOn(s.rowLeft[4]));

    // Left landscape turns the layout and shows the L set.
    rig.TapElement(613);
    EXPECT_EQ(game.layoutMode, 6u);
    u32 startView = 0;
    ASSERT_TRUE(rig.env.store.ReadDword(kFrameSettingsKey, "StartView", startView));
    EXPECT_EQ(startView, 6u);
    EXPECT_EQ(rig.frame->clientWidth, 320u);
    EXPECT_EQ(s.orientation, 1u);
    EXPECT_EQ(s.keysHeader.text.GetText(), std::string("Left landscape keys:"));
    EXPECT_EQ(rig.Values(), (std::vector<std::string>{"turn left", "turn right", "back", "forward", "use",
                                                      "spell", "strafe left", "strafe right", "hit"}));
    EXPECT_NE(s.orientationLinks[1].state & kWidgetLatched, 0);
    EXPECT_EQ(s.orientationLinks[0].state & kWidgetLatched, 0);
    rig.Tick();
    rig.TapElement(kRowLeft[0]);  // turn left -> back
    EXPECT_EQ(game.settings.LKey[0], 1002u);
    EXPECT_EQ(game.settings.Key[0], 1000u);

    // Right landscape keeps the mode and shows the R set; the selected link again does nothing.
    rig.TapElement(651);
    EXPECT_EQ(game.layoutMode, 6u);
    EXPECT_EQ(s.keysHeader.text.GetText(), std::string("Right landscape keys:"));
    EXPECT_EQ(s.rowValues[0].text.GetText(), std::string("turn right"));
    const u32 saves = rig.env.store.SaveCount();
    rig.TapElement(651);
    EXPECT_EQ(rig.env.store.SaveCount(), saves);
    EXPECT_EQ(s.orientation, 2u);

    // Portrait again: back to mode 7 and the plain set.
    rig.TapElement(612);
    EXPECT_EQ(game.layoutMode, 7u);
    EXPECT_EQ(s.rowValues[0].text.GetText(), std::string("forward"));
}

TEST(SettingsScreen, VolumesAreHeardAtOnceAndTheMusicClickSoundsAtTheNewLevel) {
    SettingsRig rig;
    ASSERT_TRUE(rig.Open());
    CSettingsScreen& s = *rig.screen;
    CGame& game = *rig.Game();
    Mixer* mixer = game.sound->GetMixer();
    ASSERT_NE(mixer, nullptr);

    std::vector<std::pair<u16, u32>> clicks;  // record, effects volume when it played
    SetInterfaceSoundListener([&](u16 record, i32) {
        clicks.push_back({record, game.sound->EffectsVolume()});
    });

    rig.TapElement(599);  // sound box 0
    EXPECT_EQ(game.settings.SoundVolume, 0u);
    EXPECT_EQ(rig.Stored("SoundVolume"), 0u);
    EXPECT_EQ(mixer->SampleVolume(), 0u);
    EXPECT_EQ(s.soundBoxes[0].colour, 0xC8C8C8u);
    for (u32 i = 1; i < 11; ++i) EXPECT_EQ(s.soundBoxes[i].colour, 0x585858u) << i;

    rig.TapElement(606);  // music box 7
    EXPECT_EQ(game.settings.MusicVolume, 7u);
    EXPECT_EQ(rig.Stored("MusicVolume"), 7u);
    EXPECT_EQ(mixer->MusicVolume(), 7u * 64 / 10);
    // The click played at the music level; the effects came back to their own level after it.
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], (std::pair<u16, u32>{4031, 0}));
    EXPECT_EQ(clicks[1], (std::pair<u16, u32>{4031, 7}));
    EXPECT_EQ(game.settings.SoundVolume, 0u);
    EXPECT_EQ(mixer->SampleVolume(), 0u);
    for (u32 i = 0; i < 11; ++i) EXPECT_EQ(s.musicBoxes[i].colour, i <= 7 ? 0xC8C8C8u : 0x585858u) << i;

    rig.TapElement(25);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[2].first, 4032);
    SetInterfaceSoundListener(nullptr);
}

TEST(SettingsScreen, TheViewSizeStepsWithinItsRangeAndTheViewFollows) {
    SettingsRig rig;
    // A stored size outside 0..2 shows as the largest and is saved so.
    ASSERT_TRUE(rig.Open([](CGame& game) { game.settings.ViewSize = 7; }));
    CSettingsScreen& s = *rig.screen;
    CGame& game = *rig.Game();
    EXPECT_EQ(game.settings.ViewSize, 0u);
    EXPECT_EQ(rig.Stored("ViewSize"), 0u);
    EXPECT_EQ(s.viewValue.text.GetText(), std::string("largest"));
    EXPECT_FALSE(PenOn(s.viewRight));
    EXPECT_TRUE(PenOn(s.viewLeft));

    rig.TapElement(654);
    EXPECT_EQ(s.viewValue.text.GetText(), std::string("moderate"));
    EXPECT_TRUE(PenOn(s.viewRight));
    rig.TapElement(654);
    EXPECT_EQ(s.viewValue.text.GetText(), std::string("smallest"));
    EXPECT_FALSE(PenOn(s.viewLeft));
    rig.TapElement(654);  // off: nothing changes
    EXPECT_EQ(game.settings.ViewSize, 2u);
    EXPECT_EQ(rig.Stored("ViewSize"), 2u);
    // The 3D view of the large layouts shrinks by half its margin over 380 x 320 on each side.
    const CViewState* view = game.GetViewState();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->viewX, 62u);
    EXPECT_EQ(view->viewY, 52u);
    EXPECT_EQ(view->viewWidth, 380u);
    EXPECT_EQ(view->viewHeight, 320u);

    rig.TapElement(655);
    EXPECT_EQ(game.settings.ViewSize, 1u);
    EXPECT_EQ(view->viewWidth, 430u);
}

TEST(SettingsScreen, SettingsRoundTripThroughTheFile) {
    SettingsRig rig;
    ASSERT_TRUE(rig.Open());
    CGame& game = *rig.Game();
    rig.TapElement(593);           // sound 6
    rig.TapElement(601);           // music 2
    rig.TapElement(654);           // moderate view
    rig.TapElement(kRowRight[5]);  // spell: "c" is the last choice and stays
    rig.TapElement(kRowLeft[5]);   // c -> s
    rig.TapElement(kRowLeft[3]);   // turn right: e -> right arrow
    rig.TapElement(25);
    ASSERT_EQ(rig.Current(), game.GetScreen(kScreenMainMenu));
    EXPECT_EQ(game.settings.Key[5], 115u);
    EXPECT_EQ(game.settings.Key[3], 39u);

    // What the screen left in the store reads back whole, also after a trip through the settings file.
    testing_support::TempDir dir;
    const std::string path = dir.File("settings.txt");
    {
        plat::FileSettingsStore file(path);
        ASSERT_TRUE(SaveSettings(game.settings, file));
    }
    plat::FileSettingsStore reread(path);
    for (plat::SettingsStore* store :
         {static_cast<plat::SettingsStore*>(&rig.env.store), static_cast<plat::SettingsStore*>(&reread)}) {
        CGameSettings loaded{};
        SetDefaultSettings(loaded);
        LoadSettings(loaded, 15, *store);
        EXPECT_EQ(loaded.SoundVolume, 6u);
        EXPECT_EQ(loaded.MusicVolume, 2u);
        EXPECT_EQ(loaded.ViewSize, 1u);
        for (u32 i = 0; i < CGameSettings::kKeyCount; ++i) {
            EXPECT_EQ(loaded.Key[i], game.settings.Key[i]) << i;
            EXPECT_EQ(loaded.LKey[i], game.settings.LKey[i]) << i;
            EXPECT_EQ(loaded.RKey[i], game.settings.RKey[i]) << i;
        }
    }
}

TEST(SettingsScreen, GoldenFrames) {
    {
        SettingsRig rig;
        ASSERT_TRUE(rig.Open());
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/settings_mode15", rig.Capture()));
    }
    {
        // The tall handheld layout with its own arrangement, the orientation links and the view size.
        SettingsRig rig;
        ASSERT_TRUE(rig.Open([](CGame& game) { game.SwitchLayoutMode(10); }));
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/settings_mode10", rig.Capture()));
    }
}
