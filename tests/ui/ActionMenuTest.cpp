#include <gtest/gtest.h>

#include <string>

#include "WidgetKit.h"
#include "ui/InterfacePictureRoles.h"
#include "display/FontSet.h"
#include "ui/ActionMenu.h"
#include "ui/WidgetHelpers.h"
#include "ui/ListBox.h"

using namespace widgetkit;

namespace {

// The list as the game view prepares it for the menu, and the menu opened over it.
struct Menu {
    Stage stage{15, 400, 400};
    CListBox list;
    CActionMenu menu;

    // A list width other than 0 replaces the fitted one, as a caller with its own list would.
    explicit Menu(int items, const char* prefix = "Entry ", u16 listWidth = 0) {
        stage.FillPictures(3015, 9, 8, 8);
        stage.FillPictures(kPictureButtonFrame, 6, 8, 30);
        stage.FillPictures(3160, 4, 20, 12);
        list.Attach(&stage.form);
        list.font = 1;
        list.textColour = 0x161616;
        list.backgroundColour = 0x94D6E7;
        list.backgroundPicture = stage.game.GetInterfacePicture(3019);
        stage.game.fonts->Select(1, 0, 0);
        list.rowHeight = stage.game.fonts->CurrentFont()->LineHeight();
        list.selection = -1;
        for (int i = 0; i < items; ++i) {
            std::string label = prefix + std::to_string(i), key = "key" + std::to_string(i);
            list.AddItem(label.c_str(), key.c_str(), 0);
        }
        list.FitToItems(340);
        if (listWidth != 0) list.w = listWidth;
        menu.Attach(&stage.game);
        menu.Open(&list);
        stage.form.OpenModal(&menu);
        stage.game.tickCounter++;
    }
    bool Shows(const CWidget& w) const {
        for (int i = 0; i < menu.widgets.GetCount(); ++i)
            if (menu.widgets.GetAt(i) == &w) return true;
        return false;
    }
};

}  // namespace

TEST(ActionMenu, PageButtonsOnlyForMoreThanEightItems) {
    for (int items : {0, 3, 8, 9, 12, 20}) {
        Menu m(items);
        EXPECT_EQ(m.menu.paging, items > 8 ? 1u : 0u) << items;
        EXPECT_EQ(m.Shows(m.menu.pageUpButton), items > 8) << items;
        EXPECT_EQ(m.Shows(m.menu.pageDownButton), items > 8) << items;
        EXPECT_TRUE(m.Shows(m.list) && m.Shows(m.menu.title) && m.Shows(m.menu.okButton) &&
                    m.Shows(m.menu.cancelButton));
        EXPECT_EQ(m.list.visibleRows, std::min(items, 8));
        EXPECT_EQ(m.list.selection, items > 0 ? 0 : -1);
        // At least 180 x 154, and inside the frame buffer.
        EXPECT_GE(m.menu.width, 180u);
        EXPECT_GE(m.menu.height, 154u);
        EXPECT_LE(m.menu.x + m.menu.width, 400u);
    }
}

TEST(ActionMenu, PagingMovesByAPageAndSelectsItsFirstRow) {
    Menu m(20);
    struct Step {
        u32 command;
        i32 topRow;
    };
    const Step steps[] = {{257, 8}, {257, 16}, {257, 16}, {256, 8}, {256, 0}, {256, 0}};
    m.list.selection = 3;
    for (const Step& s : steps) {
        EXPECT_EQ(m.menu.OnCommand(s.command), 0u);
        EXPECT_EQ(m.list.topRow, s.topRow) << s.command;
        EXPECT_EQ(m.list.selection, s.topRow) << s.command;
    }
    EXPECT_EQ(m.list.selection, 0);
    // Without paging the page commands end the menu like any other command.
    Menu small(5);
    EXPECT_EQ(small.menu.OnCommand(257), 257u);
    EXPECT_STREQ(small.menu.answer.GetText(), "");
}

TEST(ActionMenu, OkHandsBackTheSelectedKeyAndEverythingElseAnEmptyAnswer) {
    Menu m(9);
    m.list.selection = 4;
    EXPECT_EQ(m.menu.OnCommand(1), 1u);
    EXPECT_STREQ(m.menu.answer.GetText(), "key4");
    EXPECT_EQ(m.menu.OnCommand(2), 2u);
    EXPECT_STREQ(m.menu.answer.GetText(), "");
    m.list.selection = -1;
    EXPECT_EQ(m.menu.OnCommand(1), 1u);
    EXPECT_STREQ(m.menu.answer.GetText(), "");
    Menu empty(0);
    EXPECT_EQ(empty.menu.OnCommand(1), 1u);
    EXPECT_STREQ(empty.menu.answer.GetText(), "");
}

TEST(ActionMenu, KeysMoveTheListAndCancelIsTappedThroughTheForm) {
    Menu m(3);
    // The list has id 0: keys only move its selection.
    EXPECT_EQ(m.stage.form.OnKey(1002), 0u);
    EXPECT_EQ(m.list.selection, 1);
    EXPECT_EQ(m.stage.form.OnKey(1000), 0u);
    EXPECT_EQ(m.list.selection, 0);
    const i32 cx = m.menu.cancelButton.x + 3, cy = m.menu.cancelButton.y + 3;
    EXPECT_EQ(m.stage.form.OnPen(cx, cy, 1, 0), 0u);
    EXPECT_EQ(m.stage.form.OnPen(cx, cy, 0, 0), 2u);  // released over "Cancel"
    EXPECT_STREQ(m.menu.answer.GetText(), "");
}

TEST(ActionMenu, ANarrowListIsWidenedToTheTitlesOneLineWidth) {
    Menu m(2, "", 120);
    // A list 120 pixels wide: the title wraps after its second word.
    CFontSet& fonts = *m.stage.game.fonts;
    fonts.Select(1, 0x161616, 0x94D6E7);
    i32 oneLine = 0, lf = 0;
    fonts.FindLineBreak("What do you want?", 0, 1000, false, oneLine, lf);
    ASSERT_LT(oneLine, 340);
    i32 widest = 0, lines = 0;
    fonts.MeasureText("What do you want?", 120, widest, lines);
    ASSERT_GT(lines, 1);
    EXPECT_EQ(m.menu.title.w, oneLine + 1);
    EXPECT_EQ(m.list.w, std::max<i32>(oneLine + 1, 80));
    EXPECT_EQ(m.menu.width, static_cast<u32>(std::max(oneLine + 1 + 100, 180)));
    EXPECT_EQ(m.list.x, m.menu.x + 50);
}

TEST(ActionMenu, Golden) {
    Menu m(9);
    m.stage.Clear(0);
    m.menu.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/action_menu_9", m.stage.Capture()));
    m.menu.OnCommand(257);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/action_menu_9_page2", m.stage.Capture()));
}
