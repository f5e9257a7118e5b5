// The loading screen: four pictures, one line of text and a progress bar that grows by one step each
// time a long operation finishes a part of its work. The operation runs inside one message handler,
// so every step draws the screen and presents the frame itself.
#pragma once

#include "core/Types.h"
#include "ui/Form.h"
#include "ui/Gauges.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/TextLabel.h"

class CProgressDialog : public CForm {
public:
    static constexpr u16 kLayoutGroup = 3;

    CProgressDialog();

    void Open();
    // Starts a progress of steps (at least 1) at step 0.
    void Begin(u32 steps);
    // One step more, never beyond the last.
    void Advance();
    u32 OnCommand(u32 command) override { return 0; }

    CPictureView picture1;
    CPictureView picture2;
    CPictureView picture3;
    CPictureView picture4;
    CTextLabel textLine;
    CPicture barFrame;
    CProgressBar bar;
    // The bar's frame: interface pictures 3190..3197 as pieces 0..3 and 5..8 of a nine-piece set.
    CRecordHolder* barFrameSet[9] = {};

private:
    void ShowStep();
};
