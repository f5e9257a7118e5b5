// The SDL2 backend of the game window: one fixed-size window, a renderer and one streaming RGB565
// texture that each present updates and draws 1:1 into the client area.
#include "platform/Window.h"
#include "platform/sdl/SdlKeys.h"
#include "platform/headless/HeadlessWindow.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

uint32_t VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + static_cast<uint32_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return vk::Numpad0 + 1 + static_cast<uint32_t>(key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_RETURN2: return vk::Return;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT:
    case SDLK_RALT: return vk::Menu;
    case SDLK_PAUSE: return vk::Pause;
    case SDLK_CAPSLOCK: return vk::Capital;
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_SPACE: return vk::Space;
    case SDLK_PAGEUP: return vk::Prior;
    case SDLK_PAGEDOWN: return vk::Next;
    case SDLK_END: return vk::End;
    case SDLK_HOME: return vk::Home;
    case SDLK_LEFT: return vk::Left;
    case SDLK_UP: return vk::Up;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_DOWN: return vk::Down;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_KP_0: return vk::Numpad0;
    case SDLK_KP_MULTIPLY: return vk::Multiply;
    case SDLK_KP_PLUS: return vk::Add;
    case SDLK_KP_MINUS: return vk::Subtract;
    case SDLK_KP_PERIOD: return vk::Decimal;
    case SDLK_KP_DIVIDE: return vk::Divide;
    case SDLK_SEMICOLON: return vk::Oem1;
    case SDLK_EQUALS: return vk::OemPlus;
    case SDLK_COMMA: return vk::OemComma;
    case SDLK_MINUS: return vk::OemMinus;
    case SDLK_PERIOD: return vk::OemPeriod;
    case SDLK_SLASH: return vk::Oem2;
    case SDLK_BACKQUOTE: return vk::Oem3;
    case SDLK_LEFTBRACKET: return vk::Oem4;
    case SDLK_BACKSLASH: return vk::Oem5;
    case SDLK_RIGHTBRACKET: return vk::Oem6;
    case SDLK_QUOTE: return vk::Oem7;
    default: return 0;
    }
}

}  // namespace

uint32_t VirtualKeyOfSdlKey(int32_t sdlKeycode) { return VirtualKeyOf(static_cast<SDL_Keycode>(sdlKeycode)); }

namespace {

class SdlWindow final : public Window {
public:
    ~SdlWindow() override {
        Close();
        // The video subsystem stays up until the process ends: SDL cannot be brought up again cleanly
        // after it unloaded the system libraries it opened.
    }

    bool Create(const std::string& title, int clientX, int clientY, int clientWidth,
                int clientHeight) override {
        if (window_ || clientWidth <= 0 || clientHeight <= 0) return false;
        if (!videoUp_) {
            if (!StartVideo()) return false;
            videoUp_ = true;
        }
        window_ =
            SDL_CreateWindow(title.c_str(), clientX, clientY, clientWidth, clientHeight, SDL_WINDOW_HIDDEN);
        if (!window_) return false;
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            Close();
            return false;
        }
        x_ = clientX;
        y_ = clientY;
        width_ = clientWidth;
        height_ = clientHeight;
        title_ = title;
        return true;
    }

    std::string CreateError() const override { return createError_; }

    void Destroy() override {
        if (!window_) return;
        Event event;
        event.type = EventType::Destroy;
        Notify(event);
        Close();
    }

    bool IsAlive() const override { return window_ != nullptr; }

    void SetTitle(const std::string& title) override {
        title_ = title;
        if (window_) SDL_SetWindowTitle(window_, title.c_str());
    }
    std::string Title() const override { return title_; }

    void MoveResize(int clientX, int clientY, int clientWidth, int clientHeight) override {
        if (!window_) return;
        x_ = clientX;
        y_ = clientY;
        SDL_SetWindowPosition(window_, clientX, clientY);
        SetClientSize(clientWidth, clientHeight);
        SDL_ShowWindow(window_);
        Invalidate();
    }

