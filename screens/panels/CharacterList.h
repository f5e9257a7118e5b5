// The list of the list-and-description character pages (abilities, diseases, active effects): its look,
// and the selection put on the first row once it is filled.
#pragma once

#include <functional>

#include "core/Types.h"

class CBitmapButton;
class CForm;
class CListBox;
class CPicture;
class CTextBox;
class CWidget;
class CWidgetHost;

// Draws a tab, link or filter button pressed (the current one) or not, and marks it for redraw.
void SetLatched(CWidget& widget, bool on);

// The frame round a list or a description: the small border set, all four sides.
void PlaceListFrame(CForm& form, CPicture& frame, u16 group, u32 element);
// A pair of picture buttons from two interface picture pairs (normal, then pressed).
void PlaceArrowPair(CForm& form, u16 group, CBitmapButton& up, u32 upElement, CBitmapButton& down,
                    u32 downElement, u16 upPicture, u16 downPicture);

// The page and line buttons of a list and its description.
struct CListScrolling {
    static void UpdateList(CListBox& list, CBitmapButton& up, CBitmapButton& down);
    static void UpdateText(const CTextBox& text, CBitmapButton& up, CBitmapButton& down);
    // Page up (-1) or down (+1): the first row moves by a page and the selection goes with it.
    static void PageList(CListBox& list, int direction);
    static void StepText(CTextBox& text, int direction);
};

// In the layouts whose elements are smaller than the interface's button pictures, the picture buttons
// of the form keep their elements' rectangles (the element of the button's command) and draw their
// pictures scaled into them.
void FitPictureButtons(CForm& form, u16 group);

// The pages of the panel screen fill it: sized by their layout group, at the screen's origin.
void PlacePanelPage(CForm& page, u16 group);

void SetupCharacterList(CListBox& list, CWidgetHost* game);
// Rows per page from the list's height (at least one), the first row chosen when there is one, and the
// page that shows it.
void SelectFirstRow(CListBox& list);

// The commands a list-and-description page shares: a tap in the list, page up and down, line up and
// down; each plays the click. `show` shows the selected entry. False for any other command.
struct CListPageCommands {
    u32 list, pageUp, pageDown, lineUp, lineDown;
};
struct CListPageWidgets {
    CListBox& list;
    CTextBox& text;
    CBitmapButton &pageUp, &pageDown, &lineUp, &lineDown;
};
bool OnListPageCommand(CWidgetHost* game, u32 command, const CListPageCommands& ids, const CListPageWidgets& page,
                       const std::function<void()>& show);
