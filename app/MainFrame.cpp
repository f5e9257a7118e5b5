#include "app/MainFrame.h"

#include <cstdio>
#include <vector>

#include "app/Game.h"
#include "core/Str.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/Window.h"
#include "world/GameScreen.h"

namespace {

CMainFrame* g_mainFrame = nullptr;

struct ScreenMode {
    u32 mode;
    u32 width;
    u32 height;
    const char* title;
};

constexpr ScreenMode kScreenModes[] = {
    {2, 320, 320, "Vantrel - 320x320 Palm Hi"},
    {3, 320, 480, "Vantrel - 320x480 Palm Hi Portrait"},
    {4, 480, 320, "Vantrel - 480x320 Palm Hi LandScape"},
    {5, 240, 240, "Vantrel - 240x240 Palm 240"},
    {6, 320, 240, "Vantrel - 320x240 PPC Landscape"},
    {7, 240, 320, "Vantrel - 240x320 PPC Portrait"},
    {8, 240, 240, "Vantrel - 240x240 PPC 240"},
    {9, 640, 480, "Vantrel - 640x480 PPC Hi Landscape"},
    {10, 480, 640, "Vantrel - 480x640 PPC Hi Portrait"},
    {11, 480, 480, "Vantrel - 480x480 PPC 480"},
    {14, 800, 480, "Vantrel - 800x480 PPC HPC"},
    // The title says 800x600 although the client area is 800 x 584.
    {15, 800, 584, "Vantrel - 800x600 PPC HPC"},
    {16, 640, 240, "Vantrel - 640x240 PPC HPC"},
};

constexpr u32 kStartupMode = 15;
constexpr i32 kWindowLeft = 50;
constexpr i32 kWindowTop = 50;
constexpr u32 kTimerPeriod = 30;

constexpr u32 kConfiguredCommands[9] = {
    kCommandForward,   kCommandBack,   kCommandTurnLeft,   kCommandTurnRight,   kCommandUse,
    kCommandSpellBook, kCommandAttack, kCommandStrafeLeft, kCommandStrafeRight,
};

struct FixedKey {
    u32 key;
    u32 command;
    u32 withCtrl;
};

constexpr FixedKey kFixedKeys[] = {
    {13, kCommandUse, kCommandUse},
    {32, kCommandUse, kCommandUse},
    {27, kCommandCancel, kCommandCancel},
    {38, kCommandForward, kCommandForward},
    {87, kCommandForward, kCommandForward},
    {40, kCommandBack, kCommandBack},
    {83, kCommandBack, kCommandBack},
    {37, kCommandTurnLeft, kCommandStrafeLeft},
    {81, kCommandTurnLeft, kCommandTurnLeft},
    {39, kCommandTurnRight, kCommandStrafeRight},
    {69, kCommandTurnRight, kCommandTurnRight},
    {65, kCommandStrafeLeft, kCommandStrafeLeft},
    {68, kCommandStrafeRight, kCommandStrafeRight},
    {73, kCommandInventory, kCommandInventory},
};

bool IsWideLayout(u32 mode) { return mode == 14 || mode == 15 || mode == 16; }

// A text for the game's message box, which breaks lines only at blanks: its line breaks become the
// box's (CR), and a long word (a folder's path) is broken after a '/' so that it stays inside the box.
std::string BoxText(const std::string& text) {
    constexpr size_t kLongestRun = 24;
    std::string out;
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == ' ') {
            out += c == '\n' ? '\r' : ' ';
            run = 0;
            continue;
        }
        out += c;
        ++run;
        // Break after this '/' when the run up to the next '/' would pass the longest run.
        if (c == '/' && run > 1) {
            const size_t next = text.find_first_of("/ \n", i + 1);
            const size_t ahead = (next == std::string::npos ? text.size() : next) - i;
            if (run + ahead > kLongestRun) {
                out += '\r';
                run = 0;
            }
        }
    }
    return out;
}

bool IsAnsweringCommand(u32 command) {
    return command == kCommandUse || command == kCommandAttack || command == kCommandCancel ||
           command == kCommandSpellBook;
}

