#include "ui/PictureWidgets.h"

#include "ui/WidgetHost.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "data/TextureSet.h"
#include "ui/Draw.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"

CPicture::CPicture() : CWidget(0) {}

void CPicture::Draw() {
    if (frameSet == nullptr) return;
    DrawFramedPicture(game, frameSet, transparent, x, y, sides | (fill != 0 ? 0x80u : 0u), w, h, colour);
}

// --- animation ---

CAnimation::CAnimation() : CWidget(kWidgetTakesTicks) {}

bool CAnimation::IsStill() const {
    // A resource animation needs its base and at least one frame over it; with fewer it is a still
    // picture and its frame index never moves.
    return animation == nullptr || animation->frames.size() < 2;
}

void CAnimation::SetAnimation(const CResourceAnimation* record) {
    source = 1;
    animation = record;
    frame = 1;
    basePicture = nullptr;
    if (record != nullptr && !record->frames.empty())
        basePicture = game->FindTexturePicture(record->frames[0].name.GetText());
    i32 pw = 0, ph = 0;
    PictureSizeOf(basePicture, pw, ph);
    pictureWidth = static_cast<u32>(pw);
    pictureHeight = static_cast<u32>(ph);
    stretch = (w != pictureWidth || h != pictureHeight) ? 1 : 0;
    lastTime = plat::TickCount();
}

void CAnimation::SetFrames(CRecordHolder* const* frameArray) {
    source = 0;
    frames = frameArray;
    frameCount = 8;
    frameTime = 200;
    frame = 0;
    i32 pw = 0, ph = 0;
    if (frameArray != nullptr) PictureSizeOf(frameArray[0], pw, ph);
    pictureWidth = static_cast<u32>(pw);
    pictureHeight = static_cast<u32>(ph);
    stretch = (w != pictureWidth || h != pictureHeight) ? 1 : 0;
    lastTime = plat::TickCount();
}

void CAnimation::DrawResourceFrame(u32 index) {
    if (basePicture == nullptr) return;
    // A base picture of no size gives no scale: nothing sensible can be drawn.
    if (pictureWidth == 0 || pictureHeight == 0) return;
    if (stretch != 0)
        video->DrawPictureStretched(basePicture, x, y, w, h);
    else
        video->DrawPicture(basePicture, x, y);
    if (IsStill() || index >= animation->frames.size()) return;
    const auto& f = animation->frames[index];
    CRecordHolder* picture = game->FindTexturePicture(f.name.GetText());
    if (picture == nullptr) return;
    if (stretch == 0) {
        video->DrawPicture(picture, x + f.x, y + f.y);
        return;
    }
    i32 fw = 0, fh = 0;
    PictureSizeOf(picture, fw, fh);
    const i64 sx = static_cast<i64>(w) * 10000 / pictureWidth;
    const i64 sy = static_cast<i64>(h) * 10000 / pictureHeight;
    const i32 dw = static_cast<i32>(fw * sx / 10000), dh = static_cast<i32>(fh * sy / 10000);
    if (dw <= 0 || dh <= 0) return;
    video->DrawPictureStretched(picture, x + static_cast<i32>(f.x * sx / 10000),
                                y + static_cast<i32>(f.y * sy / 10000), dw, dh);
}

void CAnimation::DrawFixedFrame(u32 index) {
    CRecordHolder* picture = frames[index];
    if (picture == nullptr) return;
    if (stretch != 0) {
        if (pictureWidth == 0 || pictureHeight == 0) return;
        video->DrawPictureStretched(picture, x, y, w, h);
    } else {
        video->DrawPicture(picture, x, y);
    }
}

u32 CAnimation::OnTick(u32) {
    const u32 now = plat::TickCount();
    if (source == 1) {
        if (animation == nullptr || IsStill()) return 0;
        if (frame >= animation->frames.size()) frame = 1;
        const u32 delay = static_cast<u32>(animation->frames[frame].delay) * 10;
        if (now < lastTime + delay) return 0;
        ++frame;
        if (frame >= animation->frames.size()) frame = 1;
        DrawResourceFrame(frame);
        lastTime = now;
        return 0;
    }
    if (frames == nullptr) return 0;
    if (now < lastTime + frameTime) return 0;
    ++frame;
    if (frame >= frameCount) frame = 0;
    DrawFixedFrame(frame);
    lastTime = now;
    return 0;
}

void CAnimation::Draw() {
    if ((source == 1 && animation == nullptr) || (source == 0 && frames == nullptr)) {
        video->FillRect(x, y, w, h, 0);
        return;
    }
    if (source == 1)
        DrawResourceFrame(1);
    else
        DrawFixedFrame(frame < frameCount ? frame : 0);
}

// --- tap targets ---

void DrawBadge(CWidget& widget, CRecordHolder* badge) {
    if (badge == nullptr) return;
    const bool small = IsSmallLayoutMode(widget.game->GetLayoutMode());
    widget.video->DrawPicture(badge, widget.x + (small ? 8 : 10), widget.y + (small ? 5 : 6));
}

