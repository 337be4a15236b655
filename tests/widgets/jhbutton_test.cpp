// The image button: which of its four images each state shows, its caption,
// toggle mode, the focus frame, and its setters' answers.
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/test_images.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHButton.h"

namespace jhbutton_test {
namespace {

constexpr int kButtonCount = 9;
constexpr int kFirstId = 2101;
constexpr int kWidth = 88;
constexpr int kHeight = 36;

// Grid cell `index` (three per row).
CRect Cell(int index) {
    const int x = 10 + (index % 3) * 104, y = 20 + (index / 3) * 64;
    return CRect(x, y, x + kWidth, y + kHeight);
}

class JHButtonTest : public WidgetTest {
protected:
    enum { kPlain, kFocused, kPushed, kDisabled, kToggleDisabled, kToggleChecked, kFramed, kSolid, kForced };

    void SetUp() override {
        images[0] = std::make_unique<CxImage>(SkinPath(u"ControlPanel\\buttonU.png"), CXIMAGE_FORMAT_PNG);
        images[1] = std::make_unique<CxImage>(SkinPath(u"ControlPanel\\buttonD.png"), CXIMAGE_FORMAT_PNG);
        images[2] = Recoloured(*images[0], 1);
        images[3] = Recoloured(*images[0], 2);
        ASSERT_TRUE(images[0]->IsValid() && images[1]->IsValid());
        paths[0] = SkinPath(u"ControlPanel\\buttonU.png");
        paths[1] = SkinPath(u"ControlPanel\\buttonD.png");
        paths[2] = SaveTestImage(*images[2], u"button_orange.png");
        paths[3] = SaveTestImage(*images[3], u"button_green.png");
        font.CreateFont(16, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 6, 0x20, u"tohamo");
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            for (int i = 0; i < kButtonCount; ++i) {
                const bool toggle = i == kToggleDisabled || i == kToggleChecked;
                Add(p, i, toggle ? BS_CHECKBOX : BS_PUSHBUTTON);
            }
        }));
        for (int i = 0; i < kButtonCount; ++i) {
            if (i == kSolid) continue;
            for (int slot = 0; slot < CJHButton::kImageCount; ++slot)
                ASSERT_TRUE(buttons[i].SetImageFile(slot, paths[slot]));
        }
        buttons[kSolid].SetSolidBackground(TRUE, 0x3060C0);
        buttons[kFramed].SetColor(3, 0xFFFFFF);
        buttons[kSolid].SetColor(3, 0xFFFFFF);
        buttons[kDisabled].EnableWindow(FALSE);
        buttons[kToggleDisabled].EnableWindow(FALSE);
        buttons[kToggleChecked].SetCheck(TRUE);
        buttons[kPushed].SetState(TRUE);
        buttons[kFramed].ToggleFocusFrame();
        buttons[kForced].SetForcedImage(2);
        buttons[kFocused].SetFocus();
        page.Invalidate();
        session.Pump();
    }
    void Add(CWidgetTestPage& p, int index, DWORD style) {
        const CRect cell = Cell(index);
        static const char16_t* const kCaptions[kButtonCount] = {u"Yes", u"No", u"Pushed", u"Off", u"", u"",
                                                                u"Framed", u"Solid", u"Forced"};
        ::CreateWindowExW(0, u"BUTTON", kCaptions[index], WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, cell.left,
                          cell.top, kWidth, kHeight, p.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + index)), nullptr, nullptr);
        CJHButton& b = buttons[index];
        b.SubclassDlgItem(kFirstId + index, &p);
        b.SetFont(&font, FALSE);
        p.captures.push_back([&b, &p](CDC* dc) { b.CaptureBackground(&p, dc, 1); });
    }
    // The button at `index` shows image `slot` over the page and no caption.
    ::testing::AssertionResult ShowsImage(int index, int slot) {
        return ScreenShows(Cell(index), [&](CDC& dc) { images[slot]->Draw(dc, 0, 0, kWidth, kHeight); });
    }

    std::unique_ptr<CxImage> images[CJHButton::kImageCount];
    CString paths[CJHButton::kImageCount];
    CFont font;
    CJHButton buttons[kButtonCount];
};

TEST_F(JHButtonTest, EachStateShowsItsImage) {
    EXPECT_TRUE(ShowsImage(kToggleDisabled, 2));  // disabled, toggle mode, not pressed
    // Emptied captions leave the bare image to compare.
    buttons[kPlain].SetWindowText(u"");
    buttons[kFocused].SetWindowText(u"");
    buttons[kPushed].SetWindowText(u"");
    buttons[kDisabled].SetWindowText(u"");
    buttons[kForced].SetWindowText(u"");
    session.Pump();
    EXPECT_TRUE(ShowsImage(kPlain, 0));
    EXPECT_TRUE(ShowsImage(kFocused, 3));  // a focused push button
    EXPECT_TRUE(ShowsImage(kPushed, 1));
    EXPECT_TRUE(ShowsImage(kDisabled, 3));
    EXPECT_TRUE(ShowsImage(kToggleChecked, 1));  // checked shows pressed
    EXPECT_TRUE(ShowsImage(kForced, 2));
    // A focused toggle button keeps its normal image; the forced image wins over the state.
    buttons[kToggleChecked].SetCheck(FALSE);
    buttons[kToggleChecked].SetFocus();
    buttons[kForced].SetState(TRUE);
    session.Pump();
    EXPECT_TRUE(ShowsImage(kToggleChecked, 0));
    EXPECT_TRUE(ShowsImage(kForced, 2));
    buttons[kForced].SetForcedImage(7);  // out of range: back to the state's image
    session.Pump();
    EXPECT_TRUE(ShowsImage(kForced, 1));
}

