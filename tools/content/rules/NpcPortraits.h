// The portraits of the town's people: head and shoulders, one picture each, at the size the services
// and talk screens show an NPC's portrait.
#pragma once

#include <string>
#include <vector>

#include "tools/content/Canvas.h"

// The portrait panel of the NPC screens is 100 x 100 in the default layout (element 288); a picture
// of exactly that size is drawn texel for texel, any other is stretched to it.
inline constexpr int kNpcPortraitSize = 100;

// The portrait names, one a person ("bres_npc_" and the person's name in lower case).
std::vector<std::string> NpcPortraitNames();
// The portrait of that name; an empty canvas for a name that is not one of them.
Canvas PaintNpcPortrait(const std::string& name);
