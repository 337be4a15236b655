// The title bar, the progress bar and the aligned static text.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/ui/textrun.h"
#include "tests/support/text_fit.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHStatic.h"
#include "widgets/PogressBar.h"
#include "widgets/StaicTitle.h"

namespace {

constexpr int kTitleId = 1701;
constexpr int kBarId = 1702;
constexpr int kStaticId = 1703;
const CRect kBarRect(65, 100, 255, 122);

class BarsTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(title, kTitleId, 0, 0, 10, 10);
            p.AddWidget(bar, kBarId, kBarRect.left, kBarRect.top, kBarRect.Width(), kBarRect.Height());
            p.AddWidget(text, kStaticId, 20, 160, 280, 30, u"Backup finished");
        }));
        title.SetTitle(u"Data Management");
        font.CreateFont(20, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 6, 0x20, u"tohamo");
        text.SetFont(&font);
        bar.SetPos(0);
        page.Invalidate();
        session.Pump();
    }
    // The bar as it should look at `percent`, in the rows below its text.
    ::testing::AssertionResult BarTrackShows(int percent) {
        const CxImage track(SkinPath(u"Dialog\\PogressBar_bg.png"), CXIMAGE_FORMAT_PNG);
        const CxImage left(SkinPath(u"Dialog\\PogressBar_left.png"), CXIMAGE_FORMAT_PNG);
        const CxImage centre(SkinPath(u"Dialog\\PogressBar_center.png"), CXIMAGE_FORMAT_PNG);
        const CxImage right(SkinPath(u"Dialog\\PogressBar_right.png"), CXIMAGE_FORMAT_PNG);
        const int fill = (190 - 6 - 6) * percent / 100;
        constexpr int kBelowText = 17;
        return ScreenShows(CRect(kBarRect.left, kBarRect.top + kBelowText, kBarRect.left + 190, kBarRect.top + 22),
                           [&](CDC& dc) {
                               track.Draw(dc, 0, -kBelowText);
                               left.Draw(dc, 1, 1 - kBelowText);
                               if (fill > 0) centre.Draw(dc, 7, 1 - kBelowText, fill, 20, nullptr, true);
                               right.Draw(dc, 7 + fill, 1 - kBelowText);
                           });
    }

    CStaicTitle title;
    CPogressBar bar;
    CJHStatic text;
    CFont font;
};

TEST_F(BarsTest, TitleTakesTheBarSizeAndKeepsThePreviousTitle) {
    CRect window;
    title.GetWindowRect(&window);
    EXPECT_EQ(window.Size(), CSize(320, 24));
    EXPECT_EQ(title.GetBarHeight(), 24);
    EXPECT_EQ(title.GetBarWidth(), 320);
    title.SetTitle(u"Users");
    EXPECT_EQ(title.GetTitle(), u"Users");
    EXPECT_EQ(title.GetPrevTitle(), u"Data Management");
}

TEST_F(BarsTest, EmptyTitleShowsTheCapsSideBySideAtTheCentre) {
    title.SetTitle(u"");
    title.Invalidate();
    session.Pump();
    const CxImage barImage(SkinPath(u"Top_bg.png"), CXIMAGE_FORMAT_PNG);
    const CxImage left(SkinPath(u"Top_info_bg_l.png"), CXIMAGE_FORMAT_PNG);
    const CxImage right(SkinPath(u"Top_info_bg_r.png"), CXIMAGE_FORMAT_PNG);
    EXPECT_TRUE(ScreenShows(CRect(0, 0, 320, 24), [&](CDC& dc) {
        barImage.Draw(dc, 0, 0);
        left.Draw(dc, 150, 3);
        right.Draw(dc, 160, 3);
    }));
}

TEST_F(BarsTest, ProgressFillFollowsThePositionAtTheNextPaint) {
    EXPECT_TRUE(BarTrackShows(0));
    bar.SetPos(37);
    EXPECT_TRUE(BarTrackShows(0)) << "the repaint waits for the next paint";
    bar.UpdateWindow();
    EXPECT_TRUE(BarTrackShows(37));
    bar.SetPos(100);
    session.Pump();
    EXPECT_TRUE(BarTrackShows(100));
}

