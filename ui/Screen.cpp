#include "ui/Screen.h"

#include "ui/WidgetHost.h"

CScreen::CScreen() = default;

void CScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    flags |= kFormRedrawAll;
    entryA = a;
    entryB = b;
    entryC = c;
    entryD = d;
    ResetInputGuard();
    modalChild = nullptr;
}

void CScreen::Leave() {
    keepOnStack = 0;
    RemoveAllWidgets();
}

void CScreen::Resume() {
    flags |= kFormRedrawAll;
    Draw();
    ResetInputGuard();
}
