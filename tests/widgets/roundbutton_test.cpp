// The rounded gradient button: its gradient rows, the hover and focus
// frames, a disabled button without caption, and its click and style rules.
#include "platform/ui/display.h"
#include "tests/widgets/widget_page.h"
#include "widgets/RoundButton.h"

namespace roundbutton_test {
namespace {

constexpr int kFirstId = 2401;
constexpr int kCount = 4;
constexpr int kWidth = 120;
constexpr int kHeight = 32;
// The gradient's rows inside the outline: the button less the edge (2) on each side.
constexpr int kInnerHeight = kHeight - 4;

class RoundButtonTest : public WidgetTest {
protected:
    enum { kPlain, kFocused, kDisabled, kHovered };

    void SetUp() override {
        font.CreateFont(16, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 6, 0x20, u"tohamo");
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            static const char16_t* const kCaptions[kCount] = {u"Save", u"Focused", u"Disabled", u"Hover"};
            for (int i = 0; i < kCount; ++i) {
                const CPoint at = Origin(i);
                ::CreateWindowExW(0, u"BUTTON", kCaptions[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP, at.x, at.y, kWidth,
                                  kHeight, p.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + i)),
                                  nullptr, nullptr);
                buttons[i].SubclassDlgItem(kFirstId + i, &p);
                buttons[i].SetFont(&font, FALSE);
            }
        }));
        buttons[kDisabled].EnableWindow(FALSE);
        buttons[kFocused].SetFocus();
        session.Pump();
    }
    static CPoint Origin(int i) { return CPoint(30 + (i % 2) * 140, 40 + (i / 2) * 70); }
    static COLORREF At(int i, int x, int y) {
        const CPoint o = Origin(i);
        return ColorRefFromPixel(ScreenSurface().At(o.x + x, o.y + y) & 0xFFFFFF);
    }
    // Puts a finger on the hover button and moves it until the button hears of the hover.
    void RestFingerOnHoverButton() {
        const CPoint o = Origin(kHovered);
        const auto send = [&](DWORD flags, int x) {
            mouse_event(flags | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>((o.x + x) * 65536 / kScreenWidth + 1),
                        static_cast<DWORD>((o.y + 16) * 65536 / kScreenHeight + 1), 0, 0);
            session.Pump();
        };
        send(MOUSEEVENTF_LEFTDOWN, 20);
        send(MOUSEEVENTF_MOVE, 22);
        session.Run("wait 5");
        send(MOUSEEVENTF_MOVE, 24);
    }
    void LiftFinger() {
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        session.Pump();
    }

    CFont font;
    CRoundButton buttons[kCount];
};

// Row y of the gradient, as the button computes it.
COLORREF Gradient(int y, bool hover, bool highlighted) {
    const int i = std::min(63, y * 63 / kInnerHeight);
    const int redGreen = hover ? 255 - i / 4 : 255 - i / 3;
    const int blue = hover && highlighted ? 255 - i / 3 : highlighted && !hover ? 255 - i / 4 : 255 - i / 5;
    return RGB(redGreen, redGreen, blue);
}

TEST_F(RoundButtonTest, GradientRowsDarkenDownwardsAndEndOnTheLastStep) {
    // Column 4 lies inside the outline and left of the caption.
    for (int y = 2; y < kHeight - 2; ++y) EXPECT_EQ(At(kPlain, 4, y), Gradient(y, false, false)) << "row " << y;
    // Rows from the inner height on are past the 64 steps: all the last one.
    EXPECT_EQ(At(kPlain, 4, kInnerHeight), RGB(234, 234, 243));
    EXPECT_EQ(At(kPlain, 4, kInnerHeight + 1), RGB(234, 234, 243));
    EXPECT_EQ(At(kPlain, 0, 16), 0u);  // the outline
}

TEST_F(RoundButtonTest, FocusShowsTheFocusFrameOverTheHighlightedGradient) {
    EXPECT_EQ(At(kFocused, 3, 16), 0xFCC699u);               // left edge, pen A
    EXPECT_EQ(At(kFocused, 60, kHeight - 6), Gradient(kHeight - 6, false, true));  // below the caption
    EXPECT_NE(At(kPlain, 3, 16), 0xFCC699u);
    buttons[kPlain].SetFocus();
    session.Pump();
    EXPECT_EQ(At(kPlain, 3, 16), 0xFCC699u);
    EXPECT_EQ(At(kFocused, 3, 16), Gradient(16, false, false));
}

TEST_F(RoundButtonTest, DisabledButtonShowsNoCaption) {
    for (int y = 3; y < kHeight - 3; ++y)
        for (int x = 4; x < kWidth - 4; ++x)
            ASSERT_EQ(At(kDisabled, x, y), Gradient(y, false, false)) << x << "," << y;
    int caption = 0;
    for (int y = 3; y < kHeight - 3; ++y)
        for (int x = 4; x < kWidth - 4; ++x) caption += At(kPlain, x, y) != Gradient(y, false, false);
    EXPECT_GT(caption, 20);
}

TEST_F(RoundButtonTest, FingerRestingOnTheButtonShowsTheHoverFrameUntilLifted) {
    RestFingerOnHoverButton();
    EXPECT_EQ(At(kHovered, 3, 16), 0x58C4FAu);  // hover pen A
    // Pressed and hovered: the highlighted hover gradient on the hover brush.
    EXPECT_EQ(At(kHovered, 60, kHeight - 6), Gradient(kHeight - 6, true, true));
    LiftFinger();
    EXPECT_EQ(At(kHovered, 3, 16), 0xFCC699u);  // the tap gave it the focus
    EXPECT_EQ(CWnd::GetFocus(), &buttons[kHovered]);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kFirstId + kHovered, BN_CLICKED}}));
    // Tracking starts over with the next finger.
    RestFingerOnHoverButton();
    EXPECT_EQ(At(kHovered, 3, 16), 0x58C4FAu);
    LiftFinger();
}

TEST_F(RoundButtonTest, StaysOwnerDrawnAndDefaultAnswers) {
    CRoundButton& b = buttons[kPlain];
    EXPECT_EQ(b.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(b.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    b.SetButtonStyle(BS_DEFPUSHBUTTON);
    session.Pump();
    EXPECT_EQ(b.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(At(kPlain, 4, 20), Gradient(20, false, true));  // the default button is highlighted
    b.SetButtonStyle(BS_PUSHBUTTON);
    session.Pump();
    EXPECT_EQ(b.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(At(kPlain, 4, 20), Gradient(20, false, false));
}

TEST_F(RoundButtonTest, GoldenNormalFocusedDisabledAndHovered) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_roundbutton_states"));
    RestFingerOnHoverButton();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_roundbutton_hover"));
    LiftFinger();
}

}  // namespace

}  // namespace roundbutton_test
