// The transparent label: lines one step apart over the page's own picture.
#include "tests/widgets/widget_page.h"
#include "widgets/FontStatic.h"

namespace {

class LabelTest : public WidgetTest {};

TEST_F(LabelTest, LinesSeparatedByCarriageReturnsOverThePage) {
    CFontStatic lines;
    CFontStatic empty;
    ASSERT_TRUE(page.CreatePage([&](CWidgetTestPage& p) {
        p.AddWidget(lines, 1501, 20, 40, 200, 40, u"Name\r\nDepartment 部门");
        p.AddWidget(empty, 1502, 20, 100, 200, 20, u"");
        // Pages capture labels through the label's own wrapper.
        p.captures.push_back([&](CDC* dc) {
            lines.CaptureBackground(&p, dc);
            empty.CaptureBackground(&p, dc);
        });
    }));
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_label_lines"));
    // New text repaints over the kept copy of the page.
    lines.SetWindowText(u"Card");
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_label_changed"));
}

// A page that captures all its transparent widgets alike gives a label its
// own capture: a shorter text erases the longer one it replaces.
TEST_F(LabelTest, ALabelCapturedAmongOtherWidgetsErasesItsOldText) {
    CFontStatic label;
    ASSERT_TRUE(page.CreatePage([&](CWidgetTestPage& p) {
        p.AddWidget(label, 1501, 20, 40, 120, 23, u"");
        p.captures.push_back([&](CDC* dc) { CFontStatic::CaptureWidget(&label, &p, dc); });
    }));
    session.Pump();
    const auto rightPart = [] {
        std::vector<Pixel> pixels;
        for (int y = 40; y < 63; ++y)
            for (int x = 60; x < 140; ++x) pixels.push_back(ScreenSurface().At(x, y));
        return pixels;
    };
    const std::vector<Pixel> blank = rightPart();
    label.SetWindowText(u"4444/22");
    session.Pump();
    ASSERT_NE(rightPart(), blank) << "the long text reaches the right part";
    label.SetWindowText(u"1");
    session.Pump();
    EXPECT_EQ(rightPart(), blank) << "nothing of the long text is left";
}

TEST_F(LabelTest, KeepPrintableDropsBlanksAndControls) {
    CString text = u" 12\t3\r\n4 ";
    CFontStatic::KeepPrintable(text);
    EXPECT_EQ(text, CString(u"1234"));
}

}  // namespace
