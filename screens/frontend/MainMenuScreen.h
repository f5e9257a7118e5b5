// Stand-in for the main menu (screen 9) until its own work replaces it: it greets the player with a
// message box that is answered by key or by tap, and shows the answer in a second one. Enter (the
// use key) asks again once both are closed.
#pragma once

#include "ui/ButtonBar.h"
#include "ui/Screen.h"
#include "ui/TextView.h"

class CMainMenuScreen : public CScreen {
public:
    void Attach(CGame* game) override;
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    u32 OnKey(u32 key) override;
    u32 OnCommand(u32 command) override;

    // The flag of the last button chosen in the greeting (0 before any).
    u32 lastAnswer = 0;

private:
    void ShowMessage(const char* text, u32 flags);

    CTextView messageView;
    CButtonBar messageBar;
    bool asking = false;
};
