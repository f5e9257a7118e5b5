#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Game.h"
#include "core/PdbFile.h"
#include "core/Settings.h"
#include "core/WorldEntry.h"
#include "screens/frontend/WorldsScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/Layout.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "world/GameScreen.h"

namespace {

constexpr u32 kPrevious = 689, kNext = 690;
constexpr u32 kDisable0 = 674, kDelete0 = 682, kEnable0 = 691;

// The game started on the built database, at the worlds screen over the main menu, with `count`
// installed worlds "wd00", "wd01", ... whose files lie in the program folder and are remembered.
struct WorldsRig : testing_support::FrameRig {
    template <typename Prepare>
    bool Open(u32 count, Prepare prepare) {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);  // past the splash
        CGame& game = *Game();
        ResetWorldEntries(game.GetInstalledWorlds());
        for (u32 i = 0; i < count; ++i) {
            CWorldEntry entry;
            std::string name = "wd" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            entry.fileName.Assign(("World" + name).c_str());
            entry.shortName.Assign(name.c_str());
            entry.title.Assign(("World number " + std::to_string(i)).c_str());
            AppendWorldEntry(game.GetInstalledWorlds(), entry);
            std::ofstream(env.dir.File("World" + name + ".pdb")) << "world";
            std::snprintf(game.settings.Worlds[i].Name, sizeof game.settings.Worlds[i].Name, "%s",
                          name.c_str());
            game.settings.Worlds[i].Active = 1;
        }
        prepare(game);
        game.currentScreen->keepOnStack = 1;
        game.SwitchScreen(kScreenWorlds);
        screen = static_cast<CWorldsScreen*>(game.GetScreen(kScreenWorlds));
        Tick();
        return Current() == screen;
    }
    bool Open(u32 count) {
        return Open(count, [](CGame&) {});
    }

    void TapElement(u32 element) {
        ASSERT_TRUE(TapLayoutElement(CWorldsScreen::kLayoutGroup, element)) << element;
    }
    // The titles of the rows shown.
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (const CTextLabel& name : screen->rowNames)
            if (name.IsShown()) out.push_back(name.text.GetText());
        return out;
    }
    CWorldEntryArray& Worlds() const { return Game()->GetInstalledWorlds(); }

    CWorldsScreen* screen = nullptr;
};

bool PenOn(const CWidget& w) { return (w.state & kWidgetPenEnabled) != 0; }

}  // namespace

TEST(WorldsScreen, RowsPerPageByLayoutMode) {
    struct Case {
        u32 mode, rows;
    } cases[] = {{2, 7},   {4, 7},   {6, 7}, {11, 7}, {16, 7}, {3, 10}, {7, 10}, {9, 10}, {10, 10},
                 {14, 10}, {15, 10}, {5, 6}, {8, 6},  {1, 7},  {12, 7}, {13, 7}, {0, 7}};
    for (const Case& c : cases) EXPECT_EQ(WorldRowsPerPage(c.mode), c.rows) << c.mode;
}

