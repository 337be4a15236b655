// The select box: stepping with keys and taps, what it announces to its
// page and when, and what it shows.
#include "platform/base/clock.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHSelectBox.h"

namespace {

constexpr int kBoxId = 1501;
constexpr int kOtherId = 1502;
const CRect kBoxRect(100, 60, 220, 81);
const CRect kOtherRect(100, 100, 220, 121);
const CRect kLeftArrow(100, 60, 116, 81);

class SelectBoxTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(box, kBoxId, kBoxRect.left, kBoxRect.top, kBoxRect.Width(), kBoxRect.Height());
            p.AddWidget(other, kOtherId, kOtherRect.left, kOtherRect.top, kOtherRect.Width(), kOtherRect.Height());
        }));
        session.Pump();
    }
    void Fill() {
        box.AddItem(u"Alpha", 10);
        box.AddItem(u"Beta", 20);
        box.AddItem(u"Gamma", 30);
        session.Pump();
    }
    // How many times the page heard `message` from the box.
    int Heard(UINT message) const {
        int count = 0;
        for (const auto& [received, id] : page.registered)
            if (received == message && id == kBoxId) ++count;
        return count;
    }
    int SelChanges() const { return Heard(SelChangeMessage()); }
    void Press(UINT message, int x, int y) {
        box.SendMessage(message, 0, MAKELPARAM(x, y));
        session.Pump();
    }
    static CxImage Skin(const char16_t* name) { return CxImage(SkinPath(name), CXIMAGE_FORMAT_PNG); }

    CJHSelectBox box;
    CJHSelectBox other;
};

TEST_F(SelectBoxTest, FirstItemBecomesCurrentAndIsAnnouncedOnce) {
    EXPECT_EQ(box.GetCurSelValue(), 0);
    EXPECT_EQ(box.GetCurSelText(), u"");
    Fill();
    EXPECT_EQ(SelChanges(), 1);
    EXPECT_EQ(box.GetCurSelValue(), 10);
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");
    // Emptied and filled again, the first item is announced again.
    box.ResetContent();
    EXPECT_EQ(box.GetCurSelValue(), 0);
    session.Pump();
    EXPECT_EQ(SelChanges(), 1);
    box.AddItem(u"Delta", 40);
    session.Pump();
    EXPECT_EQ(SelChanges(), 2);
    EXPECT_EQ(box.GetCurSelText(), u"Delta");
}

TEST_F(SelectBoxTest, ArrowKeysWrapAndAnnounceEachChange) {
    Fill();
    box.SetFocus();
    session.Run("key RIGHT");
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
    session.Run("key RIGHT");
    session.Run("key RIGHT");
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");  // past the last
    session.Run("key LEFT");
    EXPECT_EQ(box.GetCurSelText(), u"Gamma");  // before the first
    EXPECT_EQ(SelChanges(), 1 + 4);
    EXPECT_EQ(box.GetCurSelValue(), 30);
    // The release that came straight after the press leaves no pressed arrow.
    const CxImage left = Skin(u"Dialog\\input_l.png");
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { left.Draw(dc, 0, 0); }));
}

TEST_F(SelectBoxTest, SingleItemStepsWithoutAnnouncing) {
    box.AddItem(u"Only", 1);
    box.SetFocus();
    session.Run("key RIGHT");
    session.Run("key LEFT");
    EXPECT_EQ(SelChanges(), 1);
    EXPECT_EQ(box.GetCurSelText(), u"Only");
}

TEST_F(SelectBoxTest, StepOnEmptiedBoxClearsTheTextAndAnnouncesNothing) {
    box.SetFocus();
    session.Pump();
    const std::vector<Pixel> empty = ScreenPixels(kBoxRect);
    box.AddItem(u"Alpha", 10);
    box.Invalidate();
    session.Pump();
    EXPECT_NE(ScreenPixels(kBoxRect), empty);
    box.ResetContent();  // the text stays until a step
    session.Run("key RIGHT");
    EXPECT_EQ(ScreenPixels(kBoxRect), empty);
    EXPECT_EQ(SelChanges(), 1);
}

