#include <gtest/gtest.h>

#include <string>

#include "WidgetKit.h"
#include "display/FontSet.h"
#include "ui/ListBox.h"

namespace {

// A list of n items "item0".."itemN" with keys "k0".. and values 100 + i, placed at (10, 20) with
// rows of 10 pixels and 8 visible rows.
void Fill(CListBox& list, int n, u16 id = 7) {
    list.id = id;
    list.SetRect(10, 20, 100, 80);
    list.state = kWidgetPlaced;
    list.rowHeight = 10;
    list.visibleRows = 8;
    for (int i = 0; i < n; ++i) {
        std::string label = "item" + std::to_string(i), key = "k" + std::to_string(i);
        list.AddItem(label.c_str(), key.c_str(), 0);
        list.SetItemTexts(i, nullptr, nullptr, nullptr);  // texts unchanged by nulls
        const_cast<CListBoxItem*>(list.GetItem(i))->value = 100 + i;
    }
}

}  // namespace

TEST(ListBoxKeys, UpAndDownWrapAndShowTheSelectionsPage) {
    struct Case {
        int items;
        int start;
        u32 key;
        int selection;
        int topRow;
    };
    const Case cases[] = {
        {3, -1, 1000, 0, 0},
        {3, -1, 1002, 0, 0},
        {3, 0, 1000, 2, 0},
        {3, 2, 1002, 0, 0},
        {3, 1, 1002, 2, 0},
        {8, 7, 1002, 0, 0},
        {9, 7, 1002, 8, 8},
        {9, 0, 1000, 8, 8},
        {12, 8, 1000, 7, 0},
        {12, 11, 1002, 0, 0},
        {20, 15, 1002, 16, 16},
        {20, 0, 1000, 19, 16},
        // A selection left over from a longer list counts as none.
        {3, 9, 1002, 0, 0},
    };
    for (const Case& c : cases) {
        CListBox list;
        Fill(list, c.items);
        list.selection = c.start;
        list.lastAction = 5;
        EXPECT_EQ(list.OnKey(c.key), 7u);
        EXPECT_EQ(list.selection, c.selection) << c.items << " items from " << c.start << " key " << c.key;
        EXPECT_EQ(list.topRow, c.topRow) << c.items << " items from " << c.start << " key " << c.key;
        EXPECT_EQ(list.lastAction, 0);
        EXPECT_TRUE(list.state & kWidgetRedraw);
    }
}

TEST(ListBoxKeys, ConfirmChoosesOnlyWithASelectionAndOtherKeysAreIgnored) {
    CListBox list;
    Fill(list, 3);
    EXPECT_EQ(list.OnKey(3006), 0u);  // no selection yet
    list.selection = 1;
    EXPECT_EQ(list.OnKey(3006), 7u);
    EXPECT_EQ(list.lastAction, 1);
    EXPECT_STREQ(list.GetSelectedText(), "k1");
    EXPECT_EQ(list.GetSelectedValue(), 101u);
    EXPECT_EQ(list.OnKey(3007), 0u);
    EXPECT_EQ(list.OnKey('a'), 0u);
    EXPECT_EQ(list.selection, 1);
}

TEST(ListBoxKeys, AnEmptyListKeepsNoSelectionAndReadsAsNothing) {
    CListBox list;
    Fill(list, 0);
    for (u32 key : {1000u, 1002u}) {
        EXPECT_EQ(list.OnKey(key), 7u);
        EXPECT_EQ(list.selection, -1);
        EXPECT_EQ(list.topRow, 0);
    }
    EXPECT_EQ(list.OnKey(3006), 0u);
    EXPECT_STREQ(list.GetSelectedText(), "");
    EXPECT_EQ(list.GetSelectedValue(), 0u);
    // A stale selection after the items were dropped reads as nothing too.
    Fill(list, 4);
    list.selection = 3;
    list.ResetItems();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_STREQ(list.GetSelectedText(), "");
    EXPECT_EQ(list.GetSelectedValue(), 0u);
}

TEST(ListBoxSelect, ByTextAndValueFallBackToTheFirstItemAndMoveTheTopRow) {
    struct Case {
        int items;
        const char* key;
        int selection;
        int topRow;
    };
    const Case cases[] = {
        {12, "k9", 9, 8},    {12, "k7", 7, 0},    {12, "nothing", 0, 0},
        {12, nullptr, 0, 0}, {20, "k17", 17, 16}, {12, "K9", 0, 0} /* exact case */,
        {0, "k0", -1, 0},
    };
    for (const Case& c : cases) {
        CListBox list;
        Fill(list, c.items);
        list.topRow = 4;
        list.SelectByText(c.key);
        EXPECT_EQ(list.selection, c.selection) << (c.key ? c.key : "null");
        EXPECT_EQ(list.topRow, c.topRow) << (c.key ? c.key : "null");
    }
    CListBox list;
    Fill(list, 12);
    list.SelectByValue(110);
    EXPECT_EQ(list.selection, 10);
    EXPECT_EQ(list.topRow, 8);
    list.SelectByValue(5);
    EXPECT_EQ(list.selection, 0);
}

