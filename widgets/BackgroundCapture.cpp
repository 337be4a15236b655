#include "widgets/BackgroundCapture.h"

CBackgroundCapture::~CBackgroundCapture() {
    m_memDC.DeleteDC();
    m_bitmap.DeleteObject();
}

BOOL CBackgroundCapture::Capture(CWnd* widget, CWnd* parent, CDC* dc, int show) {
    return CaptureFrom(widget, parent, dc, false, show);
}

BOOL CBackgroundCapture::CaptureFromParent(CWnd* widget, CWnd* parent, int show) {
    return CaptureFrom(widget, parent, nullptr, true, show);
}

BOOL CBackgroundCapture::CaptureFrom(CWnd* widget, CWnd* parent, CDC* source, bool fromParentDc, int show) {
    if (!m_needCapture) return TRUE;
    CRect rect;
    widget->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    if (widget->IsWindowVisible()) {
        // The parent repaints this area once more without the widget; that
        // second erase finds the flag clear and copies nothing.
        widget->ShowWindow(SW_HIDE);
        parent->InvalidateRect(&rect, TRUE);
    }
    if (fromParentDc) source = parent->GetDC();
    m_needCapture = FALSE;
    m_bitmap.DeleteObject();
    m_memDC.DeleteDC();
    m_memDC.CreateCompatibleDC(source);
    m_bitmap.CreateCompatibleBitmap(source, rect.Width(), rect.Height());
    m_previous = m_memDC.SelectObject(&m_bitmap);
    m_memDC.BitBlt(0, 0, rect.Width(), rect.Height(), source, rect.left, rect.top, SRCCOPY);
    m_memDC.SelectObject(m_previous);
    if (fromParentDc) parent->ReleaseDC(source);
    if (show == 1) widget->ShowWindow(SW_SHOWNA);
    return TRUE;
}

void CBackgroundCapture::Draw(CWnd* widget, CDC* dc) {
    if (m_bitmap.GetSafeHandle() == nullptr) return;
    CRect rect;
    widget->GetWindowRect(&rect);
    m_previous = m_memDC.SelectObject(&m_bitmap);
    dc->BitBlt(0, 0, rect.Width(), rect.Height(), &m_memDC, 0, 0, SRCCOPY);
    m_memDC.SelectObject(m_previous);
}
