#include "widgets/ScreenSnapshot.h"

#include <algorithm>

void PaintPendingWindows() { ::RedrawWindow(nullptr, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

CScreenSnapshot::~CScreenSnapshot() { Release(); }

void CScreenSnapshot::Capture(const RECT* screenRect) {
    if (::IsRectEmpty(screenRect)) return;
    HDC display = ::CreateDC(u"DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = ::CreateCompatibleDC(display);
    const int x0 = std::max<int>(screenRect->left, 0);
    const int y0 = std::max<int>(screenRect->top, 0);
    const int width = std::min<int>(screenRect->right, ::GetDeviceCaps(display, HORZRES)) - x0;
    const int height = std::min<int>(screenRect->bottom, ::GetDeviceCaps(display, VERTRES)) - y0;
    Release();  // a second capture replaces the first
    m_bitmap = ::CreateCompatibleBitmap(display, std::max(width, 0), std::max(height, 0));
    HGDIOBJ previous = ::SelectObject(memory, m_bitmap);
    ::BitBlt(memory, 0, 0, width, height, display, x0, y0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteDC(display);
}

void CScreenSnapshot::Restore() {
    if (m_owner == nullptr || m_owner->m_hWnd == nullptr) return;
    CRect client;
    m_owner->GetClientRect(client);
    RestoreRect(client);
}

void CScreenSnapshot::RestoreRect(const CRect& rect) {
    if (m_owner == nullptr || m_owner->m_hWnd == nullptr) return;
    HDC dc = ::GetDC(m_owner->m_hWnd);
    PaintInto(dc, rect.Width(), rect.Height());
    ::ReleaseDC(m_owner->m_hWnd, dc);
}

void CScreenSnapshot::RestoreToDC(CDC* dc, const CRect& rect) { PaintInto(dc->m_hDC, rect.Width(), rect.Height()); }

void CScreenSnapshot::Show(CDC* dc, const CRect& rect) const { Blit(dc->m_hDC, rect.Width(), rect.Height()); }

void CScreenSnapshot::Blit(HDC target, int width, int height) const {
    if (m_bitmap == nullptr) return;
    HDC memory = ::CreateCompatibleDC(target);
    HGDIOBJ previous = ::SelectObject(memory, m_bitmap);
    ::BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

void CScreenSnapshot::PaintInto(HDC target, int width, int height) {
    Blit(target, width, height);
    Release();
}

void CScreenSnapshot::Release() {
    if (m_bitmap != nullptr) ::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
}
