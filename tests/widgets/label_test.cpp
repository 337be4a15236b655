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

TEST_F(LabelTest, KeepPrintableDropsBlanksAndControls) {
    CString text = u" 12\t3\r\n4 ";
    CFontStatic::KeepPrintable(text);
    EXPECT_EQ(text, CString(u"1234"));
}

}  // namespace
