#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "data/WorldList.h"
#include "data/RecordHolder.h"
#include "display/FontSet.h"
#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/Mixer.h"
#include "sound/SoundManager.h"
#include "screens/frontend/MainMenuScreen.h"
#include "tests/support/FrameRig.h"
#include "tests/support/TestRecords.h"
#include "world/GameScreen.h"

namespace {

using Rig = testing_support::FrameRig;

// Writes a saved-game database of the slot with the given type and creator into the rig's folder.
void WriteSave(Rig& rig, u32 slot, const char* type = "VnTS", const char* creator = "VnTS") {
    CPdbFile db;
    db.InitSavedGameHeader(("VantrelSave" + std::to_string(slot)).c_str());
    std::memcpy(db.Header().type, type, 4);
    std::memcpy(db.Header().creator, creator, 4);
    const std::vector<u8> record = testing_support::SavedGameHeaderStub();
    db.AddRecord(3000, record.data(), static_cast<u32>(record.size()));
    ASSERT_EQ(db.Save(rig.env.dir.File("VantrelSave" + std::to_string(slot)).c_str()), 1);
}

// A started game whose splash has been skipped.
struct MenuRig : Rig {
    // Runs before the menu is entered: saves to write, a game to put in progress.
    template <typename Prepare>
    bool StartAtMenu(Prepare prepare) {
        if (!StartOnBuiltDatabase()) return false;
        prepare(*Game());
        Key(27);
        menu = static_cast<CMainMenuScreen*>(Game()->GetScreen(kScreenMainMenu));
        return Current() == menu;
    }
    bool StartAtMenu() {
        return StartAtMenu([](CGame&) {});
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> out;
        for (i32 i = 0; i < menu->list.GetCount(); ++i) out.push_back(menu->list.GetItem(i)->label.GetText());
        return out;
    }
    // Every text the prompt shows, its lines joined by blanks.
    std::string PromptText() const {
        std::string out;
        const CTextViewLineArray* arrays[] = {&menu->promptView.rows, &menu->promptView.pending};
        for (const CTextViewLineArray* lines : arrays)
            for (u32 i = 0; i < lines->Count(); ++i) {
                const char* line = lines->At(i).text.GetText();
                if (line[0] == 0) continue;
                if (!out.empty()) out += ' ';
                out += line;
            }
        return out;
    }
    // Moves the selection to the entry and chooses it with the keys.
    void Choose(const char* entry) {
        std::vector<std::string> entries = Entries();
        for (int guard = 0; guard < 20; ++guard) {
            i32 s = menu->list.selection;
            if (s >= 0 && entries[static_cast<size_t>(s)] == entry) break;
            Key(40);  // down
        }
        Key(13);
    }

    CMainMenuScreen* menu = nullptr;
};

void PutGameInProgress(CGame& game, i32 hitPoints) {
    game.GetGameScreen()->inGame = 1;
    game.player.hp = static_cast<u16>(hitPoints);
}

}  // namespace

TEST(MainMenu, TheFourthPictureFollowsTheLayoutMode) {
    struct Case {
        u32 mode;
        u16 record;
    } cases[] = {{2, 4036},  {5, 4036},  {6, 4036}, {7, 4036},  {8, 4036},  {12, 4036},
                 {13, 4036}, {16, 4036}, {9, 4081}, {10, 4081}, {11, 4081}, {14, 4081},
                 {15, 4081}, {1, 3083},  {3, 3083}, {4, 3083}};
    for (const Case& c : cases) EXPECT_EQ(MainMenuFourthPicture(c.mode), c.record) << c.mode;
}

