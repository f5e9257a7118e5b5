// Without any display the real executable must not fall back to an unseen window and run on: it says
// that there is no display and ends with a failure.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/InterfaceData.h"
#include "tests/support/TempDir.h"

TEST(NoDisplay, TheGameSaysSoAndEndsWithAFailure) {
    const std::string executable = std::string(VANTREL_BINARY_DIR) + "/vantrel";
    ASSERT_TRUE(std::filesystem::exists(executable));
    testing_support::TempDir dir;
    const std::string exe = dir.File("vantrel");
    std::filesystem::copy_file(executable, exe);
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));
    // `timeout` kills a game that runs on regardless (status 137).
    const std::string command =
        "cd '" + dir.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
        "-u VANTREL_WINDOW SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME='" + dir.File("config") +
        "' timeout -s KILL 30 '" + exe + "' 2>'" + dir.File("stderr.txt") + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(dir.File("stderr.txt"));
    std::stringstream err;
    err << in.rdbuf();
    ASSERT_TRUE(WIFEXITED(status)) << "the game did not end on its own:\n" << err.str();
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(WEXITSTATUS(status), 137) << "the game ran on unseen:\n" << err.str();
    EXPECT_NE(err.str().find("No display"), std::string::npos) << err.str();
}
