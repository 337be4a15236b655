// The transparent widget base: the copy of the page under a widget, when it
// is taken and when not, what a tap tells the page, and the shared images.
#include "tests/widgets/widget_page.h"
#include "widgets/SkinImageCache.h"

namespace {

constexpr int kProbeId = 1401;
const CRect kProbeRect(40, 60, 120, 100);

// Paints nothing but its copy of the page, over a red fill so that a missing
// copy shows.
class CProbeCanvas : public CJHCanvas {
protected:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(client);
        dc.FillSolidRect(client, RGB(0xFF, 0, 0));
        DrawBackground(&dc);
    }
};

class CanvasTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(probe, kProbeId, kProbeRect.left, kProbeRect.top, kProbeRect.Width(), kProbeRect.Height());
        }));
        session.Pump();
        background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
        ASSERT_TRUE(background.IsValid());
    }
    // True when the screen under the probe shows the page background.
    bool ProbeShowsBackground() const {
        for (int y = kProbeRect.top; y < kProbeRect.bottom; y += 7)
            for (int x = kProbeRect.left; x < kProbeRect.right; x += 7)
                if ((ScreenSurface().At(x, y) & 0xFFFFFF) != (background.Pixels().At(x, y) & 0xFFFFFF)) return false;
        return true;
    }

    CProbeCanvas probe;
    CxImage background;
};

TEST_F(CanvasTest, PaintsTheCopyOfThePageUnderIt) {
    EXPECT_TRUE(probe.IsWindowVisible());
    EXPECT_TRUE(ProbeShowsBackground());
    EXPECT_NE(probe.GetStyle() & SS_NOTIFY, 0u);
}

TEST_F(CanvasTest, KeepsItsCopyUntilArmedAgain) {
    // The page changes under the widget: a clear flag keeps the old copy.
    page.captures.push_back([](CDC* dc) { dc->FillSolidRect(kProbeRect, RGB(0, 0, 0xFF)); });
    page.Invalidate(TRUE);
    session.Pump();
    EXPECT_TRUE(ProbeShowsBackground());
    // Armed again, the next erase copies what the page shows now.
    probe.SetNeedCapture(TRUE);
    page.Invalidate(TRUE);
    session.Pump();
    EXPECT_EQ(ScreenSurface().At(kProbeRect.left + 5, kProbeRect.top + 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(probe.IsWindowVisible());
}

TEST_F(CanvasTest, ShowFlagOtherThanOneLeavesTheWidgetHidden) {
    CClientDC dc(&page);
    EXPECT_TRUE(probe.CaptureBackground(&page, &dc, 0));  // flag clear: nothing changes
    EXPECT_TRUE(probe.IsWindowVisible());
    probe.SetNeedCapture(TRUE);
    EXPECT_TRUE(probe.CaptureBackground(&page, &dc, 0));
    EXPECT_FALSE(probe.IsWindowVisible());
    probe.SetNeedCapture(TRUE);
    EXPECT_TRUE(probe.CaptureParentBackground(&page, 1));
    EXPECT_TRUE(probe.IsWindowVisible());
}

TEST_F(CanvasTest, NeverCapturedWidgetPaintsNoBackground) {
    CProbeCanvas fresh;
    ::CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 200, 150, 30, 30, page.m_hWnd,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1402)), nullptr, nullptr);
    fresh.SubclassDlgItem(1402, &page);
    fresh.Invalidate(TRUE);
    session.Pump();
    EXPECT_EQ(ScreenSurface().At(210, 160) & 0xFFFFFF, 0xFF0000u);
    fresh.DestroyWindow();
}

TEST_F(CanvasTest, RunTimeRecordNamesCWndAsItsBase) {
    EXPECT_STREQ(RUNTIME_CLASS(CJHCanvas)->m_lpszClassName, "CJHCanvas");
    EXPECT_EQ(RUNTIME_CLASS(CJHCanvas)->m_pBaseClass, RUNTIME_CLASS(CWnd));
    EXPECT_TRUE(probe.IsKindOf(RUNTIME_CLASS(CJHCanvas)));
    EXPECT_FALSE(probe.IsKindOf(RUNTIME_CLASS(CStatic)));
}

TEST_F(CanvasTest, TapTellsThePageWithCodeZero) {
    session.Run("tap 50 70");
    ASSERT_EQ(page.commands.size(), 1u);
    EXPECT_EQ(page.commands[0], std::make_pair(static_cast<UINT>(kProbeId), 0u));
}

TEST_F(CanvasTest, SharedImageLivesWhileAnyUserHoldsIt) {
    const size_t before = SharedSkinImageCount();
    SharedSkinImage first = AcquireSkinImage(u"ControlPanel\\ICON\\sbg.png", CXIMAGE_FORMAT_PNG);
    SharedSkinImage second = AcquireSkinImage(u"ControlPanel\\ICON\\sbg.png", CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(first->IsValid());
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(SharedSkinImageCount(), before + 1);
    first.reset();  // one user goes: the other still draws it
    EXPECT_TRUE(second->IsValid());
    EXPECT_EQ(SharedSkinImageCount(), before + 1);
    second.reset();
    EXPECT_EQ(SharedSkinImageCount(), before);
    EXPECT_FALSE(AcquireSkinImage(u"Dialog\\missing.png", CXIMAGE_FORMAT_PNG)->IsValid());
}

}  // namespace
