// The spell book on the started game over the base world's spells and magic items: its pages, entries
// and messages, the selection it hands to the game view, its page keys, paging and closing, and its
// frames in a wide and a narrow layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Spells.h"
#include "screens/panels/SpellBookDialog.h"
#include "tests/screens/panels/ViewDialogTesting.h"
#include "world/Player.h"

namespace {

using view_dialog_testing::DialogRig;
using view_dialog_testing::FakeViewDialogHost;

constexpr u32 kTurnLeft = 1004, kTurnRight = 1006, kAttack = 3000, kSpellBookKey = 3001;
const std::string kPageSound = "play bsnd_bookpage";
const std::string kCloseSound = "play bsnd_bookclose";

struct SpellBookTest : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.Start());
        book.SetHost(&host);
        rig.Show(book);
    }
    void Know(const char* id) {
        const CSpell* spell = world.base.spells.FindById(id);
        ASSERT_NE(spell, nullptr) << id;
        world.player.spellsBySchool[spell->school].push_back(spell);
    }
    void ShowPage(int page) {
        while (book.GetPage() != page) book.OnKey(kTurnRight);
        book.ShowPage();
        host.log.clear();
    }
    std::vector<std::string> Lines() const { return craft_testing::ListLabels(book.entries); }

    DialogRig rig;
    PlayerWorld world;
    FakeViewDialogHost host{world};
    CSpellBookDialog book;
};

TEST_F(SpellBookTest, OpensOnItsFirstPageInTheViewsLowerRightCorner) {
    Know("base_spellcurelightwounds");
    world.player.race = 2;
    book.ShowPage();
    EXPECT_EQ(book.GetPage(), 1);
    const CViewRect view = GameViewRect(rig.Game());
    ASSERT_GT(view.width, static_cast<i32>(book.width));
    EXPECT_EQ(static_cast<i32>(book.x), view.x + view.width - static_cast<i32>(book.width) - 2);
    EXPECT_EQ(static_cast<i32>(book.y), view.y + view.height - static_cast<i32>(book.height) - 2);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Cure Light Wounds"});
    EXPECT_EQ(book.entries.selection, 0);
    EXPECT_TRUE(book.tabs[0].state & kWidgetLatched);
    for (int page = 1; page < CSpellBookDialog::kPageCount; ++page) EXPECT_FALSE(book.tabs[page].state & kWidgetLatched);
}

TEST_F(SpellBookTest, PagesShowTheKnownSpellsOrWhyThereAreNone) {
    for (const char* id : {"base_spellcurelightwounds", "base_spellharmundead", "base_spellburninghand",
                           "base_spellfireball", "base_spelldrainhealth"})
        Know(id);
    const struct {
        u32 race;
        int page;
        std::vector<std::string> lines;
        const char* message;
    } cases[] = {
        {2, 1, {"Cure Light Wounds", "Harm Undead"}, "Heal spells"},
        {1, 1, {}, "You can't have any heal spells, since you're undead."},
        {2, 5, {}, "You can't have any undead spells, since you aren't undead."},
        {1, 5, {"Drain Health"}, "Undead spells"},
        {2, 3, {"Burning Hand", "Fireball"}, "Attack spells"},
        {2, 2, {}, "You don't know any Protection spells."},
        {2, 7, {}, "You don't have any magical items."},
    };
    for (const auto& c : cases) {
        world.player.race = c.race;
        ShowPage(c.page);
        EXPECT_EQ(Lines(), c.lines) << c.race << " " << c.page;
        EXPECT_STREQ(book.message.text.GetText(), c.message) << c.race << " " << c.page;
        EXPECT_EQ(book.entries.selection, c.lines.empty() ? -1 : 0);
        EXPECT_EQ(book.GetSelectedItem(), nullptr);
        if (c.page == CSpellBookDialog::kMagicItemsPage || c.lines.empty())
            EXPECT_EQ(book.GetSelectedSpell(), nullptr);
        else if (const CSpell* spell = book.GetSelectedSpell())
            EXPECT_STREQ(spell->GetDisplayName(), c.lines[0].c_str());
        else
            ADD_FAILURE() << "no spell selected on page " << c.page;
    }
}

