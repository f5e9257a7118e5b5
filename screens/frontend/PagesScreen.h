// The picture-and-text pages (screen 11): the pages of a sequence one after the other, each with an
// optional picture, a text that rolls upward at an adjustable speed, and an optional script run when
// the page shows. The intro leads into character creation; scenes from the game and the credits go
// back to the screen underneath. A missing or empty sequence ends at once.
#pragma once

#include <memory>

#include "core/Str.h"
#include "core/Types.h"
#include "screens/PageSequenceView.h"
#include "ui/Boxes.h"
#include "ui/Buttons.h"
#include "ui/PictureView.h"
#include "ui/Screen.h"
#include "ui/TimedText.h"

#include "core/RecordHolder.h"
class CScreenHost;

class CPagesScreen : public CScreen {
public:
    static constexpr u16 kLayoutGroup = 7;
    // The first entry word: who plays the sequence.
    enum : u32 { kIntro = 0, kScene = 1, kCredits = 2 };
    enum : u32 { kPictureId = 39, kTextId = 40, kFasterId = 41, kSlowerId = 42, kPauseId = 43 };
    static constexpr u32 kFastestInterval = 50, kSlowestInterval = 300, kIntervalStep = 50;
    static constexpr u16 kFramePictures = 3540;
    static constexpr u16 kButtonPictures = 3560, kCompactButtonPictures = 3847;

    explicit CPagesScreen(CScreenHost& host) : host_(host) {}
    ~CPagesScreen() override;

    // a: the caller (kIntro, kScene, kCredits); b: the sequence's number in the world (0 for none).
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    u32 OnCommand(u32 command) override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;
    u32 OnTick(u32 tick) override;

    // The next page: 0 while pages remain, else where the sequence ends (10 or 99).
    u32 NextPage();
    void ShowPage();
    // A page script's message: its lines follow the page's text in the roll.
    void AppendText(const char* message);
    void UpdateSpeedButtons();
    void ToggleScrolling();

    std::unique_ptr<CRecordHolder> holders[17];
    CFramedBox frame;
    CPictureView picture;
    CTimedText text;
    CBitmapButton faster, slower, pause;
    CPageSequenceView sequence;
    u32 caller = kIntro;
    u32 scrolling = 1;
    u32 centreText = 0;
    u32 pageIndex = 0;
    CStr musicName;
    u32 scrollInterval = 100;

private:
    u32 EndCode();
    void SetPauseLook();
    CRecordHolder* framePieces_[9] = {};
    CRecordHolder* slowerPictures_[3] = {};
    CRecordHolder* fasterPictures_[3] = {};
    CRecordHolder* pausePictures_[3] = {};
    CRecordHolder* shownPicture_ = nullptr;  // the texture-set picture whose data this page read
    CScreenHost& host_;
};