TEST_F(SelectBoxTest, ChoosingByValueOrTextAnnounces) {
    Fill();
    EXPECT_TRUE(box.SetCurSelByValue(10));  // current already: nothing
    session.Pump();
    EXPECT_EQ(SelChanges(), 1);
    EXPECT_TRUE(box.SetCurSelByValue(20));
    session.Pump();
    EXPECT_EQ(SelChanges(), 2);
    EXPECT_TRUE(box.SetCurSelByText(u"Beta"));  // by text: every time
    session.Pump();
    EXPECT_EQ(SelChanges(), 3);
    EXPECT_FALSE(box.SetCurSelByText(u"beta"));
    EXPECT_FALSE(box.SetCurSelByValue(99));
    session.Pump();
    EXPECT_EQ(SelChanges(), 3);
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
}

TEST_F(SelectBoxTest, SilentChoiceIsAnnouncedByTheNextAdd) {
    box.AddItem(u"Alpha", 10);
    box.AddItem(u"Beta", 20);
    box.SetCurSel(1);
    box.SetCurSel(7);  // out of range: ignored
    session.Pump();
    EXPECT_EQ(SelChanges(), 1);
    EXPECT_EQ(box.GetCurSelValue(), 20);
    box.AddItem(u"Gamma", 30);
    session.Pump();
    EXPECT_EQ(SelChanges(), 2);
    EXPECT_EQ(box.GetCurSelValue(), 20);
}

TEST_F(SelectBoxTest, EnterRightAfterTheFocusArrivedSendsNothing) {
    Fill();
    box.SetFocus();
    session.Run("wait 500");
    session.Run("key ENTER");
    EXPECT_EQ(Heard(EditEnterMessage()), 0);
    session.Run("wait 1");
    session.Run("key ENTER");
    EXPECT_EQ(Heard(EditEnterMessage()), 1);
}

TEST_F(SelectBoxTest, TapOnAnArrowTakesTheFocusAndSteps) {
    Fill();
    session.Run("tap 212 70");
    EXPECT_EQ(CWnd::GetFocus(), &box);
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
    EXPECT_EQ(SelChanges(), 2);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kBoxId, 0u}}));
    session.Run("tap 108 70");
    session.Run("tap 108 70");
    EXPECT_EQ(box.GetCurSelText(), u"Gamma");
    session.Run("tap 160 70");  // the text area: focus only
    EXPECT_EQ(box.GetCurSelText(), u"Gamma");
}

// A page keeps a stored value the person left alone: only the person's
// steps count, even those that come back to where the box began, until
// the list is filled anew.
TEST_F(SelectBoxTest, StepsOfThePersonAreToldUntilTheListIsFilledAnew) {
    Fill();
    box.SetCurSelByValue(30);
    box.SetCurSel(1);
    session.Run("tap 160 70");  // the text area: focus only
    EXPECT_FALSE(box.Stepped()) << "choices made by the page and a tap beside the arrows are no steps";
    session.Run("key RIGHT");
    session.Run("key LEFT");
    EXPECT_TRUE(box.Stepped()) << "there and back";
    box.ResetContent();
    Fill();
    EXPECT_FALSE(box.Stepped());
    session.Run("tap 108 70");
    EXPECT_TRUE(box.Stepped());
}

// A page hands the box the focus with command 12.
TEST_F(SelectBoxTest, CommandTwelveTakesTheFocus) {
    Fill();
    other.SetFocus();
    box.SendMessage(WM_COMMAND, 12, 0);
    EXPECT_EQ(CWnd::GetFocus(), &box);
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");
}

TEST_F(SelectBoxTest, ReleaseOnAnArrowStepsWhereverThePressLanded) {
    Fill();
    Press(WM_LBUTTONDOWN, 60, 10);
    Press(WM_LBUTTONUP, 112, 10);
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
    Press(WM_LBUTTONDOWN, 4, 10);
    Press(WM_LBUTTONUP, 60, 10);  // dragged off the arrow: no step
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

// Only an arrow key shows the pressed arrow; a finger holding an arrow
// leaves it as it is, and the release steps.
TEST_F(SelectBoxTest, FingerOnAnArrowLeavesItUnpressed) {
    Fill();
    const CxImage normal = Skin(u"Dialog\\input_l.png");
    Press(WM_LBUTTONDOWN, 4, 10);
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { normal.Draw(dc, 0, 0); }));
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");
    Press(WM_LBUTTONUP, 4, 10);
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { normal.Draw(dc, 0, 0); }));
    EXPECT_EQ(box.GetCurSelText(), u"Gamma");
}