    void SetClientSize(int clientWidth, int clientHeight) override {
        if (!window_ || clientWidth <= 0 || clientHeight <= 0) return;
        width_ = clientWidth;
        height_ = clientHeight;
        SDL_SetWindowSize(window_, clientWidth, clientHeight);
    }

    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    int ClientX() const override { return x_; }
    int ClientY() const override { return y_; }

    void Show() override {
        if (window_) SDL_ShowWindow(window_);
    }

    void SetTopmost(bool topmost) override {
        topmost_ = topmost;
        if (window_) SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE);
    }
    bool IsTopmost() const override { return topmost_; }

    void SetIcon(const uint32_t* argb, int width, int height) override {
        if (!window_ || !argb || width <= 0 || height <= 0) return;
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height, 32,
                                                               width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (!icon) return;
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }

    void ShowMessageBox(const std::string& caption, const std::string& text) override {
        // SDL's box needs no window of its own, so it also reports a failure to make the game window.
        // Where SDL has no message system it declines at once; the caller has written to stderr.
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), window_);
    }

    void Invalidate() override { pendingExpose_ = true; }

    bool HasFocus() const override {
        return window_ && SDL_GetKeyboardFocus() == window_ &&
               (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS);
    }

    bool IsKeyDown(uint32_t key) const override {
        if (key == vk::LButton) return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        auto down = [&](SDL_Scancode code) { return code < count && state[code] != 0; };
        switch (key) {
        case vk::Control: return down(SDL_SCANCODE_LCTRL) || down(SDL_SCANCODE_RCTRL);
        case vk::Shift: return down(SDL_SCANCODE_LSHIFT) || down(SDL_SCANCODE_RSHIFT);
        case vk::Menu: return down(SDL_SCANCODE_LALT) || down(SDL_SCANCODE_RALT);
        case vk::Return: return down(SDL_SCANCODE_RETURN) || down(SDL_SCANCODE_KP_ENTER);
        default: break;
        }
        // The scan codes whose key codes translate to this virtual key.
        for (int code = 0; code < count; ++code) {
            if (!state[code]) continue;
            if (VirtualKeyOf(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(code))) == key) return true;
        }
        return false;
    }

    void Present(const uint16_t* pixels, int width, int height, int pitchBytes) override {
        if (!renderer_ || !pixels || width <= 0 || height <= 0 || pitchBytes < width * 2) return;
        if (!texture_ || width != textureWidth_ || height != textureHeight_) {
            if (texture_) SDL_DestroyTexture(texture_);
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                         width, height);
            if (!texture_) return;
            textureWidth_ = width;
            textureHeight_ = height;
        }
        SDL_UpdateTexture(texture_, nullptr, pixels, pitchBytes);
        Draw();
        SDL_RenderPresent(renderer_);
    }

    void RepaintLastFrame() override {
        if (!renderer_) return;
        Draw();
        SDL_RenderPresent(renderer_);
    }

    bool ReadClientImage(ClientImage& out) override {
        if (!renderer_) return false;
        // Draws the last frame again and reads the renderer's target before it is shown, which is
        // what the client area holds.
        Draw();
        out.width = width_;
        out.height = height_;
        out.pixels.assign(static_cast<size_t>(width_) * height_, 0);
        SDL_Rect all{0, 0, width_, height_};
        bool ok =
            SDL_RenderReadPixels(renderer_, &all, SDL_PIXELFORMAT_RGB565, out.pixels.data(), width_ * 2) == 0;
        SDL_RenderPresent(renderer_);
        return ok;
    }

