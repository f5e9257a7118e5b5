#include "tests/support/FrameRig.h"

#include "display/FontSet.h"
#include "display/Video.h"
#include "platform/Window.h"
#include "ui/Layout.h"
#include "ui/Screen.h"
#include "ui/ScreenIds.h"

namespace testing_support {

FrameRig::~FrameRig() { Stop(); }

bool FrameRig::Start() {
    auto w = plat::CreateHeadlessWindow();
    window = w.get();
    frame = std::make_unique<CMainFrame>(std::move(w));
    SetMainFrame(frame.get());
    if (!frame->CreateMainWindow()) return false;
    window->SetFocus(true);
    return true;
}

bool FrameRig::StartOnBuiltDatabase() {
    if (!env.CopyBuiltDatabase()) return false;
    if (Start()) return true;
    ADD_FAILURE() << frame->Error();
    return false;
}

bool FrameRig::StartWithWorld() {
    if (!StartOnBuiltDatabase()) return false;
    Key(27);
    Game()->ResetWorld();
    return Game()->OpenGameDatabases(nullptr) != 0;
}

bool FrameRig::StartNewGameInView() {
    if (!StartWithWorld() || !Game()->NewGame(nullptr)) return false;
    CScreen* current = Current();
    current->entryA = 1;
    current->entryB = current->entryC = current->entryD = 0;
    current->keepOnStack = 0;
    Game()->SwitchScreen(kScreenGame);
    return Current() != nullptr && Current() == Game()->GetScreen(kScreenGame);
}

bool FrameRig::UseLayoutMode(u32 mode) {
    CGame* game = Game();
    if (game == nullptr) return false;
    game->layoutMode = mode;
    for (int i = 0; i < kInterfacePictureCount; ++i) game->SetInterfacePicture(i, nullptr);
    u16 missing = 0;
    if (!game->LoadInterfacePictures(&missing)) {
        ADD_FAILURE() << "interface picture " << missing << " missing in mode " << mode;
        return false;
    }
    return game->fonts->LoadFonts(*game, game->video->GetRenderer());
}

void FrameRig::Stop() {
    if (!frame) return;
    frame.reset();
    SetMainFrame(nullptr);
    window = nullptr;
}

void FrameRig::Drain() {
    plat::Event e;
    while (window && window->PollEvent(e)) frame->HandleEvent(e);
}

void FrameRig::Tick(u32 ms) {
    env.clock.Advance(ms);
    if (frame) frame->OnTimer(0);
}

bool FrameRig::TickUntilScreen(u32 id, u32 limitMs) {
    for (u32 t = 0; t <= limitMs; t += 30) {
        if (Current() == Game()->GetScreen(id)) return true;
        Tick();
    }
    return Current() == Game()->GetScreen(id);
}

void FrameRig::Key(u32 key) {
    if (frame) frame->OnKeyDown(key);
}

void FrameRig::Tap(i32 x, i32 y) {
    if (!frame) return;
    frame->OnLButtonDown(x, y);
    frame->OnLButtonUp(x, y);
}

bool FrameRig::TapLayoutElement(u16 group, u32 element) {
    const u8* rect = FindLayoutRect(Game(), group, element);
    if (rect == nullptr) return false;
    const CLayoutElement e = ReadLayoutElement(rect);
    Tap(e.x + e.w / 2, e.y + e.h / 2);
    return true;
}

Rgb565Image FrameRig::Capture() const {
    Rgb565Image image;
    CGame* game = Game();
    if (game == nullptr || game->video == nullptr) return image;
    // As the frame does round every message: lock, then present.
    game->video->SyncBackBuffer();
    game->video->Present();
    const plat::ClientImage& shown = window->Shown();
    image.width = shown.width;
    image.height = shown.height;
    image.pixels = shown.pixels;
    return image;
}

}  // namespace testing_support
