// Whole scenes compared with reference screenshots in tests/golden/.
#include <gtest/gtest.h>

#include "tests/support/golden.h"
#include "tests/ui_gdi/canvas.h"

namespace {

void Label(CDC& dc, CFont& font, LPCTSTR text, CRect rect, UINT format, COLORREF color) {
    CFont* old = dc.SelectObject(&font);
    dc.SetTextColor(color);
    dc.DrawText(text, rect, format);
    dc.SelectObject(old);
}

}  // namespace

TEST(Golden, ShapesAndText) {
    Canvas canvas(320, 240);
    CDC* dc = CDC::FromHandle(canvas.dc);
    dc->FillSolidRect(0, 0, 320, 240, RGB(0xAB, 0xD9, 0xE6));
    dc->FillSolidRect(0, 0, 320, 24, RGB(0x06, 0x29, 0x49));

    CFont title, body, latin;
    title.CreateFont(17, 0, 0, 0, 80, 0, 0, 0, 1, 0, 0, 6, 0x20, u"Microsoft JhengHei");
    body.CreateFont(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0x20, u"微软雅黑");
    latin.CreateFont(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 6, 0x20, u"DejaVu Sans");
    dc->SetBkMode(TRANSPARENT);
    Label(*dc, title, u"考勤记录 Records", CRect(0, 0, 320, 24), DT_CENTER | DT_VCENTER | DT_SINGLELINE,
          RGB(0xDF, 0xDF, 0xDF));
    Label(*dc, body, u"用户 User 0001", CRect(8, 30, 150, 50), DT_LEFT | DT_SINGLELINE, RGB(0x06, 0x29, 0x49));
    Label(*dc, body, u"A very long caption that does not fit", CRect(8, 52, 150, 70),
          DT_SINGLELINE | DT_END_ELLIPSIS, RGB(0x06, 0x29, 0x49));
    Label(*dc, latin, u"Word break wraps this text at spaces", CRect(160, 30, 312, 80), DT_WORDBREAK | DT_CENTER,
          RGB(0x80, 0, 0));
    Label(*dc, body, u"&Prefix && more", CRect(8, 74, 150, 94), DT_SINGLELINE, kBlack);
    Label(*dc, body, u"右对齐", CRect(160, 80, 312, 100), DT_RIGHT | DT_SINGLELINE, kBlue);

    dc->SetBkMode(OPAQUE);
    dc->SetBkColor(RGB(255, 255, 200));
    Label(*dc, body, u"Opaque 背景", CRect(8, 100, 150, 120), DT_SINGLELINE, kBlack);
    dc->SetBkMode(TRANSPARENT);

    CPen dash(PS_DASH, 1, kBlack), wide(PS_SOLID, 3, RGB(0, 0x97, 0xE5)), outline(PS_INSIDEFRAME, 1, kBlack);
    CBrush panel(RGB(0x9C, 0xC9, 0xFF));
    CPen* oldPen = dc->SelectObject(&dash);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    dc->Rectangle(8, 130, 100, 170);
    dc->SelectObject(&wide);
    dc->MoveTo(110, 130);
    dc->LineTo(150, 170);
    dc->SelectObject(&outline);
    dc->SelectObject(&panel);
    dc->RoundRect(CRect(160, 130, 240, 170), CPoint(5, 5));
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);

    dc->Draw3dRect(CRect(250, 130, 310, 170), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    CRect button(8, 180, 100, 210);
    dc->DrawFrameControl(button, DFC_BUTTON, DFCS_BUTTONPUSH);
    Label(*dc, latin, u"OK", button, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kBlack);
    CRect focus(110, 180, 200, 210);
    dc->DrawFocusRect(focus);

    EXPECT_TRUE(MatchesGolden(canvas.Pixels(), "gdi_shapes_text"));
}
