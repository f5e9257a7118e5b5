// A fill colour with a picture, such as a portrait, and an optional second picture over it (an item
// with its palette, or a state mark). A panel without a second picture answers a tap with its id.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;
struct CPaletteRef;

class CPanel : public CWidget {
public:
    CPanel() : CWidget(0) {}

    // Portrait by id, else the picture of the creature kind of that id.
    void SetPortrait(const char* id);
    void SetPicture(const char* name);
    void SetBitmap(CRecordHolder* picture);
    void SetPaletteColors(u16 index, u16 paletteIndex);
    void SetStateColor(u32 flagValue, u32 stateValue);

    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CRecordHolder* picture = nullptr;
    i32 pictureWidth = 0;
    i32 pictureHeight = 0;
    u32 fillColour = 0;
    CRecordHolder* secondPicture = nullptr;
    const CPaletteRef* secondPalette = nullptr;
    u32 plainTransparent = 0;

private:
    void TakePicture(CRecordHolder* found);
    void ClearOverlay();
    void DrawSecond(i32 px, i32 py, i32 cropX, i32 cropY, i32 width, i32 height);
};
