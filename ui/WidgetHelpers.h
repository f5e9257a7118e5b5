// Small helpers of the widgets: the current font's line height, colour words packed to pixels, the
// size of a held picture, the interface picture sets the widgets draw, what they read of the main
// game view, and the two interface sounds.
#pragma once

#include <functional>

#include "core/Types.h"

class CFontSet;
class CWidgetHost;
class CRecordHolder;
class CVideo;
struct CPaletteRef;

// The line height of the font selected last; 0 before any font is selected.
i32 CurrentLineHeight(const CFontSet* fonts);

// A colour word 0x00BBGGRR (red in the low byte) as an RGB565 pixel.
u16 PackColourWord(u32 colour);

// The width and height of a held picture (its i16 header words); 0 x 0 when the holder is null, holds
// nothing, or holds a record too short for a picture header.
void PictureSizeOf(const CRecordHolder* picture, i32& width, i32& height);

// An item's picture drawn whole at its own size. Item pictures are shared with the world, where a
// herb's picture stands in the 3D view as the plant itself, so they carry see-through pixels; drawn
// opaque, those would show as white boxes in every cell of the inventory and the shop.
void DrawItemPicture(CVideo* video, const CRecordHolder* picture, const CPaletteRef* palette, i32 x, i32 y);

// The progress screen's bar frame: eight pieces, a nine-piece frame without its centre.
constexpr u16 kProgressFrameFirst = 3190;

// The game's standard button frames (three pieces each), normal or pressed.
CRecordHolder* const* StandardButtonFrames(CWidgetHost* game, bool pressed);

// What the widgets read of the main game view: its 3D view rectangle, the size of the frame buffer
// that the video output described to it, and the player's facing. All 0 without a game view.
struct CViewRect {
    i32 x = 0, y = 0, width = 0, height = 0;
};
CViewRect GameViewRect(CWidgetHost* game);
void GameFrameBufferSize(CWidgetHost* game, i32& width, i32& height);
u32 PlayerFacing(CWidgetHost* game);

// The interface sounds: 0 the click of "Continue" (record 4031), 1 the confirm sound (record 4032),
// played at a relative volume 0..10. A test may listen to them instead of the sound system.
void PlayInterfaceSound(CWidgetHost* game, u32 which, i32 relativeVolume);
using InterfaceSoundListener = std::function<void(u16 record, i32 relativeVolume)>;
void SetInterfaceSoundListener(InterfaceSoundListener listener);
