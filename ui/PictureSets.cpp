#include "ui/PictureSets.h"

#include "app/Game.h"
#include "ui/InterfacePictures.h"
#include "data/RecordHolder.h"

CRecordHolder* const* InterfacePictureSet(const CGame* game, u16 first, int count) {
    if (game == nullptr || count < 1) return nullptr;
    const int index = InterfacePictureIndex(first);
    const int last = InterfacePictureIndex(static_cast<u16>(first + count - 1));
    if (index < 0 || last != index + count - 1) return nullptr;
    return &game->interfacePictures[static_cast<size_t>(index)];
}

