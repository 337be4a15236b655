// DCs of windows in the class library: CPaintDC (BeginPaint/EndPaint),
// CClientDC (GetDC/ReleaseDC) and CWindowDC (the same: windows have no
// frame of their own).
#pragma once

#include "platform/ui/CWnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CWindowDC : public CClientDC {
public:
    explicit CWindowDC(CWnd* wnd) : CClientDC(wnd) {}
};
