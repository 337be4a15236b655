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

namespace {

// Below this the letters of either language stop being legible.
constexpr int kSmallestFitHeight = 11;

}  // namespace

template <class F>
void CFontStatic::ForEachLine(const CString& text, F f) const {
    int start = 0;
    for (int top = 0;; top += m_lineStep) {
        const int end = text.Find(u'\r', start);
        CString line = end >= 0 ? text.Mid(start, end - start) : text.Mid(start);
        line.Trim();
        f(line, top);
        if (end < 0) break;
        start = end + 1;
    }
}

CRect CFontStatic::ShownRect() const {
    CRect shown;
    GetClientRect(shown);
    if (CWnd* parent = GetParent()) {
        CRect parentRect;
        parent->GetClientRect(parentRect);
        parent->ClientToScreen(parentRect);
        ScreenToClient(parentRect);
        shown.IntersectRect(shown, parentRect);
    }
    return shown;
}

bool CFontStatic::Holds(CDC& dc, CFont& font, const CString& text, const CRect& shown) {
    CFont* previousFont = dc.SelectObject(&font);
    bool holds = true;
    ForEachLine(text, [&](const CString& line, int top) {
        CRect laid(shown.left, top, shown.right, top);
        dc.DrawText(line, laid, (m_format & DT_WORDBREAK) | DT_CALCRECT);
        holds = holds && laid.Width() <= shown.Width() && laid.bottom <= shown.bottom;
    });
    dc.SelectObject(previousFont);
    return holds;
}

CFont* CFontStatic::FittingFont(CDC& dc, const CString& text, CFont& smaller) {
    const CRect shown = ShownRect();
    if (!m_fit || Holds(dc, m_font, text, shown)) return &m_font;
    LOGFONT font{};
    m_font.GetLogFont(&font);
    for (LONG height = font.lfHeight - 1; height >= kSmallestFitHeight; --height) {
        smaller.DeleteObject();
        font.lfHeight = height;
        if (smaller.CreateFontIndirect(&font) && Holds(dc, smaller, text, shown)) break;
    }
    // A font already at the smallest size, or no smaller one to be had,
    // stays as it is.
    return smaller.GetSafeHandle() != nullptr ? &smaller : &m_font;
}

void CFontStatic::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(rect);
    dc.SetBkMode(TRANSPARENT);
    CString text;
    GetWindowText(text);
    CFont smaller;
    CFont* previousFont = dc.SelectObject(FittingFont(dc, text, smaller));
    ForEachLine(text, [&](const CString& line, int top) {
        rect.top = top;
        dc.DrawText(line, rect, m_format);
    });
    dc.SelectObject(previousFont);
}
