#include "screens/frontend/PagesScreen.h"

#include "data/RecordHolder.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/DialogKit.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/PictureSets.h"
#include "ui/WidgetHelpers.h"
#include "world/GameScreen.h"

CPagesScreen::~CPagesScreen() {
    for (std::unique_ptr<CRecordHolder>& holder : holders)
        if (holder != nullptr) holder->Release();
}

void CPagesScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    const u32 layoutMode = game != nullptr ? game->GetLayoutMode() : 15;
    const bool compact = IsCompactLayout(layoutMode);
    scrollInterval = compact ? 150 : 100;
    caller = a;
    musicName.Assign("");
    centreText = a == kCredits ? 1 : 0;

    const u16 buttonBase = compact ? kCompactButtonPictures : kButtonPictures;
    for (int i = 0; i < 17; ++i) {
        const u16 record =
            i < 9 ? static_cast<u16>(kFramePictures + i) : static_cast<u16>(buttonBase + i - 9);
        holders[i] = std::make_unique<CRecordHolder>();
        holders[i]->Load(dataDb, record);
    }
    for (int i = 0; i < 9; ++i) framePieces_[i] = holders[i].get();
    auto pair = [&](CRecordHolder*(&set)[3], int first) {
        set[0] = holders[9 + first].get();
        set[1] = holders[9 + first + 1].get();
        set[2] = nullptr;
    };
    pair(slowerPictures_, 0);
    pair(fasterPictures_, 2);

    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    if (PlaceInLayout(*this, frame, kLayoutGroup, 19)) {
        frame.frameSet = framePieces_;
        frame.transparent = 0;
    }
    PlaceInLayout(*this, picture, kLayoutGroup, kPictureId);
    PlaceInLayout(*this, text, kLayoutGroup, kTextId);
    if (PlaceInLayout(*this, faster, kLayoutGroup, kFasterId)) {
        faster.SetPictures(fasterPictures_, kFasterId, 0);
        faster.transparent = 1;
    }
    if (PlaceInLayout(*this, slower, kLayoutGroup, kSlowerId)) {
        slower.SetPictures(slowerPictures_, kSlowerId, 0);
        slower.transparent = 1;
    }
    PlaceInLayout(*this, pause, kLayoutGroup, kPauseId);
    scrolling = 1;
    text.running = 1;
    SetPauseLook();

    sequence = CPageSequenceView();
    host_.GetPageSequence(b, sequence);
    pageIndex = 0;
    if (!sequence.pages.empty()) ShowPage();
    text.stepInterval = scrollInterval;
    UpdateSpeedButtons();

    if (sequence.music != nullptr) musicName.Assign(sequence.music);
    if (!musicName.IsEmpty()) {
        if (CGameScreen* view = host_.GetGameScreen()) {
            view->StopMusic();
            view->screenMusic = musicName.GetText();
            view->UpdateMusic();
        }
    }
    flags |= kFormRedrawAll;
    Draw();
    if (video != nullptr) video->Present();
    ResetInputGuard();
}

void CPagesScreen::SetPauseLook() {
    const int first = scrolling != 0 ? 6 : 4;
    pausePictures_[0] = holders[9 + first] != nullptr ? holders[9 + first].get() : nullptr;
    pausePictures_[1] = holders[9 + first + 1] != nullptr ? holders[9 + first + 1].get() : nullptr;
    pausePictures_[2] = nullptr;
    const u16 placed = pause.state;
    pause.SetPictures(pausePictures_, kPauseId, 0);
    pause.state = static_cast<u16>(placed | kWidgetRedraw);
    pause.transparent = 1;
}

