// The paper-doll picture with the items of the player's equipment slots 1 .. 13 (slot 12 is never
// shown). A tap on a slot, empty or not, selects it and answers the widget's id.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CEquipmentSlots : public CWidget {
public:
    static constexpr int kSlotCount = 14;

    CEquipmentSlots() : CWidget(kWidgetTakesPen) {}

    // Slot offsets for the current layout mode; selects slot 0.
    void Setup();
    // The side of a slot's square in a layout mode.
    static i32 SlotSize(u32 layoutMode);

    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    void Draw() override;

    i32 slotX[kSlotCount] = {};
    i32 slotY[kSlotCount] = {};
    i32 selectedSlot = 0;
};

constexpr u16 kPaperDollPicture = 3488;
// Drawn over slots 7, 8 and 9.
constexpr u16 kSlotOverlayPicture = 3532;