TEST(MainMenu, AFirstStartShowsSixEntriesAndNoPrompt) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    EXPECT_EQ(rig.Entries(), (std::vector<std::string>{"Start new game", "Load Game", "Settings",
                                                       "Additional worlds", "Credits", "Exit"}));
    EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
    EXPECT_EQ(rig.menu->modalChild, nullptr);
    EXPECT_TRUE(rig.menu->list.IsShown());
    EXPECT_EQ(rig.menu->list.selection, -1);
    EXPECT_EQ(rig.menu->version.text.GetText(), std::string("v1.04"));
    // The four pictures of the large layouts, and the menu music chosen through the game view.
    const u16 records[4] = {3081, 3080, 3082, 4081};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(rig.Game()->loadingPictures[i], nullptr);
        EXPECT_EQ(rig.Game()->loadingPictures[i]->recordId, records[i]);
        EXPECT_TRUE(rig.Game()->loadingPictures[i]->IsLoaded()) << records[i];
        EXPECT_EQ(rig.menu->pictures[i].picture, rig.Game()->loadingPictures[i].get());
        // Each picture has the size of its rectangle, so nothing is stretched in the large layouts.
        EXPECT_EQ(rig.menu->pictures[i].stretched, 0u) << records[i];
    }
    EXPECT_EQ(rig.menu->pictures[3].transparent, 1u);
    EXPECT_EQ(rig.Game()->GetGameScreen()->surroundings.currentMusic, "bmus_main");
    EXPECT_TRUE(testing_support::MatchesGolden("screens/main_menu_mode15", rig.Capture()));
}

TEST(MainMenu, TheAutomaticSaveIsOfferedOnlyWhenSlotZeroHoldsASavedGameAndNoGameRuns) {
    struct Case {
        const char* what;
        bool write;
        const char* type;
        const char* creator;
        bool inGame;
        bool offered;
        bool damaged;  // the slot's file is no saved game of this game: the notice says so instead
    } cases[] = {
        {"no save", false, "", "", false, false, false},
        {"a save", true, "VnTS", "VnTS", false, true, false},
        {"another creator", true, "VnTS", "VnTl", false, false, true},
        {"another type", true, "base", "VnTS", false, false, true},
        {"a save during a game", true, "VnTS", "VnTS", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuRig rig;
        if (c.write) WriteSave(rig, 0, c.type, c.creator);
        WriteSave(rig, 1);  // another slot never counts
        ASSERT_TRUE(rig.StartAtMenu([&](CGame& game) {
            if (c.inGame) PutGameInProgress(game, 10);
        }));
        EXPECT_EQ(rig.menu->pendingPrompt, c.offered ? kPromptLoadAutoSave : c.damaged ? kPromptNotice : kPromptNone);
        EXPECT_EQ(rig.menu->modalChild, c.offered || c.damaged ? &rig.menu->promptBar : nullptr);
        EXPECT_EQ(rig.menu->list.IsShown(), !c.offered && !c.damaged);
        if (c.damaged) EXPECT_EQ(rig.PromptText(), "The auto-saved game is damaged and cannot be loaded.");
        if (c.offered) {
            EXPECT_EQ(rig.PromptText(), "Do you want to load the auto-saved game?");
            EXPECT_EQ(rig.menu->promptBar.flags & 0xFFFF, CButtonBar::kYes | CButtonBar::kNo);
        }
    }
}

// An automatic save that is there but cannot be read is not passed over in silence: the offer says it
// is damaged, and closing it leaves the menu.
TEST(MainMenu, ADamagedAutomaticSaveIsOfferedAsDamaged) {
    MenuRig rig;
    ASSERT_TRUE(rig.env.CopyBuiltDatabase());
    std::ofstream(rig.env.dir.File("VantrelSave0.pdb")) << "cut off by a crash";
    ASSERT_TRUE(rig.StartAtMenu());
    EXPECT_EQ(rig.menu->modalChild, &rig.menu->promptBar);
    EXPECT_EQ(rig.PromptText(), "The auto-saved game is damaged and cannot be loaded.");
    EXPECT_EQ(rig.menu->promptBar.flags & 0xFFFF, CButtonBar::kOk);
    rig.Tick();
    EXPECT_EQ(rig.menu->OnCommand(CButtonBar::kOk), kScreenStay);
    EXPECT_EQ(rig.menu->modalChild, nullptr);
    EXPECT_TRUE(rig.menu->list.IsShown());
    EXPECT_EQ(rig.Game()->saveGames.loadsRequested, 0u);
}

TEST(MainMenu, TheAutoSavePromptAnsweredNoKeepsTheMenuAndYesTriesTheLoad) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        MenuRig rig;
        WriteSave(rig, 0);
        ASSERT_TRUE(rig.StartAtMenu());
        ASSERT_EQ(rig.menu->pendingPrompt, kPromptLoadAutoSave);
        rig.Tick();
        EXPECT_EQ(rig.menu->OnCommand(yes ? CButtonBar::kYes : CButtonBar::kNo), kScreenStay);
        EXPECT_EQ(rig.Game()->saveGames.loadsRequested, yes ? 1u : 0u);
        EXPECT_EQ(rig.Current(), rig.menu);
        if (!yes) {
            EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
            EXPECT_EQ(rig.menu->modalChild, nullptr);
            EXPECT_TRUE(rig.menu->list.IsShown());
            continue;
        }
        // No game can be read yet: the player stays in the menu and is told so.
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNotice);
        // The notice says why (the stub's header holds no game).
        EXPECT_EQ(rig.PromptText().rfind("The auto-saved game could not be loaded: ", 0), 0u) << rig.PromptText();
        EXPECT_EQ(rig.menu->OnCommand(CButtonBar::kOk), kScreenStay);
        EXPECT_EQ(rig.menu->modalChild, nullptr);
        EXPECT_EQ(rig.Entries().size(), 6u);
    }
}

