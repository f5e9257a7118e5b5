// A picture placed, stretched or cropped in a rectangle, with an optional frame; or a raw RGB565
// picture such as a saved-game thumbnail. A tap on the drawn picture answers the widget's id.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

class CPictureView : public CWidget {
public:
    CPictureView() : CWidget(kWidgetTakesPen) {}

    // A picture 0 texels wide (or high) is treated as no picture.
    void SetPicture(CRecordHolder* picture, u32 transparent, u32 tag, u32 fill);
    // A raw picture of width x height RGB565 pixels, row by row; the view does not own it.
    void SetRawPicture(const u16* pixels, i32 width, i32 height);

    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    const u16* rawPicture = nullptr;
    CRecordHolder* picture = nullptr;
    u32 transparent = 0;
    u32 tag = 0;
    u32 keepAspect = 0;
    u32 stretched = 0;
    CRecordHolder* placeholder = nullptr;
    i32 drawnX = 0, drawnY = 0, drawnWidth = 0, drawnHeight = 0;
    u32 fill = 0;
    u32 backgroundColour = 0;
    u32 frame = 0;
    CRecordHolder* const* frameSet = nullptr;
    i32 frameMarginX = 0, frameMarginY = 0;
};

// Shown when a picture view has nothing to show and no placeholder of its own.
constexpr u16 kPictureViewPlaceholder = 3530;
