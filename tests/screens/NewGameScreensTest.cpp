// The screens of a new game on the built world: the on-screen keyboard, character creation with its
// race, class, skill and face dialogs, the picture-and-text pages and the death screen.
#include <gtest/gtest.h>

#include <string>

#include "app/Game.h"
#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/DeathScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/frontend/PagesScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/InterfacePictureRoles.h"
#include "world/GameScreen.h"

namespace {

// A started game past its splash, with the world's databases open, as after "Start new game".
struct WorldRig : testing_support::FrameRig {
    // Switches from the current screen to another with entry words.
    void EnterScreen(u32 id, u32 a = 0, u32 b = 0) {
        CScreen* current = Current();
        current->entryA = a;
        current->entryB = b;
        current->entryC = current->entryD = 0;
        current->keepOnStack = 0;
        Game()->SwitchScreen(id);
    }
    CCreatePlayerScreen* Creation() const {
        return static_cast<CCreatePlayerScreen*>(Game()->GetScreen(kScreenCreatePlayer));
    }
    CPagesScreen* Pages() const { return static_cast<CPagesScreen*>(Game()->GetScreen(kScreenPages)); }
    CCreatePlayerScreen* EnterCreation() {
        EnterScreen(kScreenCreatePlayer);
        return Creation();
    }
};

// The text of the skill links of the creation page, joined by commas.
std::string SkillLinks(const CCreatePlayerScreen& s) {
    std::string out;
    for (const CTextLink& link : s.skillLinks)
        out += (out.empty() ? "" : ",") + std::string(link.text.GetText());
    return out;
}

std::string Skills(const u32 (&skills)[6]) {
    std::string out;
    for (u32 v : skills) out += (out.empty() ? "" : ",") + std::to_string(v);
    return out;
}

// Whether the letter keys show capitals (the 'q' key stands for all of them).
bool KeysUpper(const CTextEntryDialog& d) { return std::string(d.keys[10].text.GetText()) == "Q"; }

}  // namespace

TEST(TextEntryKeyboard, CapitalsFollowTheShiftStateAndTheText) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kRename);
    CTextEntryDialog& d = s->textDialog;
    ASSERT_EQ(s->modalChild, &d);
    EXPECT_STREQ(d.GetText(), "Player");
    EXPECT_EQ(d.shiftState, CTextEntryDialog::kLowerCase);

    // Each row: the keys pressed (by command, from an empty text), the text, the shift, upper keys.
    struct Case {
        const char* what;
        std::vector<u32> keys;
        const char* text;
        u8 shift;
    } cases[] = {
        {"first letter is a capital", {167}, "A", 0},
        {"a space asks for a capital", {167, 193}, "A ", 1},
        {"after the space", {167, 193, 168}, "A S", 0},
        {"caps lock stays", {194, 167, 168, 193, 169}, "AS D", 2},
        {"the shift after caps lock is lower case", {194, 194, 167}, "a", 0},
        {"shift from lower case turns one capital on", {167, 194, 168}, "AS", 0},
        {"a digit ends the one capital", {183, 167}, "1a", 0},
        {"delete back to a space", {167, 193, 168, 195}, "A ", 1},
        {"delete back to empty", {167, 195}, "", 1},
        {"delete keeps caps lock", {194, 167, 195}, "", 2},
        {"delete to a letter", {167, 168, 193, 195}, "As", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d.SetText("");
        EXPECT_EQ(d.shiftState, CTextEntryDialog::kOneCapital);
        EXPECT_TRUE(KeysUpper(d));
        for (u32 key : c.keys) d.OnCommand(key);
        EXPECT_STREQ(d.GetText(), c.text);
        EXPECT_EQ(d.shiftState, c.shift);
        EXPECT_EQ(KeysUpper(d), c.shift != 0);
        // Digits never change.
        EXPECT_STREQ(d.keys[0].text.GetText(), "1");
    }
}

