#include "ui/Gauges.h"

#include "ui/WidgetHost.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetHelpers.h"

CGaugeBar::CGaugeBar() : CWidget(0) {}

void CGaugeBar::Setup(u32 style) {
    horizontal = w < h ? 0 : 1;
    u32 first;
    if (horizontal == 0)
        first = style != 0 ? 3378 : 3381;
    else
        first = style != 0 ? 3823 : 3826;
    for (u32 i = 0; i < 3; ++i) pictures[i] = game->GetInterfacePicture(first + i);
    i32 widths[3] = {0, 0, 0}, heights[3] = {0, 0, 0};
    for (u32 i = 0; i < 3; ++i) PictureSizeOf(pictures[i], widths[i], heights[i]);
    movingCapWidth = widths[0];
    fillWidth = widths[1];
    fixedCapWidth = widths[2];
    movingCapHeight = heights[0];
    fillHeight = heights[1];
    fixedCapHeight = heights[2];
    backgroundColour = 0;
    if (horizontal == 0) {
        top = y;
        verticalFillLength = h - movingCapHeight - fixedCapHeight;
    } else {
        fillEnd = x + w;
        horizontalFillLength = w - movingCapWidth - fixedCapWidth;
    }
}

void CGaugeBar::SetPercent(u32 percent) {
    // Levels above 100 are outside the gauge; it shows them full.
    i32 p = percent == 0 ? 1 : (percent > 100 ? 100 : static_cast<i32>(percent));
    if (horizontal != 0) {
        const i32 inner = w - movingCapWidth - fixedCapWidth;
        const i32 length = inner * p / 100;
        fillEnd = x + movingCapWidth + fixedCapWidth + length;
        horizontalFillLength = length;
    } else {
        const i32 inner = h - fixedCapHeight - movingCapHeight;
        const i32 length = inner * p / 100;
        top = y + inner - length;
        verticalFillLength = length;
    }
    state |= kWidgetRedraw;
}

void CGaugeBar::Draw() {
    video->FillRect(x, y, w, h, PackColourWord(backgroundColour));
    if (horizontal != 0) {
        const i32 length = horizontalFillLength;
        if (fillEnd == 0 || length == 0) return;
        if (pictures[0]) video->DrawPicture(pictures[0], fillEnd - movingCapWidth, y);
        // The fill picture shows as much of itself as the level asks for and never more than it holds.
        const i32 shown = length < fillWidth ? length : fillWidth;
        if (pictures[1] && shown > 0)
            video->DrawPicturePart(pictures[1], fillEnd - movingCapWidth - length, y, 0, 0, shown,
                                   fillHeight);
        if (pictures[2]) video->DrawPicture(pictures[2], x, y);
    } else {
        const i32 length = verticalFillLength;
        if (top == 0 || length == 0) return;
        if (pictures[0]) video->DrawPicture(pictures[0], x, top);
        const i32 shown = length < fillHeight ? length : fillHeight;
        if (pictures[1] && shown > 0)
            video->DrawPicturePart(pictures[1], x, top + movingCapHeight, 0, 0, fillWidth, shown);
        if (pictures[2]) video->DrawPicture(pictures[2], x, y + h - fixedCapHeight);
    }
}

CProgressBar::CProgressBar() : CWidget(0) {}

void CProgressBar::Draw() {
    const i32 width = w;
    i32 v = value < 0 ? 0 : value;
    const i32 maxValue = AtLeastOne(maximum);
    if (v > maxValue) v = maxValue;
    const i32 filled = static_cast<i32>(static_cast<i64>(width) * v / maxValue);
    video->FillRect(x, y, filled, h, PackColourWord(barColour));
    video->FillRect(x + filled, y, width - filled, h, PackColourWord(restColour));
}
