#include "app/GameApp.h"

#include <cstdio>

#include "app/InputLog.h"
#include "app/Game.h"
#include "app/MainFrame.h"
#include "core/Random.h"
#include "platform/Window.h"

CGameApp::CGameApp() = default;

CGameApp::~CGameApp() { ExitInstance(); }

bool CGameApp::RecordInputTo(const std::string& path) {
    recorder_ = std::make_unique<CInputRecorder>(path);
    if (recorder_->Ok()) return true;
    recorder_.reset();
    std::fprintf(stderr, "Vantrel: cannot write the input log %s\n", path.c_str());
    return false;
}

bool CGameApp::InitInstance(std::unique_ptr<plat::Window> window) {
    if (!window) window = plat::CreateGameWindow();
    if (recorder_ && window) window->AddListener(recorder_.get());
    frame_ = std::make_unique<CMainFrame>(std::move(window));
    CMainFrame* frame = frame_.get();
    SetMainFrame(frame);
    if (frame->CreateMainWindow()) {
        // The draws of this run come from the clock: the log keeps the reading so a replay of a
        // played fault meets the same dice.
        if (recorder_ && frame->game && frame->game->random) recorder_->NoteSeed(frame->game->random->ClockSeed());
        return true;
    }

    error_ = frame->Error();
    std::fprintf(stderr, "Vantrel: %s\n", error_.c_str());
    std::fflush(stderr);
    // Also when the window never came up: a desktop user started from a menu sees no stderr.
    if (plat::Window* w = frame->GetWindow()) w->ShowMessageBox("Vantrel", error_);
    ExitInstance();
    return false;
}

int CGameApp::Run() {
    if (frame_ == nullptr) return 1;
    frame_->Run();
    ExitInstance();
    return 0;
}

void CGameApp::ExitInstance() {
    if (frame_ == nullptr) return;
    frame_.reset();  // clears the main-frame pointer
    SetMainFrame(nullptr);
}