// The letters of the fixed table that the settings' key rows offer too.
bool IsMovementLetter(u32 key) {
    return key == 'W' || key == 'S' || key == 'Q' || key == 'E' || key == 'A' || key == 'D';
}

// The settings screen offers Shift and Ctrl as the left-hand keys (160 and 162, the codes the keys
// are stored under); the platform reports either Shift as 16 and either Ctrl as 17.
u32 ReportedKeyCode(u32 code) {
    if (code == 160 || code == 161) return plat::vk::Shift;
    if (code == 162 || code == 163) return plat::vk::Control;
    return code;
}

// "Key1" .. "Key9" of the settings.
const u32* ConfiguredKeys(const CGame& game) { return game.settings.Key; }

// A small shield-and-sword icon drawn in code, so that the window has one without a resource file.
std::vector<uint32_t> MakeIcon(int size) {
    std::vector<uint32_t> argb(static_cast<size_t>(size) * size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int dx = x - size / 2;
            bool shield = y >= 3 && y < size - 2 &&
                          (y < size / 2 ? (dx >= -11 && dx <= 10) : (dx * dx * 4 <= (size - 2 - y) * 24));
            if (!shield) continue;
            bool rim =
                y == 3 || dx == -11 || dx == 10 || (y >= size / 2 && dx * dx * 4 > (size - 4 - y) * 24);
            bool blade = (dx == 0 || dx == -1) && y >= 6 && y < size - 6;
            bool guard = y == 11 && dx >= -5 && dx <= 4;
            uint32_t colour = rim ? 0xFFD8B04Cu : (blade || guard) ? 0xFFE8E8F0u : 0xFF6E2A1Cu;
            argb[static_cast<size_t>(y) * size + x] = colour;
        }
    }
    return argb;
}

}  // namespace

bool GetScreenModeInfo(u32 mode, const char** title, u32* width, u32* height) {
    for (const ScreenMode& m : kScreenModes) {
        if (m.mode != mode) continue;
        if (title) *title = m.title;
        if (width) *width = m.width;
        if (height) *height = m.height;
        return true;
    }
    return false;
}

u32 ConfiguredKeyCommand(int index) { return index >= 0 && index < 9 ? kConfiguredCommands[index] : 0; }

u32 KeyDownCommand(u32 key, bool ctrl, u32 layoutMode, const u32* configured) {
    if (IsWideLayout(layoutMode) && configured) {
        u8 low = static_cast<u8>(key);
        if (low >= 'A' && low <= 'Z') low = static_cast<u8>(low - 'A' + 'a');
        u32 folded = static_cast<u32>(static_cast<i32>(static_cast<i8>(low)));
        for (int i = 0; i < 9; ++i) {
            if (configured[i] != 0 &&
                (configured[i] == key || configured[i] == folded || ReportedKeyCode(configured[i]) == key))
                return kConfiguredCommands[i];
        }
        // Here the letters of movement belong to the player's keys: one taken off its command, or
        // set to "none", must not go on doing it. The arrows, Enter, Space and Escape keep their
        // fixed meaning, as the menus need them.
        if (IsMovementLetter(key)) return 0;
    }
    for (const FixedKey& k : kFixedKeys)
        if (k.key == key) return ctrl ? k.withCtrl : k.command;
    return 0;
}

char TypedChar(u32 key, bool shift, bool ctrl) {
    if (ctrl) return 0;
    if (key >= 'A' && key <= 'Z') return static_cast<char>(shift ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9') return shift ? 0 : static_cast<char>(key);
    if (key >= plat::vk::Numpad0 && key <= plat::vk::Numpad0 + 9)
        return static_cast<char>('0' + key - plat::vk::Numpad0);
    if (key == plat::vk::Space) return ' ';
    if (key == plat::vk::Back) return '\b';
    return 0;
}

u32 HeldKeyCode(u32 configured) {
    u32 low = configured & 0xFF;
    if (low >= 'a' && low <= 'z') low = low - 'a' + 'A';
    return ReportedKeyCode(low);
}

CMainFrame* GetMainFrame() { return g_mainFrame; }
void SetMainFrame(CMainFrame* frame) { g_mainFrame = frame; }

CMainFrame::CMainFrame(std::unique_ptr<plat::Window> window) : window_(std::move(window)) {}

CMainFrame::~CMainFrame() {
    game.reset();
    if (g_mainFrame == this) g_mainFrame = nullptr;
    if (window_ && window_->IsAlive()) window_->Destroy();
}

bool CMainFrame::Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
}

