// The load and save screen over the main menu: choosing slots, saving with and without the overwrite
// prompt, deleting, the load button of an empty slot, a save that fails, and its frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "core/Stream.h"
#include "data/SaveGameManager.h"
#include "data/WorldList.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ButtonBar.h"
#include "ui/ScreenIds.h"

namespace {

// The game's parts as a test sets them: a striped picture and a fixed clock; the sections are empty.
class StripedParts : public ISavedGameParts {
public:
    void MakeThumbnail(u16* pixels) override {
        for (u32 i = 0; i < savegame::kThumbnailPixels; ++i)
            pixels[i] = (i / savegame::kThumbnailWidth) % 10 < 5 ? 0x07E0 : 0x001F;
    }
    std::string DayAndTimeText() override { return "Day 2, 9:30 pm"; }
    bool WritePart(u16, CStream&, CSaveStringTable&) override { return !failWrites; }
    bool ReadPart(u16, CStream&, const CSaveStringTable&, u32) override { return true; }
    void DiscardParts() override {}
    bool ResetForLoad() override { return true; }
    void CommitParts() override {}
    void PlacePlayer(u32, u32) override {}
    void EnterSavedPlace(CWorld&, CMapSection&) override {}
    bool failWrites = false;
};

std::vector<char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

struct LoadSaveRig : testing_support::FrameRig {
    bool Open(u32 mode) {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);  // past the splash
        CGame& game = *Game();
        game.saveGames.folder = env.dir.Path();
        game.saveGames.worlds = game.worlds.get();
        game.saveGames.parts = &parts;
        return Reopen(mode);
    }
    // Opens the screen from the current one (the main menu) as the menu does.
    bool Reopen(u32 mode) {
        CGame& game = *Game();
        game.currentScreen->keepOnStack = 1;
        game.currentScreen->entryA = mode;
        game.SwitchScreen(kScreenLoadSave);
        screen = static_cast<CLoadSaveScreen*>(game.GetScreen(kScreenLoadSave));
        Tick();
        return Current() == screen;
    }
    // Saves into the slot of the box element from the save mode and closes the "Game saved." notice,
    // which takes the screen back to the menu; then opens it again in `mode`.
    bool SaveThenReopen(u32 box, u32 mode) {
        TapElement(box);
        TapElement(CLoadSaveScreen::kCommandLoadSave);
        Answer(CButtonBar::kOk);
        return Reopen(mode);
    }
    void TapElement(u32 element) {
        ASSERT_TRUE(TapLayoutElement(CLoadSaveScreen::kLayoutGroup, element)) << element;
    }
    // Answers the prompt or notice shown with its button.
    void Answer(u32 button) {
        if (const u32 code = screen->OnCommand(button)) Game()->SwitchScreen(code);
    }
    std::string Prompt() const { return screen->promptState ? screen->message : ""; }
    std::string SlotPath(u32 slot) { return Game()->saveGames.SlotPath(slot) + ".pdb"; }

    StripedParts parts;
    CLoadSaveScreen* screen = nullptr;
};

bool PenOn(const CWidget& w) { return (w.state & kWidgetPenEnabled) != 0; }

}  // namespace

TEST(LoadSaveScreen, SaveIntoAnEmptySlotThenOverwriteOnlyWhenAsked) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
    EXPECT_EQ(rig.screen->title.text.GetText(), std::string("Save a game"));
    EXPECT_FALSE(PenOn(rig.screen->loadSaveButton));
    EXPECT_EQ(rig.screen->labels[0].text.GetText(), std::string("- empty -"));

    rig.TapElement(3);  // slot 2
    EXPECT_EQ(rig.screen->selected, 1);
    EXPECT_TRUE(PenOn(rig.screen->loadSaveButton));
    EXPECT_FALSE(PenOn(rig.screen->deleteButton));
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    EXPECT_EQ(rig.screen->promptState, u32(CLoadSaveScreen::kSavedNotice));
    EXPECT_EQ(rig.Prompt(), "Game saved.");
    ASSERT_TRUE(rig.screen->SlotHoldsGame(1));
    EXPECT_EQ(rig.screen->labels[1].text.GetText(), std::string("\rDay 2, 9:30 pm"));
    const std::vector<char> first = ReadFile(rig.SlotPath(2));
    ASSERT_FALSE(first.empty());

    // Closing the notice goes back to the main menu.
    rig.Answer(CButtonBar::kOk);
    rig.Tick();
    EXPECT_NE(rig.Current(), rig.screen);

    // Over an occupied slot the screen asks first; No leaves it as it was.
    ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeSave));
    rig.TapElement(3);
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    EXPECT_EQ(rig.Prompt(), "Do you want to overwrite this saved game?");
    rig.Answer(CButtonBar::kNo);
    EXPECT_EQ(rig.screen->promptState, u32(CLoadSaveScreen::kNoPrompt));
    EXPECT_EQ(ReadFile(rig.SlotPath(2)), first);
    rig.Tick();
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    EXPECT_EQ(rig.Prompt(), "Do you want to overwrite this saved game?");
    rig.Answer(CButtonBar::kYes);
    EXPECT_EQ(rig.Prompt(), "Game saved.");
}

