#include "screens/frontend/LoadSaveScreen.h"

#include <algorithm>
#include <string>

#include "data/SaveGameManager.h"
#include "screens/ScreenHost.h"
#include "screens/frontend/FrontendWidgets.h"
#include "ui/InterfacePictureRoles.h"
#include "ui/Layout.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHelpers.h"
#include "world/GameScreen.h"

namespace {

constexpr u32 kTitle = 19;
constexpr u32 kSlotBoxes[CLoadSaveScreen::kSlots] = {2, 3, 4, 5};
constexpr u32 kLightColour = 0xC8C8C8;
constexpr u32 kDarkColour = 0x161616;
constexpr u32 kDisabledColour = 0x707070;  // a button's text when it cannot be pressed
// Inside a slot's box: the picture at the left, the two lines of text beside it.
constexpr i32 kInset = 4;
constexpr i32 kTextGap = 12;

}  // namespace

CLoadSaveScreen::CLoadSaveScreen(CScreenHost& shell) : shell_(shell) {}

CLoadSaveScreen::~CLoadSaveScreen() = default;

void CLoadSaveScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    mode = a == kModeLoad ? kModeLoad : kModeSave;
    selected = -1;
    promptState = kNoPrompt;
    promptBar.Attach(game);
    for (u32 i = 0; i < kSlots; ++i) infos[i] = shell_.GetSaveGames().List(i + 1);

    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    drawBackground = 1;
    PlaceLabel(*this, title, kLayoutGroup, kTitle, mode == kModeLoad ? "Load a game" : "Save a game",
               CTextLabel::kAlignCentre | CTextLabel::kAlignMiddle, 2, kLightColour);
    title.backgroundColour = kDarkColour;
    for (u32 i = 0; i < kSlots; ++i) {
        if (!PlaceWidget(*this, boxes[i], kLayoutGroup, kSlotBoxes[i])) continue;
        const CColorBox& box = boxes[i];
        thumbnails[i].Attach(this);
        const i32 pictureY = box.y + std::max<i32>(kInset, (box.h - savegame::kThumbnailHeight) / 2);
        thumbnails[i].SetRect(static_cast<u16>(box.x + kInset), static_cast<u16>(pictureY),
                              savegame::kThumbnailWidth, savegame::kThumbnailHeight);
        AddWidget(&thumbnails[i]);
        labels[i].Attach(this);
        const i32 textX = box.x + kInset + savegame::kThumbnailWidth + kTextGap;
        labels[i].SetRect(static_cast<u16>(textX), static_cast<u16>(box.y + kInset),
                          static_cast<u16>(std::max<i32>(0, box.x + box.w - kInset - textX)),
                          static_cast<u16>(std::max<i32>(0, box.h - 2 * kInset)));
        labels[i].alignment = CTextLabel::kAlignLeft | CTextLabel::kAlignMiddle;
        labels[i].font = 1;
        AddWidget(&labels[i]);
        ShowSlot(i);
    }
    struct ButtonPlace {
        CBitmapButton& button;
        u32 command;
        const char* text;
    } buttons[] = {{loadSaveButton, kCommandLoadSave, mode == kModeLoad ? "Load" : "Save"},
                   {deleteButton, kCommandDelete, "Delete"},
                   {backButton, kCommandBack, "Back"}};
    for (ButtonPlace& place : buttons) {
        if (!PlaceWidget(*this, place.button, kLayoutGroup, place.command)) continue;
        place.button.SetFramedText(StandardButtonFrames(game, true), StandardButtonFrames(game, false),
                                   place.text, place.command, 1, kDarkColour, kDarkColour, kDisabledColour,
                                   kDisabledColour, 0);
    }
    SelectSlot(-1);
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}

void CLoadSaveScreen::Leave() {
    for (auto& info : infos) {
        if (info) info->Release();
        info.reset();
    }
    for (CPictureView& view : thumbnails) view.SetRawPicture(nullptr, 0, 0);
    if (modalChild) CloseModal();
    RemoveAllWidgets();
    CScreen::Leave();
}

void CLoadSaveScreen::ShowSlot(u32 i) {
    if (i >= kSlots) return;
    if (!infos[i]) {
        thumbnails[i].SetRawPicture(nullptr, 0, 0);
        thumbnails[i].Show(0);
        labels[i].SetText("- empty -");
        return;
    }
    const CSavedGameInfo& info = *infos[i];
    if (info.damaged) {
        thumbnails[i].SetRawPicture(nullptr, 0, 0);
        thumbnails[i].Show(0);
        labels[i].SetText("- damaged -");
        return;
    }
    thumbnails[i].Show(1);
    thumbnails[i].SetRawPicture(info.thumbnail.data(), info.width, info.height);
    const std::string text = info.mapName + "\r" + info.dayAndTime;
    labels[i].SetText(text.c_str());
}

bool CLoadSaveScreen::SlotLoadable(u32 i) const { return SlotHoldsGame(i) && !infos[i]->damaged; }

void CLoadSaveScreen::SelectSlot(i32 i) {
    selected = i >= 0 && i < static_cast<i32>(kSlots) ? i : -1;
    for (u32 s = 0; s < kSlots; ++s) {
        const bool lit = static_cast<i32>(s) == selected;
        boxes[s].colour = lit ? kLightColour : 0;
        labels[s].textColour = lit ? kDarkColour : kLightColour;
        labels[s].backgroundColour = lit ? kLightColour : 0;
        thumbnails[s].backgroundColour = 0;
    }
    const bool chosen = selected >= 0;
    const bool holds = chosen && SlotHoldsGame(static_cast<u32>(selected));
    const bool loadable = chosen && SlotLoadable(static_cast<u32>(selected));
    loadSaveButton.EnablePen(chosen && (mode == kModeSave || loadable) ? 1 : 0);
    deleteButton.EnablePen(holds ? 1 : 0);
    flags |= kFormRedrawAll;
}