void CPagesScreen::ShowPage() {
    flags |= kFormRedrawAll;
    host_.UnloadTexturePicture(shownPicture_);
    shownPicture_ = nullptr;
    if (pageIndex >= sequence.pages.size()) return;
    const CPageView& page = sequence.pages[pageIndex];
    const u32 layoutMode = game != nullptr ? game->GetLayoutMode() : 15;
    picture.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, kPictureId));
    text.SetLayoutRect(FindLayoutRect(game, kLayoutGroup, kTextId));
    const bool textPlaced = (text.state & kWidgetEnabled) != 0;
    if (page.picture != nullptr && page.picture[0] != 0) {
        CRecordHolder* shown = host_.LoadTexturePicture(page.picture);
        shownPicture_ = shown;
        picture.Show(1);
        picture.SetPicture(shown, 0, 1, 1);
        picture.frame = 1;
        picture.frameSet = InterfacePictureSet(game, kPictureCompactFrameSet, 9);
        picture.frameMarginX = picture.frameMarginY = 4;
        if (layoutMode != 16 && textPlaced) {
            const i32 m = IsLargeLayoutMode(layoutMode) ? 25 : 5;
            const i32 bottom = text.y + text.h;
            const i32 top = picture.y + picture.h + m;
            text.y = static_cast<u16>(top);
            text.h = static_cast<u16>(bottom > top ? bottom - top : 0);
        }
        text.EnablePen(0);
    } else {
        picture.Show(0);
        if (layoutMode == 16 && textPlaced) {
            const i32 right = text.x + text.w;
            text.x = picture.x;
            text.y = picture.y;
            text.w = static_cast<u16>(right > picture.x ? right - picture.x : 0);
            text.h = picture.h;
        }
        text.EnablePen(1);
    }
    text.Start(page.text != nullptr ? page.text : "");
    text.stepInterval = scrollInterval;
    if ((page.picture == nullptr || page.picture[0] == 0) && centreText != 0) {
        // The credits stop with their text in the middle of the area.
        const i32 textHeight = text.endPosition;
        text.endPosition = textHeight + (static_cast<i32>(text.h) - textHeight) / 2;
        if (text.endPosition < text.position) text.endPosition = text.position;
    }
    if (page.script != nullptr && page.script[0] != 0) host_.RunPageScript(page.script);
}

void CPagesScreen::AppendText(const char* message) {
    text.SetText(message ? message : "");
    text.state |= kWidgetRedraw;
}

u32 CPagesScreen::EndCode() {
    if (caller == kIntro) {
        entryA = entryB = entryC = entryD = 0;
        keepOnStack = 0;
        return kScreenCreatePlayer;
    }
    return kScreenBack;
}

u32 CPagesScreen::NextPage() {
    ++pageIndex;
    if (pageIndex >= sequence.pages.size()) return EndCode();
    ShowPage();
    ResetInputGuard();
    return kScreenStay;
}

void CPagesScreen::UpdateSpeedButtons() {
    slower.EnablePen(scrollInterval < kSlowestInterval ? 1 : 0);
    faster.EnablePen(scrollInterval > kFastestInterval ? 1 : 0);
    slower.state |= kWidgetRedraw;
    faster.state |= kWidgetRedraw;
}

void CPagesScreen::ToggleScrolling() {
    scrolling = scrolling != 0 ? 0 : 1;
    text.running = scrolling;
    if (scrolling != 0) text.lastStepTime = plat::TickCount();
    SetPauseLook();
}

u32 CPagesScreen::OnCommand(u32 command) {
    switch (command) {
    case kPictureId: PlayInterfaceSound(game, 0, 10); return NextPage();
    case kTextId:
        if (caller == kIntro) return kScreenStay;
        PlayInterfaceSound(game, 0, 10);
        return NextPage();
    case kFasterId:
    case kSlowerId:
        PlayInterfaceSound(game, 0, 10);
        // The buttons turn inert at the ends; a stray command must not leave the range either.
        if (command == kFasterId && scrollInterval > kFastestInterval) scrollInterval -= kIntervalStep;
        if (command == kSlowerId && scrollInterval < kSlowestInterval) scrollInterval += kIntervalStep;
        text.stepInterval = scrollInterval;
        UpdateSpeedButtons();
        return kScreenStay;
    case kPauseId:
        PlayInterfaceSound(game, 0, 10);
        ToggleScrolling();
        return kScreenStay;
    default: return kScreenStay;
    }
}

u32 CPagesScreen::OnKey(u32 key) {
    if (sequence.pages.empty()) return EndCode();
    return NextPage();
}

u32 CPagesScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    if (sequence.pages.empty()) return EndCode();
    return CScreen::OnPen(px, py, down, moving);
}

u32 CPagesScreen::OnTick(u32 tick) {
    // A sequence without pages has nothing to show: it ends on the first tick.
    if (sequence.pages.empty()) return EndCode();
    u32 code = CScreen::OnTick(tick);
    if (code != kScreenStay) return code;
    if (text.finished != 0) return NextPage();
    return kScreenStay;
}

void CPagesScreen::Leave() {
    for (std::unique_ptr<CRecordHolder>& holder : holders) {
        if (holder != nullptr) holder->Release();
        holder.reset();
    }
    for (CRecordHolder*& p : framePieces_) p = nullptr;
    host_.UnloadTexturePicture(shownPicture_);
    shownPicture_ = nullptr;
    picture.SetPicture(nullptr, 0, 0, 0);
    sequence = CPageSequenceView();
    if (CGameScreen* view = host_.GetGameScreen()) {
        if (view->screenMusic != nullptr) {
            view->screenMusic = nullptr;
            view->StopMusic();
        }
    }
    flags |= kFormRedrawAll;
    keepOnStack = 0;
    CScreen::Leave();
}
