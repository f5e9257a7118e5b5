#include "screens/frontend/SplashScreen.h"

#include "ui/ScreenIds.h"
#include "ui/WidgetHost.h"
#include "core/Random.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "ui/Layout.h"
#include "ui/LayoutMath.h"

namespace {

constexpr u16 kLayoutGroup = 2;
constexpr u32 kElementTitle = 8;
constexpr u32 kElementSecond = 9;

// Finished title, hidden title, second picture: large and small layout records.
constexpr u16 kLargePictures[3] = {3521, 3522, 3523};
constexpr u16 kSmallPictures[3] = {4033, 4034, 4035};
constexpr u16 kFirstTip = 3524;

}  // namespace

CSplashScreen::~CSplashScreen() { ReleasePictures(); }

void CSplashScreen::Attach(CWidgetHost* g) {
    CScreen::Attach(g);
    const i16* lists[kSplashStrokeCount];
    for (int i = 0; i < kSplashStrokeCount; ++i) lists[i] = SplashStrokeList(i);
    BuildStrokes(lists, kSplashStrokeDelays);
}

void CSplashScreen::BuildStrokes(const i16* const* lists, const u16* delays) {
    bool small = game != nullptr && IsSmallLayoutMode(game->GetLayoutMode());
    auto scale = [small](i16 c) -> i16 { return small ? static_cast<i16>(2 * c / 3 - 1) : c; };
    for (int i = 0; i < kSplashStrokeCount; ++i) {
        CSplashStroke& s = strokes[i];
        s.count = 0;
        s.delay = delays ? delays[i] : 0;
        const i16* list = lists ? lists[i] : nullptr;
        if (list == nullptr) continue;
        while (s.count < kSplashStrokeMaxPoints && list[2 * s.count] != 0) {
            s.x[s.count] = scale(list[2 * s.count]);
            s.y[s.count] = scale(list[2 * s.count + 1]);
            ++s.count;
        }
    }
}

void CSplashScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    for (u16& n : drawn) n = 0;

    if (const u8* e = FindLayoutRect(game, kLayoutGroup, kElementTitle)) {
        CLayoutElement r = ReadLayoutElement(e);
        originAX = static_cast<i32>(x) + r.x;
        originAY = static_cast<i32>(y) + r.y;
    }
    if (const u8* e = FindLayoutRect(game, kLayoutGroup, kElementSecond)) {
        CLayoutElement r = ReadLayoutElement(e);
        originBX = static_cast<i32>(x) + r.x;
        originBY = static_cast<i32>(y) + r.y;
    }

    // A missing picture only leaves its part of the title out.
    const u16* records = game && IsSmallLayoutMode(game->GetLayoutMode()) ? kSmallPictures : kLargePictures;
    finished.Load(dataDb, records[0]);
    hidden.Load(dataDb, records[1]);
    second.Load(dataDb, records[2]);
    for (u16 k = 0; k < 4; ++k) tips[k].Load(dataDb, static_cast<u16>(kFirstTip + k));

    phase = kDrawing;
    lastStep = plat::TickCount();
    Draw();
    if (video) video->FillRect(0, 0, video->Width(), video->Height(), 0);
}

void CSplashScreen::Leave() {
    ReleasePictures();
    CScreen::Leave();
}

void CSplashScreen::ReleasePictures() {
    finished.Release();
    hidden.Release();
    second.Release();
    for (CRecordHolder& tip : tips) tip.Release();
}

void CSplashScreen::ClearEntryWords() { entryA = entryB = entryC = entryD = 0; }

u32 CSplashScreen::OnKey(u32 key) {
    if (key == 0) return kScreenStay;
    ClearEntryWords();
    return kScreenMainMenu;
}

u32 CSplashScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (down == 0 || moving != 0) return kScreenStay;
    ClearEntryWords();
    return kScreenMainMenu;
}

u32 CSplashScreen::DrawStep() {
    u32 busy = 0;
    for (int i = 0; i < kSplashStrokeCount; ++i) {
        CSplashStroke& s = strokes[i];
        if (drawn[i] >= s.count) continue;
        if (s.delay > 0) {
            // A stroke that still waits for its start keeps the drawing going, so that no stroke is
            // left out when the others finish first.
            --s.delay;
            busy = 1;
            continue;
        }
        u16 k = drawn[i];
        if (video) {
            // The block of the previous point again, over the spark drawn there last step.
            if (k > 0)
                video->DrawPicturePart(&hidden, originAX + s.x[k - 1], originAY + s.y[k - 1], s.x[k - 1],
                                       s.y[k - 1], kSplashBlock, kSplashBlock);
            video->DrawPicturePart(&hidden, originAX + s.x[k], originAY + s.y[k], s.x[k], s.y[k],
                                   kSplashBlock, kSplashBlock);
        }
        if (k + 1 < s.count) {
            u32 tip = game && game->GetRandom() ? game->GetRandom()->Next(4) : 0;
            if (video) video->DrawPictureTransparent(&tips[tip & 3], originAX + s.x[k], originAY + s.y[k]);
            busy = 1;
        }
        ++drawn[i];
    }
    return busy;
}

u32 CSplashScreen::OnTick(u32 tick) {
    u32 now = plat::TickCount();
    switch (phase) {
    case kDrawing:
        if (now - lastStep < kStepTime) return kScreenStay;
        lastStep = now;
        if (DrawStep() == 0) {
            phase = kFinishing;
            return kScreenStay;
        }
        return CScreen::OnTick(tick);
    case kFinishing:
        if (video) {
            video->DrawPicture(&finished, originAX, originAY);
            video->DrawPicture(&second, originBX, originBY);
        }
        phase = kShowing;
        lastStep = now;
        return CScreen::OnTick(tick);
    default:
        if (now - lastStep < kShowTime) return kScreenStay;
        ClearEntryWords();
        return kScreenMainMenu;
    }
}
