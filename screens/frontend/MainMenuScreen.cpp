#include "screens/frontend/MainMenuScreen.h"

#include "app/Game.h"
#include "app/InterfacePictureRoles.h"
#include "display/Video.h"

void CMainMenuScreen::Attach(CGame* g) {
    CScreen::Attach(g);
    messageBar.Attach(g);
}

void CMainMenuScreen::Enter(u32 a, u32 b, u32 c, u32 d) {
    CScreen::Enter(a, b, c, d);
    x = 0;
    y = 0;
    width = video ? video->Width() : 0;
    height = video ? video->Height() : 0;
    background = game ? game->GetInterfacePicture(kPictureScreenBackground) : nullptr;
    ShowMessage("Welcome to Vantrel.\rThe main menu is still being built. Do you want to go on?",
                CButtonBar::kYes | CButtonBar::kNo);
    asking = true;
}

void CMainMenuScreen::ShowMessage(const char* text, u32 flags) {
    ShowMessageText(game, &messageView, text, flags, &messageBar, this);
    OpenModal(&messageBar);
    Draw();
}

u32 CMainMenuScreen::OnKey(u32 key) {
    if (modalChild == nullptr && key == kCommandUse) {
        ShowMessage("Do you want to go on?", CButtonBar::kYes | CButtonBar::kNo);
        asking = true;
        return 0;
    }
    return CScreen::OnKey(key);
}

u32 CMainMenuScreen::OnCommand(u32 command) {
    if (modalChild != &messageBar) return 0;
    CloseModal();
    if (asking) {
        asking = false;
        lastAnswer = command;
        ShowMessage(command == CButtonBar::kYes ? "You chose Yes." : "You chose No.", CButtonBar::kOk);
    }
    return 0;
}
