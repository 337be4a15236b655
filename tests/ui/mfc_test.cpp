// The class library: subclassing order, modal dialogs, pre-translation and
// reflection of notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/afxwin.h"
#include "platform/ui/display.h"
#include "tests/support/ui_session.h"

namespace {

constexpr int kOkButton = IDOK;
constexpr int kLabel = 1001;
constexpr int kOther = 1002;

const DialogTemplate kTwoControls{
    501,
    WS_POPUP | DS_CENTER,
    0,
    0,
    200,
    100,
    u"Test",
    {
        {kLabel, WC_STATIC, u"Label", SS_NOTIFY, 10, 10, 80, 20},
        {kOkButton, WC_BUTTON, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 10, 50, 60, 24},
        {kOther, WC_BUTTON, u"Other", BS_PUSHBUTTON | WS_TABSTOP, 100, 50, 60, 24},
    },
};
const DialogTemplateEntry kRegistered(kTwoControls);

class MfcTest : public ::testing::Test {
protected:
    // A page under the test's dialog, with `field` on it holding the focus.
    static void OpenPage(CWnd& page, CButton& field) {
        ASSERT_TRUE(page.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
        ASSERT_TRUE(field.Create(u"field", WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 50, 20), &page, 7));
        field.SetFocus();
    }

    UiSession session;
};

struct Journal {
    std::vector<std::string> lines;
    void Add(const std::string& line) { lines.push_back(line); }
};

class RecordingDialog : public CDialog {
public:
    RecordingDialog(Journal& journal, CWnd* parent = nullptr) : CDialog(501u, parent), m_journal(journal) {}

    void PreSubclassWindow() override {
        m_journal.Add(std::string("presubclass children=") + (::GetWindow(m_hWnd, GW_CHILD) ? "yes" : "no"));
        CDialog::PreSubclassWindow();
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (m_firstMessage == 0) m_firstMessage = message;
        return CDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        m_journal.Add(std::string("init visible=") + (IsWindowVisible() ? "yes" : "no") +
                      " ownerEnabled=" + (owner && ::IsWindowEnabled(owner) ? "yes" : "no"));
        return TRUE;
    }
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kLabel, m_label); }

    class Label : public CStatic {
    public:
        void PreSubclassWindow() override { ++presubclassed; }
        int presubclassed = 0;
    } m_label;
    UINT m_firstMessage = 0;

private:
    Journal& m_journal;
};