protected:
    bool NextQueuedEvent(Event& event) override {
        SDL_Event e;
        while (window_ && SDL_PollEvent(&e)) {
            if (Translate(e, event)) return true;
        }
        if (window_ && pendingExpose_) {
            pendingExpose_ = false;
            event = Event{};
            event.type = EventType::Expose;
            return true;
        }
        return false;
    }

    void WaitForQueuedEvent(uint32_t maxMs) override {
        if (!window_ || pendingExpose_) return;
        SDL_WaitEventTimeout(nullptr, static_cast<int>(maxMs));  // leaves the event queued
    }

    bool CanWait() const override { return window_ != nullptr; }

private:
    // Brings up SDL's video on a driver that shows a window. SDL would otherwise fall back to its
    // offscreen or dummy drivers, and the game would run on unseen, never to be closed.
    bool StartVideo() {
        static constexpr const char* kShown[] = {"x11", "wayland"};
        if (SDL_getenv("SDL_VIDEODRIVER") == nullptr) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
        // Closing the window is the window's close event alone: the game may keep the window open
        // when its automatic save fails, which a quit event sent along with it would overrule.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            createError_ = std::string("No display: the game window needs an X11 or Wayland display (") +
                           SDL_GetError() + ")";
            return false;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        for (const char* shown : kShown)
            if (driver != nullptr && std::strcmp(driver, shown) == 0) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        createError_ =
            std::string("No display: the game window needs an X11 or Wayland display, not SDL's \"") +
            (driver != nullptr ? driver : "") + "\" video driver";
        return false;
    }

    void Draw() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        if (texture_) {
            SDL_Rect dst{0, 0, textureWidth_, textureHeight_};
            SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
        }
    }

    bool Translate(const SDL_Event& e, Event& event) {
        event = Event{};
        Uint32 id = window_ ? SDL_GetWindowID(window_) : 0;
        switch (e.type) {
        case SDL_QUIT: event.type = EventType::Quit; return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (e.key.windowID != id) return false;
            event.type = e.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
            event.key = VirtualKeyOf(e.key.keysym.sym);
            event.repeat = e.key.repeat != 0;
            return event.key != 0;
        case SDL_MOUSEMOTION:
            if (e.motion.windowID != id) return false;
            event.type = EventType::MouseMove;
            event.x = e.motion.x;
            event.y = e.motion.y;
            event.leftHeld = (e.motion.state & SDL_BUTTON_LMASK) != 0;
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.windowID != id || e.button.button != SDL_BUTTON_LEFT) return false;
            event.type = e.type == SDL_MOUSEBUTTONDOWN ? EventType::LButtonDown : EventType::LButtonUp;
            event.x = e.button.x;
            event.y = e.button.y;
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.windowID != id) return false;
            switch (e.window.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED: event.type = EventType::Activate; return true;
            case SDL_WINDOWEVENT_FOCUS_LOST: event.type = EventType::Deactivate; return true;
            case SDL_WINDOWEVENT_EXPOSED: event.type = EventType::Expose; return true;
            case SDL_WINDOWEVENT_CLOSE: event.type = EventType::Close; return true;
            case SDL_WINDOWEVENT_MOVED:
                x_ = e.window.data1;
                y_ = e.window.data2;
                return false;
            default: return false;
            }
        default: return false;
        }
    }

    void Close() {
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
        textureWidth_ = textureHeight_ = 0;
    }

    bool videoUp_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    bool topmost_ = false;
    bool pendingExpose_ = false;
    std::string title_;
    std::string createError_;
};

}  // namespace

std::unique_ptr<Window> CreateWindowFor(WindowBackend backend) {
    if (backend == WindowBackend::Headless) return CreateHeadlessWindow();
    return std::make_unique<SdlWindow>();
}

std::unique_ptr<Window> CreateGameWindow() {
    const char* choice = std::getenv("VANTREL_WINDOW");
    if (choice && std::strcmp(choice, "headless") == 0) return CreateWindowFor(WindowBackend::Headless);
    return CreateWindowFor(WindowBackend::Sdl);
}

}  // namespace plat
