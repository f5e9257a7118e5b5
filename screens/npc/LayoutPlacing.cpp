#include "screens/npc/LayoutPlacing.h"

#include "ui/Form.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/PictureSets.h"
#include "ui/PictureWidgets.h"
#include "ui/Layout.h"
#include "ui/Widget.h"
#include "ui/WidgetHost.h"

void FillButtonPictures(CWidgetHost* game, CRecordHolder* (&set)[3], u16 normal) {
    set[0] = game != nullptr ? game->GetInterfacePicture(normal) : nullptr;
    set[1] = game != nullptr ? game->GetInterfacePicture(static_cast<u16>(normal + 1)) : nullptr;
    set[2] = nullptr;
}

void PlaceDialogFrame(CForm& dialog, CPicture& frame, u16 group) {
    PlaceWidget(dialog, frame, group, 0x13);
    frame.frameSet = InterfacePictureSet(dialog.game, kPictureLargeFrameSet, 9);
    frame.transparent = 1;
    frame.sides = 0x0F;
}
