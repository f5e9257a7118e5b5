// The two bar widgets: the gauge (a fixed cap, a fill cut to a level of 0..100 percent and a cap that
// moves with the level; vertical when higher than wide) and the plain two-colour progress bar.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

class CGaugeBar : public CWidget {
public:
    CGaugeBar();

    void Setup(u32 style);
    void SetPercent(u32 percent);
    void Draw() override;

    // The three interface pictures: moving cap, fill, fixed cap.
    CRecordHolder* pictures[3] = {nullptr, nullptr, nullptr};
    u32 horizontal = 0;
    i32 movingCapHeight = 0, fillHeight = 0, fixedCapHeight = 0;
    i32 movingCapWidth = 0, fillWidth = 0, fixedCapWidth = 0;
    u32 backgroundColour = 0;
    i32 top = 0;
    i32 fillEnd = 0;
    i32 verticalFillLength = 0;
    i32 horizontalFillLength = 0;
};

class CProgressBar : public CWidget {
public:
    CProgressBar();

    void Draw() override;

    u32 restColour = 0;
    u32 barColour = 0;
    i32 maximum = 1;
    i32 value = 0;
};
