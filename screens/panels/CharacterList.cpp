#include "screens/panels/CharacterList.h"

#include "display/FontSet.h"
#include "screens/panels/CharacterPageTexts.h"
#include "ui/Buttons.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/ListBox.h"
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
