// Frame and picture sets are runs of consecutive interface pictures; the game keeps its holders in
// base-number order, so a run is a pointer into that array.
#pragma once

#include "core/Types.h"

class CWidgetHost;
class CRecordHolder;

// The holders of `count` consecutive interface pictures from base number `first`, or null when the
// run is not wholly made of interface pictures (or there is no game).
CRecordHolder* const* InterfacePictureSet(CWidgetHost* game, u16 first, int count);

// The message-box border, also the frame of letters and of the action menu.
constexpr u16 kMessageFrameFirstPicture = 3015;
