// The game's executable: one application object, its frame and the message loop.
#include "app/GameApp.h"
#include "platform/sdl/SdlAudio.h"

int main() {
    // Sound goes to the system's default output; without one the game runs silent.
    plat::InstallSdlAudio();
    CGameApp app;
    if (!app.InitInstance()) return 1;
    return app.Run();
}
