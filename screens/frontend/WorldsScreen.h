// The additional-worlds screen (screen 15): the installed additional worlds page by page, each with
// buttons to enable, disable or delete it. Changes are allowed only while no game runs, because the
// game databases are open during a game; an enabled or disabled world takes effect when the game
// databases are next opened.
#pragma once

#include "core/Types.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Screen.h"
#include "ui/TextLabel.h"
#include "ui/TextView.h"

class CScreenHost;

// Rows per page in a layout mode: 10 in the tall and large layouts, 6 in the square small ones, 7 in
// every other (also in the modes the screen was never laid out for).
u32 WorldRowsPerPage(u32 layoutMode);

class CWorldsScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 47;
    static constexpr u32 kMaxRows = 10;

    // The prompt or notice shown over the list.
    enum : u32 { kNoPrompt = 0, kDeletePrompt = 1, kNotice = 2 };

    explicit CWorldsScreen(CScreenHost& shell) : shell_(shell) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    void BuildLayout();
    void FillRows();
    void UpdatePageButtons();
    u32 WorldCount() const;
    // Whether a page after the current one holds any world.
    bool HasNextPage() const;

    CTextLabel title;
    CTextLabel description;
    CTextLabel nameHeader;
    CTextLabel enableHeader;
    CTextLabel deleteHeader;
    CTextLabel emptyLabel;
    CBitmapButton backButton;
    CBitmapButton previousPage;
    CBitmapButton nextPage;
    CTextLabel rowNames[kMaxRows];
    CBitmapButton enableButtons[kMaxRows];
    CBitmapButton disableButtons[kMaxRows];
    CBitmapButton deleteButtons[kMaxRows];
    CTextView promptView;
    CButtonBar promptBar;

    u32 editable = 0;
    i32 page = 0;
    u32 rowsPerPage = 7;
    u32 deleteRow = 0;
    u32 promptState = kNoPrompt;

private:
    bool Place(CWidget& widget, u32 element);
    void PlaceLabel(CTextLabel& label, u32 element, const char* text, u32 alignment, u32 font);
    void PlaceButton(CBitmapButton& button, u32 element, u16 normal, u16 pressed);
    void ShowEmptyState();
    void ShowMessage(const char* text, u32 buttons, u32 state);
    void SetEnabled(u32 row, u8 enabled);
    void DeleteRememberedRow();
    void Redraw();

    CScreenHost& shell_;
};
