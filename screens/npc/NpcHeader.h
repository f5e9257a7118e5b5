// What the talk screen and the services menu share: at their top the screen's size and background,
// and the NPC's portrait and name; and the NPC's price level for the services both offer.
#pragma once

#include "core/Types.h"

class CForm;
class CNpc;
class CPanel;
class CPicture;
class CScreenHost;
class CTextLabel;

// The screen's frames: the two columns (elements 293 and 292) and the box round the portrait and the
// name (the services menu's element 555, the talk screen's 554), in the frame set of the layout.
struct CNpcFrames {
    CPicture* column = nullptr;
    CPicture* content = nullptr;
    CPicture* header = nullptr;
    u16 headerElement = 0;
};

// Removes the form's widgets, sizes it by the layout group, places the frames and then the portrait
// (element 288) and the name (element 289) of the NPC, which may be null.
void PlaceNpcHeader(CForm& form, u16 group, const CNpcFrames& frames, CPanel& portrait, CTextLabel& name,
                    const CNpc* npc);

// The NPC's price level: its price variable when that exists and holds more than 0, else its own.
u32 GetNpcPriceLevel(CScreenHost& host, const CNpc& npc);
