// The small picture widgets: a framed box, an animated picture, two tap targets, the compass strip of
// the game view and the card pile of the card game. None of them owns its pictures.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;
struct CResourceAnimation;

// A framed box with an optional plain fill and no picture of its own.
class CPicture : public CWidget {
public:
    CPicture();
    void Draw() override;

    CRecordHolder* const* frameSet = nullptr;  // nine pieces
    u32 fill = 0;
    u32 transparent = 0;
    u32 colour = 0;
    u32 sides = 0;  // 0x01 top, 0x02 left, 0x04 bottom, 0x08 right
};

class CAnimation : public CWidget {
public:
    CAnimation();

    void SetAnimation(const CResourceAnimation* record);
    // Eight pictures shown in turn, 200 ms each.
    void SetFrames(CRecordHolder* const* frameArray);

    u32 OnTick(u32 tick) override;
    void Draw() override;

    u32 source = 0;  // 1: a resource animation; 0: the fixed frame array
    const CResourceAnimation* animation = nullptr;
    CRecordHolder* basePicture = nullptr;
    u32 frame = 0;
    u32 stretch = 0;
    u32 pictureWidth = 0;
    u32 pictureHeight = 0;
    u32 lastTime = 0;
    CRecordHolder* const* frames = nullptr;
    u32 frameCount = 8;
    u32 frameTime = 200;

private:
    bool IsStill() const;
    void DrawResourceFrame(u32 index);
    void DrawFixedFrame(u32 index);
};

class CTapIcon : public CWidget {
public:
    CTapIcon();
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CRecordHolder* icon = nullptr;
    CRecordHolder* badge = nullptr;
    u32 unused[6] = {0, 0, 0, 0, 0, 0};
};

class CTapImage : public CWidget {
public:
    CTapImage();
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    CRecordHolder* picture = nullptr;             // opaque
    CRecordHolder* transparentPicture = nullptr;  // drawn only when there is no opaque one
    u32 overlay1 = 0;
    CRecordHolder* overlay1Picture = nullptr;
    u32 overlay2 = 0;
    CRecordHolder* overlay2Picture = nullptr;
};

class CCardSlot : public CWidget {
public:
    CCardSlot();
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    u32 unused = 0;
    CRecordHolder* card = nullptr;
    CRecordHolder* badge = nullptr;
    CRecordHolder* emptySlot = nullptr;
    u32 count = 0;
};

class CCompass : public CWidget {
public:
    CCompass();
    void Setup(CRecordHolder* strip, CRecordHolder* leftShade, CRecordHolder* overlayStrip,
               CRecordHolder* rightShade);
    void Draw() override;

    CRecordHolder* strip = nullptr;
    CRecordHolder* overlayStrip = nullptr;
    CRecordHolder* leftShade = nullptr;
    CRecordHolder* rightShade = nullptr;
    u32 stripWidth = 0;
    u32 stripHeight = 0;
    u32 leftShadeWidth = 0;
    u32 degreesPerPixel = 3;
    u32 stripOffset = 10;

private:
    void DrawStrip(CRecordHolder* picture, bool transparent, i32 pos, i32 sourceRow, i32 height);
};

// Where a badge sits on a tap icon or a single card.
void DrawBadge(CWidget& widget, CRecordHolder* badge);
