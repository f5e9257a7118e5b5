#include "ui/ItemSlot.h"

#include "core/Str.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/Draw.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetGameData.h"
#include "ui/WidgetHelpers.h"
#include "ui/WidgetHost.h"

CItemSlot::CItemSlot() : CWidget(0) {}

void CItemSlot::SetItem(CRecordHolder* newPicture, const CPaletteRef* newPalette, u32 newCount) {
    picture = newPicture;
    palette = newPalette;
    pictureWidth = pictureHeight = 0;
    if (picture != nullptr) {
        PictureSizeOf(picture, pictureWidth, pictureHeight);
        if (pictureWidth == 0 && WidgetGameData().EnsurePictureLoaded(picture))
            PictureSizeOf(picture, pictureWidth, pictureHeight);
    }
    const u32 mode = game != nullptr ? game->GetLayoutMode() : 0;
    slotWidth = slotHeight = IsSmallLayoutMode(mode) ? 40 : 50;
    background = 0;
    marked = 0;
    count = newCount;
    state |= kWidgetRedraw;
}

void CItemSlot::Draw() {
    if (video == nullptr || game == nullptr) return;
    const u32 mode = game->GetLayoutMode();
    const i32 width = static_cast<i32>(w), height = static_cast<i32>(h);
    if (width > slotWidth || height > slotHeight || picture == nullptr)
        video->FillRect(x, y, width, height, PackColourWord(background));
    CRecordHolder* shown = picture != nullptr ? picture : game->GetInterfacePicture(kEmptySlotPicture);
    const CPaletteRef* shownPalette = picture != nullptr ? palette : nullptr;
    if (shown != nullptr) {
        if (IsSmallLayoutMode(mode)) {
            // The shrinking blit reads a 50 x 50 source; other sizes are scaled to the slot.
            if (picture == nullptr)
                video->DrawPicture(shown, x, y);
            else if (pictureWidth == 50 && pictureHeight == 50)
                video->DrawPictureShrunk40(shown, shownPalette, x, y);
            else
                video->DrawPictureStretched(shown, x, y, 40, 40);
        } else if (IsLargeLayoutMode(mode)) {
            DrawItemPicture(video, shown, shownPalette, x + 5, y + 3);
        } else {
            DrawItemPicture(video, shown, shownPalette, x + (width - slotWidth) / 2, y + (height - slotHeight) / 2);
        }
    }
    if (picture != nullptr && count > 1 && fonts != nullptr) {
        CStr text;
        text.Format("%u", count);
        ToAltNumberGlyphs(text);
        if (IsSmallLayoutMode(mode))
            fonts->DrawTextBox(x, y + 25, x + width - 3, y + 50, text.GetText(), 2);
        else if (IsLargeLayoutMode(mode))
            fonts->DrawTextBox(x, y + 38, x + 60, y + 53, text.GetText(), 2);
        else
            fonts->DrawTextBox(x, y + 35, x + slotWidth - 3, y + 50, text.GetText(), 2);
    }
    if (marked != 0) {
        if (CRecordHolder* mark = game->GetInterfacePicture(kMarkPicture))
            video->DrawPictureTransparent(mark, IsLargeLayoutMode(mode) ? x + 10 : x, y);
    }
}
