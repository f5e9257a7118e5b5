// A full screen between which the game object switches. It keeps the four entry words of its last
// Enter, which the screen switch passes on to the next screen, and a keep-on-stack flag with which it
// asks to be pushed and resumed later instead of left.
#pragma once

#include "ui/Form.h"
#include "ui/ScreenIds.h"

class CScreen : public CForm {
public:
    CScreen();
    ~CScreen() override = default;

    virtual void Enter(u32 a, u32 b, u32 c, u32 d);
    virtual void Leave();
    virtual void Resume();
    virtual void Idle() {}

    u32 screenState = 0;  // free for the derived screen
    u32 entryA = 0, entryB = 0, entryC = 0, entryD = 0;
    u32 keepOnStack = 0;
};
