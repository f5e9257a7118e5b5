// The reader of books, letters and maps: a text box cut into pages inside a page frame, with
// previous, next and close buttons and page-turning sounds, and a notice box that can show a short
// message (a skill the book taught) over the reader.
#pragma once

#include "core/Types.h"
#include "ui/Boxes.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/TextView.h"

class CRecordHolder;

// What the reader shows: 1 books, 2 the further readable kind, 3 letters and maps (no title).
enum : u32 {
    kBookKindBook = 1,
    kBookKindOther = 2,
    kBookKindLetter = 3,
};

class CBookDialog : public CForm {
public:
    static constexpr u32 kPreviousPage = 303, kNextPage = 304, kClose = 25, kNoticeOk = 1;

    CBookDialog() = default;

    // Rebuilds the reader for a kind; the caller then sets the text, the page buttons, redraw-all and
    // the pen guard.
    void Open(u32 kind);
    void UpdatePageButtons();
    void ShowNotice(const char* text);

    // Always 0; closing hands 25 to the parent form.
    u32 OnCommand(u32 command) override;

    CTextView noticeText;
    CButtonBar noticeBox;
    CPicture pageBackdrop;
    CFramedBox pageFrame;
    CTextBox pages;
    CBitmapButton previousButton;
    CBitmapButton nextButton;
    CBitmapButton closeButton;
    u32 kind = 0;

private:
    void Place(CWidget& widget, u16 group, u32 element);
    const char* OpeningSound() const;
    const char* ClosingSound() const;

    CRecordHolder* backdropSet[9] = {};
    CRecordHolder* previousPictures[3] = {};
    CRecordHolder* nextPictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
