#include "tests/frontend/FrontendRig.h"

#include <filesystem>

#include "display/Video.h"
#include "platform/Files.h"
#include "ui/Screen.h"

namespace frontend_test {

Rig::Rig() : savedFolder_(plat::ProgramFolder()) { plat::SetProgramFolder(dir.Path()); }

Rig::~Rig() {
    Stop();
    plat::SetProgramFolder(savedFolder_);
}

bool Rig::Start() {
    // The program folder holds what the build writes beside the game: the interface database and
    // the four world databases.
    for (const char* name : {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"}) {
        if (!withWorlds && std::string(name) != "VantrelData") continue;
        std::error_code error;
        const std::string file = std::string(name) + ".pdb";
        std::filesystem::copy_file(std::string(VANTREL_BINARY_DIR) + "/" + file, dir.File(file),
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (error) {
            ADD_FAILURE() << "no " << file << " in the build folder: " << error.message();
            return false;
        }
    }
    auto w = plat::CreateHeadlessWindow();
    window = w.get();
    frame = std::make_unique<CMainFrame>(std::move(w));
    SetMainFrame(frame.get());
    if (!frame->CreateMainWindow()) {
        ADD_FAILURE() << frame->Error();
        return false;
    }
    window->SetFocus(true);
    if (frame->game->video == nullptr) {
        ADD_FAILURE() << "start-up made no video output";
        return false;
    }
    return true;
}

void Rig::Stop() { frame.reset(); }

void Rig::Tick(u32 ms) {
    clock.Advance(ms);
    if (frame) frame->OnTimer(0);
}

bool Rig::TickUntilScreen(u32 id, u32 limitMs) {
    for (u32 t = 0; t <= limitMs; t += 30) {
        if (Current() == Game()->GetScreen(id)) return true;
        Tick();
    }
    return Current() == Game()->GetScreen(id);
}

void Rig::Key(u32 key) {
    if (frame) frame->OnKeyDown(key);
}

void Rig::Tap(i32 x, i32 y) {
    if (!frame) return;
    frame->OnLButtonDown(x, y);
    frame->OnLButtonUp(x, y);
}

testing_support::Rgb565Image Rig::Capture() const {
    testing_support::Rgb565Image image;
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

}  // namespace frontend_test