TEST(LoadSaveScreen, AFailedSaveSaysSoAndKeepsTheOldGame) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
    ASSERT_TRUE(rig.SaveThenReopen(2, CLoadSaveScreen::kModeSave));
    const std::vector<char> before = ReadFile(rig.SlotPath(1));
    rig.parts.failWrites = true;
    rig.TapElement(2);
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    rig.Answer(CButtonBar::kYes);
    EXPECT_EQ(rig.screen->promptState, u32(CLoadSaveScreen::kFailedNotice));
    EXPECT_EQ(rig.Prompt().rfind("The game could not be saved", 0), 0u) << rig.Prompt();
    EXPECT_EQ(ReadFile(rig.SlotPath(1)), before);
    EXPECT_TRUE(rig.screen->SlotHoldsGame(0));
    rig.Answer(CButtonBar::kOk);
    EXPECT_EQ(rig.Current(), rig.screen);
}

TEST(LoadSaveScreen, DeleteAsksAndEmptiesTheSlot) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
    ASSERT_TRUE(rig.SaveThenReopen(5, CLoadSaveScreen::kModeLoad));
    EXPECT_EQ(rig.screen->title.text.GetText(), std::string("Load a game"));
    // An empty slot can be chosen, but neither loaded nor deleted.
    rig.TapElement(2);
    EXPECT_EQ(rig.screen->selected, 0);
    EXPECT_FALSE(PenOn(rig.screen->loadSaveButton));
    EXPECT_FALSE(PenOn(rig.screen->deleteButton));
    rig.TapElement(5);
    EXPECT_TRUE(PenOn(rig.screen->loadSaveButton));
    EXPECT_TRUE(PenOn(rig.screen->deleteButton));
    rig.TapElement(CLoadSaveScreen::kCommandDelete);
    EXPECT_EQ(rig.Prompt(), "Do you want to physically remove this saved game?");
    rig.Answer(CButtonBar::kYes);
    EXPECT_EQ(rig.Prompt(), "The saved game has been removed.");
    EXPECT_EQ(rig.screen->labels[3].text.GetText(), std::string("- empty -"));
    EXPECT_TRUE(ReadFile(rig.SlotPath(4)).empty());
    rig.Answer(CButtonBar::kOk);
    EXPECT_EQ(rig.Current(), rig.screen);
}

