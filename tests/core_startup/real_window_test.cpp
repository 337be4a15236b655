// The terminal in a real window: the SDL back end on a virtual X server
// that the test starts itself. A damaged database shows its message in the
// window, a key press on the X server answers it, and the program ends with
// the start-up failure status.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include "core/ProcessExit.h"
#include "platform/ui/display.h"
#include "tests/support/golden.h"

extern char** environ;
#endif

namespace {

#if defined(QUILLON_X11_TEST)

// A process the test started, ended and waited for when the test is done.
class Child {
public:
    // Starts `argv` with `environment`; `fd3`, when given, becomes the
    // child's descriptor 3, and its output goes to the file `errors` when
    // given.
    bool Start(const std::vector<std::string>& argv, char** environment, int fd3 = -1,
               const std::string& errors = "") {
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (fd3 >= 0) posix_spawn_file_actions_adddup2(&actions, fd3, 3);
        if (!errors.empty()) {
            posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_adddup2(&actions, 2, 1);
        }
        const bool started = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), environment) == 0;
        posix_spawn_file_actions_destroy(&actions);
        return started;
    }
    // The exit status once it has ended within `seconds`, else -1.
    int Wait(int seconds) {
        for (int i = 0; i < seconds * 20 && m_pid > 0; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    ~Child() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid = 0;
};

// The environment of this process with the display set to `display` and
// the other display variables removed.
std::vector<std::string> EnvironmentFor(const std::string& display) {
    std::vector<std::string> result = {"DISPLAY=" + display};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
            text.rfind("SDL_VIDEODRIVER=", 0) != 0)
            result.push_back(text);
    }
    return result;
}

Window FindTerminalWindow(Display* x, Window parent) {
    Window root = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(x, children[i], &name) && name != nullptr) {
            if (std::string(name).rfind("Terminal", 0) == 0) found = children[i];
            XFree(name);
        }
        if (found == 0) found = FindTerminalWindow(x, children[i]);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// The window's picture at the terminal's own size (the window shows each
// screen pixel as a 2 x 2 block).
bool ReadScreen(Display* x, Window window, Surface* screen) {
    XImage* image = XGetImage(x, window, 0, 0, kScreenWidth * 2, kScreenHeight * 2, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    *screen = Surface(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int xx = 0; xx < kScreenWidth; ++xx)
            screen->At(xx, y) = 0xFF000000u | (XGetPixel(image, xx * 2, y * 2) & 0xFFFFFFu);
    XDestroyImage(image);
    return true;
}

// A window that goes away while the test reads it is a failed look, not
// the end of the test program (Xlib's own handler exits).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

using RealWindowTest = ProgramTest;

// The display number the server chose and wrote to `fd`, empty when it
// says nothing within ten seconds.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd ready{fd, POLLIN, 0};
    char ch = 0;
    while (poll(&ready, 1, 10000) == 1 && read(fd, &ch, 1) == 1 && ch != '\n') number += ch;
    return number;
}

TEST_F(RealWindowTest, ADamagedDatabaseIsShownInTheWindowAndEnterEndsTheStart) {
    // The server picks a free display itself: other test runs may hold some.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    Child server;
    const bool started = server.Start({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                                      environ, pipeFds[1], root.HostPath("xvfb.err"));
    close(pipeFds[1]);
    const std::string number = started ? ReadDisplayNumber(pipeFds[0]) : "";
    close(pipeFds[0]);
    if (!started) GTEST_SKIP() << "the virtual X server (Xvfb, package xvfb) cannot be started";
    if (number.empty()) GTEST_SKIP() << "the virtual X server did not start: " << ReadHost(root.HostPath("xvfb.err"));
    const std::string display = ":" + number;
    XSetErrorHandler(IgnoreXError);
    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) GTEST_SKIP() << "the virtual X server on " << display << " accepts no connection";

    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "");
    std::vector<std::string> environment = EnvironmentFor(display);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    Child terminal;
    const std::string errors = root.HostPath("terminal.err");
    ASSERT_TRUE(terminal.Start({QUILLON_PROGRAM, "--root", root.Host(), "--window"}, envp.data(), -1, errors));

    // The window comes, then the box in it.
    Window window = 0;
    Surface screen;
    bool boxShown = false;
    for (int i = 0; i < 200 && !boxShown; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (window == 0) window = FindTerminalWindow(x, DefaultRootWindow(x));
        if (window == 0 || !ReadScreen(x, window, &screen)) continue;
        // The box is light grey across the middle of the screen.
        boxShown = (screen.At(160, 100) & 0xFFFFFF) == 0xC0C0C0 && (screen.At(30, 100) & 0xFFFFFF) == 0xC0C0C0;
    }
    ASSERT_NE(window, 0u) << "no window named Terminal on " << display;
    ASSERT_TRUE(boxShown) << "the message box did not appear in the window";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the box's text and button are drawn
    ASSERT_TRUE(ReadScreen(x, window, &screen));
    EXPECT_TRUE(MatchesGolden(SplashCalmRows(screen), "startup_system_box_damaged_database"));

    EXPECT_EQ(terminal.Wait(1), -1) << "the box waits for a person";

    // A person presses Enter on the window (the pointer over it: without a
    // window manager the keyboard follows the pointer).
    int left = 0, top = 0;
    Window child = 0;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
    XTestFakeMotionEvent(x, DefaultScreen(x), left + kScreenWidth, top + kScreenHeight, CurrentTime);
    const KeyCode enter = XKeysymToKeycode(x, XK_Return);
    XTestFakeKeyEvent(x, enter, True, CurrentTime);
    XTestFakeKeyEvent(x, enter, False, CurrentTime);
    XFlush(x);
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitStartFailed));
    XCloseDisplay(x);
    EXPECT_NE(ReadHost(errors).find("message box: Database has been damaged, please contact the administrator!\n"),
              std::string::npos)
        << ReadHost(errors);
}

#else

TEST(RealWindowTest, ADamagedDatabaseIsShownInTheWindowAndEnterEndsTheStart) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