TEST(WorldsScreen, PagingWithAPageLessExactlyAPageAndAPageMore) {
    // Mode 16 pages by 7.
    struct Case {
        u32 count;
        bool paged;
        std::vector<u32> pageSizes;
    } cases[] = {{6, false, {6}}, {7, false, {7}}, {8, true, {7, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        WorldsRig rig;
        ASSERT_TRUE(rig.Open(c.count, [](CGame& game) { game.layoutMode = 16; }));
        CWorldsScreen& s = *rig.screen;
        ASSERT_EQ(s.rowsPerPage, 7u);
        EXPECT_EQ(s.previousPage.IsShown(), c.paged);
        EXPECT_EQ(s.nextPage.IsShown(), c.paged);
        EXPECT_EQ(rig.Rows().size(), c.pageSizes[0]);
        EXPECT_FALSE(PenOn(s.previousPage));
        EXPECT_EQ(PenOn(s.nextPage), c.paged);
        // The next page is never empty: asked for one anyway, the screen stays on the last page.
        EXPECT_EQ(s.OnCommand(kNext), kScreenStay);
        const u32 last = static_cast<u32>(c.pageSizes.size()) - 1;
        EXPECT_EQ(s.page, static_cast<i32>(last));
        EXPECT_EQ(rig.Rows().size(), c.pageSizes[last]);
        EXPECT_FALSE(PenOn(s.nextPage));
        EXPECT_EQ(PenOn(s.previousPage), c.paged);
        if (c.paged) {
            EXPECT_EQ(rig.Rows(), std::vector<std::string>{"World number 7"});
            s.OnCommand(kPrevious);
            EXPECT_EQ(s.page, 0);
            EXPECT_EQ(rig.Rows().front(), "World number 0");
        }
    }
}

TEST(WorldsScreen, EnableAndDisableAreRememberedAtOnce) {
    WorldsRig rig;
    ASSERT_TRUE(rig.Open(2));
    CWorldsScreen& s = *rig.screen;
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{"World number 0", "World number 1"}));
    EXPECT_TRUE(s.disableButtons[1].IsShown());
    EXPECT_FALSE(s.enableButtons[1].IsShown());
    EXPECT_TRUE(s.emptyLabel.IsShown() == false);
    EXPECT_TRUE(s.nameHeader.IsShown());

    rig.TapElement(kDisable0 + 1);
    EXPECT_EQ(rig.Worlds()[1].enabled, 0);
    EXPECT_EQ(rig.Game()->settings.Worlds[1].Active, 0);
    u32 active = 9;
    ASSERT_TRUE(rig.env.store.ReadDword(kSettingsKey, "WorldID01Active", active));
    EXPECT_EQ(active, 0u);
    EXPECT_TRUE(s.enableButtons[1].IsShown());
    EXPECT_FALSE(s.disableButtons[1].IsShown());

    rig.Tick();
    rig.TapElement(kEnable0 + 1);
    EXPECT_EQ(rig.Worlds()[1].enabled, 1);
    ASSERT_TRUE(rig.env.store.ReadDword(kSettingsKey, "WorldID01Active", active));
    EXPECT_EQ(active, 1u);
    EXPECT_EQ(rig.Worlds()[0].enabled, 1);
}

TEST(WorldsScreen, DuringAGameTheListIsReadOnly) {
    WorldsRig rig;
    ASSERT_TRUE(rig.Open(2, [](CGame& game) { game.GetGameScreen()->inGame = 1; }));
    CWorldsScreen& s = *rig.screen;
    EXPECT_EQ(s.editable, 0u);
    EXPECT_EQ(s.promptState, CWorldsScreen::kNotice);
    EXPECT_EQ(s.modalChild, &s.promptBar);
    for (u32 r = 0; r < 2; ++r) {
        EXPECT_FALSE(PenOn(s.disableButtons[r]));
        EXPECT_FALSE(PenOn(s.deleteButtons[r]));
    }
    // The notice closes on any answer; a button's command afterwards changes nothing.
    EXPECT_EQ(s.OnCommand(CButtonBar::kOk), kScreenStay);
    EXPECT_EQ(s.modalChild, nullptr);
    EXPECT_EQ(s.OnCommand(kDisable0), kScreenStay);
    EXPECT_EQ(s.OnCommand(kDelete0), kScreenStay);
    EXPECT_EQ(s.promptState, CWorldsScreen::kNoPrompt);
    EXPECT_EQ(rig.Worlds()[0].enabled, 1);
    EXPECT_EQ(rig.Worlds().GetCount(), 2u);
}

TEST(WorldsScreen, DeletingRemovesTheFileThenTheEntry) {
    WorldsRig rig;
    ASSERT_TRUE(rig.Open(2));
    CWorldsScreen& s = *rig.screen;
    const std::string file = rig.env.dir.File("Worldwd00.pdb");

    // No keeps everything.
    rig.TapElement(kDelete0);
    EXPECT_EQ(s.promptState, CWorldsScreen::kDeletePrompt);
    s.OnCommand(CButtonBar::kNo);
    EXPECT_EQ(rig.Worlds().GetCount(), 2u);
    EXPECT_TRUE(std::filesystem::exists(file));

    s.OnCommand(kDelete0);
    s.OnCommand(CButtonBar::kYes);
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(rig.Worlds().GetCount(), 1u);
    EXPECT_TRUE(rig.Worlds()[0].shortName.Equals("wd01"));
    EXPECT_EQ(s.promptState, CWorldsScreen::kNotice);
    EXPECT_EQ(rig.Rows(), std::vector<std::string>{"World number 1"});
    s.OnCommand(CButtonBar::kOk);

    // The last one: the empty-list label, no headers.
    s.OnCommand(kDelete0);
    s.OnCommand(CButtonBar::kYes);
    EXPECT_EQ(rig.Worlds().GetCount(), 0u);
    EXPECT_TRUE(s.emptyLabel.IsShown());
    EXPECT_FALSE(s.nameHeader.IsShown());
    EXPECT_TRUE(rig.Rows().empty());
}

