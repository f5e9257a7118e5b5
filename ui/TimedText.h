// A text that rolls upwards through its rectangle one pixel at a time, centred line by line, fading
// in at the bottom edge and out at the top; two seconds after the last line has come up it reports
// that it has finished. It draws itself from its ticks only.
#pragma once

#include "core/Types.h"
#include "ui/TextLines.h"
#include "ui/Widget.h"

class CTimedText : public CWidget {
public:
    static constexpr u32 kHoldMs = 2000;

    CTimedText() : CWidget(kWidgetTakesTicks) {}

    void Start(const char* text);
    // Appends the wrapped lines of the text (blank lines vanish) and moves the end accordingly.
    void SetText(const char* text);
    // The colour t pixels into a fading band: the background at 0, the text colour at a line pitch.
    u32 Blend(i32 t) const;

    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnTick(u32 tick) override;

    u32 backgroundColour = 0;
    u32 textColour = 0;
    i32 position = 0;
    i32 endPosition = 0;
    u32 stepInterval = 0;
    u32 lastStepTime = 0;
    i32 linePitch = 0;
    u32 finished = 0;
    u32 atEnd = 0;
    u32 endTime = 0;
    u32 running = 1;
    CTextLines lines;

private:
    u32 FontIndex() const;
    void SelectFont(u32 colour);
};