bool CMainFrame::CreateMainWindow() {
    const char* title = "";
    u32 width = 0, height = 0;
    GetScreenModeInfo(kStartupMode, &title, &width, &height);
    clientWidth = width;
    clientHeight = height;
    if (!window_) return Fail("Cannot create the game window");
    if (!window_->Create(title, kWindowLeft, kWindowTop, static_cast<int>(width), static_cast<int>(height))) {
        const std::string reason = window_->CreateError();
        return Fail(reason.empty() ? std::string("Cannot create the game window") : reason);
    }

    if (plat::OpenFileForReading("_topmost.txt")) window_->SetTopmost(true);
    window_->Show();
    std::vector<uint32_t> icon = MakeIcon(32);
    window_->SetIcon(icon.data(), 32, 32);

    game = std::make_unique<CGame>();
    game->frame = this;
    if (!game->Initialize()) return Fail(game->StartupError());

    window_->StartTimer(kTimerPeriod);
    lastMouseTime = 0;
    window_->Invalidate();
    return true;
}

void CMainFrame::ChangeScreenMode(u32 mode) {
    const char* title = nullptr;
    u32 width = 0, height = 0;
    // A mode without an entry changes nothing: the game only ever switches to modes of the table.
    if (!GetScreenModeInfo(mode, &title, &width, &height)) return;
    plat::SettingsStore& store = plat::CurrentSettings();
    store.WriteDword(kFrameSettingsKey, "StartView", mode);
    store.Save();
    clientWidth = width;
    clientHeight = height;
    if (!window_) return;
    window_->MoveResize(kWindowLeft, kWindowTop, static_cast<int>(width), static_cast<int>(height));
    window_->SetTitle(title);
    window_->Show();
}

void CMainFrame::CloseWindow() {
    std::string message;
    if (!closeRefused_ && game && !game->SaveBeforeClose(message)) {
        closeRefused_ = true;
        std::fprintf(stderr, "Vantrel: %s\n", message.c_str());
        // In the game view the game's own message box says it (the system's box may not be able to
        // show itself); on the other screens the system's box does.
        CGameScreen* view = game->GetGameScreen();
        if (view && game->currentScreen == view) {
            view->PostMessageEvent(BoxText(message).c_str(), 1, nullptr);
        } else if (window_) {
            window_->ShowMessageBox("Vantrel", message);
        }
        return;
    }
    RequestQuit();
}

void QuitGame() {
    if (g_mainFrame) g_mainFrame->CloseWindow();
}

void ChangeScreenMode(u32 mode) {
    if (g_mainFrame) g_mainFrame->ChangeScreenMode(mode);
}

bool CMainFrame::LockDisplay() {
    return game != nullptr && game->video != nullptr && game->video->SyncBackBuffer() != 0;
}

void CMainFrame::PresentFrame() {
    if (game && game->video) game->video->Present();
}

// The one body of the three mouse handlers: the position is kept for the timer's pen repeat, a
// press or release (not a move) sets the button state, and the pen event goes to the game.
void CMainFrame::MouseMessage(i32 x, i32 y, u32 down, u32 moving) {
    lastMouseX = x;
    lastMouseY = y;
    if (!moving) buttonDown = down;
    if (game == nullptr) return;
    lastMouseTime = plat::TickCount();
    if (!LockDisplay()) return;
    game->PenEvent(RoundPenCoordinate(x), RoundPenCoordinate(y), down, moving);
    PresentFrame();
}

void CMainFrame::OnMouseMove(bool leftHeld, i32 x, i32 y) {
    if (leftHeld) {
        MouseMessage(x, y, 1, 1);
        return;
    }
    // A move without the button is no pen event; only the position is kept.
    lastMouseX = x;
    lastMouseY = y;
}