TEST(ListBoxItems, AddVariantsAndSetItemTexts) {
    CListBox list;
    list.AddItem("a", "ka", 3);
    list.AddItemWithValue("b", 42);
    list.AddItemColumns("c", "kc", "col");
    list.AddItem(nullptr, nullptr, 1);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_STREQ(list.GetItem(0)->key.GetText(), "ka");
    EXPECT_EQ(list.GetItem(0)->flag, 3);
    EXPECT_EQ(list.GetItem(1)->value, 42u);
    EXPECT_STREQ(list.GetItem(1)->key.GetText(), "");
    EXPECT_STREQ(list.GetItem(2)->column.GetText(), "col");
    EXPECT_STREQ(list.GetItem(3)->label.GetText(), "");
    // The store grows by four.
    EXPECT_EQ(list.items.GetCapacity(), 4u);
    list.AddItem("e", "ke", 0);
    EXPECT_EQ(list.items.GetCapacity(), 8u);

    list.SetItemTexts(0, "A", nullptr, "x");
    EXPECT_STREQ(list.GetItem(0)->label.GetText(), "A");
    EXPECT_STREQ(list.GetItem(0)->key.GetText(), "ka");
    EXPECT_EQ(list.GetItem(0)->flag, 0);
    list.SetItemTexts(-1, "bad", "bad", "bad");
    list.SetItemTexts(5, "bad", "bad", "bad");
    EXPECT_EQ(list.GetCount(), 5);
    list.ResetItems();
    EXPECT_EQ(list.items.GetCapacity(), 4u);
}

namespace {
struct PenStep {
    i32 x, y;
    u32 down, moving;
    u32 result;
    int selection;
    int lastAction;
};

void RunPen(CListBox& list, const std::vector<PenStep>& steps, const char* what) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const PenStep& s = steps[i];
        EXPECT_EQ(list.OnPen(s.x, s.y, s.down, s.moving), s.result) << what << " step " << i;
        EXPECT_EQ(list.selection, s.selection) << what << " step " << i;
        if (s.result != 0) {
            EXPECT_EQ(list.lastAction, s.lastAction) << what << " step " << i;
        }
    }
}
}  // namespace

TEST(ListBoxPen, TapsSelectAndChoose) {
    {
        // Without choose-on-release: the press selects, lifting over the same row does nothing,
        // lifting over another row chooses it, a drag moves the selection row by row.
        CListBox list;
        Fill(list, 3);
        RunPen(list,
               {{15, 25, 1, 0, 7, 0, 0},
                {15, 25, 0, 0, 0, 0, 0},
                {15, 36, 1, 1, 7, 1, 0},
                {15, 47, 1, 1, 7, 2, 0},
                {15, 36, 0, 0, 7, 1, 1}},
               "plain");
    }
    {
        CListBox list;
        Fill(list, 3);
        list.chooseOnRelease = 1;
        RunPen(list, {{15, 35, 1, 0, 7, 1, 0}, {15, 35, 1, 1, 0, 1, 0}, {15, 35, 0, 0, 7, 1, 1}}, "release");
    }
}

TEST(ListBoxPen, OnlyWhollyVisibleRowsCountAndOutsideTapsMayDeselect) {
    CListBox list;
    Fill(list, 12);
    list.SetRect(10, 20, 100, 75);  // seven whole rows and half of the eighth
    list.selection = 2;
    // Row 7 is cut by the bottom edge; a tap below the rows and one left of the list are outside.
    RunPen(list, {{15, 92, 1, 0, 0, 2, 0}, {15, 200, 1, 0, 0, 2, 0}, {9, 25, 1, 0, 0, 2, 0}}, "keep");
    list.deselectOutside = 1;
    RunPen(list, {{15, 92, 1, 0, 7, -1, -1}, {15, 25, 1, 0, 7, 0, 0}, {300, 25, 0, 0, 7, -1, -1}},
           "deselect");
    // A list scrolled to its second page maps the pen to rows 8 ..
    list.topRow = 8;
    RunPen(list, {{15, 45, 1, 0, 7, 10, 0}}, "page");
    // Past the last item of a short page.
    RunPen(list, {{15, 65, 1, 0, 7, -1, -1}}, "past the end");
}

TEST(ListBoxPen, NoRowHeightMeansNoRows) {
    for (i32 rowHeight : {0, -3}) {
        CListBox list;
        Fill(list, 3);
        list.rowHeight = rowHeight;
        list.selection = 1;
        EXPECT_EQ(list.OnPen(15, 25, 1, 0), 0u);
        EXPECT_EQ(list.selection, 1);
        list.deselectOutside = 1;
        EXPECT_EQ(list.OnPen(15, 25, 1, 0), 7u);
        EXPECT_EQ(list.selection, -1);
        list.Draw();  // nothing to draw into, and nothing to divide by
    }
}

TEST(ListBoxFit, SizesToTheWidestLabelAndAtMostEightRows) {
    widgetkit::Stage stage;
    struct Case {
        int items;
        int rows;
    };
    for (const Case& c : {Case{0, 0}, Case{3, 3}, Case{8, 8}, Case{9, 8}, Case{12, 8}, Case{20, 8}}) {
        CListBox list;
        list.Attach(&stage.form);
        list.rowHeight = 26;
        list.topRow = 5;
        for (int i = 0; i < c.items; ++i) list.AddItem(i == 1 ? "A much longer label" : "Short", "", 0);
        list.FitToItems(340);
        EXPECT_EQ(list.visibleRows, c.rows) << c.items;
        EXPECT_EQ(list.h, 26 * c.rows) << c.items;
        EXPECT_EQ(list.topRow, 0);
        EXPECT_EQ(list.selection, c.items > 0 ? 0 : -1);
        i32 widest = 0, lines = 0;
        stage.game.fonts->Select(1, 0, 0);
        stage.game.fonts->MeasureText(c.items > 1 ? "A much longer label"
                                      : c.items   ? "Short"
                                                  : "",
                                      340, widest, lines);
        EXPECT_EQ(list.w, widest + 10) << c.items;
    }
}
