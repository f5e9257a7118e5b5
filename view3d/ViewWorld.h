// What the 3D view reads of the world around it, as narrow interfaces that the world side implements
// (the game view with its cell window and the world's texture set); tests implement them with small
// fixtures. The view never includes a world header.
#pragma once

#include "core/Types.h"

struct CPictureData;

// A colour table that replaces a picture's own: one entry of the view's palette table.
struct CViewPalette {
    const u16* colours = nullptr;
    u32 count = 0;
};

// The view's picture, palette and picture-anchor tables, looked up by id (0 is never a picture).
class CViewPictureSource {
public:
    virtual ~CViewPictureSource() = default;
    // The checked picture of that id (see ReadPicture), or null when there is none or it is not loaded.
    virtual const CPictureData* GetViewPicture(u16 id) const = 0;
    // The colour table of a palette id; an empty palette for an unknown id.
    virtual CViewPalette GetViewPalette(u16 id) const = 0;
    // How many texels a picture's foot lies above its lower edge (signed).
    virtual i8 GetPictureAnchor(u16 id) const = 0;
};

// Shows a message to the player from the view caches (the "cache is full" notice). The game view
// implements it with its message box.
class CViewNotices {
public:
    virtual ~CViewNotices() = default;
    virtual void ShowViewNotice(const char* text) = 0;
};
