// The plain push button of the user pages: what its three looks show, when
// it repaints, and what a tap or Enter tells the page.
#include <algorithm>
#include <vector>

#include "platform/ui/display.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/FontButton.h"

namespace {

constexpr int kSaveId = 1701;
constexpr int kNextId = 1702;
constexpr int kDeleteId = 1703;
const CRect kSaveRect(20, 60, 120, 84);
const CRect kNextRect(140, 60, 240, 84);
const CRect kDeleteRect(20, 110, 120, 134);

Pixel PixelOf(COLORREF color) { return PixelFromColorRef(color) & 0xFFFFFF; }

class FontButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            AddButton(p, save, kSaveId, kSaveRect, u"Save(Next)");
            AddButton(p, next, kNextId, kNextRect, u"Save(Next)");
            AddButton(p, remove, kDeleteId, kDeleteRect, u"  Delete");
        }));
        session.Pump();
    }
    static void AddButton(CWidgetTestPage& p, CFontButton& button, int id, const CRect& rect, const char16_t* text) {
        ::CreateWindowExW(0, u"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rect.left, rect.top,
                          rect.Width(), rect.Height(), p.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                          nullptr, nullptr);
        button.SubclassDlgItem(id, &p);
    }
    // The screen's column `inset` pixels into the rectangle, clear of the corners.
    static std::vector<Pixel> LeftColumn(const CRect& rect, int inset) {
        return ScreenPixels(CRect(rect.left + inset, rect.top + 4, rect.left + inset + 1, rect.bottom - 4));
    }
    static bool Contains(const std::vector<Pixel>& pixels, Pixel p) {
        return std::find(pixels.begin(), pixels.end(), p) != pixels.end();
    }
    static bool AllOf(const std::vector<Pixel>& pixels, Pixel p) {
        return std::all_of(pixels.begin(), pixels.end(), [p](Pixel q) { return q == p; });
    }
    std::vector<std::pair<UINT, UINT>> Clicks(UINT id) const {
        std::vector<std::pair<UINT, UINT>> clicks;
        for (const auto& command : page.commands)
            if (command.first == id) clicks.push_back(command);
        return clicks;
    }

    CFontButton save;
    CFontButton next;
    CFontButton remove;
};

TEST_F(FontButtonTest, GoldenIdleFocusedAndDisabled) {
    next.SetFocus();
    remove.EnableWindow(FALSE);
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_fontbutton_states"));
}

TEST_F(FontButtonTest, FaceAndFrameShowEachState) {
    const Pixel panel = PixelOf(WidgetPanelColor());
    const Pixel grey = PixelOf(0x808080);
    next.SetFocus();
    session.Pump();
    // Idle: a thin dotted frame, black and face colour by turns.
    EXPECT_TRUE(Contains(LeftColumn(kSaveRect, 0), 0u));
    EXPECT_TRUE(Contains(LeftColumn(kSaveRect, 0), panel));
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 1), panel));
    save.SetFocus();
    session.Pump();
    // Focused: a heavy black frame three pixels deep.
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 0), 0u));
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 2), 0u));
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 3), panel));
    next.SetFocus();
    session.Pump();
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 1), panel));
    // Enabling and disabling repaint at once, without waiting for the queue.
    save.EnableWindow(FALSE);
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 0), grey));
    save.EnableWindow(TRUE);
    EXPECT_TRUE(Contains(LeftColumn(kSaveRect, 0), 0u));
    EXPECT_FALSE(Contains(LeftColumn(kSaveRect, 0), grey));
}

// Disabled, a button has the grey frame and the grey caption; focused too
// (a page may hand the focus to a disabled button), the focus frame lies
// under the grey one.
TEST_F(FontButtonTest, DisabledButtonIsGreyAndShowsItsFocusUnderTheGreyFrame) {
    const Pixel panel = PixelOf(WidgetPanelColor());
    const Pixel grey = PixelOf(0x808080);
    next.EnableWindow(FALSE);  // never focused
    save.EnableWindow(FALSE);
    save.SetFocus();
    session.Pump();
    ASSERT_EQ(CWnd::GetFocus(), &save);
    EXPECT_TRUE(AllOf(LeftColumn(kNextRect, 0), grey));
    EXPECT_TRUE(AllOf(LeftColumn(kNextRect, 1), panel));
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 0), grey));
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 1), 0u)) << "the focus frame";
    EXPECT_TRUE(AllOf(LeftColumn(kSaveRect, 2), 0u));
    // Grey captions, alike on both.
    const auto caption = [](const CRect& button) {
        return ScreenPixels(CRect(button.left + 10, button.top + 4, button.right - 10, button.bottom - 4));
    };
    EXPECT_EQ(caption(kSaveRect), caption(kNextRect));
    const std::vector<Pixel> text = caption(kNextRect);
    EXPECT_GT(text.size() - std::count(text.begin(), text.end(), panel), 10u) << "a caption is drawn";
    EXPECT_FALSE(Contains(text, 0u)) << "in grey, not black";
}

TEST_F(FontButtonTest, CaptionLosesLeadingBlanks) {
    // "  Delete" shows exactly like "Delete" on an idle twin of the same size.
    next.SetWindowText(u"Delete");
    session.Pump();
    ASSERT_NE(CWnd::GetFocus(), &remove);
    ASSERT_NE(CWnd::GetFocus(), &next);
    EXPECT_EQ(ScreenPixels(kDeleteRect), ScreenPixels(kNextRect));
}

TEST_F(FontButtonTest, TapAndEnterClickTheButton) {
    session.Run("tap 60 70");
    EXPECT_EQ(CWnd::GetFocus(), &save);
    EXPECT_EQ(Clicks(kSaveId), (std::vector<std::pair<UINT, UINT>>{{kSaveId, BN_CLICKED}}));
    session.Run("key ENTER");
    EXPECT_EQ(Clicks(kSaveId).size(), 2u);
    EXPECT_TRUE(page.IsWindowVisible());
}

TEST_F(FontButtonTest, DisabledButtonIgnoresTapsAndEnter) {
    save.SetFocus();
    save.EnableWindow(FALSE);
    session.Run("tap 60 70");
    session.Run("key ENTER");
    EXPECT_TRUE(Clicks(kSaveId).empty());
}

}  // namespace
