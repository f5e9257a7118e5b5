// The first screen after start-up (screen 6): it writes the title stroke by stroke, revealing a
// hidden picture three pixels at a time along fourteen point lists with a spark at the tip of each
// stroke, shows the finished title for two seconds and hands over to the main menu. Any key or pen
// tap goes to the menu at once.
#pragma once

#include "core/Types.h"
#include "data/RecordHolder.h"
#include "screens/frontend/SplashStrokes.h"
#include "ui/Screen.h"

struct CSplashStroke {
    i16 x[kSplashStrokeMaxPoints] = {};
    i16 y[kSplashStrokeMaxPoints] = {};
    u16 count = 0;
    u16 delay = 0;  // animation steps before the stroke starts
};

class CSplashScreen : public CScreen {
public:
    // Milliseconds per animation step, and how long the finished title stays.
    static constexpr u32 kStepTime = 100;
    static constexpr u32 kShowTime = 2000;

    enum Phase : u32 { kDrawing = 0, kFinishing = 1, kShowing = 2 };

    ~CSplashScreen() override;

    void Attach(CWidgetHost* game) override;
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnTick(u32 tick) override;

    // Fills the stroke table from point lists given as x, y words ended by an x of 0 (at most 100
    // points are taken from a list). In the small layout modes every coordinate c becomes
    // 2c / 3 - 1, for the smaller title pictures. Sets the start delays.
    void BuildStrokes(const i16* const* lists, const u16* delays);

    CSplashStroke strokes[kSplashStrokeCount];
    u16 drawn[kSplashStrokeCount] = {};
    u32 phase = kDrawing;
    u32 lastStep = 0;
    CRecordHolder finished;
    CRecordHolder hidden;
    CRecordHolder second;
    CRecordHolder tips[4];
    i32 originAX = 0, originAY = 0;
    i32 originBX = 0, originBY = 0;

private:
    void ReleasePictures();
    void ClearEntryWords();
    u32 DrawStep();
};
