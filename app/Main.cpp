// The game's executable: one application object, its frame and the message loop.
//
//   vantrel [--record FILE]
//
// --record FILE (or the environment variable VANTREL_RECORD=FILE) writes every key, mouse-button and
// close event of the window with its tick to FILE (app/InputLog.h), which tools/replay plays again.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/GameApp.h"
#include "platform/sdl/SdlAudio.h"

int main(int argc, char** argv) {
    std::string record;
    if (const char* env = std::getenv("VANTREL_RECORD"); env != nullptr) record = env;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--record") == 0 && i + 1 < argc)
            record = argv[++i];
        else  // a launcher's extra arguments do not stop the game
            std::fprintf(stderr, "Vantrel: ignoring the argument %s (usage: vantrel [--record FILE])\n", argv[i]);
    }
    // Sound goes to the system's default output; without one the game runs silent.
    plat::InstallSdlAudio();
    CGameApp app;
    if (!record.empty() && !app.RecordInputTo(record)) return 1;
    if (!app.InitInstance()) return 1;
    return app.Run();
}
