// A single item picture with its count, as the alchemy, lock-pick and repair dialogs show an item. It
// owns none of its pictures.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;
struct CPaletteRef;

class CItemSlot : public CWidget {
public:
    static constexpr u16 kEmptySlotPicture = 3349;
    static constexpr u16 kMarkPicture = 3352;

    CItemSlot();
    // Loads the picture when it is not loaded yet and sizes the slot by the layout mode.
    void SetItem(CRecordHolder* picture, const CPaletteRef* palette, u32 count);
    void Draw() override;

    CRecordHolder* picture = nullptr;
    const CPaletteRef* palette = nullptr;
    i32 slotWidth = 0;
    i32 slotHeight = 0;
    i32 pictureWidth = 0;
    i32 pictureHeight = 0;
    u32 count = 0;
    u32 background = 0;  // 0x00BBGGRR
    u32 marked = 0;
};