TEST(TextEntryKeyboard, TheTextStaysWithinItsLengthAndWidthAndSetTextCopiesNoMore) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kRename);
    CTextEntryDialog& d = s->textDialog;

    // A text from a saved game may be longer than the field: only the field's limit is taken.
    const std::string longName(300, 'x');
    d.SetText(longName.c_str());
    EXPECT_EQ(std::string(d.GetText()), std::string(CTextEntryDialog::kMaximumLength, 'x'));
    EXPECT_EQ(d.shiftState, CTextEntryDialog::kLowerCase);
    // A full text takes no more, even though the key was pressed.
    d.OnCommand(183);
    EXPECT_EQ(d.field.GetLength(), CTextEntryDialog::kMaximumLength);

    // A narrow field refuses what would not fit in its width; a one-letter shift still ends.
    d.SetText("");
    d.field.w = 30;
    for (int i = 0; i < 20; ++i) d.OnCommand(176);  // 'm', one of the widest letters
    const i32 kept = d.field.GetLength();
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 20);
    EXPECT_EQ(d.shiftState, CTextEntryDialog::kLowerCase);

    // A null text leaves the field as it was and asks for a capital.
    d.SetText("Kept");
    d.SetText(nullptr);
    EXPECT_STREQ(d.GetText(), "Kept");
    EXPECT_EQ(d.shiftState, CTextEntryDialog::kOneCapital);
}

// The keyboard types into the open dialog as its keys do, with the same capitals; what the on-screen
// keyboard has no key for is left to the key commands, and with no dialog open nothing types.
TEST(TextEntryKeyboard, TheKeyboardTypesAsTheScreenKeysDo) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    EXPECT_FALSE(rig.Game()->TypeChar('a')) << "no dialog open";
    s->OnCommand(CCreatePlayerScreen::kRename);
    CTextEntryDialog& d = s->textDialog;
    ASSERT_EQ(s->modalChild, &d);

    struct Case {
        const char* what;
        const char* typed;  // from an empty text
        const char* text;
        u8 shift;
    } cases[] = {
        {"capital first and after a space", "ab cd", "Ab Cd", 0},
        {"a typed capital stays and ends the one capital", "Ab", "Ab", 0},
        {"a capital mid-word", "aBc", "ABc", 0},
        {"backspace back to the space asks for a capital", "ab c\b", "Ab ", 1},
        {"backspace on the empty text", "\b\b", "", 1},
        {"digits and a space", "r2 d2", "R2 D2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        d.SetText("");
        for (const char* p = c.typed; *p; ++p) EXPECT_TRUE(rig.Game()->TypeChar(*p)) << *p;
        EXPECT_STREQ(d.GetText(), c.text);
        EXPECT_EQ(d.shiftState, c.shift);
    }
    // Characters without a key on the on-screen keyboard are not taken.
    d.SetText("Kel");
    for (char c : {'-', '.', '\r', '\x1b', '\t', static_cast<char>(0xE9)})
        EXPECT_FALSE(rig.Game()->TypeChar(c)) << int(c);
    EXPECT_STREQ(d.GetText(), "Kel");
    // Escape (the cancel key) closes the dialog and keeps the old name; Enter (the use key, or the
    // attack key of the wide layouts) takes the new one.
    rig.Tick();
    rig.Game()->SendCommand(kCommandCancel);
    EXPECT_EQ(s->modalChild, nullptr);
    EXPECT_STREQ(s->name.GetText(), "Player");
    for (u32 enter : {kCommandUse, kCommandAttack}) {
        s->OnCommand(CCreatePlayerScreen::kRename);
        d.SetText("");
        rig.Game()->TypeChar('v');
        rig.Tick();
        rig.Game()->SendCommand(enter);
        EXPECT_EQ(s->modalChild, nullptr) << enter;
        EXPECT_STREQ(s->name.GetText(), "V") << enter;
        s->name.Assign("Player");
    }
}