TEST_F(MfcTest, DialogIsSubclassedBeforeItsControlsAndShownAfterInit) {
    Journal journal;
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    RecordingDialog dialog(journal, &owner);
    session.RunWhenIdle({"key ESC", "quit"});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(journal.lines, (std::vector<std::string>{"presubclass children=no", "init visible=no ownerEnabled=no"}));
    EXPECT_EQ(dialog.m_firstMessage, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(dialog.m_label.presubclassed, 1);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(MfcTest, ModalLoopReturnsTheButtonsResult) {
    Journal journal;
    RecordingDialog dialog(journal);
    // The dialog is centred on the screen: its OK button at (60+10, 70+50).
    session.RunWhenIdle({"tap 75 125", "quit"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(MfcTest, FocusReturnsToTheOwnersControlWhenTheDialogEnds) {
    CWnd page;
    CButton field;
    OpenPage(page, field);
    Journal journal;
    RecordingDialog dialog(journal, &page);
    session.RunWhenIdle({"key ENTER", "quit"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(::GetFocus(), field.m_hWnd);
}

// Closes itself through a posted request on F3's key-down and lets the
// key go on, recording the key messages it sees.
class ClosingOnKeyDialog : public CDialog {
public:
    static constexpr UINT kCloseRequest = WM_USER + 100;
    explicit ClosingOnKeyDialog(CWnd* parent) : CDialog(501u, parent) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->wParam == VK_F3 && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
            seen.push_back(msg->message);
            PostMessage(kCloseRequest);
        }
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kCloseRequest) {
            EndDialog(IDOK);
            return 1;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> seen;
};

class KeyUpRecorder : public CButton {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYUP) keyUps.push_back(static_cast<UINT>(wParam));
        return CButton::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> keyUps;
};

// A quick press queues the key-down and the key-up together: the dialog's
// own close request still comes before the key-up, so the key-up reaches
// the window below, as it does when the key is held.
TEST_F(MfcTest, TheKeyUpAfterTheMessageThatEndsAModalLoopReachesTheWindowBelow) {
    CWnd page;
    KeyUpRecorder field;
    OpenPage(page, field);
    ClosingOnKeyDialog dialog(&page);
    session.RunWhenIdle({"key F3", "quit"});
    EXPECT_EQ(dialog.DoModal(), IDOK);
    session.Pump();
    EXPECT_EQ(dialog.seen, std::vector<UINT>{WM_KEYDOWN});
    EXPECT_EQ(field.keyUps, std::vector<UINT>{VK_F3});
}

class Walker : public CWnd {
public:
    Walker(std::vector<std::string>& seen, std::string name, bool consume)
        : m_seen(seen), m_name(std::move(name)), m_consume(consume) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) m_seen.push_back(m_name);
        return m_consume && msg->message == WM_KEYDOWN;
    }
    void OnKeyDown(UINT, UINT, UINT) override { m_seen.push_back(m_name + " handled"); }

private:
    std::vector<std::string>& m_seen;
    std::string m_name;
    bool m_consume;
};

TEST_F(MfcTest, PreTranslateWalksFromTheTargetUpToTheTopLevelWindow) {
    std::vector<std::string> seen;
    Walker owner(seen, "owner", false), top(seen, "top", false), middle(seen, "middle", false),
        target(seen, "target", false);
    ASSERT_TRUE(owner.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    ASSERT_TRUE(top.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, owner.m_hWnd, nullptr));
    ASSERT_TRUE(middle.Create(WC_STATIC, u"", WS_VISIBLE, CRect(0, 0, 100, 100), &top, 1));
    ASSERT_TRUE(target.Create(WC_STATIC, u"", WS_VISIBLE, CRect(0, 0, 50, 50), &middle, 2));
    target.SetFocus();
    session.Run("keydown 1");
    EXPECT_EQ(seen, (std::vector<std::string>{"target", "middle", "top", "target handled"}));

    seen.clear();
    Walker consumer(seen, "consumer", true);
    Walker inner(seen, "inner", false);
    ASSERT_TRUE(consumer.Create(WC_STATIC, u"", WS_VISIBLE, CRect(0, 0, 100, 100), &top, 3));
    ASSERT_TRUE(inner.Create(WC_STATIC, u"", WS_VISIBLE, CRect(0, 0, 50, 50), &consumer, 4));
    inner.SetFocus();
    session.Run("keydown 2");
    EXPECT_EQ(seen, (std::vector<std::string>{"inner", "consumer"}));
}

class NotifyingButton : public CButton {
public:
    explicit NotifyingButton(BOOL consume) : m_consume(consume) {}
    BOOL OnReflectedCommand(UINT code) override {
        codes.push_back(code);
        return m_consume;
    }
    HBRUSH CtlColor(CDC*, UINT type) override {
        ctlColors.push_back(type);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override { drawn.push_back(item->itemState); }
    std::vector<UINT> codes;
    std::vector<UINT> ctlColors;
    std::vector<UINT> drawn;

private:
    BOOL m_consume;
};

class NotifiedParent : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type) override {
        ++parentCtlColors;
        return CWnd::OnCtlColor(dc, wnd, type);
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) override { ++parentDraws; }
    std::vector<int> commands;
    int parentCtlColors = 0;
    int parentDraws = 0;
};

TEST_F(MfcTest, NotificationsReachTheControlObjectBeforeItsParent) {
    NotifiedParent parent;
    ASSERT_TRUE(parent.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    NotifyingButton passes(FALSE), keeps(TRUE);
    ASSERT_TRUE(passes.Create(u"a", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 11));
    ASSERT_TRUE(keeps.Create(u"b", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 30, 50, 50), &parent, 12));
    session.Pump();
    session.Run("tap 10 10");
    session.Run("tap 10 40");
    EXPECT_EQ(passes.codes, (std::vector<UINT>{BN_CLICKED}));
    EXPECT_EQ(keeps.codes, (std::vector<UINT>{BN_CLICKED}));
    EXPECT_EQ(parent.commands, (std::vector<int>{11})) << "the keeping control hid its click from the parent";
    EXPECT_FALSE(passes.ctlColors.empty());
    EXPECT_EQ(passes.ctlColors[0], static_cast<UINT>(CTLCOLOR_BTN));
    EXPECT_EQ(parent.parentCtlColors, 0);
    ASSERT_FALSE(keeps.drawn.empty());
    EXPECT_EQ(parent.parentDraws, 0);
    // The tap gave the owner-drawn button the focus; the paint after the
    // lift shows it focused and no longer pushed.
    EXPECT_EQ(keeps.drawn.back() & (ODS_FOCUS | ODS_SELECTED), static_cast<UINT>(ODS_FOCUS));
}

class TimedWindow : public CWnd {
public:
    void OnTimer(UINT_PTR id) override { ticks.push_back(id); }
    std::vector<UINT_PTR> ticks;
};

TEST_F(MfcTest, HandlersAreVirtualAndDefaultReachesTheStockProcedure) {
    TimedWindow timed;
    ASSERT_TRUE(timed.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 0, 0, 100, 100, nullptr, nullptr));
    timed.SetTimer(1234, 400);
    session.Run("wait 900");
    EXPECT_EQ(timed.ticks, (std::vector<UINT_PTR>{1234, 1234}));
    EXPECT_EQ(::SendMessageW(timed.m_hWnd, WM_NCHITTEST, 0, 0), HTCLIENT) << "the static's own answer";
    EXPECT_TRUE(timed.ModifyStyle(SS_NOTIFY, 0));
    EXPECT_EQ(::SendMessageW(timed.m_hWnd, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_FALSE(timed.ModifyStyle(SS_NOTIFY, 0)) << "nothing changed";
}

TEST_F(MfcTest, TemporaryObjectsForWindowsWithoutOne) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    HWND child = ::CreateWindowExW(0, WC_STATIC, u"x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(5), nullptr, nullptr);
    CWnd* temp = parent.GetDlgItem(5);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, child);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
    EXPECT_EQ(temp->GetParent(), &parent);
    CString text;
    temp->GetWindowText(text);
    EXPECT_EQ(text, CString(u"x"));
}

TEST(RuntimeClass, NamesAndAncestry) {
    CDialog dialog;
    EXPECT_STREQ(dialog.GetRuntimeClass()->m_lpszClassName, "CDialog");
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CButton)));
}

}  // namespace

