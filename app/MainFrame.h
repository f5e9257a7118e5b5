// The one frame window and its six message handlers, which are the whole game loop: a 30 ms timer
// drives the game's ticks, keys become command ids and the left mouse button becomes pen events.
// Every handler that reaches the game locks the display first, forwards the event to the current
// screen, hands a non-zero screen code to the screen switch and presents the frame buffer.
#pragma once

#include <memory>
#include <string>

#include "core/Types.h"

namespace plat {
class Window;
struct Event;
}  // namespace plat

class CGame;

// The layout-mode table: client size and window title of each mode. False (outputs untouched) for
// a mode without an entry.
bool GetScreenModeInfo(u32 mode, const char** title, u32* width, u32* height);

// The command of a key-down: the configured keys first in the wide layouts (14, 15, 16), then the
// fixed key table (its Ctrl column while Ctrl is held); 0 for a key without a command.
// `configured` holds the key words "Key1" .. "Key9"; a word of the left Shift or Ctrl (160, 162)
// matches the Shift or Ctrl key (16, 17). In the wide layouts the letters W, S, Q, E, A and D act
// only through the configured keys: a letter that no key word names gives no command there.
u32 KeyDownCommand(u32 key, bool ctrl, u32 layoutMode, const u32* configured);
// The command of configured key `index` (0 .. 8).
u32 ConfiguredKeyCommand(int index);
// The key code polled for a configured key word: its low byte with a..z turned into A..Z, and the
// left Shift and Ctrl (160, 162) as the platform reports them (16, 17).
u32 HeldKeyCode(u32 configured);
// The character a key types into a text (letters in capitals with Shift; digits, space, backspace
// '\b'); 0 for other keys and with Ctrl.
char TypedChar(u32 key, bool shift, bool ctrl);
// A mouse coordinate as the pen sees it: rounded toward zero to an even number.
inline i32 RoundPenCoordinate(i32 v) { return v - v % 2; }

class CMainFrame {
public:
    explicit CMainFrame(std::unique_ptr<plat::Window> window);
    // Destroys the game (which writes the automatic save when a game is in progress).
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Creates the window for the start-up layout, starts the game and its timer. False, with the
    // reason in Error(), when the window cannot be made or the game's start-up fails.
    bool CreateMainWindow();
    const std::string& Error() const { return error_; }

    void OnPaint() {}
    void OnMouseMove(bool leftHeld, i32 x, i32 y);
    void OnLButtonDown(i32 x, i32 y);
    void OnLButtonUp(i32 x, i32 y);
    void OnTimer(u32 id);
    // `repeat`: the key is held and sends its key-down again.
    void OnKeyDown(u32 key, bool repeat = false);

    // Hands one platform event to its handler. A close request or quit asks the loop to end.
    void HandleEvent(const plat::Event& event);
    // Runs the message loop until the window is closed or an orderly quit is asked for.
    void Run();
    // Asks the message loop to end after the current message; the caller then destroys the frame,
    // which runs the game's release and its automatic save.
    void RequestQuit() { quit_ = true; }
    // Closing the window (and the main menu's "Exit"): the automatic save is written first; when it
    // cannot be, the window stays open and a message box (the game view's own while it shows) says
    // where and why, and a second close quits.
    void CloseWindow();
    bool QuitRequested() const { return quit_; }

    // Switches the running window to another layout mode: stores "StartView", resizes, retitles.
    void ChangeScreenMode(u32 mode);

    plat::Window* GetWindow() const { return window_.get(); }

    u32 clientWidth = 0;
    u32 clientHeight = 0;
    std::unique_ptr<CGame> game;
    i32 lastMouseX = 0;
    i32 lastMouseY = 0;
    u32 buttonDown = 0;
    u32 lastMouseTime = 0;

private:
    void MouseMessage(i32 x, i32 y, u32 down, u32 moving);
    bool LockDisplay();
    void PresentFrame();
    bool Fail(const std::string& message);

    std::unique_ptr<plat::Window> window_;
    bool quit_ = false;
    bool closeRefused_ = false;
    std::string error_;
};

// The frame, null until the application creates it and after it is destroyed. Code without a game
// pointer reaches the game, the window and the client size through it.
CMainFrame* GetMainFrame();
void SetMainFrame(CMainFrame* frame);

// Ends the game in order (the main menu's "Exit"): the frame's message loop stops after the current
// message, and the application then destroys the frame and with it the game, which stops the sounds
// and writes the automatic save. Nothing ends the process around them.
void QuitGame();

// Resizes and retitles the running frame for a layout mode (the video output and the settings screen
// call it).
void ChangeScreenMode(u32 mode);

// Formats the message with the game's formatter and shows it in a modal box with an OK button; the
// caller carries on afterwards.
void ShowFatalError(const char* format, u32 a, u32 b);
