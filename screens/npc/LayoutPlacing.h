// Placing the service screens and dialogs: a dialog's frame, and the normal and pressed picture pair
// of a picture button. Dialogs centre themselves with the front end's CentreDialog.
#pragma once

#include "core/Types.h"
#include "screens/frontend/FrontendWidgets.h"

class CForm;
class CPicture;
class CRecordHolder;
class CWidget;
class CWidgetHost;

// PlaceWidget (attach, place by element, add when the element exists) is the front end's.

// The interface picture `normal` and the one after it (pressed); no disabled picture.
void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal);

// The dialog's frame (element 0x13) over its background.
void PlaceDialogFrame(CForm& dialog, CPicture& frame, u16 group);
