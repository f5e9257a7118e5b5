#include "app/GameApp.h"

#include <cstdio>

#include "app/MainFrame.h"
#include "platform/Window.h"

CGameApp::~CGameApp() { ExitInstance(); }

bool CGameApp::InitInstance(std::unique_ptr<plat::Window> window) {
    if (!window) window = plat::CreateGameWindow();
    auto* frame = new CMainFrame(std::move(window));
    SetMainFrame(frame);
    if (frame->CreateMainWindow()) return true;

    error_ = frame->Error();
    std::fprintf(stderr, "Vantrel: %s\n", error_.c_str());
    std::fflush(stderr);
    // Also when the window never came up: a desktop user started from a menu sees no stderr.
    if (plat::Window* w = frame->GetWindow()) w->ShowMessageBox("Vantrel", error_);
    ExitInstance();
    return false;
}

int CGameApp::Run() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr) return 1;
    frame->Run();
    ExitInstance();
    return 0;
}

void CGameApp::ExitInstance() {
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr) return;
    delete frame;  // clears the main-frame pointer
    SetMainFrame(nullptr);
}
