// A long export watched at a real window: the question answered is gone
// from the screen while the users are written, the progress bar moves,
// keys pressed meanwhile are handled once the export is over, the close
// button ends the terminal after it, and a display that goes away ends the
// terminal at once with its message.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#if defined(QUILLON_X11_TEST)
#include "core/ProcessExit.h"
#include "tests/core_startup/XDisplaySupport.h"
#endif

namespace {

#if defined(QUILLON_X11_TEST)

constexpr char kQuestion[] = "message box: Export fingerprints too?\n";

class WindowExportTest : public ProgramTest {
protected:
    // `users` users with a template each; the terminal started in a window
    // on the Users Out page, its button focused.
    void OpenExportPage(int users) {
        CString fill;
        fill.Format(u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %d) "
                    u"SELECT n, '', 'user' || n, '0', '', 1, 6, '', 0, '', 0, 1 FROM s",
                    users);
        Execute(fill);
        Execute(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
        if (!display.Start(root.HostPath("xvfb.err"))) GTEST_SKIP() << display.Why();
        ASSERT_TRUE(terminal.Start({"--root", root.Host(), "--window", "--simulate-io"}, errorsPath));
        ASSERT_TRUE(terminal.FindWindow(20)) << "no window named Terminal on " << display.Name();
        ASSERT_TRUE(WaitUntil([this] { return Log().find("main window ready") != std::string::npos; }, 30));
        // No administrator yet: the menu opens at once. Data, Export, Users
        // Out; Down goes from the storage choice to the button.
        for (KeySym key : {XK_m, XK_Right, XK_Right, XK_Return, XK_Right, XK_Right, XK_Return, XK_Return, XK_Down})
            terminal.Key(key);
        Pause(800);
    }
    // Presses Export and answers the question with Enter once it shows.
    void StartExport() {
        terminal.Key(XK_Return);
        ASSERT_TRUE(WaitUntil([this] { return Errors().find(kQuestion) != std::string::npos; }, 10)) << Errors();
        Pause(300);
        questionShown = terminal.Screen();
        terminal.Key(XK_Return);
    }
    std::string Errors() const { return ReadHost(errorsPath); }
    static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    const std::string errorsPath = root.HostPath("terminal.err");
    VirtualDisplay display;
    TerminalWindow terminal{display};
    Surface questionShown;
};

// The smallest rectangle holding every pixel where the two pictures differ.
RECT Differences(const Surface& a, const Surface& b) {
    RECT box{a.Width(), a.Height(), 0, 0};
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y))
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
    return box;
}

TEST_F(WindowExportTest, SecondsIntoAnExportOf5000UsersTheQuestionIsGoneAndTheBarMoves) {
    OpenExportPage(5000);
    const Surface page = terminal.Screen();
    StartExport();
    // Each user takes 5 ms: the export runs for half a minute.
    Pause(1500);
    const Surface early = terminal.Screen();
    ASSERT_EQ(terminal.Wait(2), -1) << "the export is still running:\n" << Errors();
    const Surface later = terminal.Screen();

    const RECT bar = Differences(early, later);
    EXPECT_LT(bar.left, bar.right) << "the bar moved between the two pictures";
    EXPECT_LT(bar.bottom - bar.top, 30) << "only the bar changed";
    // Where the question covered the page, the page shows again, but for
    // the rows of the bar.
    int covered = 0, stillCovered = 0;
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x) {
            if (questionShown.At(x, y) == page.At(x, y) || (y >= bar.top && y < bar.bottom)) continue;
            ++covered;
            if (early.At(x, y) != page.At(x, y)) ++stillCovered;
        }
    EXPECT_GT(covered, 5000) << "the question covered the page";
    EXPECT_EQ(stillCovered, 0) << "pixels of the answered question left on the screen";

    // The display goes away in the middle of the export: the terminal ends
    // at once, saying why.
    display.Kill();
    EXPECT_EQ(terminal.Wait(10), static_cast<int>(kExitCannotStart)) << Errors();
    EXPECT_NE(Errors().find("has gone away"), std::string::npos) << Errors();
}

TEST_F(WindowExportTest, AKeyPressedDuringAnExportIsHandledAfterItAndTheCloseButtonEndsTheTerminalAfterIt) {
    // Two files of 200 records: a second or two at 5 ms a record.
    OpenExportPage(200);
    const Surface page = terminal.Screen();
    StartExport();
    // ESC closes the notice that comes when the export is over.
    Pause(300);
    terminal.Key(XK_Escape);
    ASSERT_TRUE(WaitUntil([this] { return Errors().find("message box: Export done") != std::string::npos; }, 20))
        << Errors();
    Pause(800);
    const RECT bar = Differences(page, terminal.Screen());
    EXPECT_LT(bar.bottom - bar.top, 30) << "the notice was closed by the key; the page shows the bar at 100%";

    // The close button, pressed during the next export, ends the terminal
    // normally once the export is over: both files are written whole.
    std::filesystem::remove(root.HostPath("NandFlash/zeta42/1/Bak.zw"));
    StartExport();
    Pause(300);
    terminal.Close();
    EXPECT_EQ(terminal.Wait(20), static_cast<int>(kExitNormal)) << Errors();
    EXPECT_EQ(std::filesystem::file_size(root.HostPath("NandFlash/zeta42/1/Bak.zw")), 3u + 200u * 344u);
}

#else

TEST(WindowExportTest, SecondsIntoAnExportOf5000UsersTheQuestionIsGoneAndTheBarMoves) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

TEST(WindowExportTest, AKeyPressedDuringAnExportIsHandledAfterItAndTheCloseButtonEndsTheTerminalAfterIt) {
    GTEST_SKIP() << "built without the X11 and XTest headers (packages libx11-dev, libxtst-dev)";
}

#endif

}  // namespace
#endif