// Whatever the keys change, the shift mark on the screen is the one a full redraw would show: a mark
// that goes (after the first letter, at the third shift) leaves nothing of itself behind.
TEST(TextEntryKeyboard, TheShiftMarkAfterEachKeyIsTheOneAFullRedrawShows) {
    struct Case {
        const char* what;
        const char* start;
        std::vector<u32> keys;  // on-screen keys, by command
        const char* typed;      // then typed on the keyboard
    } cases[] = {
        {"the one capital goes with a tapped letter", "", {167}, ""},
        {"the one capital goes with a typed letter", "", {}, "k"},
        {"caps lock comes and goes", "Kel", {194, 194, 194}, ""},
        {"the one capital comes back with a space", "Kel", {}, " "},
        {"and with a delete back to the space", "Kel ", {}, "a\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WorldRig rig;
        ASSERT_TRUE(rig.StartWithWorld());
        CCreatePlayerScreen* s = rig.EnterCreation();
        rig.Tick();
        s->OnCommand(CCreatePlayerScreen::kRename);
        CTextEntryDialog& d = s->textDialog;
        d.SetText(c.start);
        d.flags |= kFormRedrawAll;
        d.Draw();
        for (u32 key : c.keys)
            for (const CBitmapButton& b : d.keys)
                if (b.commandId == key) {
                    rig.Tick();
                    rig.Tap(b.x + b.w / 2, b.y + b.h / 2);
                }
        for (const char* p = c.typed; *p; ++p) rig.Game()->TypeChar(*p);
        // Where the shift mark stands, as drawn and as a full redraw draws it.
        const CTextLabel& mark = d.shiftMark;
        const testing_support::Rgb565Image drawn =
            testing_support::Crop(rig.Capture(), mark.x, mark.y, mark.w, mark.h);
        d.flags |= kFormRedrawAll;
        d.Draw();
        const testing_support::Rgb565Image fresh =
            testing_support::Crop(rig.Capture(), mark.x, mark.y, mark.w, mark.h);
        ASSERT_GT(drawn.pixels.size(), 0u);
        size_t differing = 0;
        for (size_t i = 0; i < drawn.pixels.size(); ++i) differing += drawn.pixels[i] != fresh.pixels[i];
        EXPECT_EQ(differing, 0u);
    }
}

TEST(CharacterCreation, EnteringShowsTheDefaultsEveryTime) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    for (int visit = 0; visit < 2; ++visit) {
        CCreatePlayerScreen* s = rig.EnterCreation();
        EXPECT_STREQ(s->name.GetText(), "Player");
        EXPECT_STREQ(s->raceName.GetText(), "Etherim");
        EXPECT_STREQ(s->faceName.GetText(), "bres_head00_raceetherim");
        EXPECT_EQ(s->race, 2u);
        EXPECT_NE(s->maleLink.state & kWidgetLatched, 0);
        EXPECT_EQ(s->femaleLink.state & kWidgetLatched, 0);
        EXPECT_EQ(SkillLinks(*s), "Light Weap,Light Armor,Block,Heal Magic,Mercantile,Repair");
        EXPECT_STREQ(s->classHint.text.GetText(), "select a pre-defined class:");
        // Change something, and leave for the menu.
        s->OnCommand(CCreatePlayerScreen::kFemale);
        EXPECT_EQ(s->gender, 0u);
        EXPECT_EQ(s->OnCommand(26), kScreenMainMenu);
        EXPECT_EQ(s->entryA, 1u);
        rig.Game()->SwitchScreen(kScreenMainMenu);
    }
}

TEST(CharacterCreation, RaceDialogSelectsTheRowAndPictureAndTheRaceRuleFollows) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kChangeRace);
    CRaceDialog& d = s->raceDialog;
    ASSERT_EQ(s->modalChild, &d);
    EXPECT_EQ(d.list.selection, 1);
    EXPECT_STREQ(d.list.GetItem(d.list.selection)->label.GetText(), "Etherim");
    ASSERT_NE(d.picture.picture, nullptr);
    EXPECT_EQ(d.picture.picture->recordId, 3071);
    EXPECT_STRNE(d.description.text.GetText(), "");
    // Opening again reads no picture twice: the holders loaded stay.
    CRecordHolder* held = d.pictures[2].get();
    d.Open(2);
    EXPECT_EQ(d.pictures[2].get(), held);

    // Rasvim: Heal Magic turns into Undead Magic, the face follows the race.
    d.race = 1;
    EXPECT_EQ(d.OnCommand(25), kScreenStay);
    EXPECT_EQ(s->modalChild, nullptr);
    EXPECT_EQ(d.pictures[1], nullptr);  // closed with the dialog
    EXPECT_EQ(s->skills[3], u32{kSkillUndeadMagic});
    EXPECT_STREQ(s->faceName.GetText(), "bres_head00_raceundead");
    EXPECT_STREQ(s->raceLabel.text.GetText(), "Rasvim");

    struct Case {
        u32 race;
        const char* face;
        u32 slot3;
    } cases[] = {{5, "bres_head00_racenogur", u32{kSkillHealMagic}},
                 {1, "bres_head00_raceundead", u32{kSkillUndeadMagic}},
                 {2, "bres_head00_raceetherim", u32{kSkillHealMagic}}};
    for (const Case& c : cases) {
        s->OnCommand(CCreatePlayerScreen::kChangeRace);
        d.race = c.race;
        d.OnCommand(25);
        EXPECT_STREQ(s->faceName.GetText(), c.face);
        EXPECT_EQ(s->skills[3], c.slot3);
    }
    // Cancel changes nothing.
    s->OnCommand(CCreatePlayerScreen::kChangeRace);
    d.race = 4;
    d.OnCommand(26);
    EXPECT_EQ(s->race, 2u);
}

