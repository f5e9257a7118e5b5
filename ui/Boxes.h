// Small drawing widgets: the framed box (a nine-piece frame or a tiled picture), the plain colour box
// that can be tapped, the horizontal scale with its marker, and the centred caption pair.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

class CFramedBox : public CWidget {
public:
    CFramedBox() : CWidget(0) {}
    void Draw() override;

    CRecordHolder* const* frameSet = nullptr;  // nine pieces
    u32 transparent = 0;
    u32 pictureMode = 0;
    CRecordHolder* picture = nullptr;
};

class CColorBox : public CWidget {
public:
    CColorBox() : CWidget(0) {}
    // A pen down one pixel left of the box still counts.
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    u32 colour = 0;
};

// A scale from a low to a high value around a middle value (built for a middle of 0), shaded from the
// low colour through the middle colour to the high colour, with a marker at the value.
class CEquipmentView : public CWidget {
public:
    CEquipmentView() : CWidget(0) {}
    // The marker's left edge for the current value.
    i32 MarkerX() const;
    void Draw() override;

    u32 flags = 0;  // drawn only with bit 0
    u32 lowColour = 0;
    i32 lowValue = 0;
    u32 middleColour = 0;
    i32 middleValue = 0;
    u32 highColour = 0;
    i32 highValue = 0;
    u32 markerColour = 0;
    i32 value = 0;
};

// A label and a value text, centred together in one row, in two colours.
class CCardView : public CWidget {
public:
    CCardView() : CWidget(0) {}
    void Draw() override;

    CStr label;
    CStr valueText;
    u32 font = 0;
    u32 labelColour = 0;
    u32 valueColour = 0;
    u32 backgroundColour = 0;
};

// Per colour byte, from `from` towards `to` by i / n (signed, truncating towards zero).
u32 InterpolateColourWord(u32 from, u32 to, i32 i, i32 n);
