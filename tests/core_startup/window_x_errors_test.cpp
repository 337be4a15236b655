// The window back end in this process, on a virtual X server: a request
// the X server refuses is logged and the window goes on; the window
// destroyed by another program is taken as its close button, once, and the
// back end then ends without Xlib ending the process.
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

#else

TEST(WindowXErrorsTest, ARefusedRequestIsLoggedAndTheDestroyedWindowIsItsClose) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
