#include "ui/BookDialog.h"

#include "ui/WidgetHost.h"
#include "ui/Layout.h"
#include "ui/LayoutMath.h"
#include "ui/PictureSets.h"
#include "ui/WidgetGameData.h"

namespace {

struct KindLook {
    u16 group;
    u16 frameFirst;
    u32 titleColour;
};

KindLook LookOf(u32 kind) {
    switch (kind) {
    case kBookKindOther: return {31, 3039, 0xA0DCFA};
    case kBookKindLetter: return {32, kMessageFrameFirstPicture, 0x151C34};
    default: return {31, 3030, 0xA0DCFA};
    }
}

constexpr u32 kBookBackground = 0x5A8A87;
constexpr u32 kBodyColour = 0x151C34;
constexpr u16 kReaderBackground = 3200;
constexpr u16 kBackdropSmall = 3190, kBackdropOther = 3090;

void FillPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal) {
    set[0] = game != nullptr ? game->GetInterfacePicture(normal) : nullptr;
    set[1] = game != nullptr ? game->GetInterfacePicture(static_cast<u16>(normal + 1)) : nullptr;
    set[2] = nullptr;
}

}  // namespace

const char* CBookDialog::OpeningSound() const {
    return kind == kBookKindLetter ? "bsnd_letteropenclose" : "bsnd_bookopen";
}

const char* CBookDialog::ClosingSound() const {
    return kind == kBookKindLetter ? "bsnd_letteropenclose" : "bsnd_bookclose";
}

void CBookDialog::Place(CWidget& widget, u16 group, u32 element) {
    widget.Attach(this);
    widget.SetLayoutRect(FindLayoutRect(game, group, element));
    if (widget.state & kWidgetEnabled) AddWidget(&widget);
}

void CBookDialog::Open(u32 newKind) {
    RemoveAllWidgets();
    noticeBox.Attach(game);
    kind = newKind;
    const KindLook look = LookOf(kind);
    GetLayoutSize(game, look.group, width, height);
    background = game != nullptr ? game->GetInterfacePicture(kReaderBackground) : nullptr;
    drawBackground = 1;
    const u32 mode = game != nullptr ? game->GetLayoutMode() : 0;
    const bool small = IsSmallLayoutMode(mode);

    Place(pageBackdrop, look.group, 19);
    // Eight pieces around an empty centre.
    const u16 first = small ? kBackdropSmall : kBackdropOther;
    for (int piece = 0, base = first; piece < 9; ++piece) {
        if (piece == 4) {
            backdropSet[piece] = nullptr;
            continue;
        }
        backdropSet[piece] = game != nullptr ? game->GetInterfacePicture(static_cast<u16>(base++)) : nullptr;
    }
    pageBackdrop.frameSet = backdropSet;
    pageBackdrop.fill = 0;
    pageBackdrop.colour = 0;
    pageBackdrop.sides = 0x0F;

    Place(pageFrame, look.group, 302);
    WidgetGameData().PlaySound(OpeningSound(), 10);
    pageFrame.frameSet = InterfacePictureSet(game, look.frameFirst, 9);
    pageFrame.pictureMode = 0;
    pageFrame.picture = nullptr;
    pageFrame.transparent = 1;

    Place(pages, look.group, 40);
    const i32 margin = small ? 1 : 2;
    const u32 pageBackground =
        kind == kBookKindLetter ? (game != nullptr ? game->GetTextColor() : 0) : kBookBackground;
    pages.Setup(2, look.titleColour, 0xFFFFFF, kBodyColour, pageBackground, 1, margin, margin, 0xFFFFFF);
    pages.fill = 0;

    Place(previousButton, look.group, kPreviousPage);
    FillPictures(game, previousPictures, 3330);
    previousButton.SetPictures(previousPictures, kPreviousPage, 1000);
    previousButton.transparent = 1;

    Place(nextButton, look.group, kNextPage);
    FillPictures(game, nextPictures, 3332);
    nextButton.SetPictures(nextPictures, kNextPage, 1002);
    nextButton.transparent = 1;

    Place(closeButton, look.group, kClose);
    FillPictures(game, closePictures, 3347);
    closeButton.SetPictures(closePictures, kClose, 3006);

    penDownSeen = 0;
    guardTick = game != nullptr ? game->GetTickCounter() : 0;
}

void CBookDialog::UpdatePageButtons() {
    const u32 count = pages.GetPageCount();
    if (pages.currentPage == 0 && count <= 1) {
        previousButton.Show(0);
        nextButton.Show(0);
        return;
    }
    previousButton.EnablePen(pages.currentPage > 0 ? 1 : 0);
    nextButton.EnablePen(pages.currentPage + 1 < count ? 1 : 0);
}

void CBookDialog::ShowNotice(const char* text) {
    ShowMessageText(game, &noticeText, text, CButtonBar::kOk, &noticeBox, this);
    OpenModal(&noticeBox);
}

u32 CBookDialog::OnCommand(u32 command) {
    switch (command) {
    case kPreviousPage:
    case kNextPage: {
        WidgetGameData().PlaySound("bsnd_bookpage", 10);
        // The disabled buttons keep the page in range; a stray command must not leave it either.
        const u32 count = pages.GetPageCount();
        if (command == kPreviousPage && pages.currentPage > 0) --pages.currentPage;
        if (command == kNextPage && pages.currentPage + 1 < count) ++pages.currentPage;
        pages.state |= kWidgetRedraw;
        flags |= kFormRedrawAll;
        UpdatePageButtons();
        break;
    }
    case kClose:
        WidgetGameData().PlaySound(ClosingSound(), 10);
        if (parent != nullptr) parent->OnCommand(kClose);
        break;
    case kNoticeOk:
        modalChild = nullptr;
        flags |= kFormRedrawAll;
        ResetInputGuard();
        break;
    default: break;
    }
    return 0;
}