namespace {

class CenteredDialog : public CDialog {
public:
    CenteredDialog() : CDialog(501u) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CenterWindow();
        GetWindowRect(&placed);
        owner = ::GetWindow(m_hWnd, GW_OWNER);
        return TRUE;
    }
    CRect placed;
    HWND owner = nullptr;
};

TEST_F(MfcTest, DialogWithoutParentBelongsToTheMainWindowsLastActivePopup) {
    CWinApp app;
    CWnd mainWindow;
    ASSERT_TRUE(mainWindow.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    app.m_pMainWnd = &mainWindow;
    // A control panel owned by the main window, shrunk above a task bar.
    CWnd panel;
    ASSERT_TRUE(panel.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200, mainWindow.m_hWnd, nullptr));
    panel.SetFocus();
    EXPECT_EQ(::GetLastActivePopup(mainWindow.m_hWnd), panel.m_hWnd);
    CenteredDialog dialog;
    session.RunWhenIdle({"key ESC", "quit"});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.owner, panel.m_hWnd);
    EXPECT_EQ(dialog.placed, CRect(60, 50, 260, 150)) << "centred on the 320 x 200 panel";
    app.m_pMainWnd = nullptr;
}

}  // namespace

namespace {

class PaintedWindow : public CWnd {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        paintBox = CRect(dc.m_ps.rcPaint);
        dc.FillSolidRect(0, 0, 100, 100, RGB(200, 0, 0));
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    CRect paintBox;
};

TEST_F(MfcTest, PaintAndClientDCsDrawIntoTheWindowOnTheScreen) {
    PaintedWindow wnd;
    ASSERT_TRUE(wnd.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 50, 60, 100, 100, nullptr, nullptr));
    session.Pump();
    EXPECT_EQ(wnd.paintBox, CRect(0, 0, 100, 100));
    EXPECT_EQ(ScreenSurface().At(55, 65) & 0xFFFFFF, PixelFromColorRef(RGB(200, 0, 0)));
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 200));
        dc.FillSolidRect(-50, -50, 20, 20, RGB(0, 200, 0));  // outside the window: clipped
    }
    EXPECT_EQ(ScreenSurface().At(50, 60) & 0xFFFFFF, PixelFromColorRef(RGB(0, 0, 200)));
    EXPECT_EQ(ScreenSurface().At(10, 20) & 0xFFFFFF, 0u);
    // A partial invalidation paints only that part.
    CRect part(10, 10, 20, 20);
    wnd.InvalidateRect(part, FALSE);
    session.Pump();
    EXPECT_EQ(wnd.paintBox, part);
    EXPECT_EQ(ScreenSurface().At(50, 60) & 0xFFFFFF, PixelFromColorRef(RGB(0, 0, 200))) << "outside the update region";
}

}  // namespace
