// The game's executable: one application object, its frame and the message loop.
#include "app/GameApp.h"

int main() {
    CGameApp app;
    if (!app.InitInstance()) return 1;
    return app.Run();
}
