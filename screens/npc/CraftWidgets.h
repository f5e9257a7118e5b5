// The small pieces every craft dialog builds its widgets from: placing by layout element, button
// picture pairs, the grey-on-dark lists with their paging, frames and money texts.
#pragma once

#include "core/Types.h"

class CBitmapButton;
class CForm;
class CListBox;
class CTextBox;
class CTextLabel;
class CPicture;
class CRecordHolder;
class CStr;
class CWidget;
class CWidgetHost;

namespace craft {

// Attaches the widget, places it by the layout element of the group, and adds it to the form when
// the element exists in the current layout mode.
void PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element);
// A normal and a pressed interface picture, and no disabled one.
void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 first);
// Places a button by its command's element and gives it the picture pair from `firstPicture`.
void PlaceButton(CForm& form, CBitmapButton& button, CRecordHolder* (&set)[3], u16 group, u32 command,
                 u16 firstPicture, u16 key);
// A dialog's tiled background and its frame (element 19): the compact frame set in the small layout
// modes, the large one otherwise.
void SetupDialogBackdrop(CForm& form, CPicture& frame, u16 group, u16 backgroundPicture);
// An outlined white title, centred, on the given colour.
void SetupTitle(CTextLabel& title, const char* text, u32 backgroundColour);
// A label of the enchantment entry dialogs, placed by its element: the title (element 16) white,
// outlined and centred, every other label grey and left-aligned.
void PlaceEntryLabel(CForm& form, CTextLabel& label, u16 group, u32 element, const char* text);
// A box with a white title and grey text on dark.
void SetupDetailBox(CTextBox& box);
// A nine-piece frame drawn over the picture's rectangle.
void SetupFrame(CPicture& picture, CWidgetHost* game, u16 firstPicture);
// The lists of the craft dialogs: font 1, grey rows on dark, the selection as a lighter bar, and
// whole rows per page (at least one).
void SetupCraftList(CListBox& list);
// Moves the first shown row by one page up (-1) or down (1) and selects it.
void PageList(CListBox& list, int direction);
// Money as price and gold texts show it: compact below a thousand million, then in thousand millions.
void FormatMoneyText(i64 value, CStr& out);

}  // namespace craft