TEST_F(SpellBookTest, TheMagicItemsPageNamesTheCarriedItem) {
    world.player.race = 2;
    for (int i = 0; i < 3; ++i) world.Give("base_scrdisarm");
    CItemInstance* spent = world.Give("base_wand_sparks");
    CItemInstance* full = world.Give("base_wand_sparks");
    world.Give("base_food_bread");
    ASSERT_NE(spent, nullptr);
    spent->count = 3;
    full->count = 10;
    ShowPage(CSpellBookDialog::kMagicItemsPage);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\xB5"
                                                 "Disarm Trap (3)",
                                                 "\xB6"
                                                 "Sparks (3/10 ch)",
                                                 "\xB6"
                                                 "Sparks (10 ch)"}));
    EXPECT_STREQ(book.message.text.GetText(), "Magic items");
    EXPECT_EQ(book.GetSelectedSpell(), nullptr);
    EXPECT_EQ(book.GetSelectedItem(), world.player.items[0].get()) << "the first scroll of the group";
    book.entries.selection = 2;
    EXPECT_EQ(book.GetSelectedItem(), full);
    // The items changed under the book: the entry no longer names a carried item.
    world.player.items.resize(2);
    EXPECT_EQ(book.GetSelectedItem(), nullptr);
}

TEST_F(SpellBookTest, TurningPagesWrapsAndSelectsTheFirstEntry) {
    world.player.race = 2;
    Know("base_spellcurelightwounds");
    Know("base_spellharmundead");
    world.Give("base_scrdisarm");
    book.ShowPage();
    book.entries.selection = 1;
    rig.Game()->SendCommand(kTurnLeft);
    EXPECT_EQ(book.GetPage(), CSpellBookDialog::kMagicItemsPage);
    EXPECT_EQ(book.entries.selection, 0);
    EXPECT_TRUE(book.tabs[6].state & kWidgetLatched);
    EXPECT_FALSE(book.tabs[0].state & kWidgetLatched);
    rig.Game()->SendCommand(kTurnRight);
    EXPECT_EQ(book.GetPage(), 1);
    EXPECT_EQ(book.entries.selection, 0) << "a page change starts at the first entry";
    rig.Game()->SendCommand(kTurnRight);
    EXPECT_EQ(book.GetPage(), 2);
    EXPECT_EQ(book.entries.selection, -1);
    EXPECT_EQ(host.log, std::vector<std::string>(3, kPageSound));

    host.log.clear();
    rig.TapOn(book.tabs[2]);
    EXPECT_EQ(book.GetPage(), 3);
    EXPECT_TRUE(book.tabs[2].state & kWidgetLatched);
    EXPECT_EQ(host.log, std::vector<std::string>{kPageSound});
    EXPECT_TRUE(rig.owner->commands.empty());
}

TEST_F(SpellBookTest, ReopeningShowsTheLastPageAndSelection) {
    world.player.race = 2;
    Know("base_spellburninghand");
    Know("base_spellfireball");
    Know("base_spelllightningbolt");
    ShowPage(3);
    book.entries.selection = 2;
    book.OnCommand(CSpellBookDialog::kClose);
    rig.Reopen(book);
    book.ShowPage();
    EXPECT_EQ(book.GetPage(), 3);
    EXPECT_EQ(book.entries.selection, 2);
    ASSERT_NE(book.GetSelectedSpell(), nullptr);
    EXPECT_STREQ(book.GetSelectedSpell()->GetName(), "base_spelllightningbolt");
    // A spell forgotten meanwhile: a selection past the entries goes back to the first.
    world.player.spellsBySchool[3].resize(1);
    rig.Reopen(book);
    book.ShowPage();
    EXPECT_EQ(book.entries.selection, 0);
}