TEST(CharacterCreation, ClassDialogOpensOnTheFirstPresetAndMageSuitsTheUndead) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kSelectClass);
    CClassDialog& d = s->classDialog;
    EXPECT_EQ(d.classId, 1u);
    EXPECT_EQ(d.list.selection, 0);
    EXPECT_EQ(Skills(d.skills), "3,6,4,14,1,2");
    std::string names;
    for (const CTextLabel& l : d.skillLabels) names += std::string(l.text.GetText()) + ";";
    EXPECT_EQ(names, "Heavy Weapon;Heavy Armor;Dual Wield;Repair;Block;Light Weapon;");
    d.OnCommand(26);

    // Race 1, then Mage: the dialog lists Heal Magic, the page takes Undead Magic.
    s->OnCommand(CCreatePlayerScreen::kChangeRace);
    s->raceDialog.race = 1;
    s->raceDialog.OnCommand(25);
    s->OnCommand(CCreatePlayerScreen::kSelectClass);
    d.list.selection = 2;
    d.OnCommand(CClassDialog::kListId);
    EXPECT_STREQ(d.skillLabels[1].text.GetText(), "Heal Magic");
    d.OnCommand(25);
    EXPECT_EQ(Skills(s->skills), "2,12,9,10,13,16");
    EXPECT_EQ(SkillLinks(*s), "Light Weap,Undead Magic,Prot. Magic,Attack Magic,Env. Magic,Alchemy");
    // The dialog opens on Fighter again.
    s->OnCommand(CCreatePlayerScreen::kSelectClass);
    EXPECT_EQ(d.classId, 1u);
    d.OnCommand(26);
}

TEST(CharacterCreation, SkillChoicesSwapAndFollowTheRace) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kFirstSkillSlot);
    CSkillDialog& d = s->skillDialog;
    EXPECT_EQ(d.skill, 2u);
    EXPECT_NE(d.links[2].state & kWidgetLatched, 0);
    EXPECT_STREQ(d.links[2].text.GetText(), "Light Weapon");
    EXPECT_STRNE(d.description.text.GetText(), "");
    EXPECT_STREQ(d.links[12].text.GetText(), "Undead Magic");
    // Slot 0 takes slot 3's Heal Magic: the two swap.
    d.OnCommand(CSkillDialog::LinkIdOf(8));
    EXPECT_EQ(d.links[2].state & kWidgetLatched, 0);
    d.OnCommand(25);
    EXPECT_EQ(Skills(s->skills), "8,5,1,2,15,14");

    // For race 1 Heal Magic is stored as Undead Magic.
    s->OnCommand(CCreatePlayerScreen::kChangeRace);
    s->raceDialog.race = 1;
    s->raceDialog.OnCommand(25);
    EXPECT_EQ(Skills(s->skills), "12,5,1,2,15,14");
    s->OnCommand(CCreatePlayerScreen::kFirstSkillSlot + 5);
    d.OnCommand(CSkillDialog::LinkIdOf(8));
    d.OnCommand(25);
    EXPECT_EQ(Skills(s->skills), "14,5,1,2,15,12");
    // Cancel keeps everything.
    s->OnCommand(CCreatePlayerScreen::kFirstSkillSlot + 1);
    d.OnCommand(CSkillDialog::LinkIdOf(20));
    d.OnCommand(26);
    EXPECT_EQ(Skills(s->skills), "14,5,1,2,15,12");
}

