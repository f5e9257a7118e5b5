#include "screens/panels/CharacterList.h"

#include "display/FontSet.h"
#include "screens/panels/CharacterPageTexts.h"
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
