// "New Game" as a player goes through it, by keys and taps on the frame: the intro pages, character
// creation and its OK, into the game view on the built world; and the whole of it in one sitting, from
// the menu to a named character of the player's choosing, through its death back to the menu.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "platform/Window.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/DeathScreen.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/FrameRig.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

namespace {

using testing_support::FrameRig;

// A tap in the middle of a widget where it stands now (the dialogs are centred on the screen), after
// a tick so that the form opened last takes it.
void TapWidget(FrameRig& rig, const CWidget& w) {
    rig.Tick(30);
    rig.Tap(w.x + w.w / 2, w.y + w.h / 2);
}

// A tap on a row of a list box.
void TapRow(FrameRig& rig, const CListBox& list, i32 row) {
    rig.Tick(30);
    rig.Tap(list.x + list.w / 2, list.y + (row - list.topRow) * list.rowHeight + list.rowHeight / 2);
}

// The letters, digits and space of a text as the keyboard types them (no Shift held).
void TypeOnKeyboard(FrameRig& rig, const char* text) {
    for (const char* c = text; *c; ++c)
        rig.Key(*c >= 'a' && *c <= 'z' ? static_cast<u32>(*c - 'a' + 'A') : static_cast<u32>(*c));
}

// The on-screen key that types a character (or deletes, shifts: 195, 194).
const CBitmapButton& ScreenKey(const CTextEntryDialog& dialog, u32 command) {
    for (u32 position = 0; position < CTextEntryDialog::kKeyCount; ++position)
        if (CTextEntryDialog::KeyCommand(position) == command) return dialog.keys[position];
    return dialog.keys[0];
}
u32 LetterKey(char c) { return 157 + static_cast<u32>(std::string("qwertyuiopasdfghjklzxcvbnm").find(c)); }

TEST(NewGameStart, OkInCreationEntersTheGameViewWithTheCharacterMade) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);  // "Start new game"
    rig.Key(32);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenPages, 300));
    for (int page = 0; page < 3; ++page) {
        rig.Tick(30);
        rig.Key(32);
    }
    ASSERT_TRUE(rig.TickUntilScreen(kScreenCreatePlayer, 300));
    auto* creation = static_cast<CCreatePlayerScreen*>(rig.Current());
    // A face of another race first: the face shown is a texture picture of the world that the new game
    // closes and opens again.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kNextFace));
    const std::string face = creation->faceName.GetText();
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, 25));  // OK
    // The page drawn after the command shows no picture of the world that went.
    EXPECT_EQ(creation->facePanel.picture, nullptr);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenGame, 600));
    CGame* game = rig.Game();
    EXPECT_NE(game->currentWorld, nullptr);
    EXPECT_STREQ(game->player.portrait.GetText(), face.c_str());
    EXPECT_GT(game->player.hp, 0);
    EXPECT_FALSE(game->player.items.empty());
    // The view runs and draws on.
    for (int i = 0; i < 10; ++i) rig.Tick(30);
    EXPECT_EQ(rig.Current(), game->GetGameScreen());
    EXPECT_NE(game->GetGameScreen()->section, nullptr);
}

