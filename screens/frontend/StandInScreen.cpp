#include "screens/frontend/StandInScreen.h"

#include "display/FontSet.h"
#include "display/Video.h"
#include "ui/ScreenIds.h"
#include "ui/WidgetHost.h"

void CStandInScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    Draw();
}

void CStandInScreen::Draw() {
    flags &= static_cast<u8>(~kFormRedrawAll);
    if (video == nullptr) return;
    i32 w = video->Width(), h = video->Height();
    video->FillRect(0, 0, w, h, 0x0841);
    if (fonts == nullptr) return;
    fonts->Select(2, game ? game->GetTextColor() : 0xFFFFFF, 0);
    fonts->DrawTextBox(0, h / 2 - 40, w, h / 2, name_, 4);
    fonts->Select(1, 0xA0A0A0, 0);
    fonts->DrawTextBox(0, h / 2 + 10, w, h / 2 + 50, "Not available yet - press a key or click to go back", 4);
}

u32 CStandInScreen::Back() const {
    return game && game->GetStackedScreenCount() > 0 ? kScreenBack : kScreenMainMenu;
}

u32 CStandInScreen::OnKey(u32 key) { return key != 0 ? Back() : kScreenStay; }

u32 CStandInScreen::OnPen(i32 px, i32 py, u32 down, u32 moving) {
    return down != 0 && moving == 0 ? Back() : kScreenStay;
}
