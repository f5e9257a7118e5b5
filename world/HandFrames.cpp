#include "world/HandFrames.h"

#include <algorithm>

#include "display/Video.h"
#include "ui/WidgetHelpers.h"

void CHandFrame::Draw() {
    if (!video) return;
    frameX = x, frameY = y, frameWidth = w, frameHeight = h;
    i32 pw = 0, ph = 0;
    PictureSizeOf(picture, pw, ph);
    if (pw > 0 && ph > 0) {
        const i32 px = x + (static_cast<i32>(w) - pw) / 2, py = y + (static_cast<i32>(h) - ph) / 2;
        video->DrawPictureTransparent(picture, px, py);
        frameX = px - kBorder, frameY = py - kBorder, frameWidth = pw + 2 * kBorder, frameHeight = ph + 2 * kBorder;
    }
    i32 fw = 0, fh = 0;
    PictureSizeOf(framePicture, fw, fh);
    constexpr i32 b = kBorder;
    if (fw <= 2 * b || fh <= 2 * b || frameWidth < 2 * b || frameHeight < 2 * b) return;
    const i32 right = frameX + frameWidth - b, bottom = frameY + frameHeight - b;
    auto part = [&](i32 dx, i32 dy, i32 sx, i32 sy, i32 pw2, i32 ph2) {
        if (pw2 > 0 && ph2 > 0) video->DrawPicturePartTransparent(framePicture, dx, dy, sx, sy, pw2, ph2);
    };
    // The edges, repeated along the frame's length from the picture's middle part.
    const i32 runX = fw - 2 * b, runY = fh - 2 * b;
    for (i32 at = frameX + b; at < right; at += runX) {
        const i32 n = std::min(runX, right - at);
        part(at, frameY, b, 0, n, b);
        part(at, bottom, b, fh - b, n, b);
    }
    for (i32 at = frameY + b; at < bottom; at += runY) {
        const i32 n = std::min(runY, bottom - at);
        part(frameX, at, 0, b, b, n);
        part(right, at, fw - b, b, b, n);
    }
    part(frameX, frameY, 0, 0, b, b);
    part(right, frameY, fw - b, 0, b, b);
    part(frameX, bottom, 0, fh - b, b, b);
    part(right, bottom, fw - b, fh - b, b, b);
}
