#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WidgetKit.h"
#include "ui/BookDialog.h"

using namespace widgetkit;

namespace {

// The panel screen's side of the reader: it installs the reader and closes it on 25.
class PanelStandIn : public CForm {
public:
    u32 OnCommand(u32 command) override {
        commands.push_back(command);
        if (command == CBookDialog::kClose) CloseModal();
        return 0;
    }
    std::vector<u32> commands;
};

std::vector<LayoutElementSpec> ReaderElements() {
    return {{19, 10, 10, 300, 220}, {302, 20, 20, 280, 200}, {40, 30, 30, 260, 120},
            {303, 30, 200, 20, 20}, {304, 270, 200, 20, 20}, {25, 150, 200, 20, 20}};
}

struct Reader {
    Stage stage{15, 400, 300};
    FakeGameData data;
    PanelStandIn panel;
    CBookDialog book;

    Reader() {
        stage.SetLayouts({{31, 15, 320, 240, ReaderElements()}, {32, 15, 300, 230, ReaderElements()}});
        stage.FillPictures(3015, 9, 8, 8);
        stage.FillPictures(3030, 9, 10, 10);
        stage.FillPictures(3039, 9, 12, 12);
        stage.FillPictures(3090, 8, 6, 6);
        stage.FillPictures(3200, 1, 16, 16);
        stage.FillPictures(3330, 4, 20, 20);
        stage.FillPictures(3346, 3, 20, 20);
        panel.Attach(&stage.game);
        panel.width = 400;
        panel.height = 300;
        book.Attach(&stage.game);
    }

    // What the panel screen does to read an item.
    void Read(u32 kind, const char* title, const std::string& body) {
        panel.OpenModal(&book);
        book.Open(kind);
        book.pages.SetText(kind == kBookKindLetter ? "" : title, body.c_str(), 0, 0);
        book.UpdatePageButtons();
        book.flags |= kFormRedrawAll;
        book.ResetInputGuard();
        stage.game.tickCounter++;
    }

    bool Shows(const CWidget& w) const { return w.IsShown(); }
    bool PenEnabled(const CWidget& w) const { return (w.state & kWidgetPenEnabled) != 0; }
};

std::string Body(int lines) {
    std::string body;
    for (int i = 0; i < lines; ++i) body += (i ? "\n" : "") + std::string("Line ") + std::to_string(i);
    return body;
}

}  // namespace

TEST(BookDialog, EachKindHasItsGroupFramesAndSounds) {
    struct Case {
        u32 kind;
        u32 width;
        u16 frameFirst;
        u32 titleColour;
        const char* open;
        const char* close;
    };
    const Case cases[] = {
        {1, 320, 3030, 0xA0DCFA, "bsnd_bookopen", "bsnd_bookclose"},
        {2, 320, 3039, 0xA0DCFA, "bsnd_bookopen", "bsnd_bookclose"},
        {3, 300, 3015, 0x151C34, "bsnd_letteropenclose", "bsnd_letteropenclose"},
        {7, 320, 3030, 0xA0DCFA, "bsnd_bookopen", "bsnd_bookclose"},  // anything else reads as a book
    };
    for (const Case& c : cases) {
        Reader r;
        r.stage.game.textColor = 0x94D6EF;
        r.Read(c.kind, "The Title", Body(2));
        EXPECT_EQ(r.book.width, c.width) << c.kind;
        EXPECT_EQ(r.book.pageFrame.frameSet[0], r.stage.game.GetInterfacePicture(c.frameFirst)) << c.kind;
        EXPECT_EQ(r.book.pages.titleColour, c.titleColour) << c.kind;
        EXPECT_EQ(r.book.pages.backgroundColour, c.kind == 3 ? 0x94D6EFu : 0x5A8A87u) << c.kind;
        EXPECT_EQ(r.book.pages.fill, 0u);
        EXPECT_STREQ(r.book.pages.title.GetText(), c.kind == 3 ? "" : "The Title");
        ASSERT_EQ(r.data.sounds, std::vector<std::string>{c.open}) << c.kind;
        EXPECT_EQ(r.data.volumes[0], 10u);
        // Key 3006 closes the reader: the closing sound, then 25 to the panel, result 0.
        EXPECT_EQ(r.panel.OnKey(3006), 0u);
        EXPECT_EQ(r.data.sounds.back(), c.close) << c.kind;
        EXPECT_EQ(r.panel.commands, std::vector<u32>{25});
        EXPECT_EQ(r.panel.modalChild, nullptr);
    }
}

