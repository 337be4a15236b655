#include "widgets/JHStatic.h"

#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CJHStatic, CJHCanvas)

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
