#include "ui/PictureView.h"

#include <algorithm>

#include "ui/WidgetHost.h"
#include "data/RecordHolder.h"
#include "display/Video.h"
#include "ui/WidgetHelpers.h"
#include "ui/Draw.h"
#include "ui/PictureSets.h"
#include "display/Renderer.h"

void CPictureView::SetPicture(CRecordHolder* newPicture, u32 isTransparent, u32 newTag, u32 fillOn) {
    rawPicture = nullptr;
    backgroundColour = 0;
    transparent = isTransparent;
    tag = newTag;
    fill = fillOn;
    picture = newPicture;
    stretched = 0;
    drawnX = x;
    drawnY = y;
    i32 pw = 0, ph = 0;
    PictureSizeOf(newPicture, pw, ph);
    // Nothing to place (and the aspect below would divide by the width).
    if (pw <= 0 || ph <= 0) picture = nullptr;
    if (picture != nullptr) {
        drawnWidth = pw;
        drawnHeight = ph;
        if (isTransparent != 0 && pw <= static_cast<i32>(w) && ph <= static_cast<i32>(h)) {
            // There is no see-through scaler: a smaller see-through picture stands at its own size,
            // centred, and takes taps there.
            drawnX = x + (static_cast<i32>(w) - pw) / 2;
            drawnY = y + (static_cast<i32>(h) - ph) / 2;
        } else if (pw != w || ph != h) {
            drawnWidth = w;
            drawnHeight = keepAspect != 0 ? ph * static_cast<i32>(w) / pw : static_cast<i32>(h);
            stretched = 1;
        }
    }
    state |= kWidgetRedraw;
}

void CPictureView::SetRawPicture(const u16* pixels, i32 width, i32 height) {
    picture = nullptr;
    rawPicture = (pixels != nullptr && width > 0 && height > 0) ? pixels : nullptr;
    drawnX = x;
    drawnY = y;
    drawnWidth = std::max(width, 0);
    drawnHeight = std::max(height, 0);
    state |= kWidgetRedraw;
}

u32 CPictureView::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (down == 0 || moving != 0) return 0;
    const bool inside = px >= drawnX && px < drawnX + drawnWidth && py >= drawnY && py < drawnY + drawnHeight;
    return inside ? id : 0;
}

void CPictureView::Draw() {
    if (video == nullptr) return;
    const u16 background = PackColourWord(backgroundColour);
    if (rawPicture != nullptr) {
        drawnX = x;
        drawnY = y;
        video->FillRect(x, y, w, h, background);
        // Centre the part that fits, axis by axis, so a picture wider but lower than the view (or
        // the reverse) never reads outside its own pixels.
        const i32 partW = std::min<i32>(w, drawnWidth), partH = std::min<i32>(h, drawnHeight);
        const i32 sx = std::max(0, (drawnWidth - static_cast<i32>(w)) / 2);
        const i32 sy = std::max(0, (drawnHeight - static_cast<i32>(h)) / 2);
        video->GetRenderer()->CopyPicture16(x, y, rawPicture, drawnWidth, sx, sy, partW, partH,
                                            static_cast<size_t>(drawnWidth) * drawnHeight);
        return;
    }
    if (picture != nullptr) {
        if (transparent == 0 && fill != 0) video->FillRect(x, y, w, h, background);
        if (transparent != 0) {
            if (stretched == 0) {
                video->DrawPictureTransparent(picture, drawnX, drawnY);
            } else {
                // A see-through picture larger than the view: at its own size, centred and cut to it.
                i32 pw = 0, ph = 0;
                PictureSizeOf(picture, pw, ph);
                const i32 partW = std::min<i32>(static_cast<i32>(w), pw);
                const i32 partH = std::min<i32>(static_cast<i32>(h), ph);
                video->DrawPicturePartTransparent(picture, x + (static_cast<i32>(w) - partW) / 2,
                                                  y + (static_cast<i32>(h) - partH) / 2,
                                                  std::max(0, (pw - partW) / 2), std::max(0, (ph - partH) / 2),
                                                  partW, partH);
            }
        } else if (stretched != 0) {
            video->DrawPictureStretched(picture, drawnX, drawnY, drawnWidth, drawnHeight);
        } else {
            video->DrawPicture(picture, drawnX, drawnY);
        }
        if (frame != 0 && frameSet != nullptr)
            DrawFramedPicture(game, frameSet, 1, drawnX - frameMarginX, drawnY - frameMarginY, 15,
                              drawnWidth + 2 * frameMarginX, drawnHeight + 2 * frameMarginY, 0);
        return;
    }
    drawnX = x;
    drawnY = y;
    if (fill != 0) video->FillRect(x, y, w, h, background);
    CRecordHolder* shown = placeholder;
    if (shown == nullptr && game != nullptr) shown = game->GetInterfacePicture(kPictureViewPlaceholder);
    i32 pw = 0, ph = 0;
    PictureSizeOf(shown, pw, ph);
    if (pw > 0 && ph > 0) video->DrawPictureTransparent(shown, x + (w - pw) / 2, y + (h - ph) / 2);
}