TEST(CharacterCreation, FaceArrowsStopAtTheEndsAndAFaceOutsideTheListShowsTheFallback) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    const i32 count = static_cast<i32>(s->faceNames.size());
    ASSERT_GT(count, 2);
    for (i32 i = 1; i < count; ++i) EXPECT_LT(std::string(s->faceNames[i - 1]), std::string(s->faceNames[i]));
    ASSERT_GE(s->faceIndex, 0);
    for (int i = 0; i < count + 2; ++i) s->OnCommand(CCreatePlayerScreen::kPreviousFace);
    EXPECT_EQ(s->faceIndex, 0);
    EXPECT_EQ(s->previousFace.state & kWidgetPenEnabled, 0);
    EXPECT_NE(s->nextFace.state & kWidgetPenEnabled, 0);
    EXPECT_STREQ(s->faceName.GetText(), s->faceNames[0]);
    for (int i = 0; i < count + 2; ++i) s->OnCommand(CCreatePlayerScreen::kNextFace);
    EXPECT_EQ(s->faceIndex, count - 1);
    EXPECT_EQ(s->nextFace.state & kWidgetPenEnabled, 0);
    EXPECT_NE(s->previousFace.state & kWidgetPenEnabled, 0);

    // The face dialog on a face that is not offered: the fallback, the left arrow inert, the right
    // arrow leading to the first face.
    CFaceDialog face(*rig.Game());
    face.Attach(rig.Game());
    face.Open("bres_headunknown");
    EXPECT_EQ(face.faceIndex, -1);
    EXPECT_EQ(face.ChosenFace(), nullptr);
    EXPECT_EQ(face.face.picture, rig.Game()->GetInterfacePicture(kPictureFallbackFace));
    EXPECT_EQ(face.leftArrow.state & kWidgetPenEnabled, 0);
    EXPECT_NE(face.rightArrow.state & kWidgetPenEnabled, 0);
    face.OnCommand(CFaceDialog::kLeftArrow);
    EXPECT_EQ(face.faceIndex, -1);
    face.OnCommand(CFaceDialog::kRightArrow);
    EXPECT_EQ(face.faceIndex, 0);
    EXPECT_STREQ(face.ChosenFace(), s->faceNames[0]);
    EXPECT_EQ(face.leftArrow.state & kWidgetPenEnabled, 0);
}

// A hero needs a name: OK with an empty or all-blank name starts nothing and asks for one (the name
// entry opens on it); the name typed there then starts the game at the start place.
TEST(CharacterCreation, OkWithAnEmptyNameAsksForANameThenTheGameStartsAtTheStartPlace) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    CCreatePlayerScreen* s = rig.EnterCreation();
    s->OnCommand(CCreatePlayerScreen::kRename);
    s->textDialog.OnCommand(195);
    for (int i = 0; i < 10; ++i) s->textDialog.OnCommand(195);
    s->textDialog.OnCommand(25);
    EXPECT_STREQ(s->name.GetText(), "");
    EXPECT_STREQ(s->nameLabel.text.GetText(), "");
    s->OnCommand(CCreatePlayerScreen::kMale);
    s->OnCommand(CCreatePlayerScreen::kChangeRace);
    s->raceDialog.race = 5;
    s->raceDialog.OnCommand(25);
    rig.Tick();
    for (const char* blank : {"", " ", "   "}) {
        SCOPED_TRACE(std::string("\"") + blank + "\"");
        s->name.Assign(blank);
        EXPECT_EQ(s->OnCommand(25), kScreenStay);
        EXPECT_EQ(rig.Current(), s);
        EXPECT_EQ(s->mode, CCreatePlayerScreen::kTextDialog) << "the name entry asks for the name";
        EXPECT_EQ(s->modalChild, &s->textDialog);
        EXPECT_STREQ(s->textDialog.GetText(), "");
        // Cancel there leaves the page with the blank name, and OK asks again.
        rig.Tick();
        rig.Game()->SendCommand(kCommandCancel);
        EXPECT_EQ(s->modalChild, nullptr);
        EXPECT_EQ(s->mode, CCreatePlayerScreen::kNoDialog);
    }
    s->name.Assign("");
    s->OnCommand(25);
    ASSERT_EQ(s->modalChild, &s->textDialog);
    rig.Game()->TypeChar('v');
    rig.Tick();
    rig.Game()->SendCommand(kCommandUse);
    EXPECT_STREQ(s->name.GetText(), "V");
    rig.Tick();
    const u32 code = s->OnCommand(25);
    EXPECT_EQ(code, kScreenGame);
    rig.Game()->SwitchScreen(code);
    EXPECT_EQ(rig.Current(), rig.Game()->GetGameScreen());
    EXPECT_STREQ(rig.Game()->pendingMapName.GetText(), "base_start");
    // The player is the character made: its name, race, face and primary skills, alive, with a
    // start kit.
    const CPlayer& player = rig.Game()->player;
    EXPECT_GT(player.hp, 0);
    EXPECT_STREQ(player.name.GetText(), "V");
    EXPECT_EQ(player.race, 5u);
    EXPECT_STREQ(player.portrait.GetText(), "bres_head00_racenogur");
    EXPECT_NE(rig.Game()->currentWorld, nullptr);
    // The choices stay for the set-up to read.
    EXPECT_STREQ(s->name.GetText(), "V");
    EXPECT_EQ(s->gender, 1u);
}

