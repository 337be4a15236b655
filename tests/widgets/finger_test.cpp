// The enrolment finger indicator and its blinking.
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/RegFPStatic.h"

namespace {

const char16_t* const kSelected = u"Dialog\\Finger_r.png";
const char16_t* const kEnrolled = u"Dialog\\Finger_red.png";
const CRect kFingerRects[] = {{120, 100, 130, 110}, {140, 100, 150, 110}, {160, 100, 170, 110}};

class FingerTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            for (int i = 0; i < 3; ++i) {
                const CRect& r = kFingerRects[i];
                p.AddWidget(fingers[i], 1801 + i, r.left, r.top, r.Width(), r.Height());
            }
        }));
        for (CRegFPStatic& finger : fingers) {
            finger.ResetState();
            finger.SetImages(SkinPath(u"\\Dialog\\Finger_r.png"), SkinPath(u"\\Dialog\\Finger_red.png"));
            finger.SetCaption(u"");
        }
        fingers[0].SetEnrolled(true);
        fingers[1].SetEnrolled(true);
        fingers[1].SetSelected(true);
        fingers[2].SetSelected(true);
        page.Invalidate();
        session.Pump();
    }
    // The finger shows `images`, drawn in this order over the page.
    ::testing::AssertionResult Shows(int finger, std::initializer_list<const char16_t*> images) {
        return ScreenShows(kFingerRects[finger], [&](CDC& dc) {
            for (const char16_t* image : images) CxImage(SkinPath(image), CXIMAGE_FORMAT_PNG).Draw(dc, 0, 0);
        });
    }

    CRegFPStatic fingers[3];
};

TEST_F(FingerTest, SelectedShowsOverEnrolled) {
    EXPECT_TRUE(Shows(0, {kEnrolled}));
    EXPECT_TRUE(Shows(1, {kEnrolled, kSelected}));
    EXPECT_TRUE(Shows(2, {kSelected}));
}

TEST_F(FingerTest, BlinkHidesTheSelectedImageEveryOtherPeriod) {
    fingers[1].SetBlink(true);
    session.Run("wait 400");
    EXPECT_TRUE(Shows(1, {kEnrolled}));  // dark half: the enrolled image alone
    session.Run("wait 400");
    EXPECT_TRUE(Shows(1, {kEnrolled, kSelected}));
    session.Run("wait 400");
    EXPECT_TRUE(Shows(1, {kEnrolled}));
    fingers[1].SetBlink(false);  // in the dark half: the selected image comes back
    session.Pump();
    EXPECT_TRUE(Shows(1, {kEnrolled, kSelected}));
    session.Run("wait 800");
    EXPECT_TRUE(Shows(1, {kEnrolled, kSelected}));
}

TEST_F(FingerTest, FlagsAloneDoNotRepaint) {
    fingers[0].SetSelected(true);
    EXPECT_TRUE(fingers[0].IsSelected());
    session.Pump();
    EXPECT_TRUE(Shows(0, {kEnrolled}));
    fingers[0].Invalidate();
    session.Pump();
    EXPECT_TRUE(Shows(0, {kEnrolled, kSelected}));
    fingers[0].ResetState();
    EXPECT_FALSE(fingers[0].IsSelected());
    EXPECT_FALSE(fingers[0].IsEnrolled());
    fingers[0].Invalidate();
    session.Pump();
    EXPECT_TRUE(ScreenShows(kFingerRects[0], [](CDC&) {}));
}

// The enrolment page's hand picture with its ten indicators.
class HandTest : public WidgetTest {
protected:
    static constexpr POINT kHand{78, 70};
    // The centres of the fingertips in the picture.
    static constexpr POINT kTips[10] = {{10, 30}, {22, 15}, {37, 12},  {52, 20},  {76, 57},
                                        {87, 57}, {112, 18}, {125, 12}, {140, 17}, {154, 32}};

    void SetUp() override {
        hand.Load(SkinPath(u"Dialog\\finger-reg.png"), CXIMAGE_FORMAT_PNG);
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.captures.push_back([this](CDC* dc) { hand.Draw(*dc, kHand.x, kHand.y); });
            for (int i = 0; i < 10; ++i) {
                const int id = 1811 + i;
                ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, kHand.x + kTips[i].x - 5,
                                  kHand.y + kTips[i].y - 5, 10, 10, p.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
                fingers[i].SubclassDlgItem(id, &p);
                p.captures.push_back([this, i, &p](CDC* dc) { fingers[i].CaptureBackground(&p, dc); });
            }
        }));
        for (CRegFPStatic& finger : fingers) {
            finger.ResetState();
            finger.SetImages(SkinPath(u"\\Dialog\\Finger_r.png"), SkinPath(u"\\Dialog\\Finger_red.png"));
        }
        for (int enrolled : {1, 2, 6}) fingers[enrolled].SetEnrolled(true);
        fingers[2].SetSelected(true);
        page.Invalidate();
        session.Pump();
    }

    CxImage hand;
    CRegFPStatic fingers[10];
};

TEST_F(HandTest, GoldenEnrolledSelectedAndBlinking) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_fingers_states"));
    fingers[2].SetBlink(true);
    session.Run("wait 400");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_fingers_blink_dark"));
}

}  // namespace