TEST(WorldsScreen, AFailedDeletionKeepsTheEntryAndSaysSo) {
    WorldsRig rig;
    ASSERT_TRUE(rig.Open(2));
    CWorldsScreen& s = *rig.screen;
    // An entry whose file name reaches into another folder: nothing is deleted there.
    const std::string outside = rig.env.dir.File("sub/outside.pdb");
    std::filesystem::create_directory(rig.env.dir.File("sub"));
    std::ofstream(outside) << "not a world of the game";
    CWorldEntry entry(rig.Worlds()[1]);
    entry.fileName.Assign("sub/outside");
    SetWorldEntry(rig.Worlds(), 1, entry);

    s.OnCommand(kDelete0 + 1);
    s.OnCommand(CButtonBar::kYes);
    EXPECT_TRUE(std::filesystem::exists(outside));
    EXPECT_EQ(rig.Worlds().GetCount(), 2u);
    EXPECT_TRUE(rig.Worlds()[1].shortName.Equals("wd01"));
    EXPECT_EQ(s.promptState, CWorldsScreen::kNotice);
    std::string shown;
    for (u32 i = 0; i < s.promptView.pending.Count(); ++i) shown += s.promptView.pending.At(i).text.GetText();
    for (u32 i = 0; i < s.promptView.rows.Count(); ++i) shown += s.promptView.rows.At(i).text.GetText();
    EXPECT_NE(shown.find("could not be deleted"), std::string::npos) << shown;
    EXPECT_EQ(rig.Rows().size(), 2u);

    // A database that is already gone counts as deleted: the entry goes with it.
    s.OnCommand(CButtonBar::kOk);
    std::filesystem::remove(rig.env.dir.File("Worldwd00.pdb"));
    s.OnCommand(kDelete0);
    s.OnCommand(CButtonBar::kYes);
    EXPECT_EQ(rig.Worlds().GetCount(), 1u);
}

TEST(WorldsScreen, TheBuiltAdditionalWorldIsFoundDisabledAndEnabledAgain) {
    testing_support::FrameRig rig;
    rig.env.withAdditionalWorld = true;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    rig.Key(27);  // past the splash
    CGame& game = *rig.Game();
    // The start-up scan lists it and remembers it, enabled, in the first free slot.
    CWorldEntryArray& worlds = game.GetInstalledWorlds();
    ASSERT_EQ(worlds.GetCount(), 1u);
    EXPECT_STREQ(worlds[0].title.GetText(), "The Ember Caves");
    EXPECT_STREQ(worlds[0].shortName.GetText(), "embr");
    EXPECT_STREQ(worlds[0].fileName.GetText(), "VantrelEmber");
    EXPECT_EQ(worlds[0].enabled, 1);
    EXPECT_STREQ(game.settings.Worlds[0].Name, "embr");

    game.currentScreen->keepOnStack = 1;
    game.SwitchScreen(kScreenWorlds);
    auto* screen = static_cast<CWorldsScreen*>(game.GetScreen(kScreenWorlds));
    ASSERT_EQ(rig.Current(), screen);
    rig.Tick();
    EXPECT_EQ(screen->rowNames[0].text.GetText(), std::string("The Ember Caves"));
    ASSERT_TRUE(rig.TapLayoutElement(CWorldsScreen::kLayoutGroup, kDisable0));
    EXPECT_EQ(worlds[0].enabled, 0);
    u32 active = 9;
    ASSERT_TRUE(rig.env.store.ReadDword(kSettingsKey, "WorldID00Active", active));
    EXPECT_EQ(active, 0u);

    // Disabled, a new game neither opens it nor offers its start.
    auto startEntries = [&game] {
        std::vector<std::string> ids;
        game.worlds->AddWorldStartEntries(1, [&ids](const char*, const char* id) { ids.push_back(id); });
        return ids;
    };
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1);
    EXPECT_EQ(game.worlds->FindWorldByShortName("embr"), nullptr);
    EXPECT_TRUE(startEntries().empty());
    game.ResetWorld();

    rig.Tick();
    ASSERT_TRUE(rig.TapLayoutElement(CWorldsScreen::kLayoutGroup, kEnable0));
    EXPECT_EQ(worlds[0].enabled, 1);
    ASSERT_TRUE(rig.env.store.ReadDword(kSettingsKey, "WorldID00Active", active));
    EXPECT_EQ(active, 1u);
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1);
    CWorld* embers = game.worlds->FindWorldByShortName("embr");
    ASSERT_NE(embers, nullptr) << game.worlds->LastError();
    EXPECT_STREQ(embers->title.GetText(), "The Ember Caves");
    EXPECT_EQ(startEntries(), std::vector<std::string>{"embr_STARTGAME"});
}