TEST_F(SpellBookTest, CastAndCloseGoToTheGameView) {
    world.player.race = 2;
    Know("base_spellcurelightwounds");
    book.ShowPage();
    rig.TapOn(book.castButton);
    EXPECT_EQ(rig.owner->commands, std::vector<u32>{CSpellBookDialog::kCast});
    EXPECT_EQ(host.log, std::vector<std::string>{kCloseSound});

    const struct {
        u32 key;
        u32 command;
    } keys[] = {{kSpellBookKey, CSpellBookDialog::kCast}, {kAttack, CSpellBookDialog::kClose}};
    for (const auto& k : keys) {
        rig.owner->commands.clear();
        rig.Reopen(book);
        book.ShowPage();
        rig.Game()->SendCommand(k.key);
        EXPECT_EQ(rig.owner->commands, std::vector<u32>{k.command}) << k.key;
    }

    rig.owner->commands.clear();
    rig.Reopen(book);
    book.ShowPage();
    rig.Tap(static_cast<i32>(book.x) - 10, static_cast<i32>(book.y) + 10);
    EXPECT_TRUE(rig.owner->commands.empty()) << "the tap that opened the book does not close it";
    rig.NextTick();
    rig.Tap(static_cast<i32>(book.x) - 10, static_cast<i32>(book.y) + 10);
    EXPECT_EQ(rig.owner->commands, std::vector<u32>{CSpellBookDialog::kClose});
}

TEST_F(SpellBookTest, PageButtonsTurnTheListAPageAtATime) {
    world.player.race = 2;
    for (int i = 0; i < 20; ++i) Know(i % 2 ? "base_spellfireball" : "base_spellburninghand");
    ShowPage(3);
    const i32 rows = book.entries.visibleRows;
    ASSERT_GT(rows, 1);
    ASSERT_LT(rows, 20);
    EXPECT_FALSE(book.pageUp.state & kWidgetPenEnabled);
    EXPECT_TRUE(book.pageDown.state & kWidgetPenEnabled);
    rig.TapOn(book.pageDown);
    EXPECT_EQ(book.entries.topRow, rows);
    EXPECT_EQ(book.entries.selection, rows);
    EXPECT_TRUE(book.pageUp.state & kWidgetPenEnabled);
    rig.TapOn(book.pageUp);
    EXPECT_EQ(book.entries.selection, 0);
    EXPECT_EQ(rig.clicks, (std::vector<u16>{4031, 4031}));

    // All entries on one page: nothing to turn.
    world.player.spellsBySchool[3].resize(2);
    ShowPage(4);
    ShowPage(3);
    EXPECT_FALSE(book.pageDown.state & kWidgetPenEnabled);
}

TEST(SpellBookDialog, Frames) {
    for (const u32 mode : {15u, 10u}) {
        DialogRig rig;
        ASSERT_TRUE(rig.Start(mode));
        PlayerWorld world;
        world.player.race = 2;
        FakeViewDialogHost host{world};
        for (const char* id : {"base_spellburninghand", "base_spellfireball", "base_spelllightningbolt",
                               "base_spellpoisontouch"})
            world.player.spellsBySchool[3].push_back(world.base.spells.FindById(id));
        CSpellBookDialog book;
        book.SetHost(&host);
        rig.Show(book);
        book.OnKey(kTurnRight);
        book.OnKey(kTurnRight);
        book.entries.selection = 1;
        EXPECT_TRUE(testing_support::MatchesGolden("screens/spell_book_mode" + std::to_string(mode), rig.Draw(book)));
        if (mode != 15) continue;
        // The magic items with their marks, counts and charges.
        for (int i = 0; i < 2; ++i) world.Give("base_scrdisarm");
        world.Give("base_wand_sparks")->count = 4;
        book.OnKey(kTurnLeft);
        book.OnKey(kTurnLeft);
        book.OnKey(kTurnLeft);
        ASSERT_EQ(book.GetPage(), CSpellBookDialog::kMagicItemsPage);
        EXPECT_TRUE(testing_support::MatchesGolden("screens/spell_book_items_mode15", rig.Draw(book)));
    }
}

}  // namespace