TEST(BookDialog, OnePageHidesBothPageButtonsAndTheirKeysDoNothing) {
    for (int lines : {0, 1}) {
        Reader r;
        r.Read(kBookKindBook, "T", Body(lines));
        ASSERT_EQ(r.book.pages.GetPageCount(), 1u);
        EXPECT_FALSE(r.Shows(r.book.previousButton));
        EXPECT_FALSE(r.Shows(r.book.nextButton));
        EXPECT_TRUE(r.Shows(r.book.closeButton));
        r.panel.OnKey(1002);
        r.panel.OnKey(1000);
        EXPECT_EQ(r.book.pages.currentPage, 0u);
        EXPECT_EQ(r.data.sounds.size(), 1u);  // only the opening sound
    }
}

TEST(BookDialog, PagesTurnByKeyAndTapWithOnePageSoundEach) {
    Reader r;
    r.Read(kBookKindBook, "T", Body(12));
    const u32 pages = r.book.pages.GetPageCount();
    ASSERT_GE(pages, 2u);
    EXPECT_TRUE(r.Shows(r.book.previousButton));
    EXPECT_FALSE(r.PenEnabled(r.book.previousButton));
    EXPECT_TRUE(r.PenEnabled(r.book.nextButton));
    // A disabled button answers neither its key nor the pen.
    EXPECT_EQ(r.panel.OnKey(1000), 0u);
    EXPECT_EQ(r.book.pages.currentPage, 0u);

    EXPECT_EQ(r.panel.OnKey(1002), 0u);
    EXPECT_EQ(r.book.pages.currentPage, 1u);
    EXPECT_EQ(r.data.sounds, (std::vector<std::string>{"bsnd_bookopen", "bsnd_bookpage"}));
    EXPECT_TRUE(r.PenEnabled(r.book.previousButton));
    EXPECT_EQ(r.PenEnabled(r.book.nextButton), pages > 2);

    // A tap on the previous-page button turns back.
    const i32 px = r.book.previousButton.x + 2, py = r.book.previousButton.y + 2;
    r.panel.OnPen(px, py, 1, 0);
    r.panel.OnPen(px, py, 0, 0);
    EXPECT_EQ(r.book.pages.currentPage, 0u);
    EXPECT_EQ(r.data.sounds.size(), 3u);
    EXPECT_FALSE(r.PenEnabled(r.book.previousButton));

    // Up to the last page, and no further.
    for (u32 i = 1; i < pages + 2; ++i) r.panel.OnKey(1002);
    EXPECT_EQ(r.book.pages.currentPage, pages - 1);
    EXPECT_FALSE(r.PenEnabled(r.book.nextButton));
    // A stray command cannot leave the pages either.
    r.book.OnCommand(CBookDialog::kNextPage);
    EXPECT_EQ(r.book.pages.currentPage, pages - 1);
}

TEST(BookDialog, ANoticeTakesAllInputUntilItsOk) {
    Reader r;
    r.Read(kBookKindBook, "T", Body(12));
    r.book.ShowNotice("You have learned something.");
    EXPECT_EQ(r.book.modalChild, &r.book.noticeBox);
    r.stage.game.tickCounter++;
    // Keys go to the notice: 1002 turns no page; 3006 closes the notice, not the reader.
    r.panel.OnKey(1002);
    EXPECT_EQ(r.book.pages.currentPage, 0u);
    r.panel.OnKey(3006);
    EXPECT_EQ(r.book.modalChild, nullptr);
    EXPECT_EQ(r.panel.modalChild, &r.book);
    EXPECT_TRUE(r.panel.commands.empty());
    r.stage.game.tickCounter++;
    r.panel.OnKey(3006);
    EXPECT_EQ(r.panel.commands, std::vector<u32>{25});
}

TEST(BookDialog, Golden) {
    Reader r;
    r.stage.game.textColor = 0x94D6EF;
    r.Read(kBookKindBook, "A Short History", Body(12));
    r.stage.Clear(0);
    r.panel.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/book_page0", r.stage.Capture(0, 0, 330, 250)));
    r.panel.OnKey(1002);
    EXPECT_TRUE(testing_support::MatchesGolden("ui/book_page1", r.stage.Capture(0, 0, 330, 250)));
    Reader letter;
    letter.stage.game.textColor = 0x94D6EF;
    letter.Read(kBookKindLetter, "ignored", "Dear friend,\nmeet me at the gate.");
    letter.stage.Clear(0);
    letter.panel.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/letter", letter.stage.Capture(0, 0, 330, 250)));
}