// A slot whose file is there but is no readable saved game is shown as damaged, not as empty: it can be
// deleted but not loaded, and saving over it asks first.
TEST(LoadSaveScreen, ADamagedSavedGameIsShownAsDamagedDeletedAndOverwrittenOnlyWhenAsked) {
    struct Case {
        const char* what;
        void (*damage)(const std::string& path);
    } cases[] = {
        {"not a database", [](const std::string& path) { std::ofstream(path, std::ios::trunc) << "not a game"; }},
        {"cut short", [](const std::string& path) { std::filesystem::resize_file(path, 120); }},
        {"header record cut short",
         [](const std::string& path) {
             CPdbFile in;
             ASSERT_EQ(in.OpenPath(path), 1);
             CPdbFile out;
             out.Header() = in.Header();
             for (u32 i = 0; i < in.GetRecordCount(); ++i) {
                 const u16 key = in.GetEntry(i).key;
                 CRecordData* r = in.ReadRecord(key);
                 ASSERT_NE(r, nullptr);
                 out.AddRecord(key, r->data, key == savegame::kHeaderRecord ? 6u : r->size);
                 FreeDataBlock(r);
             }
             in.Close();
             ASSERT_EQ(out.Save(path.substr(0, path.size() - 4).c_str()), 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadSaveRig rig;
        ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
        ASSERT_TRUE(rig.SaveThenReopen(3, CLoadSaveScreen::kModeLoad));
        c.damage(rig.SlotPath(2));
        ASSERT_TRUE(std::filesystem::exists(rig.SlotPath(2)));
        rig.Answer(CLoadSaveScreen::kCommandBack);
        ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeLoad));
        EXPECT_EQ(rig.screen->labels[1].text.GetText(), std::string("- damaged -"));
        rig.TapElement(3);
        EXPECT_FALSE(PenOn(rig.screen->loadSaveButton));
        EXPECT_TRUE(PenOn(rig.screen->deleteButton));

        // Saving over it asks first.
        rig.Answer(CLoadSaveScreen::kCommandBack);
        ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeSave));
        rig.TapElement(3);
        EXPECT_TRUE(PenOn(rig.screen->loadSaveButton));
        rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
        EXPECT_EQ(rig.Prompt(), "Do you want to overwrite this saved game?");
        rig.Answer(CButtonBar::kNo);

        // Delete removes the file.
        rig.Tick();
        rig.TapElement(CLoadSaveScreen::kCommandDelete);
        EXPECT_EQ(rig.Prompt(), "Do you want to physically remove this saved game?");
        rig.Answer(CButtonBar::kYes);
        EXPECT_EQ(rig.Prompt(), "The saved game has been removed.");
        EXPECT_FALSE(std::filesystem::exists(rig.SlotPath(2)));
        EXPECT_EQ(rig.screen->labels[1].text.GetText(), std::string("- empty -"));
    }
}

// A save cut off by a kill leaves its temporary file beside the slot's; listing the slots removes
// such leftovers of the slots and nothing else.
TEST(LoadSaveScreen, LeftoverTemporaryFilesOfAKilledSaveGoWhenTheSlotsAreListed) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
    ASSERT_TRUE(rig.SaveThenReopen(2, CLoadSaveScreen::kModeSave));
    const std::vector<char> saved = ReadFile(rig.SlotPath(1));
    const std::string leftovers[] = {rig.SlotPath(1) + ".tmp", rig.SlotPath(3) + ".tmp"};
    for (const std::string& file : leftovers) std::ofstream(file) << "half a saved game";
    const std::string other = rig.env.dir.File("notes.tmp");
    std::ofstream(other) << "not the game's";
    rig.Answer(CLoadSaveScreen::kCommandBack);
    ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeLoad));
    for (const std::string& file : leftovers) EXPECT_FALSE(std::filesystem::exists(file)) << file;
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(ReadFile(rig.SlotPath(1)), saved);
    EXPECT_TRUE(rig.screen->SlotHoldsGame(0));
    EXPECT_FALSE(rig.screen->SlotHoldsGame(2));
}

TEST(LoadSaveScreen, GoldenFrames) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.Open(CLoadSaveScreen::kModeSave));
    ASSERT_TRUE(rig.SaveThenReopen(3, CLoadSaveScreen::kModeLoad));
    rig.TapElement(3);
    rig.Tick();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/load_save_chosen", rig.Capture()));
    rig.TapElement(CLoadSaveScreen::kCommandDelete);
    rig.Tick();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/load_save_delete_prompt", rig.Capture()));
}

// The game's own parts through the screen: a new game saved into slot 1, changed, and loaded back
// from the load mode, which takes the player into the game view with what was saved.
TEST(LoadSaveScreen, TheRunningGameIsSavedAndLoadedBack) {
    LoadSaveRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    CGame& game = *rig.Game();
    game.saveGames.folder = rig.env.dir.Path();
    ASSERT_TRUE(game.NewGame(nullptr));
    game.player.AddGold(250, false, false);
    const u32 gold = game.player.gold;
    ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeSave));
    rig.TapElement(2);
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    ASSERT_EQ(rig.Prompt(), "Game saved.");
    rig.Answer(CButtonBar::kOk);
    rig.Tick();

    game.player.AddGold(1000, false, false);
    ASSERT_TRUE(rig.Reopen(CLoadSaveScreen::kModeLoad));
    rig.TapElement(2);
    ASSERT_TRUE(PenOn(rig.screen->loadSaveButton));
    rig.TapElement(CLoadSaveScreen::kCommandLoadSave);
    rig.Tick();
    EXPECT_EQ(rig.Current(), game.GetScreen(kScreenGame));
    EXPECT_EQ(game.player.gold, gold);
}