TEST(PagesScreen, TheIntroLeadsIntoCreationByPictureTapsAndKeysButNotTextTaps) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    const u32 intro = rig.Game()->FindPageSequence("bres_intro");
    ASSERT_NE(intro, 0u);
    rig.EnterScreen(kScreenPages, CPagesScreen::kIntro, intro);
    CPagesScreen* p = rig.Pages();
    ASSERT_EQ(rig.Current(), p);
    ASSERT_EQ(p->sequence.pages.size(), 3u);
    EXPECT_EQ(p->scrollInterval, 100u);
    EXPECT_NE(p->picture.picture, nullptr);
    // The text sits 25 pixels below the picture in this layout.
    EXPECT_EQ(p->text.y, p->picture.y + p->picture.h + 25);
    EXPECT_EQ(p->OnCommand(CPagesScreen::kTextId), kScreenStay);
    EXPECT_EQ(p->pageIndex, 0u);
    EXPECT_EQ(p->OnCommand(CPagesScreen::kPictureId), kScreenStay);
    EXPECT_EQ(p->pageIndex, 1u);
    EXPECT_EQ(p->OnKey(13), kScreenStay);
    EXPECT_EQ(p->OnKey(13), kScreenCreatePlayer);
    EXPECT_EQ(p->entryA | p->entryB | p->entryC | p->entryD, 0u);
}

TEST(PagesScreen, SpeedButtonsStayWithinTheirRangeAndPauseStopsTheText) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    const u32 intro = rig.Game()->FindPageSequence("bres_intro");
    rig.EnterScreen(kScreenPages, CPagesScreen::kScene, intro);
    CPagesScreen* p = rig.Pages();
    struct Case {
        u32 command;
        u32 interval;
        bool fasterWorks, slowerWorks;
    } cases[] = {{41, 50, false, true},  {41, 50, false, true}, {42, 100, true, true},
                 {42, 150, true, true},  {42, 200, true, true}, {42, 250, true, true},
                 {42, 300, true, false}, {42, 300, true, false}};
    for (const Case& c : cases) {
        p->OnCommand(c.command);
        EXPECT_EQ(p->scrollInterval, c.interval);
        EXPECT_EQ(p->text.stepInterval, c.interval);
        EXPECT_EQ((p->faster.state & kWidgetPenEnabled) != 0, c.fasterWorks);
        EXPECT_EQ((p->slower.state & kWidgetPenEnabled) != 0, c.slowerWorks);
    }
    // At each speed the text moves one pixel per interval.
    for (u32 interval : {50u, 100u, 300u}) {
        SCOPED_TRACE(interval);
        p->scrollInterval = interval;
        p->text.stepInterval = interval;
        const i32 start = p->text.position;
        for (int i = 0; i < 4; ++i) rig.Tick(interval);
        EXPECT_NEAR(p->text.position - start, 4, 1);
    }

    // Paused, the text stands; a tap on the text of a scene still turns the page.
    p->OnCommand(CPagesScreen::kPauseId);
    EXPECT_EQ(p->scrolling, 0u);
    EXPECT_EQ(p->pause.pictures[0], p->holders[9 + 4].get());
    const i32 held = p->text.position;
    for (int i = 0; i < 20; ++i) rig.Tick(100);
    EXPECT_EQ(p->text.position, held);
    EXPECT_EQ(p->OnCommand(CPagesScreen::kTextId), kScreenStay);
    EXPECT_EQ(p->pageIndex, 1u);

    // Leaving while paused and coming back starts scrolling again, with the while-scrolling look.
    p->Leave();
    rig.EnterScreen(kScreenPages, CPagesScreen::kScene, intro);
    EXPECT_EQ(p->scrolling, 1u);
    EXPECT_EQ(p->text.running, 1u);
    EXPECT_EQ(p->pause.pictures[0], p->holders[9 + 6].get());
}