TEST_F(SelectBoxTest, ArrowKeyShowsThePressedArrowForAMoment) {
    Fill();
    box.SetFocus();
    session.Pump();
    const CxImage pressed = Skin(u"Dialog\\input_dl.png");
    const DWORD before = GetTickCount();
    session.Run("keydown LEFT");
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { pressed.Draw(dc, 0, 0); }));
    EXPECT_GE(GetTickCount() - before, 300u);
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");  // the step comes with the release
    session.Run("keyup LEFT");
    EXPECT_EQ(box.GetCurSelText(), u"Gamma");
    const CxImage normal = Skin(u"Dialog\\input_l.png");
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { normal.Draw(dc, 0, 0); }));
}

TEST_F(SelectBoxTest, BoxNarrowerThanItsArrowsShowsNoMiddlePiece) {
    // 29 pixels: the middle would be -1 wide; it must not appear at its own size.
    CJHSelectBox narrow;
    page.AddWidget(narrow, 1503, 20, 150, 29, 21);
    page.Invalidate();
    session.Pump();
    const CxImage left = Skin(u"Dialog\\input_l.png");
    const CxImage right = Skin(u"Dialog\\input_r.png");
    EXPECT_TRUE(ScreenShows(CRect(20, 150, 49, 171), [&](CDC& dc) {
        left.Draw(dc, 0, 0);
        right.Draw(dc, 29 - 16 + 2, 0);
    }));
}

TEST_F(SelectBoxTest, DisabledBoxLooksTheSameAndIgnoresTaps) {
    Fill();
    box.Invalidate();
    session.Pump();
    const std::vector<Pixel> enabled = ScreenPixels(kBoxRect);
    box.Enable(false);
    box.Invalidate();
    session.Pump();
    EXPECT_EQ(ScreenPixels(kBoxRect), enabled);
    session.Run("tap 212 70");
    EXPECT_EQ(box.GetCurSelText(), u"Alpha");
}

TEST_F(SelectBoxTest, ArrowsStayWhenAnotherBoxIsDestroyed) {
    Fill();
    {
        CJHSelectBox passing;
        ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 20, 150, 60, 21, page.m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1504)), nullptr, nullptr);
        passing.SubclassDlgItem(1504, &page);
    }
    box.Invalidate();
    session.Pump();
    const CxImage left = Skin(u"Dialog\\input_l.png");
    EXPECT_TRUE(ScreenShows(kLeftArrow, [&](CDC& dc) { left.Draw(dc, 0, 0); }));
}

TEST_F(SelectBoxTest, ColourRequestGetsOneBrushOfThePanelColour) {
    box.SetColors(TRUE, 0xFFC99C, 0xFFC99C);
    CClientDC dc(&box);
    const LRESULT first = box.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                          reinterpret_cast<LPARAM>(box.m_hWnd));
    const LRESULT second = box.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                           reinterpret_cast<LPARAM>(box.m_hWnd));
    EXPECT_EQ(first, second);
    LOGBRUSH brush{};
    ASSERT_NE(::GetObject(reinterpret_cast<HGDIOBJ>(first), sizeof(brush), &brush), 0);
    EXPECT_EQ(brush.lbColor, 0xFFC99Cu);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
}

TEST_F(SelectBoxTest, GoldenFocusedWithPressedArrow) {
    box.AddItem(u"English", 0);
    box.AddItem(u"中文", 1);
    other.AddItem(u"Fingerprint or card", 3);
    other.Invalidate();
    box.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_selectbox_focused"));
    session.Run("keydown RIGHT");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_selectbox_pressed_right"));
    session.Run("keyup RIGHT");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_selectbox_stepped"));
}

}  // namespace
