// Runs the real game executable: without its interface database it must say which file is missing
// and fail; under an X server its window must have the start-up layout's title and client size and
// end with status 0 when a window manager asks it to close.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/shell/InterfaceData.h"
#include "tests/support/TempDir.h"

#if VANTREL_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace {

const std::string kExecutable = std::string(VANTREL_BINARY_DIR) + "/vantrel";

// The executable copied into a fresh folder, which is then its program folder.
std::string CopyExecutable(const testing_support::TempDir& dir) {
    std::string copy = dir.File("vantrel");
    std::filesystem::copy_file(kExecutable, copy);
    return copy;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(Executable, WithoutTheInterfaceDatabaseItSaysWhichFileIsMissingAndFails) {
    ASSERT_TRUE(std::filesystem::exists(kExecutable));
    testing_support::TempDir dir;
    std::string exe = CopyExecutable(dir);
    std::string command = "cd '" + dir.Path() + "' && XDG_CONFIG_HOME='" + dir.File("config") +
                          "' VANTREL_WINDOW=headless '" + exe + "' 2>'" +
                          dir.File("stderr.txt") + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    std::string err = ReadFile(dir.File("stderr.txt"));
    EXPECT_NE(err.find("VantrelData"), std::string::npos) << err;
}

#if VANTREL_HAVE_X11
namespace {

// Other tests' windows on the same X server may vanish while the tree is walked; the default handler
// would end this process (and leave the game running) on the BadWindow that follows.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Finds a top-level window by its title below the root.
Window FindWindowNamed(Display* display, Window root, const std::string& title) {
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (title == name) found = children[i];
            XFree(name);
        }
        if (found == 0) found = FindWindowNamed(display, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

TEST(Executable, OpensItsWindowUnderXAndClosesWithStatusZero) {
    const char* displayName = std::getenv("DISPLAY");
    if (displayName == nullptr || *displayName == 0) {
        if (std::getenv("VANTREL_REQUIRE_DISPLAY")) FAIL() << "VANTREL_REQUIRE_DISPLAY is set but there is no DISPLAY";
        GTEST_SKIP() << "no X display";
    }
    testing_support::TempDir dir;
    std::string exe = CopyExecutable(dir);
    ASSERT_TRUE(shell_test::WriteInterfaceData(dir.Path()));

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(IgnoreXError);

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(dir.Path().c_str()) != 0) _exit(127);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        unsetenv("VANTREL_WINDOW");
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }

    // The process needs real time to start: poll for its window for up to 20 seconds.
    const std::string title = "Vantrel - 800x600 PPC HPC";
    Window window = 0;
    int status = 0;
    bool exited = false;
    for (int i = 0; i < 400 && window == 0; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
        window = FindWindowNamed(display, DefaultRootWindow(display), title);
        if (window == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_FALSE(exited) << "the game ended before its window appeared";
    if (window == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "no window titled \"" << title << "\"";
    }

    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, 800);
    EXPECT_EQ(attributes.height, 584);
    // Not resizable: the size hints pin the client area.
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(display, window, &hints, &supplied) && (hints.flags & PMinSize) && (hints.flags & PMaxSize)) {
        EXPECT_EQ(hints.min_width, hints.max_width);
        EXPECT_EQ(hints.min_height, hints.max_height);
    }

    // Close it the way a window manager does: a WM_DELETE_WINDOW client message.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);

    for (int i = 0; i < 400 && !exited; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            exited = true;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    XCloseDisplay(display);
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the game did not end after the close request";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // The first run left every setting in the settings file.
    std::string settings = ReadFile(dir.File("config/vantrel/settings.txt"));
    std::string listing;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        listing += entry.path().string() + "\n";
    EXPECT_FALSE(settings.empty()) << "no settings file among:\n" << listing;
    for (const char* name : {"StartMode", "Key1", "Key12", "LKey12", "RKey12", "SoundVolume", "MusicVolume",
                             "ViewSize", "LViewSize", "RViewSize", "WorldID00", "WorldID19Active"})
        EXPECT_NE(settings.find(name), std::string::npos) << name << " missing from:\n" << settings;
}
#endif
