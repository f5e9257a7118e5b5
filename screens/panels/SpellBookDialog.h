// The spell book over the lower right corner of the game view: six pages of known spells by school
// and a page of usable scrolls and wands. It never casts: cast (218) and close (219) go to the owner,
// which takes the book down and casts what GetSelectedSpell or GetSelectedItem names. The page shown
// and its selection stay from one opening to the next.
#pragma once

#include "core/Types.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/ListBox.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CRecordHolder;
class CSpell;
class IGameViewDialogHost;
struct CItemInstance;

class CSpellBookDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 19;
    static constexpr int kPageCount = 7;
    static constexpr int kMagicItemsPage = 7;
    enum : u32 {
        kFirstTab = 208,  // 208..214: the six schools, then the magic items
        kEntries = 215,
        kPageUp = 216,
        kPageDown = 217,
        kCast = 218,
        kClose = 219,
    };

    void SetHost(IGameViewDialogHost* dialogHost) { host = dialogHost; }
    // Attaching starts the book on its first page.
    void Attach(CWidgetHost* widgetHost) override;
    // Builds the book on the current page (the owner calls it to open the book).
    void ShowPage();

    // The spell of the selected entry on a school page; null on the magic-items page, without a
    // selection or when the world no longer has that spell.
    const CSpell* GetSelectedSpell() const;
    // The carried item of the selected entry on the magic-items page; null elsewhere, without a
    // selection or when the entry no longer names a carried item.
    CItemInstance* GetSelectedItem() const;

    u32 OnCommand(u32 command) override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnTick(u32) override { return 0; }

    int GetPage() const { return mode; }

    CPicture frame;
    CBitmapButton tabs[kPageCount];
    CTextLabel message;
    CListBox entries;
    CBitmapButton pageUp, pageDown, castButton, closeButton;

private:
    void FillEntries();
    void SelectPage(u32 command);
    void TurnPage(int step);
    void UpdateTabs();
    void UpdateScrollButtons();

    IGameViewDialogHost* host = nullptr;
    int mode = 1;
    CRecordHolder* tabPictures[kPageCount][3] = {};
    CRecordHolder* upPictures[3] = {};
    CRecordHolder* downPictures[3] = {};
    CRecordHolder* castPictures[3] = {};
    CRecordHolder* closePictures[3] = {};
};
