// The one game window of the platform layer: a fixed-size client area that shows RGB565 frames, and a
// message pump that hands the game the few window messages it is built around (keys as Windows
// virtual-key codes, the left mouse button in client coordinates, activation, expose, close and a
// coalesced timer). Two backends sit behind it: SDL2 for the game, and a headless one for tests whose
// events, focus, key states and clock the test controls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// Windows virtual-key codes, the key words the game stores in its settings and compares against.
namespace vk {
constexpr uint32_t LButton = 1;
constexpr uint32_t Back = 8;
constexpr uint32_t Tab = 9;
constexpr uint32_t Return = 13;
constexpr uint32_t Shift = 16;
constexpr uint32_t Control = 17;
constexpr uint32_t Menu = 18;  // Alt
constexpr uint32_t Pause = 19;
constexpr uint32_t Capital = 20;
constexpr uint32_t Escape = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t Prior = 33;  // Page Up
constexpr uint32_t Next = 34;   // Page Down
constexpr uint32_t End = 35;
constexpr uint32_t Home = 36;
constexpr uint32_t Left = 37;
constexpr uint32_t Up = 38;
constexpr uint32_t Right = 39;
constexpr uint32_t Down = 40;
constexpr uint32_t Insert = 45;
constexpr uint32_t Delete = 46;
// '0'..'9' are 48..57 and 'A'..'Z' are 65..90, as their characters.
constexpr uint32_t Numpad0 = 96;  // .. Numpad9 = 105
constexpr uint32_t Multiply = 106;
constexpr uint32_t Add = 107;
constexpr uint32_t Subtract = 109;
constexpr uint32_t Decimal = 110;
constexpr uint32_t Divide = 111;
constexpr uint32_t F1 = 112;         // .. F12 = 123
constexpr uint32_t Oem1 = 186;       // ;:
constexpr uint32_t OemPlus = 187;    // =+
constexpr uint32_t OemComma = 188;   // ,<
constexpr uint32_t OemMinus = 189;   // -_
constexpr uint32_t OemPeriod = 190;  // .>
constexpr uint32_t Oem2 = 191;       // /?
constexpr uint32_t Oem3 = 192;       // `~
constexpr uint32_t Oem4 = 219;       // [{
constexpr uint32_t Oem5 = 220;       // backslash |
constexpr uint32_t Oem6 = 221;       // ]}
constexpr uint32_t Oem7 = 222;       // '"
}  // namespace vk

enum class EventType {
    KeyDown,      // key: virtual-key code; keyboard auto-repeat arrives as further key-downs
    KeyUp,        // key: virtual-key code of a released key (the game polls key states instead; the
                  // input recorder keeps it)
    MouseMove,    // x, y; leftHeld: the left button is held during the move
    LButtonDown,  // x, y
    LButtonUp,    // x, y (also when released outside the client area while captured)
    Activate,     // the window gained the keyboard focus
    Deactivate,   // the window lost it
    Expose,       // the client area must be shown again
    Close,        // the user asked to close the window
    Quit,         // the application is asked to end
    Timer,        // the window timer is due (never more than one pending)
    Destroy,      // the window is being destroyed; sent to listeners only, from Destroy()
};

struct Event {
    EventType type = EventType::Timer;
    int32_t x = 0;  // client coordinates of mouse events
    int32_t y = 0;
    bool leftHeld = false;
    uint32_t key = 0;  // virtual-key code of KeyDown and KeyUp
    bool repeat = false;  // a KeyDown sent again while the key is held
};

class Window;

// Runs before the frame sees an event, like a subclassed window procedure that passes every message
// on afterwards. The display layer uses it to resume, suspend and repaint.
class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void OnWindowEvent(Window& window, const Event& event) = 0;
};