TEST(MainMenu, AGameInProgressAddsContinueFirstAndSaveAfterLoadWhileThePlayerLives) {
    struct Case {
        u32 inGame;
        i32 hitPoints;
        std::vector<std::string> entries;
    } cases[] = {
        {1,
         12,
         {"Continue game", "Start new game", "Load Game", "Save Game", "Settings", "Additional worlds",
          "Credits", "Exit"}},
        {1,
         1,
         {"Continue game", "Start new game", "Load Game", "Save Game", "Settings", "Additional worlds",
          "Credits", "Exit"}},
        {1, 0, {"Start new game", "Load Game", "Settings", "Additional worlds", "Credits", "Exit"}},
        {1, -5, {"Start new game", "Load Game", "Settings", "Additional worlds", "Credits", "Exit"}},
        {0, 12, {"Start new game", "Load Game", "Settings", "Additional worlds", "Credits", "Exit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "in game " << c.inGame << ", hit points " << c.hitPoints);
        MenuRig rig;
        ASSERT_TRUE(rig.StartAtMenu([&](CGame& game) {
            game.GetGameScreen()->inGame = c.inGame;
            game.player.hp = static_cast<u16>(std::max(c.hitPoints, 0));  // hit points are unsigned
        }));
        EXPECT_EQ(rig.Entries(), c.entries);
        const u32 values[] = {6, 1, 2, 3, 7, 8, 9, 5};
        for (i32 i = 0; i < rig.menu->list.GetCount(); ++i) {
            const char* label = rig.menu->list.GetItem(i)->label.GetText();
            for (size_t k = 0; k < 8; ++k) {
                if (c.entries.size() == 8 && c.entries[k] == label) {
                    EXPECT_EQ(rig.menu->list.GetItem(i)->value, values[k]);
                }
            }
        }
    }
}

TEST(MainMenu, TheExitPromptPromisesTheSaveOnlyDuringAGame) {
    for (bool inGame : {false, true}) {
        SCOPED_TRACE(inGame ? "in a game" : "no game");
        MenuRig rig;
        ASSERT_TRUE(rig.StartAtMenu([&](CGame& game) {
            if (inGame) PutGameInProgress(game, 5);
        }));
        rig.Choose("Exit");
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptExit);
        EXPECT_EQ(rig.PromptText(), inGame ? "Are you sure you want to exit? The active game will be saved."
                                           : "Are you sure you want to exit?");
        // No ends nothing.
        EXPECT_EQ(rig.menu->OnCommand(CButtonBar::kNo), kScreenStay);
        EXPECT_FALSE(rig.frame->QuitRequested());
        EXPECT_EQ(rig.menu->modalChild, nullptr);
    }
}

TEST(MainMenu, ExitAndYesEndTheLoopInOrderAndTheGameInProgressIsSaved) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu([](CGame& game) { PutGameInProgress(game, 5); }));
    const u32 savesBefore = CSaveGameManager::totalSavesRequested;

    // Through the window's events: up from no selection takes the first entry, up again wraps to
    // "Exit"; Enter chooses it, a tick passes, Enter answers Yes. A last key stays queued.
    for (u32 key : {38u, 38u, 13u}) rig.window->PushKeyDown(key);
    rig.window->PushEvent({plat::EventType::Timer});
    rig.window->PushKeyDown(13);
    rig.window->PushKeyDown(27);
    rig.frame->Run();
    EXPECT_TRUE(rig.frame->QuitRequested());
    EXPECT_EQ(rig.window->PendingEvents(), 1u);
    EXPECT_EQ(rig.Current(), rig.menu);

    // The frame's end destroys the game, whose release writes the automatic save.
    rig.Stop();
    EXPECT_EQ(CSaveGameManager::totalSavesRequested, savesBefore + 1);
}