TEST_F(BarsTest, ProgressBeyondTheEndIsKeptAndDrawnPastTheTrack) {
    bar.SetPos(250);
    session.Pump();
    EXPECT_EQ(bar.GetPos(), 250u);
    EXPECT_TRUE(BarTrackShows(250)) << "the fill runs to the bar's edge; the right cap lies beyond it";
}

TEST_F(BarsTest, StaticHasItsOwnRunTimeRecordOverTheWindowClass) {
    EXPECT_TRUE(text.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(text.IsKindOf(RUNTIME_CLASS(CJHCanvas)));
}

TEST_F(BarsTest, StaticAlignsItsTextAsTold) {
    const auto row = [] {
        std::vector<Pixel> pixels;
        for (int y = 160; y < 190; ++y)
            for (int x = 20; x < 300; ++x) pixels.push_back(ScreenSurface().At(x, y) & 0xFFFFFF);
        return pixels;
    };
    // The first and last columns (from x = 20) where the text leaves ink.
    const auto inkColumns = [&](const std::vector<Pixel>& shown, const std::vector<Pixel>& blank) {
        int first = 280, last = -1;
        for (size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == blank[i]) continue;
            const int column = static_cast<int>(i % 280);
            first = std::min(first, column);
            last = std::max(last, column);
        }
        return std::make_pair(first, last);
    };
    const auto repaint = [&] {
        text.Invalidate();
        session.Pump();
    };
    const std::vector<Pixel> centred = row();
    text.SetWindowText(u"");
    repaint();
    const std::vector<Pixel> blank = row();
    text.SetWindowText(u"Backup finished");
    text.SetAlign(7);
    repaint();
    const auto left = inkColumns(row(), blank);
    text.SetAlign(2);
    repaint();
    const auto right = inkColumns(row(), blank);
    const auto centre = inkColumns(centred, blank);
    ASSERT_GE(left.second, 0) << "no text drawn";
    EXPECT_LE(left.first, 2) << "SetAlign(7) aligns left";
    EXPECT_GE(right.second, 277) << "SetAlign(2) aligns right";
    EXPECT_GT(right.first, left.first);
    EXPECT_LE(std::abs((centre.first + centre.second) - 279), 3) << "centred after construction";
    text.SetAlign(1);
    repaint();
    EXPECT_EQ(row(), centred);
}

// At every position the percentage reads whole: in the colour that stands
// out from the fill or the track under it (never half on each), and clear
// of the track's rounded right end.
TEST_F(BarsTest, PercentageReadsAtEveryPosition) {
    const CxImage right(SkinPath(u"Dialog\\PogressBar_right.png"), CXIMAGE_FORMAT_PNG);
    const int straightEnd = kBarRect.Width() - static_cast<int>(right.GetWidth());
    for (UINT percent = 0; percent <= 100; ++percent) {
        SCOPED_TRACE(percent);
        bar.SetPos(percent);
        session.Pump();
        EXPECT_EQ(Describe(FindHardToReadTexts(bar.GetSafeHwnd())), "");
        int textRight = 0;
        SetTextRunObserver([&](const DrawnTextRun& run) {
            for (const RECT& letter : run.letters) textRight = std::max<int>(textRight, letter.right);
        });
        bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SetTextRunObserver(nullptr);
        EXPECT_GT(textRight, 0) << "the percentage is drawn";
        EXPECT_LE(textRight, straightEnd) << "the percentage reaches into the rounded end";
    }
}

TEST_F(BarsTest, GoldenTitleProgressAndStatic) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_bars_progress_0"));
    bar.SetPos(37);
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_bars_progress_37"));
    bar.SetPos(100);
    title.SetTitle(u"资料管理");
    title.Invalidate();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_bars_progress_100"));
}

}  // namespace