// A picture as the client area shows it, RGB565, rows packed (pitch = width).
struct ClientImage {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class Window {
public:
    virtual ~Window() = default;
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window, hidden, not resizable, with its client area of the given size whose top-left
    // corner is at (clientX, clientY) on the screen. False when the system refuses.
    virtual bool Create(const std::string& title, int clientX, int clientY, int clientWidth,
                        int clientHeight) = 0;
    // Why the last Create failed, in words for the user; empty when the backend cannot tell.
    virtual std::string CreateError() const { return {}; }
    // Notifies the listeners with a Destroy event, then closes the window; the pump then ends.
    virtual void Destroy() = 0;
    virtual bool IsAlive() const = 0;

    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;
    // Moves the client area's top-left corner and sizes the client area, then shows it again.
    virtual void MoveResize(int clientX, int clientY, int clientWidth, int clientHeight) = 0;
    // Sizes the client area, keeping its top-left corner where it is.
    virtual void SetClientSize(int clientWidth, int clientHeight) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int ClientX() const = 0;
    virtual int ClientY() const = 0;
    virtual void Show() = 0;
    virtual void SetTopmost(bool topmost) = 0;
    virtual bool IsTopmost() const = 0;
    // The window's icon, 0xAARRGGBB pixels, rows packed.
    virtual void SetIcon(const uint32_t* argb, int width, int height) = 0;
    // A modal box with an OK button; returns when the user has closed it. It may be shown before the
    // window was created, or after Create failed.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    // Asks for the client area to be shown again: an Expose event follows.
    virtual void Invalidate() = 0;

    // True while the window has the keyboard focus.
    virtual bool HasFocus() const = 0;
    // True while the key is down now (virtual-key code; vk::LButton is the left mouse button and
    // vk::Control either Ctrl key).
    virtual bool IsKeyDown(uint32_t key) const = 0;

    // Shows an RGB565 buffer 1:1 at the client area's top-left corner. `pitchBytes` is the distance in
    // bytes between rows. Whatever lies beyond the client area is cut off.
    virtual void Present(const uint16_t* pixels, int width, int height, int pitchBytes) = 0;
    // Shows the last presented frame again (after the client area was uncovered), without a new one.
    virtual void RepaintLastFrame() = 0;
    // What the client area shows now, as far as the backend can tell. False when it cannot.
    virtual bool ReadClientImage(ClientImage& out) = 0;

    // One timer, like a Windows window timer: due every `periodMs` milliseconds of the platform
    // clock, delivered when no other event waits (or first, once it is late by a whole period), and
    // never more than one at a time: after a handler that took longer than the period, one Timer event
    // follows, not a backlog.
    void StartTimer(uint32_t periodMs);
    void StopTimer();

    // The next event without waiting; false when none is there. Listeners have already seen it.
    bool PollEvent(Event& event);
    // The next event, waiting for one (the SDL backend sleeps until an input event arrives or the
    // timer is due). False when the window is gone, or, headless, when the scripted events are used
    // up and the timer is not due.
    bool WaitEvent(Event& event);

    // Listeners run in the order they were added. Removing one from inside its own callback is safe.
    void AddListener(WindowListener* listener);
    void RemoveListener(WindowListener* listener);
    bool HasListener(const WindowListener* listener) const;

protected:
    // The backend's next queued event, without the timer.
    virtual bool NextQueuedEvent(Event& event) = 0;
    // Waits until an event may be queued or `maxMs` has passed.
    virtual void WaitForQueuedEvent(uint32_t maxMs) = 0;
    // Whether waiting makes sense at all (false for the headless backend).
    virtual bool CanWait() const = 0;
    void Notify(const Event& event);

private:
    bool TimerDue(uint32_t now, uint32_t* waitMs);

    std::vector<WindowListener*> listeners_;
    uint32_t timerPeriod_ = 0;
    uint32_t timerLast_ = 0;
};

enum class WindowBackend { Sdl, Headless };

// The game's window: SDL unless the environment variable VANTREL_WINDOW is "headless". Defined in the
// SDL library of the platform layer (vantrel_platform_sdl), so only programs linking it may call this.
std::unique_ptr<Window> CreateGameWindow();
std::unique_ptr<Window> CreateWindowFor(WindowBackend backend);

}  // namespace plat
