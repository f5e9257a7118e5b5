// Placing a service screen's or dialog's widgets by their layout elements: a widget whose element the
// current layout mode lacks is left off the form. And the normal and pressed picture pair of a
// picture button.
#pragma once

#include "core/Types.h"

class CForm;
class CRecordHolder;
class CWidget;
class CWidgetHost;

// Attaches the widget to the form, places it at the element of the group and adds it when the
// element exists; true when it was added.
bool PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element);

// The interface picture `normal` and the one after it (pressed); no disabled picture.
void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal);