TEST(MainMenu, EachEntryLeadsWhereItShouldAndEscapeComesBack) {
    struct Case {
        const char* entry;
        u32 screen;
        u32 wordA;
        bool kept;
    } cases[] = {
        {"Load Game", kScreenLoadSave, 1, true}, {"Save Game", kScreenLoadSave, 0, true},
        {"Settings", kScreenSettings, 0, true},  {"Additional worlds", kScreenWorlds, 0, true},
        {"Credits", kScreenPages, 2, true},      {"Start new game", kScreenPages, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        MenuRig rig;
        bool inGame = std::string(c.entry) == "Save Game";
        ASSERT_TRUE(rig.StartAtMenu([&](CGame& game) {
            if (inGame) PutGameInProgress(game, 5);
        }));
        rig.Choose(c.entry);
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
        CScreen* next = rig.Game()->GetScreen(c.screen);
        ASSERT_EQ(rig.Current(), next);
        EXPECT_EQ(next->entryA, c.wordA);
        EXPECT_EQ(next->entryC | next->entryD, 0u);
        EXPECT_EQ(rig.Game()->screenStack->GetCount(), c.kept ? 1 : 0);
        if (c.screen == kScreenPages) {
            // The pages get the world's sequence: the intro, or the credits.
            const char* sequence =
                c.wordA == 0 ? CMainMenuScreen::kIntroSequence : CMainMenuScreen::kCreditsSequence;
            EXPECT_EQ(next->entryB, rig.Game()->FindPageSequence(sequence));
            EXPECT_NE(next->entryB, 0u);
            continue;
        }
        EXPECT_EQ(next->entryB, 0u);

        // Escape goes back to the menu: resumed from the stack, or entered anew.
        rig.Tick();
        rig.Key(27);
        EXPECT_EQ(rig.Current(), rig.menu);
        EXPECT_EQ(rig.Game()->screenStack->GetCount(), 0);
        EXPECT_EQ(rig.menu->list.selection, -1);
        EXPECT_EQ(rig.menu->list.IsShown(), true);
    }
}

TEST(MainMenu, StartingANewGameDuringAGameAsksFirst) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu([](CGame& game) { PutGameInProgress(game, 5); }));
    rig.Choose("Start new game");
    EXPECT_EQ(rig.menu->pendingPrompt, kPromptNewGame);
    EXPECT_EQ(rig.PromptText(), "Are you sure you want to start a new game?");
    EXPECT_EQ(rig.Current(), rig.menu);
    EXPECT_EQ(rig.menu->OnCommand(CButtonBar::kYes), kScreenPages);
    EXPECT_EQ(rig.menu->keepOnStack, 0u);
}

