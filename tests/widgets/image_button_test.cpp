// The transparent picture button: picture, caption band, selection frame,
// the blinking overlay, its moves from the page's erase, and what a tap
// tells the page.
#include <memory>
#include <vector>

#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/ImagaBotton.h"

namespace {

constexpr int kUsersId = 1801;
constexpr int kEnrolId = 1802;
constexpr int kSensorId = 1803;
constexpr int kLooseId = 1804;
const CPoint kUsersAt(20, 30);
const CPoint kEnrolAt(100, 30);
const CPoint kSensorAt(200, 100);
const char16_t* const kUsersIcon = u"ControlPanel\\ICON\\12.PNG";
const char16_t* const kEnrolIcon = u"ControlPanel\\ICON\\11.PNG";

CxImage SkinImage(const char16_t* relative) { return CxImage(SkinPath(relative), CXIMAGE_FORMAT_PNG); }

CRect WindowOf(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    return rect;
}

// Binds `button` to a new static child that the page does not capture for
// (for buttons that go away before the page does).
void AttachLoose(CWidgetTestPage& p, CImagaBotton& button, int id, CPoint at) {
    ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, at.x, at.y, 10, 10, p.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    button.SubclassDlgItem(id, &p);
}

// A caption drawn the way a picture button should draw it in `band`.
void Caption(CDC& dc, const CString& text, CRect band) {
    CFont font;
    MakeWidgetFont(font, {u"Microsoft JhengHei", 16, 400, 136, 5}, {u"微软雅黑", 14, 0, 0, 6});
    CFont* previous = dc.SelectObject(&font);
    dc.SetTextColor(kWidgetDarkText);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(text, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    dc.SelectObject(previous);
}

// A control-panel icon (wide enough for the wide frame) as it should look.
::testing::AssertionResult IconShows(CPoint at, const char16_t* image, const CString& caption, bool framed) {
    const CxImage frame = SkinImage(u"ControlPanel\\ICON\\bg.png");
    const CxImage icon = SkinImage(image);
    const CRect area(at, CSize(static_cast<int>(icon.GetWidth()), static_cast<int>(icon.GetHeight())));
    return ScreenShows(area, [&](CDC& dc) {
        if (framed) frame.Draw(dc, 1, 3);
        icon.Draw(dc, 0, 0);
        Caption(dc, caption, CRect(0, area.Height() - 20, area.Width(), area.Height()));
    });
}

class ImageButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            Place(p, users, kUsersId, kUsersAt, kUsersIcon, u"Users");
            Place(p, enrol, kEnrolId, kEnrolAt, kEnrolIcon, u"Enroll");
            Place(p, sensor, kSensorId, kSensorAt, u"Dialog\\finger_bg.png", u"");
            sensor.SetOverlayImage(SkinPath(u"Dialog\\Finger.png"));
        }));
        session.Pump();
    }
    static void Place(CWidgetTestPage& p, CImagaBotton& button, int id, CPoint at, const char16_t* image,
                      const char16_t* caption) {
        p.AddWidget(button, id, at.x, at.y, 10, 10);
        button.SetImage(SkinPath(image));
        button.SetCaption(caption);
    }
    ::testing::AssertionResult SensorShows(bool overlay) const {
        const CxImage picture = SkinImage(u"Dialog\\finger_bg.png");
        const CxImage finger = SkinImage(u"Dialog\\Finger.png");
        return ScreenShows(WindowOf(sensor), [&](CDC& dc) {
            picture.Draw(dc, 0, 0);
            if (overlay) finger.Draw(dc, 15, 18);
        });
    }

    CImagaBotton users;
    CImagaBotton enrol;
    CImagaBotton sensor;
};

TEST_F(ImageButtonTest, GoldenSelectedAndBlinkingPhases) {
    enrol.SetSelected(true);
    enrol.Invalidate();
    sensor.SetBlink(true);
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_imagebutton_selected"));
    session.Run("wait 500");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_imagebutton_blink_hidden"));
}

TEST_F(ImageButtonTest, PictureSizesTheWindowAndCaptionSitsInTheBand) {
    EXPECT_EQ(WindowOf(users), CRect(kUsersAt, CSize(72, 64)));
    EXPECT_EQ(users.GetImageWidth(), 72);
    EXPECT_EQ(users.GetImageHeight(), 64);
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"Users", false));
    users.SetSelected(true);  // stored only
    session.Pump();
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"Users", false));
    users.Invalidate();
    session.Pump();
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"Users", true));
}

TEST_F(ImageButtonTest, CaptionAndVisibilityChanges) {
    users.SetCaption(u"Staff");  // stored only
    session.Pump();
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"Users", false));
    users.SetText(u"People");  // shown at once
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"People", false));
    users.SetVisible(false);
    EXPECT_TRUE(ScreenShows(WindowOf(users), [](CDC&) {}));
    users.SetVisible(true);
    EXPECT_TRUE(IconShows(kUsersAt, kUsersIcon, u"People", false));
}

TEST_F(ImageButtonTest, BlinkTogglesTheOverlayAndStopsWithItShown) {
    EXPECT_TRUE(SensorShows(true));
    sensor.SetBlink(true);
    session.Run("wait 499");
    EXPECT_TRUE(SensorShows(true));
    session.Run("wait 1");
    EXPECT_TRUE(SensorShows(false));
    session.Run("wait 500");
    EXPECT_TRUE(SensorShows(true));
    session.Run("wait 500");
    EXPECT_TRUE(SensorShows(false));
    // Stopped in the dark phase: the overlay comes back and stays.
    sensor.SetBlink(false);
    session.Pump();
    EXPECT_TRUE(SensorShows(true));
    session.Run("wait 1500");
    EXPECT_TRUE(SensorShows(true));
}

