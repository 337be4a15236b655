// The window back end in this process, on a virtual X server: a request
// the X server refuses is logged and the window goes on; the window
// destroyed by another program is taken as its close button, once, and the
// back end then ends without Xlib ending the process; a connection the
// server cut ends the program at once.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include <optional>

#include "platform/base/debug.h"
#include "tests/core_startup/XDisplaySupport.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

// The process's environment names the virtual display alone while the test
// runs, and no session bus: SDL would reach for one, and the bus library
// keeps memory of that past SDL's end, which the leak checker counts.
class OnDisplay {
public:
    explicit OnDisplay(const std::string& name) {
        for (const char* variable : kVariables) {
            const char* value = std::getenv(variable);
            m_saved.emplace_back(variable, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(variable);
        }
        setenv("DISPLAY", name.c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    }
    ~OnDisplay() {
        for (const auto& [variable, value] : m_saved) {
            if (value)
                setenv(variable, value->c_str(), 1);
            else
                unsetenv(variable);
        }
    }

private:
    static constexpr const char* kVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER",
                                                 "DBUS_SESSION_BUS_ADDRESS"};
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

size_t RefusalsLogged(uint64_t since) {
    size_t lines = 0;
    for (const JournalEntry& entry : JournalRead(kJournalDebug, since))
        lines += entry.text.find(u"X server refused request") != std::u16string::npos;
    return lines;
}

using WindowXErrorsTest = ProgramTest;

TEST_F(WindowXErrorsTest, ARefusedRequestIsLoggedAndTheDestroyedWindowIsItsClose) {
    VirtualDisplay display;
    if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
    OnDisplay onDisplay(display.Name());
    int closes = 0;
    SetDisplayCloseHandler([&closes] { ++closes; });
    std::string why;
    std::unique_ptr<DisplayBackend> backend = MakeSdlBackend(&why);
    ASSERT_NE(backend, nullptr) << why;
    const auto showAndLook = [&backend] {
        backend->Present(ScreenSurface());
        backend->PumpEvents();
    };

    // Xlib's error handler is the process's: a request of the test's own
    // connection refused (no such pixmap) comes to the back end's.
    const uint64_t since = JournalLastSequence();
    XFreePixmap(display.X(), 0x7);
    XSync(display.X(), False);
    showAndLook();
    EXPECT_EQ(RefusalsLogged(since), 1u);
    EXPECT_EQ(closes, 0) << "a refused request is no close";

    TerminalWindow window(display);
    ASSERT_TRUE(window.FindWindow(10));
    window.Destroy();
    EXPECT_TRUE(WaitUntil(
        [&] {
            showAndLook();
            return closes > 0;
        },
        10));
    showAndLook();
    EXPECT_EQ(closes, 1) << "taken as one close";
    EXPECT_EQ(RefusalsLogged(since), 1u) << "the drawings refused on the destroyed window go unlogged";
    backend.reset();
    SetDisplayCloseHandler(nullptr);
}

// After a cut connection SDL would go on with the dead connection's empty
// answers (a keyboard map of nothing), which it takes for real ones: the
// program ends inside the call that found the cut, and never as a close
// seen later. The child cuts its own window's connection, then draws and
// looks at its events as the terminal's loop does.
TEST_F(WindowXErrorsTest, ACutConnectionEndsTheProgramInsideTheCallThatFindsIt) {
    constexpr int kEndedAtTheCut = 42, kEndedAsAClose = 43, kNoWindow = 44, kNotEnded = 45;
    VirtualDisplay display;
    if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
    OnDisplay onDisplay(display.Name());
    EXPECT_EXIT(
        {
            SetDisplayCutHandler([] { std::_Exit(kEndedAtTheCut); });
            SetDisplayCloseHandler([] { std::_Exit(kEndedAsAClose); });
            std::string why;
            std::unique_ptr<DisplayBackend> backend = MakeSdlBackend(&why);
            TerminalWindow window(display);
            if (backend == nullptr || !display.ConnectAnew() || !window.FindWindow(10)) std::_Exit(kNoWindow);
            window.Kill();
            for (int i = 0; i < 1000; ++i) {
                backend->Present(ScreenSurface());
                backend->PumpEvents();
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            std::_Exit(kNotEnded);
        },
        ::testing::ExitedWithCode(kEndedAtTheCut), "");
}

#else

TEST(WindowXErrorsTest, ARefusedRequestIsLoggedAndTheDestroyedWindowIsItsClose) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowXErrorsTest, ACutConnectionEndsTheProgramInsideTheCallThatFindsIt) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
