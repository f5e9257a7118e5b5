// A failed start-up is told on stderr and in a message box, also when the game window never came up,
// and the application then ends at once with a failure.
#include <gtest/gtest.h>

#include <string>

#include "app/GameApp.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/TempDir.h"

TEST(StartupReport, AFailureIsShownInAMessageBoxAndOnStderrWithOrWithoutTheWindow) {
    struct Case {
        const char* what;
        bool refuseWindow;
        const char* text;
    } cases[] = {
        {"no window", true, "Cannot create the game window"},
        {"no interface database", false, "\"VantrelData.pdb\" is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TempDir dir;
        const std::string savedFolder = plat::ProgramFolder();
        plat::SetProgramFolder(dir.Path());
        plat::ManualClock clock;
        plat::ScopedClock scopedClock{clock};
        plat::MemorySettingsStore store;
        plat::ScopedSettings scopedStore{store};

        const size_t boxesBefore = plat::HeadlessWindow::AllMessageBoxes().size();
        auto window = plat::CreateHeadlessWindow();
        window->RefuseCreate(c.refuseWindow);
        CGameApp app;
        testing::internal::CaptureStderr();
        const bool started = app.InitInstance(std::move(window));
        const std::string err = testing::internal::GetCapturedStderr();
        plat::SetProgramFolder(savedFolder);

        EXPECT_FALSE(started);
        EXPECT_NE(app.Error().find(c.text), std::string::npos) << app.Error();
        EXPECT_NE(err.find(c.text), std::string::npos) << err;
        const auto& boxes = plat::HeadlessWindow::AllMessageBoxes();
        ASSERT_EQ(boxes.size(), boxesBefore + 1);
        EXPECT_EQ(boxes.back().caption, "Vantrel");
        EXPECT_EQ(boxes.back().text, app.Error());
        // Nothing is left to run: the loop ends at once with a failure status.
        EXPECT_NE(app.Run(), 0);
    }
}
