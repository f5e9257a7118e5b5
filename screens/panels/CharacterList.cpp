#include "screens/panels/CharacterList.h"

#include "core/LayoutTable.h"
#include "display/FontSet.h"
#include "screens/frontend/FrontendWidgets.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/ListBox.h"
#include "ui/PictureSets.h"
#include "ui/PictureWidgets.h"
#include "ui/TextBox.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

void SetupCharacterList(CListBox& list, CWidgetHost* game) {
    list.font = 1;
    list.textColour = 0xC8C8C8;
    const CFontSet* fonts = game ? game->GetFonts() : nullptr;
    const CBitmapFont* font = fonts ? fonts->Font(1) : nullptr;
    list.rowHeight = font && font->LineHeight() > 0 ? font->LineHeight() : 16;
    list.highlight = 1;
    list.highlightBarColour = 0x2A6A9A;
    list.highlightTextColour = 0xE8F8FF;
}

void SelectFirstRow(CListBox& list) {
    list.visibleRows = RowsPerPage(list.h, list.rowHeight);
    list.selection = list.GetCount() > 0 ? 0 : -1;
    list.topRow = FirstRowFor(list.selection, list.visibleRows);
    list.state |= kWidgetRedraw;
}

void PlacePanelPage(CForm& page, u16 group) {
    GetLayoutSize(page.game, group, page.width, page.height);
    page.x = 0;
    page.y = 0;
}

void FitPictureButtons(CForm& form, u16 group) {
    for (int i = 0; i < form.widgets.GetCount(); ++i) {
        auto* button = dynamic_cast<CBitmapButton*>(form.widgets.At<CWidget>(i));
        if (button == nullptr || button->hasPictures == 0) continue;
        const u8* element = FindLayoutRect(form.game, group, button->commandId);
        if (element == nullptr) continue;
        const u16 x = button->x, y = button->y, w = button->w, h = button->h, state = button->state;
        button->SetLayoutRect(element);
        if (button->w >= w && button->h >= h) {
            // The picture fits its element: it keeps its own size.
            button->SetRect(x, y, w, h);
        } else {
            button->fitToRect = 1;
        }
        button->state = state | kWidgetRedraw;
    }
}

void PlaceListFrame(CForm& form, CPicture& frame, u16 group, u32 element) {
    if (!PlaceWidget(form, frame, group, element)) return;
    frame.frameSet = InterfacePictureSet(form.game, kPictureCompactFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
}

void PlaceArrowPair(CForm& form, u16 group, CBitmapButton& up, u32 upElement, CBitmapButton& down,
                    u32 downElement, u16 upPicture, u16 downPicture) {
    PlacePictureButton(form, up, group, upElement, upPicture, static_cast<u16>(upPicture + 1), true);
    PlacePictureButton(form, down, group, downElement, downPicture, static_cast<u16>(downPicture + 1), true);
}

void CListScrolling::UpdateList(CListBox& list, CBitmapButton& up, CBitmapButton& down) {
    up.EnablePen(list.topRow > 0 ? 1 : 0);
    down.EnablePen(list.topRow + list.visibleRows < list.GetCount() ? 1 : 0);
}

void CListScrolling::UpdateText(const CTextBox& text, CBitmapButton& up, CBitmapButton& down) {
    up.EnablePen(text.currentPage > 0 ? 1 : 0);
    down.EnablePen(text.currentPage + 1 < text.GetPageCount() ? 1 : 0);
}

void CListScrolling::PageList(CListBox& list, int direction) {
    const i32 rows = list.visibleRows > 0 ? list.visibleRows : 1;
    const i32 top = list.topRow + direction * rows;
    if (top < 0 || top >= list.GetCount()) return;
    list.topRow = top;
    list.selection = top;
    list.state |= kWidgetRedraw;
}

void CListScrolling::StepText(CTextBox& text, int direction) {
    if (direction < 0 && text.currentPage > 0) --text.currentPage;
    if (direction > 0 && text.currentPage + 1 < text.GetPageCount()) ++text.currentPage;
    text.state |= kWidgetRedraw;
}

bool OnListPageCommand(CWidgetHost* game, u32 command, const CListPageCommands& ids, const CListPageWidgets& page,
                       const std::function<void()>& show) {
    if (command == ids.list) {
        PlayInterfaceSound(game, 0, 10);
        show();
    } else if (command == ids.pageUp || command == ids.pageDown) {
        PlayInterfaceSound(game, 0, 10);
        CListScrolling::PageList(page.list, command == ids.pageUp ? -1 : 1);
        CListScrolling::UpdateList(page.list, page.pageUp, page.pageDown);
        show();
    } else if (command == ids.lineUp || command == ids.lineDown) {
        PlayInterfaceSound(game, 0, 10);
        CListScrolling::StepText(page.text, command == ids.lineUp ? -1 : 1);
        CListScrolling::UpdateText(page.text, page.lineUp, page.lineDown);
    } else {
        return false;
    }
    return true;
}

void SetLatched(CWidget& widget, bool on) {
    if (on)
        widget.state |= kWidgetLatched;
    else
        widget.state &= static_cast<u16>(~kWidgetLatched);
    widget.state |= kWidgetRedraw;
}
