// The hand area of the game view's HUD: a picture of the hand the display orientation shows, inside
// a frame 8 pixels larger on every side, and the same frame round the 3D view. The frame is cut from
// a frame picture: its 8-pixel border gives the corners and the edges, which are repeated along any
// length, so one picture frames the small hand and the whole view alike.
#pragma once

#include "core/Types.h"
#include "ui/Widget.h"

class CRecordHolder;

class CHandFrame : public CWidget {
public:
    static constexpr i32 kBorder = 8;

    // With a picture the picture is drawn in the middle of the widget (see-through where it is) and
    // the frame round it; without one the frame runs along the widget's own edges.
    CRecordHolder* picture = nullptr;
    CRecordHolder* framePicture = nullptr;

    void Draw() override;
    // Where the frame was drawn last (x, y, width, height), for the tests.
    i32 frameX = 0, frameY = 0, frameWidth = 0, frameHeight = 0;
};