TEST(WorldsScreen, GoldenFrames) {
    {
        WorldsRig rig;
        ASSERT_TRUE(rig.Open(3, [](CGame& game) { game.GetInstalledWorlds()[1].enabled = 0; }));
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/worlds_mode15", rig.Capture()));
    }
    {
        WorldsRig rig;
        ASSERT_TRUE(rig.Open(0));
        rig.Tick();
        EXPECT_TRUE(testing_support::MatchesGolden("screens/worlds_empty_mode15", rig.Capture()));
    }
    {
        // The tall handheld layout with its own arrangement, on the first of two pages.
        WorldsRig rig;
        ASSERT_TRUE(rig.Open(12, [](CGame& game) { game.SwitchLayoutMode(10); }));
        rig.Tick();
        EXPECT_TRUE(rig.screen->nextPage.IsShown());
        EXPECT_TRUE(testing_support::MatchesGolden("screens/worlds_mode10", rig.Capture()));
    }
}

// An additional world whose file is "VantrelBase.pdb.pdb" lies beside the game's own "VantrelBase.pdb".
// It is listed, opened and deleted as the file the scan found: the game's base world is never
// mistaken for it.
TEST(WorldsScreen, AWorldNamedLikeTheBaseWorldWithAnotherExtensionIsItsOwnFile) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.env.CopyBuiltDatabase());
    const std::string base = rig.env.dir.File("VantrelBase.pdb");
    const std::string twice = rig.env.dir.File("VantrelBase.pdb.pdb");
    std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/VantrelEmber.pdb", twice);
    ASSERT_TRUE(rig.Start()) << rig.frame->Error();
    rig.Key(27);  // past the splash
    CGame& game = *rig.Game();
    CWorldEntryArray& worlds = game.GetInstalledWorlds();
    ASSERT_EQ(worlds.GetCount(), 1u);
    EXPECT_STREQ(worlds[0].shortName.GetText(), "embr");
    EXPECT_EQ(worlds[0].enabled, 1);

    // Opened for a game, it is the ember world that is read, and the base world once.
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1) << game.worlds->LastError();
    EXPECT_NE(game.worlds->FindWorldByShortName("embr"), nullptr) << game.worlds->LastError();
    game.ResetWorld();

    game.currentScreen->keepOnStack = 1;
    game.SwitchScreen(kScreenWorlds);
    auto* screen = static_cast<CWorldsScreen*>(game.GetScreen(kScreenWorlds));
    ASSERT_EQ(rig.Current(), screen);
    rig.Tick();
    ASSERT_TRUE(rig.TapLayoutElement(CWorldsScreen::kLayoutGroup, kDelete0));
    ASSERT_EQ(screen->promptState, CWorldsScreen::kDeletePrompt);
    screen->OnCommand(CButtonBar::kYes);
    EXPECT_FALSE(std::filesystem::exists(twice));
    EXPECT_TRUE(std::filesystem::exists(base));
    EXPECT_EQ(worlds.GetCount(), 0u);

    // The next new game finds its base world.
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1) << game.worlds->LastError();
    EXPECT_NE(game.worlds->FindWorldByShortName("base"), nullptr);
}

