#include "ui/EquipmentSlots.h"

#include "ui/WidgetHost.h"
#include "display/Video.h"
#include "ui/LayoutMath.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetGameData.h"

namespace {

struct SlotOffset {
    i16 x, y;
};

// Rows: slots 0 .. 13; columns: large modes, modes 2 6 7 12 13 16, modes 5 8, other modes.
constexpr SlotOffset kOffsets[14][4] = {
    {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
    {{85, 6}, {51, 3}, {33, 2}, {66, 4}},
    {{164, 66}, {99, 39}, {64, 25}, {128, 51}},
    {{8, 7}, {5, 4}, {3, 2}, {6, 5}},
    {{8, 66}, {5, 39}, {3, 25}, {6, 51}},
    {{164, 128}, {99, 77}, {64, 50}, {128, 100}},
    {{8, 128}, {5, 77}, {3, 50}, {6, 100}},
    {{85, 72}, {51, 43}, {33, 28}, {66, 56}},
    {{159, 198}, {96, 118}, {62, 77}, {124, 154}},
    {{11, 198}, {7, 118}, {4, 77}, {8, 154}},
    {{85, 125}, {51, 74}, {33, 48}, {66, 97}},
    {{85, 195}, {51, 116}, {33, 76}, {66, 152}},
    {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
    {{164, 7}, {99, 4}, {64, 2}, {128, 5}},
};

int Column(u32 mode) {
    if (IsLargeLayoutMode(mode)) return 0;
    if (mode == 5 || mode == 8) return 2;
    if (IsSmallLayoutMode(mode)) return 1;
    return 3;
}

u32 ModeOf(CWidgetHost* game) { return game != nullptr ? game->GetLayoutMode() : 0; }

}  // namespace

i32 CEquipmentSlots::SlotSize(u32 mode) {
    static constexpr i32 kSizes[4] = {50, 30, 20, 40};
    return kSizes[Column(mode)];
}

void CEquipmentSlots::Setup() {
    const int column = Column(ModeOf(game));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slotX[slot] = kOffsets[slot][column].x;
        slotY[slot] = kOffsets[slot][column].y;
    }
    selectedSlot = 0;
}

u32 CEquipmentSlots::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (down == 0 || moving != 0) return 0;
    const i32 size = SlotSize(ModeOf(game));
    for (int slot = 1; slot < kSlotCount; ++slot) {
        if (slot == 12) continue;
        const i32 left = x + slotX[slot], top = y + slotY[slot];
        if (px >= left && px < left + size && py >= top && py < top + size) {
            selectedSlot = slot;
            return id;
        }
    }
    return 0;
}

void CEquipmentSlots::Draw() {
    if (video == nullptr || game == nullptr) return;
    if (CRecordHolder* doll = game->GetInterfacePicture(kPaperDollPicture)) video->DrawPicture(doll, x, y);
    const u32 mode = ModeOf(game);
    const int column = Column(mode);
    const i32 size = SlotSize(mode);
    for (int slot = 1; slot < kSlotCount; ++slot) {
        if (slot == 12) continue;
        CRecordHolder* picture = nullptr;
        const CPaletteRef* palette = nullptr;
        if (!WidgetGameData().FindEquippedItemPicture(slot, picture, palette) || picture == nullptr) continue;
        const i32 sx = x + slotX[slot], sy = y + slotY[slot];
        i32 pw = 0, ph = 0;
        PictureSizeOf(picture, pw, ph);
        if (pw <= 0 || ph <= 0) continue;
        if (column == 0) {
            DrawItemPicture(video, picture, palette, sx, sy);
        } else if (pw == 50 && ph == 50) {
            if (size == 30)
                video->DrawPictureShrunk30(picture, palette, sx, sy);
            else if (size == 20)
                video->DrawPictureShrunk20(picture, palette, sx, sy);
            else
                video->DrawPictureShrunk40(picture, palette, sx, sy);
        } else {
            // The shrinking blits read a 50 x 50 source; other sizes are scaled to the slot.
            video->DrawPictureStretched(picture, sx, sy, size, size);
        }
        if (slot >= 7 && slot <= 9) {
            if (CRecordHolder* mark =
                    game->GetInterfacePicture(static_cast<u16>(kSlotOverlayPicture + slot - 7)))
                video->DrawPictureTransparent(mark, sx, sy);
        }
    }
}
