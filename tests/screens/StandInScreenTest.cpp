#include <gtest/gtest.h>

#include "app/Game.h"
#include "screens/frontend/StandInScreen.h"

TEST(StandInScreen, AnyKeyOrTapGoesBackUnderneathOrToTheMenu) {
    struct Case {
        const char* what;
        bool pen, below;
        u32 key, down, moving;
        u32 expected;
    } cases[] = {
        {"key, a screen below", false, true, kCommandUse, 0, 0, kScreenBack},
        {"key, nothing below", false, false, kCommandCancel, 0, 0, kScreenMainMenu},
        {"no key", false, true, 0, 0, 0, kScreenStay},
        {"tap, a screen below", true, true, 0, 1, 0, kScreenBack},
        {"tap, nothing below", true, false, 0, 1, 0, kScreenMainMenu},
        {"drag", true, true, 0, 1, 1, kScreenStay},
        {"release", true, false, 0, 0, 0, kScreenStay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGame game;
        game.screenStack = std::make_unique<CPointerArray>();
        CPointerArray& stack = *game.screenStack;
        CStandInScreen below("Below"), screen("Settings");
        screen.Attach(&game);
        if (c.below) stack.Add(&below);
        screen.Enter(0, 0, 0, 0);
        EXPECT_EQ(c.pen ? screen.OnPen(10, 10, c.down, c.moving) : screen.OnKey(c.key), c.expected);
        stack.RemoveAll();
    }
}
