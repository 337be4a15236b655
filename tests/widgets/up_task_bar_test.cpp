// The upper task bar (the logo, a hint for a while) and the choose canvas.
#include <filesystem>

#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/ChooseDialog.h"
#include "widgets/JHUpTaskBar.h"

namespace {

constexpr int kBarId = 1951;
constexpr int kChooseId = 1952;
const CPoint kBarAt(8, 6);

class UpTaskBarTest : public WidgetTest {
protected:
    void Show(CJHUpTaskBar& bar) {
        logo.Load(SkinPath(u"logo.png"), CXIMAGE_FORMAT_PNG);
        ASSERT_TRUE(page.CreatePage([&bar](CWidgetTestPage& p) {
            p.AddWidget(bar, kBarId, kBarAt.x, kBarAt.y, 200, 40);
            p.captures.push_back([&bar, &p](CDC* dc) { bar.CaptureBackground(&p, dc); });
        }));
        session.Pump();
    }
    static CRect WindowOf(const CWnd& wnd) {
        CRect rect;
        wnd.GetWindowRect(rect);
        return rect;
    }
    CSize LogoSize() const { return CSize(static_cast<int>(logo.GetWidth()), static_cast<int>(logo.GetHeight())); }
    ::testing::AssertionResult ShowsLogo(const CJHUpTaskBar& bar) {
        return ScreenShows(WindowOf(bar), [this](CDC& dc) { logo.Draw(dc, 0, 0); });
    }

    CxImage logo;
};

TEST_F(UpTaskBarTest, SizedToTheLogoAndShowsItOverThePage) {
    CJHUpTaskBar bar;
    Show(bar);
    ASSERT_TRUE(logo.IsValid());
    EXPECT_EQ(WindowOf(bar), CRect(kBarAt, LogoSize()));
    EXPECT_TRUE(ShowsLogo(bar));
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_uptaskbar_logo"));
}

TEST_F(UpTaskBarTest, HintShowsForItsTimeThenTheLogoComesBack) {
    CJHUpTaskBar bar;
    Show(bar);
    bar.ShowHint(u"Saved", 2000);
    session.Pump();
    EXPECT_FALSE(ShowsLogo(bar));
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_uptaskbar_hint"));
    session.Run("wait 1950");
    EXPECT_FALSE(ShowsLogo(bar));
    session.Run("wait 100");
    EXPECT_TRUE(ShowsLogo(bar));
    // Gone for good: the timer does not come round again.
    session.Run("wait 5000");
    EXPECT_TRUE(ShowsLogo(bar));
}

TEST_F(UpTaskBarTest, SecondHintRestartsTheTime) {
    CJHUpTaskBar bar;
    Show(bar);
    bar.ShowHint(u"Card", 1000);
    session.Run("wait 600");
    bar.ShowHint(u"Done", 1000);
    session.Run("wait 600");
    EXPECT_FALSE(ShowsLogo(bar));  // the first hint's time is over, the second's is not
    session.Run("wait 450");
    EXPECT_TRUE(ShowsLogo(bar));
}

TEST_F(UpTaskBarTest, MissingLogoGivesAnEmptyBar) {
    std::filesystem::remove(root.HostPath("NandFlash/zeta42/Skin/flower/logo.png"));
    CJHUpTaskBar bar;
    Show(bar);
    EXPECT_TRUE(WindowOf(bar).IsRectEmpty());
}

TEST_F(UpTaskBarTest, ChooseCanvasIsAPlainCanvas) {
    CChooseDialog choose;
    ASSERT_TRUE(page.CreatePage([&choose](CWidgetTestPage& p) { p.AddWidget(choose, kChooseId, 100, 100, 60, 40); }));
    session.Pump();
    EXPECT_STREQ(choose.GetRuntimeClass()->m_lpszClassName, "CChooseDialog");
    EXPECT_TRUE(choose.IsKindOf(RUNTIME_CLASS(CJHCanvas)));
    EXPECT_FALSE(choose.NeedsCapture());
    session.Run("tap 120 120");
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kChooseId, 0u}}));
}

}  // namespace
