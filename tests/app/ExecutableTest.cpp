// Runs the real game executable: without its interface database it must say which file is missing
// and fail; under an X server its window must have the start-up layout's title and client size and
// end with status 0 when a window manager asks it to close.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <csignal>
#include <thread>

#include "tests/app/InterfaceData.h"
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
                          "' VANTREL_WINDOW=headless '" + exe + "' 2>'" + dir.File("stderr.txt") + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    std::string err = ReadFile(dir.File("stderr.txt"));
    EXPECT_NE(err.find("VantrelData"), std::string::npos) << err;
    // With no window to show a message in, the one terminal line is all the user gets: it says where
    // the file was looked for and how to make it.
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(dir.Path()), std::string::npos) << err;
    EXPECT_NE(err.find("vantrel_content --out"), std::string::npos) << err;
}

#if VANTREL_HAVE_X11
namespace {

// The process id that a top-level window carries in _NET_WM_PID, or 0.
unsigned long WindowPid(Display* display, Window window) {
    Atom property = XInternAtom(display, "_NET_WM_PID", True);
    if (property == None) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    unsigned long pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr && format == 32 && count == 1)
        pid = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return pid;
}

// Windows of other tests on the same server come and go while the tree is walked; a request about one
// that vanished must not end the test.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// Finds the window of one process below the root, so that games of other test runs on the same X
// server are never touched.
Window FindWindowOf(Display* display, Window root, pid_t pid) {
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (WindowPid(display, children[i]) == static_cast<unsigned long>(pid)) found = children[i];
        if (found == 0) found = FindWindowOf(display, children[i], pid);
    }
    if (children) XFree(children);
    return found;
}

std::string WindowTitle(Display* display, Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The game process of one test: killed and reaped when the test ends early, and killed by the kernel
// should the test process itself die, so that no game outlives its test.
class GameProcess {
public:
    bool Start(const std::string& exe, const std::string& folder) {
        pid_ = fork();
        if (pid_ != 0) return pid_ > 0;
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(folder.c_str()) != 0) _exit(127);
        // The game's output goes to files, never into the pipes of the test runner.
        int out = open("game-output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
            close(out);
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_CONFIG_HOME", (folder + "config").c_str(), 1);
        // A sanitizer build of the game counts the connection that the system's D-Bus library keeps
        // for the whole process as a leak; it is not the game's.
        if (FILE* f = std::fopen("lsan-suppressions.txt", "w")) {
            std::fputs("leak:libdbus-1.so\n", f);
            std::fclose(f);
            setenv("LSAN_OPTIONS", "suppressions=lsan-suppressions.txt", 1);
        }
        unsetenv("VANTREL_WINDOW");
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Polls for the process's end for up to `ms` milliseconds of real time.
    bool WaitExit(int ms) {
        for (int waited = 0; pid_ > 0; waited += 50) {
            if (waitpid(pid_, &status_, WNOHANG) == pid_) {
                pid_ = 0;
                return true;
            }
            if (waited >= ms) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return true;
    }
    bool Running() { return pid_ > 0 && !WaitExit(0); }
    ~GameProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status_, 0);
        }
    }
    pid_t Pid() const { return pid_; }
    int ExitStatus() const { return status_; }

private:
    pid_t pid_ = 0;
    int status_ = 0;
};

}  // namespace

TEST(Executable, OpensItsWindowUnderXAndClosesWithStatusZero) {
    const char* displayName = std::getenv("DISPLAY");
    if (displayName == nullptr || *displayName == 0) {
        if (std::getenv("VANTREL_REQUIRE_DISPLAY"))
            FAIL() << "VANTREL_REQUIRE_DISPLAY is set but there is no DISPLAY";
        GTEST_SKIP() << "no X display";
    }
    testing_support::TempDir dir;
    std::string exe = CopyExecutable(dir);
    ASSERT_TRUE(app_test::WriteInterfaceData(dir.Path()));

    GameProcess game;
    ASSERT_TRUE(game.Start(exe, dir.Path()));
    pid_t pid = game.Pid();
    // Opened after the fork, so that the game does not inherit the connection.
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(IgnoreXErrors);

    // The process needs real time to start, more on a loaded machine: poll for its window.
    Window window = 0;
    for (int waited = 0; waited < 60000 && window == 0; waited += 50) {
        ASSERT_TRUE(game.Running()) << "the game ended before its window appeared:\n"
                                    << ReadFile(dir.File("game-output.txt"));
        window = FindWindowOf(display, DefaultRootWindow(display), pid);
        if (window == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(window, 0u) << "no window of the game appeared";

    // The title is set right after creation; give the server a moment to show it.
    std::string title;
    for (int waited = 0; waited < 5000 && title != "Vantrel - 800x600 PPC HPC"; waited += 50) {
        title = WindowTitle(display, window);
        if (title != "Vantrel - 800x600 PPC HPC") std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(title, "Vantrel - 800x600 PPC HPC");

    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, 800);
    EXPECT_EQ(attributes.height, 584);
    // Not resizable: the size hints pin the client area.
    XSizeHints hints{};
    long supplied = 0;
    if (XGetWMNormalHints(display, window, &hints, &supplied) && (hints.flags & PMinSize) &&
        (hints.flags & PMaxSize)) {
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
    XCloseDisplay(display);

    ASSERT_TRUE(game.WaitExit(30000)) << "the game did not end after the close request:\n"
                                      << ReadFile(dir.File("game-output.txt"));
    ASSERT_TRUE(WIFEXITED(game.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(game.ExitStatus()), 0) << ReadFile(dir.File("game-output.txt"));

    // The first run left every setting in the settings file.
    std::string settings = ReadFile(dir.File("config/vantrel/settings.txt"));
    for (const char* name :
         {"StartMode", "Key1", "Key12", "LKey12", "RKey12", "SoundVolume", "MusicVolume", "ViewSize",
          "LViewSize", "RViewSize", "WorldID00", "WorldID19Active", "StartView"})
        EXPECT_NE(settings.find(name), std::string::npos) << name << " missing from:\n" << settings;
}
#endif
