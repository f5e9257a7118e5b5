#include "screens/npc/LayoutPlacing.h"

#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/Widget.h"
#include "ui/WidgetHost.h"

bool PlaceWidget(CForm& form, CWidget& widget, u16 group, u32 element) {
    widget.Attach(&form);
    widget.SetLayoutRect(FindLayoutRect(form.game, group, element));
    if ((widget.state & kWidgetEnabled) == 0)
        return false;
    form.AddWidget(&widget);
    return true;
}

void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal) {
    set[0] = game != nullptr ? game->GetInterfacePicture(normal) : nullptr;
    set[1] = game != nullptr ? game->GetInterfacePicture(static_cast<u16>(normal + 1)) : nullptr;
    set[2] = nullptr;
}