TEST(MainMenu, ContinueGoesBackToTheGameBelow) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu([](CGame& game) { PutGameInProgress(game, 5); }));
    CGame* game = rig.Game();
    // The game view, kept underneath, as when the player opened the menu from the game.
    game->screenStack->Add(game->GetGameScreen());
    game->GetGameScreen()->keepOnStack = 1;
    rig.Choose("Continue game");
    EXPECT_EQ(rig.Current(), game->GetGameScreen());
    EXPECT_EQ(game->screenStack->GetCount(), 0);
}

TEST(MainMenu, ATapSelectsAndReleasingOnTheSameRowChooses) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    CListBox& list = rig.menu->list;
    rig.Tick();
    i32 x = list.x + list.w / 2, y = list.y + 5 * list.rowHeight + list.rowHeight / 2;  // "Exit"
    rig.frame->OnLButtonDown(x, y);
    EXPECT_EQ(list.selection, 5);
    EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
    rig.frame->OnLButtonUp(x, y);
    EXPECT_EQ(rig.menu->pendingPrompt, kPromptExit);
}

TEST(MainMenu, RowsAreOnePixelTallerThanTheFontInSmallLayoutsAndTwoInLargeOnes) {
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    CGame* game = rig.Game();
    const i32 line = game->fonts->Font(2)->LineHeight();
    struct Case {
        u32 mode;
        i32 extra;
        u16 fourth;
    } cases[] = {{15, 2, 4081}, {6, 1, 4036}, {9, 2, 4081}, {3, 2, 3083}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        game->layoutMode = c.mode;
        game->loadingPictures[3].reset();
        rig.menu->Enter(0, 0, 0, 0);
        EXPECT_EQ(rig.menu->list.rowHeight, line + c.extra);
        EXPECT_EQ(rig.menu->list.visibleRows, rig.menu->list.h / (line + c.extra));
        EXPECT_EQ(game->loadingPictures[3]->recordId, c.fourth);
    }
    game->layoutMode = 15;
}

namespace {

// Rewrites a database of the rig's folder with one record changed by `change`, which returns false
// to leave the record out.
template <typename Change>
void RewriteRecord(Rig& rig, const char* name, u16 id, Change change) {
    const std::string path = rig.env.dir.File(std::string(name) + ".pdb");
    CPdbFile in;
    ASSERT_EQ(in.OpenPath(path), 1);
    CPdbFile out;
    out.Header() = in.Header();
    bool seen = false;
    for (u32 i = 0; i < in.GetRecordCount(); ++i) {
        const u16 key = in.GetEntry(i).key;
        CRecordData* r = in.ReadRecord(key);
        ASSERT_NE(r, nullptr);
        std::vector<u8> bytes(r->data, r->data + r->size);
        FreeDataBlock(r);
        if (key == id) {
            seen = true;
            if (!change(bytes)) continue;
        }
        out.AddRecord(key, bytes.data(), static_cast<u32>(bytes.size()));
    }
    ASSERT_TRUE(seen) << name << " has no record " << id;
    in.Close();
    ASSERT_EQ(out.Save(path.c_str()), 1);
}

// Rewrites a database of the rig's folder without one record.
void DropRecord(Rig& rig, const char* name, u16 id) {
    RewriteRecord(rig, name, id, [](std::vector<u8>&) { return false; });
}

// Rewrites one record with the first occurrence of `from` (NULs included) replaced by `to`.
void PatchRecord(Rig& rig, const char* name, u16 id, const std::string& from, const std::string& to) {
    RewriteRecord(rig, name, id, [&](std::vector<u8>& bytes) {
        const std::string text(bytes.begin(), bytes.end());
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << "record " << id << " holds no " << from;
        if (at != std::string::npos) std::copy(to.begin(), to.end(), bytes.begin() + static_cast<long>(at));
        return true;
    });
}

}  // namespace

