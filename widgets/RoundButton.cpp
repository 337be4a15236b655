#include "widgets/RoundButton.h"

#include <algorithm>

namespace {

struct PenSpec {
    COLORREF color;
    int width;
};
// Left, right, top and bottom edges.
constexpr PenSpec kHoverPens[] = {{0x58C4FA, 3}, {0x6ACAFB, 3}, {0x79D2FC, 2}, {0x0097E5, 2}};
constexpr PenSpec kFocusPens[] = {{0xFCC699, 3}, {0xFCBDA2, 3}, {0xFFC9A2, 2}, {0xFFC9A2, 2}};
constexpr int kGradientSteps = 64;
constexpr int kCornerSize = 5;
constexpr int kCaptionLimit = 260;
constexpr DWORD kTypeBits = 0xF;

// Step i (0 to 63) of the gradient: white towards a pale blue whose tint
// depends on hover and highlight.
COLORREF GradientColor(int i, bool hover, bool highlighted) {
    const int redGreen = hover ? 255 - i / 4 : 255 - i / 3;
    const int blue = hover && highlighted ? 255 - i / 3 : highlighted && !hover ? 255 - i / 4 : 255 - i / 5;
    return RGB(redGreen, redGreen, blue);
}

}  // namespace

CRoundButton::CRoundButton() {
    m_outline.CreatePen(PS_INSIDEFRAME, 1, 0x000000);
    for (int i = 0; i < kEdges; ++i) {
        m_hoverPens[i].CreatePen(PS_INSIDEFRAME, kHoverPens[i].width, kHoverPens[i].color);
        m_focusPens[i].CreatePen(PS_INSIDEFRAME, kFocusPens[i].width, kFocusPens[i].color);
    }
    m_hoverBrush.CreateSolidBrush(0xECDEDF);
    m_normalBrush.CreateSolidBrush(0xECDFDE);
}

void CRoundButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
    CRect client;
    GetClientRect(&client);
    ::SetWindowRgn(m_hWnd, CreateRectRgnIndirect(&client), TRUE);
}

void CRoundButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC* dc = CDC::FromHandle(item->hDC);
    const int saved = dc->SaveDC();
    char16_t caption[kCaptionLimit + 1] = {};
    GetWindowText(caption, kCaptionLimit + 1);

    CRect rect = item->rcItem;
    CPen* previousPen = dc->SelectObject(&m_outline);
    dc->RoundRect(rect, CPoint(kCornerSize, kCornerSize));
    dc->SelectObject(previousPen);

    m_focused = (item->itemState & ODS_FOCUS) != 0;
    m_highlighted = m_focused || (item->itemState & (ODS_SELECTED | ODS_DEFAULT)) != 0 || m_default;
    rect.DeflateRect(GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));

    CBrush* previousBrush = dc->SelectObject(m_hover ? &m_hoverBrush : &m_normalBrush);
    DrawBackground(dc, rect);
    if (m_hover || m_focused) DrawFrame(dc, rect);
    dc->SelectObject(previousBrush);

    if ((item->itemState & ODS_DISABLED) == 0) {
        CFont* font = GetFont();
        if (font != nullptr) dc->SelectObject(font);
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(caption, rect, DT_WORDBREAK | DT_CENTER);
    }
    dc->RestoreDC(saved);
}

void CRoundButton::DrawBackground(CDC* dc, const CRect& rect) {
    CBrush steps[kGradientSteps];
    for (int i = 0; i < kGradientSteps; ++i) steps[i].CreateSolidBrush(GradientColor(i, m_hover, m_highlighted));
    const int height = std::max(1, rect.Height());
    for (int y = rect.top; y < rect.bottom; ++y) {
        const int step = std::min(kGradientSteps - 1, y * (kGradientSteps - 1) / height);
        dc->FillRect(CRect(rect.left, y, rect.right, y + 1), &steps[step]);
    }
}

void CRoundButton::DrawFrame(CDC* dc, const CRect& rect) {
    const bool focusColours = m_focused && !m_hover;
    CPen* pens = focusColours ? m_focusPens : m_hoverPens;
    const CPoint position = dc->GetCurrentPosition();
    CPen* previousPen = dc->SelectObject(&pens[0]);
    dc->MoveTo(rect.left, rect.bottom - 1);
    dc->LineTo(rect.left, rect.top + 1);
    dc->SelectObject(&pens[1]);
    dc->MoveTo(rect.right - 1, rect.bottom - 1);
    dc->LineTo(rect.right - 1, rect.top);
    dc->SelectObject(&pens[2]);
    dc->MoveTo(rect.left - 1, rect.top);
    dc->LineTo(rect.right - 1, rect.top);
    dc->SelectObject(&pens[3]);
    dc->MoveTo(rect.left, rect.bottom);
    dc->LineTo(rect.right - 1, rect.bottom);
    dc->SelectObject(previousPen);
    dc->MoveTo(position);
    if (focusColours) dc->DrawFocusRect(rect);
}

void CRoundButton::OnMouseMove(UINT flags, CPoint point) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    CButton::OnMouseMove(flags, point);
}

UINT CRoundButton::OnGetDlgCode() { return CButton::OnGetDlgCode() | DLGC_DEFPUSHBUTTON; }

BOOL CRoundButton::OnReflectedCommand(UINT notifyCode) {
    if (notifyCode == BN_CLICKED) SetFocus();
    return FALSE;
}

LRESULT CRoundButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEHOVER:
        m_hover = true;
        Invalidate(TRUE);
        return 0;
    case WM_MOUSELEAVE:
        m_hover = false;
        m_tracking = false;
        Invalidate(FALSE);
        return 0;
    case BM_SETSTYLE: {
        const DWORD type = static_cast<DWORD>(wParam) & kTypeBits;
        if (type == BS_DEFPUSHBUTTON) m_default = true;
        if (type == BS_PUSHBUTTON) m_default = false;
        return CButton::WindowProc(message, (wParam & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW, lParam);
    }
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}