TEST_F(ImageButtonTest, TapReachesThePageAsCommandCodeZero) {
    session.Run("tap 50 50");
    session.Run("tap 230 130");
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kUsersId, 0u}, {kSensorId, 0u}}));
}

TEST_F(ImageButtonTest, MissingPictureGivesAnEmptyButton) {
    CImagaBotton bare;
    AttachLoose(page, bare, kLooseId, CPoint(20, 150));
    EXPECT_EQ(bare.GetImageWidth(), -1);
    EXPECT_EQ(bare.GetImage(), nullptr);
    bare.SetImage(SkinPath(u"ControlPanel\\ICON\\none.png"));
    EXPECT_EQ(bare.GetImageWidth(), 0);
    EXPECT_EQ(bare.GetImageHeight(), 0);
    EXPECT_EQ(WindowOf(bare).Size(), CSize(0, 0));
    bare.ReleaseImage();
    EXPECT_EQ(bare.GetImageWidth(), -1);
}

TEST_F(ImageButtonTest, PageMovesButtonsFromItsEraseAndEachCopiesItsNewPlace) {
    const CPoint target(20, 150);
    page.captures.push_back([&](CDC* dc) { users.MoveAndCaptureBackground(&page, dc, target.x, target.y, 1); });
    users.SetNeedCapture(TRUE);
    page.Invalidate();
    session.Pump();
    CPoint inParent;
    CRect onScreen;
    users.GetPosInParent(onScreen, inParent, page.m_hWnd);
    EXPECT_EQ(inParent, target);
    EXPECT_EQ(onScreen.Size(), CSize(72, 64));
    EXPECT_TRUE(users.IsWindowVisible());
    EXPECT_TRUE(IconShows(target, kUsersIcon, u"Users", false));
    EXPECT_TRUE(ScreenShows(CRect(kUsersAt, CSize(72, 64)), [](CDC&) {}));  // nothing left behind
    // The next erase finds it in place: no move, no second copy.
    page.Invalidate();
    session.Pump();
    EXPECT_TRUE(IconShows(target, kUsersIcon, u"Users", false));
}

TEST_F(ImageButtonTest, MoveOutsideAnEraseCopiesFromTheParentItself) {
    users.SetNeedCapture(TRUE);
    EXPECT_TRUE(users.MoveAndCaptureParentBackground(&page, 20, 150));
    session.Pump();
    EXPECT_TRUE(IconShows(CPoint(20, 150), kUsersIcon, u"Users", false));
}

class ImageButtonSharingTest : public WidgetTest {};

TEST_F(ImageButtonSharingTest, FramesStayWhileAnyButtonHoldsThemAndGoWithTheLast) {
    auto kept = std::make_unique<CImagaBotton>();
    auto passing = std::make_unique<CImagaBotton>();
    ASSERT_TRUE(page.CreatePage([&](CWidgetTestPage& p) {
        AttachLoose(p, *kept, kEnrolId, kEnrolAt);
        AttachLoose(p, *passing, kUsersId, kUsersAt);
        p.captures.push_back([&](CDC* dc) {
            if (kept) kept->CaptureBackground(&p, dc);
        });
    }));
    const size_t before = SharedSkinImageCount();
    kept->SetImage(SkinPath(kEnrolIcon));
    kept->SetCaption(u"Enroll");
    kept->SetSelected(true);
    EXPECT_EQ(SharedSkinImageCount(), before + 2);
    passing->SetImage(SkinPath(kUsersIcon));
    EXPECT_EQ(SharedSkinImageCount(), before + 2);  // shared, not loaded again
    passing.reset();
    page.Invalidate();
    session.Pump();
    EXPECT_TRUE(IconShows(kEnrolAt, kEnrolIcon, u"Enroll", true));
    kept.reset();
    EXPECT_EQ(SharedSkinImageCount(), before);
    page.captures.clear();
}

// Transparent pictures of chosen widths, so that the frame and the caption
// band around them show.
class ImageButtonWidthTest : public WidgetTest, public ::testing::WithParamInterface<int> {};

TEST_P(ImageButtonWidthTest, FrameAndCaptionBandFollowThePictureWidth) {
    const int width = GetParam();
    constexpr int kHeight = 70;
    const std::vector<BYTE> clear(static_cast<size_t>(width) * kHeight * 4, 0);
    CxImage made;
    ASSERT_TRUE(made.CreateFromArray(clear.data(), width, kHeight, 32, width * 4, false));
    const CString path = u"\\NandFlash\\zeta42\\clear.png";
    ASSERT_TRUE(made.Save(path, CXIMAGE_FORMAT_PNG));
    CImagaBotton button;
    ASSERT_TRUE(page.CreatePage([&](CWidgetTestPage& p) {
        p.AddWidget(button, kLooseId, 40, 40, 10, 10);
        button.SetImage(path);
        button.SetCaption(u"Caption text");
        button.SetSelected(true);
    }));
    session.Pump();
    const bool smallFrame = width < 51;
    const int band = width < 50 ? 17 : 20;
    const CxImage frame = SkinImage(smallFrame ? u"ControlPanel\\ICON\\sbg.png" : u"ControlPanel\\ICON\\bg.png");
    EXPECT_TRUE(ScreenShows(CRect(40, 40, 40 + width, 40 + kHeight), [&](CDC& dc) {
        frame.Draw(dc, 1, smallFrame ? 1 : 3);
        Caption(dc, u"Caption text", CRect(0, kHeight - band, width, kHeight));
    }));
}

INSTANTIATE_TEST_SUITE_P(AroundTheLimits, ImageButtonWidthTest, ::testing::Values(49, 50, 51));

}  // namespace