CTapIcon::CTapIcon() : CWidget(kWidgetTakesPen) {}

u32 CTapIcon::OnPen(i32 px, i32 py, u32 down, u32 moving) { return HitTestTap(px, py, down, moving); }

void CTapIcon::Draw() {
    if (icon == nullptr) return;
    video->DrawPictureTransparent(icon, x, y);
    DrawBadge(*this, badge);
}

CTapImage::CTapImage() : CWidget(kWidgetTakesPen) {}

u32 CTapImage::OnPen(i32 px, i32 py, u32 down, u32 moving) { return HitTestTap(px, py, down, moving); }

void CTapImage::Draw() {
    if (picture != nullptr) {
        video->DrawPicture(picture, x, y);
        if (overlay1 != 0) {
            if (overlay1Picture != nullptr) video->DrawPictureTransparent(overlay1Picture, x, y);
        } else if (overlay2 != 0 && overlay2Picture != nullptr) {
            video->DrawPictureTransparent(overlay2Picture, x, y);
        }
    } else if (transparentPicture != nullptr) {
        video->DrawPictureTransparent(transparentPicture, x, y);
    }
}

CCardSlot::CCardSlot() : CWidget(kWidgetTakesPen) {}

u32 CCardSlot::OnPen(i32 px, i32 py, u32 down, u32 moving) { return HitTestTap(px, py, down, moving); }

void CCardSlot::Draw() {
    if (card == nullptr) {
        if (emptySlot != nullptr) video->DrawPictureTransparent(emptySlot, x, y);
        return;
    }
    if (count == 1) {
        video->DrawPictureTransparent(card, x, y);
        DrawBadge(*this, badge);
        return;
    }
    const u32 step = IsSmallLayoutMode(game->GetLayoutMode()) ? 8 : 5;
    const u32 n = count / step + (count < step ? 1 : 0);
    for (u32 i = 0; i < n; ++i) {
        const i32 at = static_cast<i32>(i);
        if (i % 2 == 0)
            video->DrawPictureTransparent(card, x - at, y - at);
        else
            video->DrawPictureMirrored(card, x - at, y - at);
    }
}

// --- compass ---

CCompass::CCompass() : CWidget(0) {}

void CCompass::Setup(CRecordHolder* stripPicture, CRecordHolder* left, CRecordHolder* overlay,
                     CRecordHolder* right) {
    strip = stripPicture;
    leftShade = left;
    overlayStrip = overlay;
    rightShade = right;
    i32 sw = 0, sh = 0, lw = 0, lh = 0;
    PictureSizeOf(strip, sw, sh);
    PictureSizeOf(leftShade, lw, lh);
    stripWidth = static_cast<u32>(sw);
    stripHeight = static_cast<u32>(sh);
    leftShadeWidth = static_cast<u32>(lw);
    degreesPerPixel = 3;
    stripOffset = 10;
}

void CCompass::DrawStrip(CRecordHolder* picture, bool transparent, i32 pos, i32 sourceRow, i32 height) {
    const i32 sw = static_cast<i32>(stripWidth);
    if (picture == nullptr || sw <= 0 || height <= 0) return;
    // The strip wraps around: the column shown at the left edge may lie before its start or near its
    // end, and the rest of the width continues from the other end.
    i32 column = ((pos % sw) + sw) % sw;
    i32 remaining = w;
    i32 dx = x;
    while (remaining > 0) {
        const i32 n = remaining < sw - column ? remaining : sw - column;
        if (transparent)
            video->DrawPicturePartTransparent(picture, dx, y, column, sourceRow, n, height);
        else
            video->DrawPicturePart(picture, dx, y, column, sourceRow, n, height);
        dx += n;
        remaining -= n;
        column = 0;
    }
}

void CCompass::Draw() {
    const i32 facing = static_cast<i32>(PlayerFacing(game));
    const i32 heading = (360 - facing) % 360;
    const bool small = IsSmallLayoutMode(game->GetLayoutMode());
    const i32 sourceRow = small ? 1 : 0;
    const i32 height = static_cast<i32>(stripHeight) - (small ? 2 : 0);
    const i32 pos = heading / AtLeastOne(static_cast<i32>(degreesPerPixel)) - static_cast<i32>(w) / 2 +
                    static_cast<i32>(stripOffset);
    DrawStrip(strip, false, pos, sourceRow, height);
    if (height > 0) {
        const i32 lw = static_cast<i32>(leftShadeWidth);
        if (leftShade != nullptr) video->DrawPictureHalfTransparent(leftShade, x, y, sourceRow, lw, height);
        if (rightShade != nullptr) {
            i32 rw = 0, rh = 0;
            PictureSizeOf(rightShade, rw, rh);
            video->DrawPictureHalfTransparent(rightShade, x + w - lw, y, sourceRow, rw, height);
        }
    }
    DrawStrip(overlayStrip, true, pos, sourceRow, height);
}
