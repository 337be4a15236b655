#include "widgets/FontButton.h"

IMPLEMENT_DYNAMIC(CFontButton, CButton)

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kDisabledGrey = 0x808080;

// Outlines `rect` with a pen made for it alone (the brush is the null one).
void Frame(CDC& dc, const CRect& rect, int style, int width, COLORREF color) {
    CPen pen(style, width, color);
    CPen* previous = dc.SelectObject(&pen);
    dc.Rectangle(rect);
    dc.SelectObject(previous);
}

}  // namespace

CFontButton::CFontButton() { MakeWidgetFont(m_font, {u"Microsoft JhengHei", 17, 80, 1, 6}, {u"tohamo", 15, 80, 1, 6}); }

void CFontButton::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    dc.SetBkMode(TRANSPARENT);
    dc.FillSolidRect(client, WidgetPanelColor());
    CString caption;
    GetWindowText(caption);
    CFont* previousFont = dc.SelectObject(&m_font);
    CGdiObject* previousBrush = dc.SelectStockObject(NULL_BRUSH);
    const bool enabled = IsWindowEnabled() != FALSE;
    if (m_focused) {
        Frame(dc, client, PS_DOT, 6, kBlack);
        CRect inner = client;
        inner.DeflateRect(2, 2);
        Frame(dc, inner, PS_DASH, 1, kBlack);
    } else if (enabled) {
        Frame(dc, client, PS_DOT, 1, kBlack);
    }
    // A page can hand the focus to a disabled button: the grey frame then
    // goes over the focus frame.
    if (!enabled) {
        Frame(dc, client, PS_SOLID, 1, kDisabledGrey);
        dc.SetTextColor(kDisabledGrey);
    }
    dc.SelectObject(previousBrush);
    caption.TrimLeft();
    dc.DrawText(caption, client, m_format);
    dc.SelectObject(previousFont);
}

void CFontButton::OnSetFocus(CWnd* oldWnd) {
    m_focused = true;
    CButton::OnSetFocus(oldWnd);
}

void CFontButton::OnKillFocus(CWnd* newWnd) {
    m_focused = false;
    CButton::OnKillFocus(newWnd);
}

void CFontButton::OnEnable(BOOL enable) {
    CButton::OnEnable(enable);
    Invalidate(TRUE);
    UpdateWindow();
}
