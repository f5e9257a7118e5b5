#include "ui/Panel.h"

#include <algorithm>

#include "ui/WidgetHost.h"
#include "ui/InterfacePictureRoles.h"
#include "data/RecordHolder.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"
#include "ui/PictureSets.h"
#include "ui/WidgetGameData.h"

void CPanel::ClearOverlay() {
    fillColour = 0;
    secondPicture = nullptr;
    secondPalette = nullptr;
    plainTransparent = 0;
    state |= kWidgetRedraw;
}

void CPanel::TakePicture(CRecordHolder* found) {
    picture = found;
    if (found == nullptr) return;
    if (found->data == nullptr) WidgetGameData().EnsurePictureLoaded(found);
    PictureSizeOf(found, pictureWidth, pictureHeight);
}

void CPanel::SetPortrait(const char* id) {
    CWidgetGameData& data = WidgetGameData();
    if (const char* name = data.FindPortraitPictureName(id)) {
        TakePicture(data.FindPicture(name));
    } else {
        u8 kindClass = 0;
        const char* first = nullptr;
        const char* second = nullptr;
        if (data.FindCreatureKind(id, kindClass, first, second))
            TakePicture(data.FindPicture(kindClass == 4 ? second : first));
    }
    ClearOverlay();
}

void CPanel::SetPicture(const char* name) {
    TakePicture(WidgetGameData().FindPicture(name));
    ClearOverlay();
}

void CPanel::SetBitmap(CRecordHolder* holder) {
    if (holder != nullptr) {
        picture = holder;
        PictureSizeOf(holder, pictureWidth, pictureHeight);
    }
    ClearOverlay();
}

void CPanel::SetPaletteColors(u16 index, u16 paletteIndex) {
    CWidgetGameData& data = WidgetGameData();
    secondPicture = data.PictureAt(index);
    secondPalette = (paletteIndex == 0 || paletteIndex == 0xFFFF) ? nullptr : data.PaletteAt(paletteIndex);
    plainTransparent = 0;
    state |= kWidgetRedraw;
}

void CPanel::SetStateColor(u32 flagValue, u32 stateValue) {
    plainTransparent = flagValue;
    secondPicture = game != nullptr ? game->GetInterfacePicture(stateValue != 0 ? kPicturePanelStateOn
                                                                                : kPicturePanelStateOff)
                                    : nullptr;
    secondPalette = nullptr;
}

u32 CPanel::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (secondPicture != nullptr) return 0;
    return (down == 0 && moving == 0 && Contains(px, py)) ? id : 0;
}

void CPanel::DrawSecond(i32 px, i32 py, i32 cropX, i32 cropY, i32 width, i32 height) {
    if (secondPicture == nullptr) return;
    if (plainTransparent != 0) {
        video->DrawPictureTransparent(secondPicture, px, py);
        return;
    }
    // The crop comes from the first picture's size; keep it inside the second picture's own texels.
    i32 sw = 0, sh = 0;
    PictureSizeOf(secondPicture, sw, sh);
    cropX = std::clamp(cropX, 0, std::max(sw, 0));
    cropY = std::clamp(cropY, 0, std::max(sh, 0));
    width = std::min(width, sw - cropX);
    height = std::min(height, sh - cropY);
    if (width <= 0 || height <= 0) return;
    video->DrawPicturePartTransparentWithPalette(secondPicture, secondPalette, px, py, cropX, cropY, width,
                                                 height);
}

void CPanel::Draw() {
    if (video == nullptr) return;
    video->FillRect(x, y, w, h, PackColourWord(fillColour));
    if (picture == nullptr || picture->data == nullptr || pictureWidth <= 0 || pictureHeight <= 0) return;
    const i32 pw = pictureWidth, ph = pictureHeight, ww = w, wh = h;
    if (pw > ww || ph > wh) {
        // The shrinking blit reads a 50 x 50 source; any other size is scaled to the panel instead.
        if (pw == 50 && ph == 50)
            video->DrawPictureShrunk40(picture, nullptr, x, y);
        else
            video->DrawPictureStretched(picture, x, y, ww, wh);
        DrawSecond(x, y, (pw - ww) / 2, (ph - wh) / 2, ww, wh);
    } else if (ww > pw || wh > ph) {
        video->DrawPictureStretched(picture, x, y, ww, wh);
    } else {
        const i32 px = x + (ww - pw) / 2, py = y + (wh - ph) / 2;
        video->DrawPicture(picture, px, py);
        i32 sw = 0, sh = 0;
        PictureSizeOf(secondPicture, sw, sh);
        DrawSecond(px, py, 0, 0, sw, sh);
    }
}