TEST(MainMenuWorlds, TheMenuPlaysItsMusicFromTheMusicDatabase) {
    plat::HeadlessAudio audio;
    plat::ScopedAudioBackend scope{plat::HeadlessAudio::SharedFactory(audio)};
    MenuRig rig;
    ASSERT_TRUE(rig.StartAtMenu());
    CGameScreen* view = rig.Game()->GetGameScreen();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->surroundings.currentMusic, "bmus_main");
    ASSERT_GE(view->surroundings.musicChannel, 0);
    Mixer* mixer = rig.Game()->sound->GetMixer();
    ASSERT_TRUE(mixer && mixer->IsOpen());
    EXPECT_FALSE(mixer->Music(static_cast<u32>(view->surroundings.musicChannel)).IsStopped());

    // A new game closes and reopens the worlds: the music stops first and nothing is left playing
    // from freed records; the intro then plays its own piece from the reopened world.
    const i32 before = view->surroundings.musicChannel;
    u32 updates = view->musicUpdates;
    rig.Choose("Start new game");
    EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenPages));
    EXPECT_GT(view->musicUpdates, updates);
    EXPECT_NE(view->screenMusic, nullptr);
    if (view->surroundings.musicChannel >= 0) {
        EXPECT_FALSE(mixer->Music(static_cast<u32>(view->surroundings.musicChannel)).IsStopped());
    }
    (void)before;
    EXPECT_NE(rig.Game()->currentWorld, nullptr);
}

TEST(MainMenuWorlds, WithoutTheBaseWorldANewGameSaysWhichFileAndStays) {
    struct Case {
        const char* what;
        const char* message;
    } cases[] = {
        {"removed", "VantrelBase.pdb is missing or cannot be opened."},
        {"cut short", "VantrelBase.pdb: record 4012 (items) is missing or damaged."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuRig rig;
        ASSERT_TRUE(rig.StartAtMenu([&](CGame&) {
            if (std::string(c.what) == "removed")
                std::filesystem::remove(rig.env.dir.File("VantrelBase.pdb"));
            else
                DropRecord(rig, "VantrelBase", 4012);
        }));
        rig.Choose("Start new game");
        EXPECT_EQ(rig.Current(), rig.menu);
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNotice);
        EXPECT_EQ(rig.PromptText(), c.message);
        EXPECT_EQ(rig.Game()->worlds->FindWorldByShortName("base"), nullptr);
        // The message is answered and the menu goes on.
        rig.Tick();
        rig.Key(13);
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
        EXPECT_EQ(rig.Current(), rig.menu);
    }
}

// Every database a game needs is checked before the game starts: a missing or damaged one refuses the
// new game in the menu with one message that names the file and the record and says what is wrong.
TEST(MainMenuWorlds, ADamagedOrMissingGameDatabaseRefusesTheNewGameAndNamesIt) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        void (*damage)(Rig&);
        const char* message;
    } cases[] = {
        {"no pictures", [](Rig& r) { std::filesystem::remove(r.env.dir.File("VantrelRes.pdb")); },
         "VantrelRes.pdb is missing or cannot be opened."},
        {"pictures cut short", [](Rig& r) { DropRecord(r, "VantrelRes", 4000); },
         "VantrelRes.pdb: record 4000 (pictures) is missing or damaged."},
        {"first section's cells gone", [](Rig& r) { DropRecord(r, "VantrelBase", 30000); },
         "VantrelBase.pdb: record 30000 (map section) is missing or damaged."},
        {"start place renamed",
         [](Rig& r) { PatchRecord(r, "VantrelBase", 30003, "base_start\0"s, "base_stbrt\0"s); },
         "VantrelBase.pdb: record 30003 (map objects) is damaged: it holds no start place \"base_start\"."},
        {"short name damaged", [](Rig& r) { PatchRecord(r, "VantrelBase", 3999, "\0base\0"s, "\0bxse\0"s); },
         "VantrelBase.pdb: record 3999 (header) is damaged: the world is named \"bxse\", not \"base\"."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuRig rig;
        ASSERT_TRUE(rig.StartAtMenu([&](CGame&) { c.damage(rig); }));
        rig.Choose("Start new game");
        EXPECT_EQ(rig.Current(), rig.menu);
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNotice);
        EXPECT_EQ(rig.PromptText(), c.message);
        rig.Tick();
        rig.Key(13);
        EXPECT_EQ(rig.menu->pendingPrompt, kPromptNone);
        EXPECT_EQ(rig.Current(), rig.menu);
    }
}

