#include "screens/frontend/SplashScreen.h"

#include "app/Game.h"
#include "platform/Clock.h"

void CSplashScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    enteredAt = plat::TickCount();
}

u32 CSplashScreen::OnTick(u32 tick) {
    CScreen::OnTick(tick);
    return plat::TickCount() - enteredAt >= 2000 ? kScreenMainMenu : kScreenStay;
}
