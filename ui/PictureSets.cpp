#include "ui/PictureSets.h"

#include "ui/WidgetHost.h"

CRecordHolder* const* InterfacePictureSet(CWidgetHost* game, u16 first, int count) {
    if (game == nullptr || count < 1) return nullptr;
    return game->GetInterfacePictureSet(first, count);
}
