// The list of the list-and-description character pages (abilities, diseases, active effects): its look,
// and the selection put on the first row once it is filled.
#pragma once

class CListBox;
class CWidgetHost;

void SetupCharacterList(CListBox& list, CWidgetHost* game);
// Rows per page from the list's height (at least one), the first row chosen when there is one, and the
// page that shows it.
void SelectFirstRow(CListBox& list);
