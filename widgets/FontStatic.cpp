#include "widgets/FontStatic.h"

#include "core/MachineConfig.h"

IMPLEMENT_DYNAMIC(CFontStatic, CJHCanvas)

CFontStatic::CFontStatic() : m_format(g_MachineConfig.RightToLeft ? DT_RIGHT | DT_VCENTER : DT_VCENTER) {
    MakeWidgetFont(m_font, {u"Microsoft JhengHei", 17, 80, 1, 6}, {u"tohamo", 15, 80, 1, 6});
}

BOOL CFontStatic::CaptureBackgroundEx(CWnd* parent, CDC* dc, BYTE show) {
    m_captured = true;
    return CJHCanvas::CaptureBackground(parent, dc, show);
}

BOOL CFontStatic::CaptureWidget(CJHCanvas* widget, CWnd* parent, CDC* dc) {
    if (widget->IsKindOf(RUNTIME_CLASS(CFontStatic))) return static_cast<CFontStatic*>(widget)->CaptureBackground(parent, dc);
    return widget->CaptureBackground(parent, dc, 1);
}

void CFontStatic::KeepPrintable(CString& text) {
    CString kept;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] > u' ') kept += text[i];
    text = kept;
}

BOOL CFontStatic::OnEraseBkgnd(CDC* dc) {
    if (!m_captured) return TRUE;
    CRect client;
    GetClientRect(client);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, client.Width(), client.Height());
    CBitmap* previous = memory.SelectObject(&bitmap);
    DrawBackground(&memory);
    dc->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    return TRUE;
}

void CFontStatic::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(rect);
    dc.SetBkMode(TRANSPARENT);
    CFont* previousFont = dc.SelectObject(&m_font);
    CString text;
    GetWindowText(text);
    int start = 0;
    int top = 0;
    for (;;) {
        const int end = text.Find(u'\r', start);
        rect.top = top;
        top += m_lineStep;
        CString line = end >= 0 ? text.Mid(start, end - start) : text.Mid(start);
        line.Trim();
        dc.DrawText(line, rect, m_format);
        if (end < 0) break;
        start = end + 1;
    }
    dc.SelectObject(previousFont);
}