void CMainFrame::OnLButtonDown(i32 x, i32 y) { MouseMessage(x, y, 1, 0); }

void CMainFrame::OnLButtonUp(i32 x, i32 y) { MouseMessage(x, y, 0, 0); }

void CMainFrame::OnTimer(u32 id) {
    if (game == nullptr || !window_ || !window_->HasFocus()) {
        buttonDown = 0;
        return;
    }
    u32 now = plat::TickCount();
    if (id != 0) return;
    if (!LockDisplay()) return;

    CGameScreen* view = game->GetGameScreen();
    if (view != nullptr && game->currentScreen == view && view->IsBusy() == 0) {
        const u32* keys = ConfiguredKeys(*game);
        for (int i = 0; i < 9; ++i) {
            if (keys[i] == 0 || !window_->IsKeyDown(HeldKeyCode(keys[i]))) continue;
            game->SendCommand(kConfiguredCommands[i]);
            PresentFrame();
            return;
        }
        const CWidget& area = view->viewWidget;
        bool inside = lastMouseX >= area.x && lastMouseX < area.x + area.w && lastMouseY >= area.y &&
                      lastMouseY < area.y + area.h;
        if (buttonDown && inside) {
            if (!window_->IsKeyDown(plat::vk::LButton)) {
                buttonDown = 0;
                game->PenEvent(lastMouseX, lastMouseY, 0, 0);
                game->Tick();
                PresentFrame();
                return;
            }
            if (now - lastMouseTime > 30) game->PenEvent(lastMouseX, lastMouseY, 1, 0);
        }
    }
    game->Tick();
    PresentFrame();
}

void CMainFrame::OnKeyDown(u32 key, bool repeat) {
    bool ctrl = window_ && window_->IsKeyDown(plat::vk::Control);
    if (game == nullptr || !LockDisplay()) return;
    // A text being typed (the character's name) takes letters, digits, space and backspace before
    // they can become commands.
    const bool shift = window_ && window_->IsKeyDown(plat::vk::Shift);
    if (const char c = TypedChar(key, shift, ctrl); c != 0 && game->TypeChar(c)) {
        PresentFrame();
        return;
    }
    u32 command = KeyDownCommand(key, ctrl, game->layoutMode, ConfiguredKeys(*game));
    // Of a held key that answers (confirm, strike, cancel, the book, whose key also casts) only the
    // press counts: a message that comes up while the strike key is held (a kill's experience)
    // stays until the key is pressed afresh. Held moves and blows go on through the timer's poll.
    if (repeat && IsAnsweringCommand(command)) command = 0;
    if (command != 0) game->SendCommand(command);
    PresentFrame();
}

void CMainFrame::HandleEvent(const plat::Event& event) {
    switch (event.type) {
    case plat::EventType::KeyDown: OnKeyDown(event.key, event.repeat); break;
    case plat::EventType::MouseMove: OnMouseMove(event.leftHeld, event.x, event.y); break;
    case plat::EventType::LButtonDown: OnLButtonDown(event.x, event.y); break;
    case plat::EventType::LButtonUp: OnLButtonUp(event.x, event.y); break;
    case plat::EventType::Timer: OnTimer(0); break;
    case plat::EventType::Expose: OnPaint(); break;
    case plat::EventType::Close: CloseWindow(); break;
    // A quit from outside (a signal, the session ending) is not asked twice.
    case plat::EventType::Quit: RequestQuit(); break;
    default: break;
    }
}

void CMainFrame::Run() {
    plat::Event event;
    while (!quit_ && window_ && window_->WaitEvent(event)) HandleEvent(event);
}

void ShowFatalError(const char* format, u32 a, u32 b) {
    static char text[1000];
    FormatString(text, sizeof text, format, a, b);
    std::fprintf(stderr, "%s\n", text);
    if (g_mainFrame && g_mainFrame->GetWindow()) g_mainFrame->GetWindow()->ShowMessageBox("Vantrel", text);
}
