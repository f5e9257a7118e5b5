// A screen of the front end that is not built yet: it shows its name on a dark background and goes
// back where it came from on any key or tap (to the screen underneath, or to the main menu when
// nothing is underneath), so that every entry of the main menu can be tried without trapping the
// player.
#pragma once

#include "ui/Screen.h"

class CStandInScreen : public CScreen {
public:
    explicit CStandInScreen(const char* name) : name_(name) {}

    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Draw() override;
    u32 OnKey(u32 key) override;
    u32 OnPen(i32 px, i32 py, u32 down, u32 moving) override;

    const char* Name() const { return name_; }

private:
    u32 Back() const;
    const char* name_;
};
