// The skinned push button and the transparent icon button: keys, taps,
// focus and what they show.
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/SelectButton.h"
#include "widgets/TransButton.h"

namespace buttons_test {
namespace {

constexpr int kButtonId = 1601;
constexpr int kFieldId = 1602;
constexpr int kIconId = 1603;
constexpr int kIcon2Id = 1604;
const CRect kButtonRect(30, 40, 130, 63);

class ButtonsTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(button, kButtonId, kButtonRect.left, kButtonRect.top, kButtonRect.Width(),
                        kButtonRect.Height());
            p.AddWidget(field, kFieldId, 30, 80, 100, 23);
            AddIcon(p, icon, kIconId, 170, 40, u"ControlPanel\\ICON\\Identify.png");
            AddIcon(p, icon2, kIcon2Id, 240, 40, u"ControlPanel\\ICON\\Enroll.png");
        }));
        button.SetText(u"Save");
        field.SetText(u"Cancel");
        icon.SetText(u"Identify");
        icon2.SetText(u"Enroll");
        page.Invalidate();
        session.Pump();
    }
    void AddIcon(CWidgetTestPage& p, CTransButton& b, int id, int x, int y, const char16_t* image) {
        ::CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, y, 10, 10, p.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
        b.SubclassDlgItem(id, &p);
        b.SetImage(SkinPath(image));
        p.captures.push_back([&b, &p](CDC* dc) { b.CaptureBackground(&p, dc, 1); });
    }
    int EditEnters() const {
        int count = 0;
        for (const auto& [message, id] : page.registered)
            if (message == EditEnterMessage() && id == kButtonId) ++count;
        return count;
    }
    void Send(UINT message, WPARAM key) {
        MSG msg{button.m_hWnd, message, key, 0, 0, {}};
        if (!button.PreTranslateMessage(&msg)) button.SendMessage(message, key, 0);
    }

    CSelectButton button;
    CSelectButton field;
    CTransButton icon;
    CTransButton icon2;
};

TEST_F(ButtonsTest, HeldEnterSendsOneEditEnterOnRelease) {
    button.SetFocus();
    session.Run("keydown ENTER");
    session.Run("keydown ENTER");
    session.Run("keydown ENTER");
    EXPECT_EQ(EditEnters(), 0);
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 1);
    EXPECT_EQ(page.m_hWnd != nullptr && page.IsWindowVisible(), TRUE);  // the dialog saw no IDOK
}

TEST_F(ButtonsTest, EnterThatWentDownElsewhereSendsNothing) {
    field.SetFocus();
    session.Run("keydown ENTER");
    button.SetFocus();
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 0);
    Send(WM_CHAR, VK_RETURN);  // consumed, produces nothing
    EXPECT_EQ(EditEnters(), 0);
}

TEST_F(ButtonsTest, TapReachesThePageAsCommandCodeZero) {
    session.Run("tap 60 50");
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kButtonId, 0u}}));
}

// The page's window procedure, wrapped to read the screen when a tap
// reaches it.
WNDPROC g_pageProc = nullptr;
std::vector<Pixel> g_seenDuringTap;

std::vector<Pixel> ButtonRow() {
    std::vector<Pixel> row;
    for (int x = kButtonRect.left; x < kButtonRect.right; ++x)
        row.push_back(ScreenSurface().At(x, kButtonRect.top + 9) & 0xFFFFFF);
    return row;
}

LRESULT WatchingPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kButtonId) g_seenDuringTap = ButtonRow();
    return ::CallWindowProcW(g_pageProc, hwnd, message, wParam, lParam);
}

// The button has no pressed look of its own: a tap reaches the page with
// the face as it was.
TEST_F(ButtonsTest, TapReachesThePageWithTheFaceUnchanged) {
    g_seenDuringTap.clear();
    const std::vector<Pixel> idle = ButtonRow();
    g_pageProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(page.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchingPageProc)));
    session.Run("tap 60 50");
    ::SetWindowLongPtrW(page.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pageProc));
    ASSERT_FALSE(g_seenDuringTap.empty()) << "the tap never reached the page";
    EXPECT_EQ(g_seenDuringTap, idle);
    EXPECT_EQ(ButtonRow(), idle);
}

TEST_F(ButtonsTest, CaptionChangesOnlyWithTheNextPaint) {
    const std::vector<Pixel> before = ButtonRow();
    button.SetText(u"Changed");
    session.Pump();
    EXPECT_EQ(ButtonRow(), before);
    button.Invalidate();
    session.Pump();
    EXPECT_NE(ButtonRow(), before);
}

TEST_F(ButtonsTest, IconButtonTapIsAButtonClickAndShowsTheFocusFrame) {
    session.Run("tap 190 60");
    EXPECT_EQ(CWnd::GetFocus(), &icon);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kIconId, BN_CLICKED}}));
    const CxImage frame(SkinPath(u"ControlPanel\\ICON\\sbg.png"), CXIMAGE_FORMAT_PNG);
    const CxImage image(SkinPath(u"ControlPanel\\ICON\\Identify.png"), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(icon.GetStyle() & BS_LEFT, static_cast<DWORD>(BS_LEFT));
    CRect window;
    icon.GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(56, 52));
    EXPECT_TRUE(ScreenShows(CRect(170, 40, 226, 75), [&](CDC& dc) {
        frame.Draw(dc, 1, 1);
        image.Draw(dc, 0, 0);
    }));
}

TEST_F(ButtonsTest, FocusFrameStaysWhenAnotherIconButtonIsDestroyed) {
    {
        CTransButton passing;
        AddIcon(page, passing, 1605, 10, 150, u"ControlPanel\\ICON\\picture.png");
        page.captures.pop_back();
        passing.DestroyWindow();
    }
    icon.SetFocus();
    session.Pump();
    const CxImage frame(SkinPath(u"ControlPanel\\ICON\\sbg.png"), CXIMAGE_FORMAT_PNG);
    const CxImage image(SkinPath(u"ControlPanel\\ICON\\Identify.png"), CXIMAGE_FORMAT_PNG);
    EXPECT_TRUE(ScreenShows(CRect(170, 40, 226, 75), [&](CDC& dc) {
        frame.Draw(dc, 1, 1);
        image.Draw(dc, 0, 0);
    }));
}

TEST_F(ButtonsTest, GoldenButtonsFocusedAndNot) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_buttons_idle"));
    button.SetFocus();
    session.Pump();
    icon2.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_buttons_icon_focused"));
    button.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_buttons_button_focused"));
}

}  // namespace

}  // namespace buttons_test