TEST(PagesScreen, ACreditsPageEndsCentredAndTwoSecondsLaterGoesBack) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    const u32 credits = rig.Game()->FindPageSequence(CMainMenuScreen::kCreditsSequence);
    ASSERT_NE(credits, 0u);
    rig.EnterScreen(kScreenPages, CPagesScreen::kCredits, credits);
    CPagesScreen* p = rig.Pages();
    ASSERT_EQ(p->sequence.pages.size(), 1u);
    EXPECT_FALSE(p->picture.IsShown());
    const i32 textHeight = static_cast<i32>(p->text.lines.GetCount()) * p->text.linePitch;
    EXPECT_EQ(p->text.endPosition, textHeight + (static_cast<i32>(p->text.h) - textHeight) / 2);
    u32 code = kScreenStay;
    int ticks = 0;
    while (p->text.position < p->text.endPosition && ticks++ < 5000) rig.Tick(p->scrollInterval);
    EXPECT_EQ(p->text.position, p->text.endPosition);
    rig.Tick(30);
    EXPECT_EQ(p->OnTick(0), kScreenStay);
    rig.env.clock.Advance(2000);
    code = p->OnTick(0);
    EXPECT_EQ(code, kScreenBack);
}

TEST(PagesScreen, AMissingOrEmptySequenceEndsAtOnce) {
    WorldRig rig;
    ASSERT_TRUE(rig.StartWithWorld());
    // Into creation for the intro.
    rig.EnterScreen(kScreenPages, CPagesScreen::kIntro, 0);
    EXPECT_EQ(rig.Pages()->OnTick(0), kScreenCreatePlayer);
    rig.Tick();
    EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenCreatePlayer));
    // Back for the others; a number past the list is no sequence either.
    rig.EnterScreen(kScreenPages, CPagesScreen::kCredits, 999);
    EXPECT_TRUE(rig.Pages()->sequence.pages.empty());
    EXPECT_EQ(rig.Pages()->OnKey(13), kScreenBack);
    EXPECT_EQ(rig.Pages()->OnTick(0), kScreenBack);
}

TEST(DeathScreen, TheButtonAndTheUseKeyBothLeadToTheMenu) {
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey);
        WorldRig rig;
        ASSERT_TRUE(rig.StartWithWorld());
        rig.EnterScreen(kScreenDeath);
        auto* d = static_cast<CDeathScreen*>(rig.Current());
        ASSERT_EQ(d, rig.Game()->GetScreen(kScreenDeath));
        ASSERT_NE(d->holders[0], nullptr);
        EXPECT_EQ(d->pictures[1].picture->recordId, 3519);
        rig.Tick();
        if (byKey) {
            rig.Game()->SendCommand(kCommandUse);
        } else {
            rig.Tap(d->okButton.x + 5, d->okButton.y + 5);
        }
        EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
        EXPECT_EQ(d->holders[0], nullptr);
    }
}

TEST(NewGameFrames, CreationAndRaceDialogInAWideAndANarrowLayout) {
    for (const testing_support::GoldenLayout& c : testing_support::kGoldenLayouts) {
        SCOPED_TRACE(c.mode);
        WorldRig rig;
        ASSERT_TRUE(rig.StartWithWorld());
        ASSERT_TRUE(rig.UseLayoutMode(c.mode));
        CCreatePlayerScreen* s = rig.EnterCreation();
        s->Draw();
        testing_support::Rgb565Image frame = rig.Capture();
        using testing_support::Crop;
        EXPECT_TRUE(testing_support::MatchesGolden(std::string("screens/creation_") + c.name,
                                                   Crop(frame, 0, 0, c.width, c.height)));
        s->OnCommand(CCreatePlayerScreen::kChangeRace);
        s->Draw();
        CRaceDialog& d = s->raceDialog;
        EXPECT_TRUE(
            testing_support::MatchesGolden(std::string("screens/race_dialog_") + c.name,
                                           Crop(rig.Capture(), static_cast<int>(d.x), static_cast<int>(d.y),
                                                static_cast<int>(d.width), static_cast<int>(d.height))));
        rig.Game()->layoutMode = 15;
    }
}
