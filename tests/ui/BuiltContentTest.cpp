// The reader and the action menu on the interface database that the build writes: every layout
// element and picture they take is there, and they fit their forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/Game.h"
#include "display/FontSet.h"
#include "tests/support/FrameRig.h"
#include "ui/ActionMenu.h"
#include "ui/BookDialog.h"
#include "ui/ListBox.h"
#include "ui/WidgetHelpers.h"

namespace {

class BuiltContent : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        game = rig.Game();
        form.Attach(game);
        form.width = 800;
        form.height = 584;
    }
    static bool Inside(const CWidget& w, const CForm& f) {
        return w.x >= f.x && w.y >= f.y && w.x + w.w <= f.x + f.width && w.y + w.h <= f.y + f.height;
    }

    testing_support::FrameRig rig;
    CGame* game = nullptr;
    CForm form;
};

TEST_F(BuiltContent, TheReaderPlacesEveryMemberInsideItselfForEachKind) {
    std::string body;
    for (int i = 0; i < 60; ++i) body += "A line of the book that goes on for a while. ";
    for (u32 kind : {1u, 2u, 3u}) {
        CBookDialog book;
        book.Attach(game);
        form.OpenModal(&book);
        book.Open(kind);
        book.pages.SetText("A Title", body.c_str(), 0, 0);
        book.UpdatePageButtons();
        EXPECT_GT(book.width, 0u) << kind;
        EXPECT_NE(book.background, nullptr);
        const CWidget* members[] = {&book.pageBackdrop,   &book.pageFrame,  &book.pages,
                                    &book.previousButton, &book.nextButton, &book.closeButton};
        for (const CWidget* w : members) {
            EXPECT_TRUE(w->IsShown()) << kind << " element " << w->id;
            EXPECT_TRUE(Inside(*w, book)) << kind << " element " << w->id;
            EXPECT_GT(w->w, 0) << kind << " element " << w->id;
        }
        EXPECT_GT(book.pages.GetPageCount(), 1u) << kind;
        // The buttons lie below the text.
        for (const CBitmapButton* b : {&book.previousButton, &book.nextButton, &book.closeButton})
            EXPECT_GE(b->y, book.pages.y + book.pages.h) << kind;
        book.Draw();
        form.CloseModal();
    }
}

TEST_F(BuiltContent, TheActionMenuFitsTheFrameBuffer) {
    for (int items : {3, 9, 20}) {
        CListBox list;
        list.Attach(&form);
        list.font = 1;
        list.textColour = 0x161616;
        list.backgroundColour = 0x94D6E7;
        list.backgroundPicture = game->GetInterfacePicture(3019);
        game->fonts->Select(1, 0, 0);
        list.rowHeight = CurrentLineHeight(game->fonts.get());
        for (int i = 0; i < items; ++i) list.AddItem(("Take the " + std::to_string(i)).c_str(), "k", 0);
        list.FitToItems(340);
        CActionMenu menu;
        menu.Attach(game);
        menu.Open(&list);
        const CForm& f = form;
        EXPECT_TRUE(Inside(list, f));
        EXPECT_TRUE(Inside(menu.okButton, f));
        EXPECT_GT(menu.okButton.w, 0);
        EXPECT_LE(menu.x + menu.width, 800u);
        EXPECT_LE(menu.y + menu.height, 584u);
        if (items > 8) {
            // The page buttons' pictures are the size the menu gives the buttons.
            for (u16 base : {3160, 3161, 3162, 3163}) {
                i32 pw = 0, ph = 0;
                PictureSizeOf(game->GetInterfacePicture(base), pw, ph);
                EXPECT_EQ(pw, menu.pageUpButton.w) << base;
                EXPECT_EQ(ph, menu.pageUpButton.h) << base;
            }
        }
        menu.Draw();
    }
}

}  // namespace
