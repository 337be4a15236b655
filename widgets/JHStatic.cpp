#include "widgets/JHStatic.h"

#include "widgets/CanvasPaint.h"
#include "widgets/WidgetRules.h"

// The class record names the window class as the base, as it always has,
// although the static paints through the canvas.
IMPLEMENT_DYNAMIC(CJHStatic, CWnd)

CJHStatic::CJHStatic() {
    static const WidgetFontSpec traditional{u"Microsoft JhengHei", 30, 900, 1, 6};
    static const WidgetFontSpec other{u"tohamo", 28, 900, 1, 6};
    MakeWidgetFont(m_font, traditional, other);
}

void CJHStatic::SetAlign(int align) {
    m_align = align == 1 ? Align::Centre : align == 2 ? Align::Right : Align::Left;
}

void CJHStatic::OnPaint() {
    const UINT alignment = m_align == Align::Centre ? DT_CENTER : m_align == Align::Right ? DT_RIGHT : DT_LEFT;
    CCanvasPaint paint(this);
    CDC& dc = paint.Dc();
    dc.SetBkMode(TRANSPARENT);
    CFont* previousFont = dc.SelectObject(GetFont());
    CString text;
    GetWindowText(text);
    CRect client = paint.Client();
    dc.DrawText(text, client, alignment | DT_SINGLELINE | DT_END_ELLIPSIS);
    dc.SelectObject(previousFont);
}
