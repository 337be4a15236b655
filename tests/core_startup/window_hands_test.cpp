// The sensor and the card reader under a person's hand at a real window: a
// new user is added from the enrolment page with a card shown by Ctrl+K,
// made an administrator, and enrolled with a finger chosen by Ctrl+N and
// pressed with Space; his finger then opens the control panel while
// another sample's finger is refused. '#' typed as Shift+3 with Shift let
// go first opens the on-screen keyboard.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include "core/ProcessExit.h"
#include "tests/core_startup/XDisplaySupport.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

class WindowHandsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
        ASSERT_TRUE(terminal.Start({"--root", root.Host(), "--window", "--simulate-io"}, errorsPath));
        ASSERT_TRUE(terminal.FindWindow(20)) << "no window named Terminal on " << display.Name();
        ASSERT_TRUE(WaitUntil([this] { return Log().find("main window ready") != std::string::npos; }, 30));
    }
    std::string Errors() const { return ReadHost(errorsPath); }
    // Waits for standard error to say `text` (a message box, mostly).
    ::testing::AssertionResult Says(const std::string& text, int seconds = 10) const {
        if (WaitUntil([&] { return Errors().find(text) != std::string::npos; }, seconds))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "standard error never said \"" << text << "\":\n" << Errors();
    }
    ::testing::AssertionResult TitleSays(const std::string& text) const {
        if (WaitUntil([&] { return terminal.Title().find(text) != std::string::npos; }, 5))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the title is \"" << terminal.Title() << "\", not with \"" << text
                                             << "\"";
    }
    // Space held for a while: the finger lies on the sensor, then is lifted.
    void PressFinger() const {
        terminal.Hold(XK_space, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
        terminal.Hold(XK_space, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
    }
    static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    const std::string errorsPath = root.HostPath("terminal.err");
    VirtualDisplay display;
    TerminalWindow terminal{display};
};

TEST_F(WindowHandsTest, AFingerEnrolledAtTheWindowOpensThePanelAndAnotherSamplesFingerIsRefused) {
    EXPECT_TRUE(TitleSays("no finger chosen"));
    // No administrator yet: the menu key opens the panel, Enroll FP is the
    // first icon; an unknown ID offers the Add User page.
    terminal.Key(XK_m);
    Pause(600);
    terminal.Key(XK_Return);
    Pause(600);
    // The hands' keys in the ID field type nothing there: the ID stays "5".
    terminal.Key(XK_1, true);
    EXPECT_TRUE(TitleSays("finger smudge.bmp"));
    terminal.Key(XK_space);
    terminal.Key(XK_5);
    terminal.Key(XK_k, true);
    terminal.Key(XK_Return);
    ASSERT_TRUE(Says("message box: ID not found. Add a new user?\n"));
    terminal.Key(XK_Return);
    Pause(800);

    // The card reader: the next card of samples/cards.txt (the second: the
    // first went by on the enrolment page, which takes no card).
    terminal.Key(XK_k, true);
    EXPECT_TRUE(TitleSays("card 00D4E5F6"));
    Pause(1500);
    // Name, password, department, administrator: Yes; Esc stores the user
    // and goes back to the enrolment.
    for (int i = 0; i < 3; ++i) terminal.Key(XK_Down);
    terminal.Key(XK_Right);
    terminal.Key(XK_Escape);
    EXPECT_TRUE(WaitUntil(
        [this] { return Count(u"SELECT count(*) FROM Userinfo WHERE Userid = '5' AND AdminFlag = 1") == 1; }, 10));
    EXPECT_EQ(Count(u"SELECT CardNo FROM Userinfo WHERE Userid = '5'"), 0x00D4E5F6)
        << "the card field holds the card shown";

    // Finger 0, two presses: the first two finger images of the samples.
    terminal.Key(XK_Return);
    Pause(600);
    terminal.Key(XK_2, true);
    EXPECT_TRUE(TitleSays("finger user1_finger0_press1.bmp"));
    PressFinger();
    terminal.Key(XK_3, true);
    EXPECT_TRUE(TitleSays("finger user1_finger0_press2.bmp"));
    PressFinger();
    terminal.Key(XK_Return);
    ASSERT_TRUE(Says("message box: Finger "));
    terminal.Key(XK_Return);
    EXPECT_TRUE(WaitUntil([this] { return Count(u"SELECT count(*) FROM FPinfo WHERE userid = '5'") == 1; }, 5));
    for (int i = 0; i < 3; ++i) {
        terminal.Key(XK_Escape);
        Pause(400);
    }

    // Another sample's finger on the sensor while the menu key asks.
    terminal.Key(XK_6, true);
    EXPECT_TRUE(TitleSays("finger user2_finger0_press1.bmp"));
    terminal.Hold(XK_space, true);
    terminal.Key(XK_m);
    EXPECT_TRUE(Says("message box: Only an administrator may open the menu\n"));
    terminal.Hold(XK_space, false);
    terminal.Key(XK_Return);
    Pause(600);

    // His own finger lets him in.
    terminal.Key(XK_2, true);
    terminal.Hold(XK_space, true);
    EXPECT_TRUE(TitleSays("on the sensor"));
    terminal.Key(XK_m);
    Pause(1500);
    terminal.Hold(XK_space, false);
    terminal.Key(XK_Right);
    // The panel's icons (the bar below them holds whichever hint came last).
    const Surface panelGrid = GoldenPicture("panel_grid");
    EXPECT_TRUE(WaitUntil([&] { return SameAboveTheBar(terminal.Screen(), panelGrid); }, 10));

    const std::string errors = Errors();
    size_t refusals = 0;
    for (size_t at = errors.find("Only an administrator"); at != std::string::npos;
         at = errors.find("Only an administrator", at + 1))
        ++refusals;
    EXPECT_EQ(refusals, 1u) << errors;
    terminal.Close();
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitNormal)) << Errors();
}

// The enrolment page's ID field: '#' opens the keyboard when it is
// released, however Shift and 3 come apart.
TEST_F(WindowHandsTest, HashTypedWithShiftLetGoFirstOpensTheKeyboard) {
    terminal.Key(XK_m);
    Pause(600);
    terminal.Key(XK_Return);
    Pause(800);
    const Surface page = terminal.Screen();
    terminal.Hold(XK_Shift_L, true);
    terminal.Hold(XK_3, true);
    terminal.Hold(XK_Shift_L, false);
    terminal.Hold(XK_3, false);
    const auto keyboardShows = [&] {
        const Surface now = terminal.Screen();
        int changed = 0;
        for (int y = 0; y < page.Height(); ++y)
            for (int x = 0; x < page.Width(); ++x) changed += now.At(x, y) != page.At(x, y);
        // The keyboard covers most of the screen.
        return changed > page.Width() * page.Height() / 3;
    };
    EXPECT_TRUE(WaitUntil(keyboardShows, 5)) << "the keyboard did not open";
    EXPECT_EQ(terminal.Wait(0), -1) << Errors();
}

#else

TEST(WindowHandsTest, AFingerEnrolledAtTheWindowOpensThePanelAndAnotherSamplesFingerIsRefused) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowHandsTest, HashTypedWithShiftLetGoFirstOpensTheKeyboard) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
