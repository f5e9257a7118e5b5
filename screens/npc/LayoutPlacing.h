// Placing a service screen's or dialog's widgets by their layout elements: a widget whose element the
// current layout mode lacks is left off the form. And the normal and pressed picture pair of a
// picture button.
#pragma once

#include "core/Types.h"

class CForm;
class CPicture;
class CRecordHolder;
class CWidget;
class CWidgetHost;

// Attaches the widget to the form, places it at the element of the group and adds it when the
// element exists; true when it was added.
bool PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element);

// The interface picture `normal` and the one after it (pressed); no disabled picture.
void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal);

// Sizes a dialog from its layout group and centres it on the screen.
void CentreDialog(CForm& dialog, u16 group);
// The dialog's frame (element 0x13) over its background.
void PlaceDialogFrame(CForm& dialog, CPicture& frame, u16 group);