// A title longer than its column stays in it: nothing of the frame outside the row's name label differs
// from the frame with no title at all.
TEST(WorldsScreen, ALongTitleIsClippedToItsColumn) {
    WorldsRig rig;
    ASSERT_TRUE(rig.Open(2));
    auto frameWithTitle = [&rig](const char* title) {
        CWorldEntry entry(rig.Worlds()[0]);
        entry.title.Assign(title);
        SetWorldEntry(rig.Worlds(), 0, entry);
        rig.screen->FillRows();
        rig.Tick();
        return rig.Capture();
    };
    const testing_support::Rgb565Image none = frameWithTitle("");
    // A first word too long to wrap, then more words than the row holds.
    const testing_support::Rgb565Image longer = frameWithTitle(
        "TheVeryLongNameOfAWorldThatItsMakerNeverCutShort Because The Handheld Scrolled It Along");
    const CTextLabel& label = rig.screen->rowNames[0];
    ASSERT_EQ(none.width, longer.width);
    int outside = 0, inside = 0;
    for (int y = 0; y < none.height; ++y)
        for (int x = 0; x < none.width; ++x) {
            const bool in = x >= label.x && x < label.x + label.w && y >= label.y && y < label.y + label.h;
            if (none.At(x, y) != longer.At(x, y)) ++(in ? inside : outside);
        }
    EXPECT_GT(inside, 0) << "the title is drawn";
    EXPECT_EQ(outside, 0) << "pixels drawn outside the name column";
}

// A world whose header has an empty short name is remembered like any other: disabled, it stays
// disabled in the next run.
TEST(WorldsScreen, AWorldWithAnEmptyShortNameIsRememberedLikeAnyOther) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.env.CopyBuiltDatabase());
    std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/VantrelEmber.pdb",
                               rig.env.dir.File("Nameless.pdb"));
    {
        // The header's short name "embr" emptied: title, then the short name's bytes.
        CPdbFile in;
        ASSERT_EQ(in.OpenPath(rig.env.dir.File("Nameless.pdb")), 1);
        CPdbFile out;
        out.Header() = in.Header();
        for (u32 i = 0; i < in.GetRecordCount(); ++i) {
            const u16 key = in.GetEntry(i).key;
            CRecordData* r = in.ReadRecord(key);
            ASSERT_NE(r, nullptr);
            std::vector<u8> bytes(r->data, r->data + r->size);
            FreeDataBlock(r);
            if (key == CWorld::kHeaderRecord) {
                const std::string text(bytes.begin(), bytes.end());
                const size_t at = text.find(std::string("\0embr\0", 6));
                ASSERT_NE(at, std::string::npos);
                bytes.erase(bytes.begin() + static_cast<long>(at) + 1, bytes.begin() + static_cast<long>(at) + 5);
            }
            out.AddRecord(key, bytes.data(), static_cast<u32>(bytes.size()));
        }
        in.Close();
        ASSERT_EQ(out.Save(rig.env.dir.File("Nameless.pdb").c_str()), 1);
    }
    ASSERT_TRUE(rig.Start()) << rig.frame->Error();
    rig.Key(27);
    ASSERT_EQ(rig.Game()->GetInstalledWorlds().GetCount(), 1u);
    EXPECT_TRUE(rig.Game()->GetInstalledWorlds()[0].shortName.IsEmpty());
    rig.Game()->currentScreen->keepOnStack = 1;
    rig.Game()->SwitchScreen(kScreenWorlds);
    rig.Tick();
    ASSERT_TRUE(rig.TapLayoutElement(CWorldsScreen::kLayoutGroup, kDisable0));
    EXPECT_EQ(rig.Game()->GetInstalledWorlds()[0].enabled, 0);

    rig.Stop();
    ASSERT_TRUE(rig.Start()) << rig.frame->Error();
    rig.Key(27);
    ASSERT_EQ(rig.Game()->GetInstalledWorlds().GetCount(), 1u);
    EXPECT_EQ(rig.Game()->GetInstalledWorlds()[0].enabled, 0) << "the world was forgotten";
}