TEST(NewGameStart, ACharacterMadeInOneSittingPlaysDiesAndTheMenuFollows) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);  // "Start new game"
    rig.Key(32);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenPages, 300));
    for (int page = 0; page < 3 && rig.Current() == rig.Game()->GetScreen(kScreenPages); ++page) {
        rig.Tick(30);
        rig.Key(32);
    }
    ASSERT_TRUE(rig.TickUntilScreen(kScreenCreatePlayer, 300));
    auto* creation = static_cast<CCreatePlayerScreen*>(rig.Current());
    EXPECT_STREQ(creation->name.GetText(), "Player");

    // The name: the old one deleted and a new one typed on the keyboard, the first letter and the one
    // after the space in capitals.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kRename));
    CTextEntryDialog& entry = creation->textDialog;
    ASSERT_EQ(creation->modalChild, &entry);
    EXPECT_STREQ(entry.GetText(), "Player");
    for (int i = 0; i < 6; ++i) rig.Key(plat::vk::Back);
    EXPECT_STREQ(entry.GetText(), "");
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kOneCapital);
    TypeOnKeyboard(rig, "arn dal");
    EXPECT_STREQ(entry.GetText(), "Arn Dal");
    EXPECT_EQ(creation->mode, CCreatePlayerScreen::kTextDialog) << "the space typed, it pressed nothing";
    // Then edited on the screen's keys: back over "Dal" (a capital is due after the space again),
    // "Kel", a space, caps lock for "II", and lower case once more.
    for (int i = 0; i < 3; ++i) TapWidget(rig, ScreenKey(entry, CTextEntryDialog::kDeleteKey));
    EXPECT_STREQ(entry.GetText(), "Arn ");
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kOneCapital);
    EXPECT_STREQ(ScreenKey(entry, LetterKey('k')).text.GetText(), "K");
    for (char c : std::string("kel")) TapWidget(rig, ScreenKey(entry, LetterKey(c)));
    EXPECT_STREQ(ScreenKey(entry, LetterKey('k')).text.GetText(), "k");
    TapWidget(rig, ScreenKey(entry, CTextEntryDialog::kSpaceKey));
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kOneCapital);
    TapWidget(rig, ScreenKey(entry, CTextEntryDialog::kShiftKey));
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kCapsLock);
    TapWidget(rig, ScreenKey(entry, LetterKey('i')));
    TapWidget(rig, ScreenKey(entry, LetterKey('i')));
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kCapsLock);
    TapWidget(rig, ScreenKey(entry, CTextEntryDialog::kShiftKey));
    EXPECT_EQ(entry.shiftState, CTextEntryDialog::kLowerCase);
    EXPECT_STREQ(ScreenKey(entry, LetterKey('i')).text.GetText(), "i");
    EXPECT_STREQ(entry.GetText(), "Arn Kel II");
    rig.Key(13);  // Enter presses OK
    EXPECT_EQ(creation->modalChild, nullptr);
    EXPECT_STREQ(creation->name.GetText(), "Arn Kel II");
    EXPECT_STREQ(creation->nameLabel.text.GetText(), "Arn Kel II");

    // The race: Derth, its row tapped in the race dialog.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kChangeRace));
    ASSERT_EQ(creation->modalChild, &creation->raceDialog);
    TapRow(rig, creation->raceDialog.list, 3);
    TapWidget(rig, creation->raceDialog.okButton);
    EXPECT_EQ(creation->race, 4u);
    EXPECT_STREQ(creation->raceName.GetText(), "Derth");

    // The class: Mage, its row tapped in the class dialog.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kSelectClass));
    ASSERT_EQ(creation->modalChild, &creation->classDialog);
    TapRow(rig, creation->classDialog.list, 2);
    ASSERT_EQ(creation->classDialog.classId, 3u);
    EXPECT_STREQ(creation->classDialog.list.GetItem(creation->classDialog.list.selection)->label.GetText(),
                 "Mage");
    TapWidget(rig, creation->classDialog.okButton);
    const u32 mage[6] = {2, 8, 9, 10, 13, 16};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(creation->skills[i], mage[i]) << "slot " << i;

    // Two slots changed in the skill dialog: Stealth into the first; Attack Magic, which the fourth
    // slot holds, into the second, the two swapping places.
    auto chooseSkill = [&](u32 slot, u32 skill) {
        rig.Tick(30);
        ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup,
                                         CCreatePlayerScreen::kFirstSkillSlot + slot));
        ASSERT_EQ(creation->modalChild, &creation->skillDialog);
        TapWidget(rig, creation->skillDialog.links[skill]);
        EXPECT_EQ(creation->skillDialog.skill, skill);
        TapWidget(rig, creation->skillDialog.okButton);
        EXPECT_EQ(creation->modalChild, nullptr);
    };
    chooseSkill(0, 20);
    chooseSkill(1, 10);
    const u32 chosen[6] = {20, 10, 9, 8, 13, 16};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(creation->skills[i], chosen[i]) << "slot " << i;

    // The face: two steps on with the right arrow, one back with the left; and female.
    ASSERT_GE(creation->faceNames.size(), 3u);
    for (u32 arrow : {CCreatePlayerScreen::kNextFace, CCreatePlayerScreen::kNextFace,
                      CCreatePlayerScreen::kPreviousFace}) {
        rig.Tick(30);
        ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, arrow));
    }
    ASSERT_GE(creation->faceIndex, 0);
    const std::string face = creation->faceNames[static_cast<size_t>(creation->faceIndex)];
    EXPECT_EQ(creation->faceName.GetText(), face);
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, CCreatePlayerScreen::kFemale));
    EXPECT_EQ(creation->gender, 0u);

    // OK: the game begins with that character.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(CCreatePlayerScreen::kLayoutGroup, 25));
    ASSERT_TRUE(rig.TickUntilScreen(kScreenGame, 600));
    CPlayer& player = rig.Game()->player;
    EXPECT_STREQ(player.name.GetText(), "Arn Kel II");
    EXPECT_EQ(player.race, 4u);
    EXPECT_EQ(player.gender, 0);
    EXPECT_STREQ(player.portrait.GetText(), face.c_str());
    for (int i = 0; i < 6; ++i) EXPECT_EQ(player.skillOrder[i], chosen[i]) << "slot " << i;
    EXPECT_GT(player.hp, 0);

    // The game runs until a skeleton beats the character to death where it stands.
    CGameScreen* view = rig.View();
    rig.SettleView();
    const i32 x = view->playerX, y = view->playerY;
    const u32 ahead = CGameScreen::DirectionOfFacing(view->facing);
    const i32 dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
    i32 sx = 0, sy = 0;
    CMapSection* at = nullptr;
    ASSERT_TRUE(view->window.WindowToSectionCell(x + dx[ahead], y + dy[ahead], at, sx, sy));
    ASSERT_NE(rig.OnlyHostileAt("base_skeleton_warrior", sx, sy), nullptr);
    player.hp = 20;
    ASSERT_TRUE(rig.TickUntilScreen(kScreenDeath, 120000)) << "hp " << player.hp;
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(view->inGame, 0u);

    // The death screen's OK leads back to the menu, from which a new game starts afresh.
    auto* death = static_cast<CDeathScreen*>(rig.Current());
    TapWidget(rig, death->okButton);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    rig.Tick(30);
    rig.Key(40);
    rig.Key(32);
    ASSERT_TRUE(rig.TickUntilScreen(kScreenPages, 300));
    for (int page = 0; page < 3 && rig.Current() == rig.Game()->GetScreen(kScreenPages); ++page) {
        rig.Tick(30);
        rig.Key(32);
    }
    ASSERT_TRUE(rig.TickUntilScreen(kScreenCreatePlayer, 300));
    EXPECT_STREQ(creation->name.GetText(), "Player");
    EXPECT_EQ(creation->race, 2u);
}

}  // namespace