// Without the base world the automatic save cannot be loaded, and the notice says why.
TEST(MainMenuWorlds, WithoutTheBaseWorldTheAutoSaveNoticeSaysWhichFile) {
    MenuRig rig;
    WriteSave(rig, 0);
    ASSERT_TRUE(rig.StartAtMenu([&](CGame&) { std::filesystem::remove(rig.env.dir.File("VantrelBase.pdb")); }));
    ASSERT_EQ(rig.menu->pendingPrompt, kPromptLoadAutoSave);
    rig.Tick();
    EXPECT_EQ(rig.menu->OnCommand(CButtonBar::kYes), kScreenStay);
    EXPECT_EQ(rig.Current(), rig.menu);
    EXPECT_EQ(rig.menu->pendingPrompt, kPromptNotice);
    EXPECT_EQ(rig.PromptText(), "The auto-saved game could not be loaded: the worlds could not be opened: "
                                "VantrelBase.pdb is missing or cannot be opened.");
}

// Music and sounds may be missing: the game runs without them, and the terminal says once, at the
// first time, which file was skipped.
TEST(MainMenuWorlds, AMissingOptionalDatabaseIsNotedOnceOnTheTerminal) {
    MenuRig rig;
    ASSERT_TRUE(rig.env.CopyBuiltDatabase());
    std::filesystem::remove(rig.env.dir.File("VantrelMusic.pdb"));
    std::filesystem::remove(rig.env.dir.File("VantrelSound.pdb"));
    testing::internal::CaptureStderr();
    const bool started = rig.Start();
    rig.Key(27);
    int opened[2] = {};
    for (int& o : opened) {
        rig.Game()->ResetWorld();
        o = rig.Game()->OpenGameDatabases(nullptr);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    EXPECT_EQ(opened[0], 1);
    EXPECT_EQ(opened[1], 1);
    auto count = [&err](const std::string& what) {
        size_t n = 0;
        for (size_t at = err.find(what); at != std::string::npos; at = err.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("VantrelMusic.pdb is missing or cannot be opened."), 1u) << err;
    EXPECT_EQ(count("VantrelSound.pdb is missing or cannot be opened."), 1u) << err;
}

TEST(MainMenuWorlds, ADamagedMusicDatabaseOnlySilencesTheMusic) {
    plat::HeadlessAudio audio;
    plat::ScopedAudioBackend scope{plat::HeadlessAudio::SharedFactory(audio)};
    MenuRig damaged;
    damaged.env.withWorlds = false;
    for (const char* name : {"VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"}) {
        const std::string file = std::string(name) + ".pdb";
        std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/" + file, damaged.env.dir.File(file));
    }
    std::filesystem::resize_file(damaged.env.dir.File("VantrelMusic.pdb"), 3000);
    ASSERT_TRUE(damaged.StartAtMenu());
    EXPECT_EQ(damaged.Game()->GetGameScreen()->surroundings.musicChannel, kNoChannel);
    damaged.Choose("Start new game");
    EXPECT_EQ(damaged.Current(), damaged.Game()->GetScreen(kScreenPages));
}
