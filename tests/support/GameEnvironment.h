// What a test that runs the game changes in the process, put back when it ends: the program folder
// (a fresh temporary folder while the guard lives), the clock (a manual one, so time moves only when
// the test moves it) and the settings store (kept in memory).
#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

namespace testing_support {

class GameEnvironment {
public:
    GameEnvironment();
    ~GameEnvironment();
    GameEnvironment(const GameEnvironment&) = delete;
    GameEnvironment& operator=(const GameEnvironment&) = delete;

    // Copies the databases that the build writes into the program folder, as a new user finds them:
    // the interface database and, unless withWorlds is cleared first, the four world databases.
    // False, with a test failure, when the build folder lacks one.
    bool CopyBuiltDatabase();

    bool withWorlds = true;
    // And the builder's small additional world (VantrelEmber), which the start-up scan then lists.
    bool withAdditionalWorld = false;

    TempDir dir;
    plat::ManualClock clock;
    plat::MemorySettingsStore store;

private:
    std::string savedFolder_;
    plat::ScopedClock scopedClock_{clock};
    plat::ScopedSettings scopedStore_{store};
};

}  // namespace testing_support