TEST_F(JHButtonTest, CaptionDrawnOnPushButtonsOnly) {
    EXPECT_FALSE(ShowsImage(kPlain, 0));  // "Yes" is on it
    buttons[kToggleChecked].SetWindowText(u"Caption");
    session.Pump();
    EXPECT_TRUE(ShowsImage(kToggleChecked, 1));
}

TEST_F(JHButtonTest, TapOnToggleButtonFlipsTheCheckAndStillClicks) {
    CJHButton& toggle = buttons[kToggleChecked];
    ASSERT_EQ(toggle.GetCheck(), TRUE);
    const CRect cell = Cell(kToggleChecked);
    session.Run("tap " + std::to_string(cell.CenterPoint().x) + " " + std::to_string(cell.CenterPoint().y));
    EXPECT_EQ(toggle.GetCheck(), FALSE);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kFirstId + kToggleChecked, BN_CLICKED}}));
    EXPECT_TRUE(ShowsImage(kToggleChecked, 0));
    // A push button keeps no check state.
    buttons[kPlain].SetCheck(TRUE);
    EXPECT_EQ(buttons[kPlain].GetCheck(), FALSE);
    const CRect plain = Cell(kPlain);
    session.Run("tap " + std::to_string(plain.CenterPoint().x) + " " + std::to_string(plain.CenterPoint().y));
    EXPECT_EQ(buttons[kPlain].GetCheck(), FALSE);
}

TEST_F(JHButtonTest, FocusFrameIsADashedGreenRectangleInsideTheButton) {
    CJHButton& framed = buttons[kFramed];
    framed.SetWindowText(u"");
    session.Pump();
    EXPECT_TRUE(framed.HasFocusFrame());
    const CRect cell = Cell(kFramed);
    const auto at = [&](int x, int y) { return ColorRefFromPixel(ScreenSurface().At(cell.left + x, cell.top + y) & 0xFFFFFF); };
    EXPECT_EQ(at(10, 7), 0x008000u);   // top-left corner of the frame
    EXPECT_EQ(at(77, 28), 0x008000u);  // bottom-right corner (inset 10 and 7)
    int green = 0, other = 0;
    for (int x = 10; x < 78; ++x) (at(x, 7) == 0x008000u ? green : other)++;
    EXPECT_GT(green, 0);
    EXPECT_GT(other, 0);  // dashed, not solid
    framed.ToggleFocusFrame();
    session.Pump();
    EXPECT_FALSE(framed.HasFocusFrame());
    EXPECT_TRUE(ShowsImage(kFramed, 0));
}

TEST_F(JHButtonTest, SettersRejectValuesOutOfRange) {
    CJHButton& b = buttons[kPlain];
    CxImage other;
    EXPECT_FALSE(b.SetImage(4, &other));
    EXPECT_FALSE(b.SetImage(-1, &other));
    EXPECT_FALSE(b.SetImageFile(4, paths[0]));
    EXPECT_EQ(b.SetColor(6, 0x123456), 3u);
    COLORREF color = 0;
    EXPECT_EQ(b.GetColor(6, &color), 3u);
    EXPECT_EQ(b.GetColor(3, &color), 0u);
    EXPECT_EQ(color, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(b.SetColor(3, 0x123456), 0u);
    b.GetColor(3, &color);
    EXPECT_EQ(color, 0x123456u);
    b.SetDefaultColors();
    b.GetColor(2, &color);
    EXPECT_EQ(color, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(b.SetUserState(1), 0u);
    EXPECT_EQ(b.SetUserState(2), 4u);
    EXPECT_EQ(b.GetUserState(), 1);
}

TEST_F(JHButtonTest, OwnerDrawnStyleStaysAPushButtonAndUncapturedShowsThePage) {
    CJHButton made;
    ::CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 110, 200, kWidth, kHeight, page.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + 20)), nullptr, nullptr);
    made.SubclassDlgItem(kFirstId + 20, &page);
    made.SetImage(0, images[0].get());
    made.SetImage(1, images[1].get());
    page.Invalidate();
    session.Pump();
    // Never captured: the image lies over the page as the screen showed it.
    EXPECT_TRUE(ScreenShows(CRect(110, 200, 110 + kWidth, 200 + kHeight),
                            [&](CDC& dc) { images[0]->Draw(dc, 0, 0, kWidth, kHeight); }));
    session.Run("tap 150 215");
    EXPECT_EQ(made.GetCheck(), FALSE);
    made.SetCheck(TRUE);
    EXPECT_EQ(made.GetCheck(), FALSE);
}

TEST_F(JHButtonTest, GoldenFourImagesCaptionsAndFocusFrame) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_jhbutton_states"));
}

}  // namespace

}  // namespace jhbutton_test
