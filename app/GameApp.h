// The application object: it creates the frame, runs the message loop, and on every orderly end
// destroys the frame, which destroys the game (its release and the automatic save run then).
#pragma once

#include <memory>
#include <string>

#include "platform/Window.h"

class CMainFrame;
class CInputRecorder;

class CGameApp {
public:
    CGameApp();
    // Deletes the frame when it still exists.
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Creates the frame on the given window (the platform's game window when null), its window and
    // the game. False when any of them fails; the reason has then been shown to the user.
    bool InitInstance(std::unique_ptr<plat::Window> window = nullptr);
    // Runs the message loop until the window is closed or a quit is asked for, then ends the frame
    // and the game in order. Returns the process's exit status.
    int Run();
    // Ends the frame and the game now (release, automatic save); safe to call twice.
    void ExitInstance();

    const std::string& Error() const { return error_; }

    // Writes every input event of the window to a log file from the start on (called before
    // InitInstance), so that a played session can be replayed, and a bug kept as a test. False when
    // the file cannot be made.
    bool RecordInputTo(const std::string& path);

private:
    // Declared before the frame: it hears the window's last events while the frame goes.
    std::unique_ptr<CInputRecorder> recorder_;
    std::unique_ptr<CMainFrame> frame_;
    std::string error_;
};