u32 CLoadSaveScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    // The same guard as the base: nothing in the tick the screen opened in, nothing before a pen-down.
    const bool guarded = game == nullptr || game->GetTickCounter() == guardTick;
    if (modalChild == nullptr && down != 0 && moving == 0 && !guarded) {
        for (u32 s = 0; s < kSlots; ++s) {
            const CColorBox& box = boxes[s];
            if (box.w != 0 && px >= box.x && py >= box.y && px < box.x + box.w && py < box.y + box.h) {
                PlayInterfaceSound(game, 0, 10);
                SelectSlot(static_cast<i32>(s));
                Redraw();
                break;
            }
        }
    }
    return CScreen::OnPen(px, py, down, moving);
}

u32 CLoadSaveScreen::OnKey(u32 key) {
    // Escape leaves the screen as the back button does (a shown prompt takes the key itself).
    if (modalChild == nullptr && key == kCommandCancel) return OnCommand(kCommandBack);
    return CScreen::OnKey(key);
}

void CLoadSaveScreen::ShowMessage(const char* text, u32 buttons, u32 state) {
    promptState = state;
    message = text;
    ShowMessageText(game, &promptView, text, buttons, &promptBar, this);
    OpenModal(&promptBar);
}

void CLoadSaveScreen::Redraw() {
    flags |= kFormRedrawAll;
    Draw();
}

void CLoadSaveScreen::ListSlot(u32 i) {
    if (infos[i]) infos[i]->Release();
    infos[i] = shell_.GetSaveGames().List(i + 1);
    ShowSlot(i);
}

void CLoadSaveScreen::SaveSelected() {
    const u32 slot = static_cast<u32>(selected);
    // The slot's old saved game stays on the disk until the new one is complete; so does its entry here.
    const int saved = shell_.GetSaveGames().Save(slot + 1);
    ListSlot(slot);
    SelectSlot(selected);
    if (saved)
        ShowMessage("Game saved.", CButtonBar::kOk, kSavedNotice);
    else
        ShowMessage(("The game could not be saved: " + shell_.GetSaveGames().LastError() + ".").c_str(),
                    CButtonBar::kOk, kFailedNotice);
}

void CLoadSaveScreen::DeleteSelected() {
    const u32 slot = static_cast<u32>(selected);
    const int removed = shell_.GetSaveGames().Delete(slot + 1);
    ListSlot(slot);
    SelectSlot(selected);
    if (removed)
        ShowMessage("The saved game has been removed.", CButtonBar::kOk, kRemovedNotice);
    else
        ShowMessage("The saved game could not be removed.", CButtonBar::kOk, kFailedNotice);
}

u32 CLoadSaveScreen::LoadSelected() {
    CSaveGameManager& saves = shell_.GetSaveGames();
    // The saved game is read and checked whole before anything of the running game goes, so a load that
    // fails leaves this screen and the game behind it as they were.
    if (!saves.Load(static_cast<u32>(selected) + 1, nullptr)) {
        const std::string why =
            saves.LastError().empty() ? std::string("it cannot be read") : saves.LastError();
        ShowMessage(("The game could not be loaded: " + why + ".").c_str(), CButtonBar::kOk, kFailedNotice);
        Redraw();
        return kScreenStay;
    }
    if (CGameScreen* view = shell_.GetGameScreen()) view->StopMusic();
    shell_.PopAllScreens();
    // The game view goes on at the saved place (first entry word 0), not at a new game's start.
    entryA = entryB = entryC = entryD = 0;
    keepOnStack = 0;
    return kScreenGame;
}

u32 CLoadSaveScreen::OnCommand(u32 command) {
    if (promptState != kNoPrompt) {
        const u32 state = promptState;
        promptState = kNoPrompt;
        CloseModal();
        if (state == kOverwritePrompt && command == CButtonBar::kYes)
            SaveSelected();
        else if (state == kDeletePrompt && command == CButtonBar::kYes)
            DeleteSelected();
        else if (state == kSavedNotice)
            return kScreenBack;
        Redraw();
        return kScreenStay;
    }
    switch (command) {
    case kCommandLoadSave:
        if (selected < 0) return kScreenStay;
        if (mode == kModeLoad)
            return SlotHoldsGame(static_cast<u32>(selected)) ? LoadSelected() : kScreenStay;
        if (SlotHoldsGame(static_cast<u32>(selected)))
            ShowMessage("Do you want to overwrite this saved game?", CButtonBar::kYes | CButtonBar::kNo,
                        kOverwritePrompt);
        else
            SaveSelected();
        break;
    case kCommandDelete:
        if (selected < 0 || !SlotHoldsGame(static_cast<u32>(selected))) return kScreenStay;
        PlayInterfaceSound(game, 1, 10);
        ShowMessage("Do you want to physically remove this saved game?", CButtonBar::kYes | CButtonBar::kNo,
                    kDeletePrompt);
        break;
    case kCommandBack: PlayInterfaceSound(game, 1, 10); return kScreenBack;
    default: return kScreenStay;
    }
    Redraw();
    return kScreenStay;
}
