#include "screens/frontend/DeathScreen.h"

#include "data/RecordHolder.h"
#include "display/Video.h"
#include "screens/frontend/DialogKit.h"
#include "ui/Layout.h"

namespace {

constexpr u32 kPictureElements[3] = {562, 107, 563};

}  // namespace

CDeathScreen::CDeathScreen() = default;

CDeathScreen::~CDeathScreen() {
    for (std::unique_ptr<CRecordHolder>& holder : holders)
        if (holder != nullptr) holder->Release();
}

void CDeathScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    for (int i = 0; i < 3; ++i) {
        if (holders[i] != nullptr) continue;
        holders[i] = std::make_unique<CRecordHolder>();
        holders[i]->Load(dataDb, static_cast<u16>(kFirstPicture + i));
    }
    RemoveAllWidgets();
    GetLayoutSize(game, kLayoutGroup, width, height);
    for (int i = 0; i < 3; ++i) {
        if (!PlaceInLayout(*this, pictures[i], kLayoutGroup, kPictureElements[i])) continue;
        pictures[i].SetPicture(holders[i].get(), 1, 0, 0);
        pictures[i].EnablePen(0);
    }
    if (PlaceInLayout(*this, text, kLayoutGroup, 40))
        SetupLabel(text, kText, 2, CTextLabel::kAlignLeft, 0xC8C8C8, 0x5B3A34);
    if (PlaceInLayout(*this, okButton, kLayoutGroup, 25)) {
        SetupOkButton(okButton, game);
        okButton.shortcutKey = kCommandUse;
    }
    flags |= kFormRedrawAll;
    Draw();
    if (video != nullptr) video->Present();
    ResetInputGuard();
}

void CDeathScreen::Leave() {
    for (std::unique_ptr<CRecordHolder>& holder : holders) {
        if (holder != nullptr) holder->Release();
        holder.reset();
    }
    CScreen::Leave();
    keepOnStack = 0;
    RemoveAllWidgets();
}

u32 CDeathScreen::OnKey(u32 key) { return CScreen::OnKey(key == kCommandAttack ? kCommandUse : key); }

u32 CDeathScreen::OnCommand(u32 command) {
    if (command != 25) return kScreenStay;
    entryA = entryB = entryC = entryD = 0;
    keepOnStack = 0;
    return kScreenMainMenu;
}
