// The list of the list-and-description character pages (abilities, diseases, active effects): its look,
// and the selection put on the first row once it is filled.
#pragma once

#include "core/Types.h"

class CForm;
class CListBox;
class CWidgetHost;

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
