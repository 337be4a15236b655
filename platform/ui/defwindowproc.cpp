// What a window does with the messages its procedure leaves alone.
#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/window.h"

namespace {

// hbrBackground holds either a brush or a system colour index + 1.
HBRUSH ClassBrush(const Window* w) {
    HBRUSH brush = w->cls ? w->cls->info.hbrBackground : nullptr;
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value != 0 && value <= COLOR_STATICTEXT + 1) return GetSysColorBrush(static_cast<int>(value - 1));
    return brush;
}

LRESULT EraseBackground(HWND hwnd, HDC dc) {
    HBRUSH brush;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return 0;
        brush = ClassBrush(w);
    }
    if (brush == nullptr) return 0;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    return 1;
}

LRESULT DefaultControlColors(UINT message, HDC dc) {
    const bool edit = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE));
}

LRESULT CopyText(HWND hwnd, WPARAM size, LPARAM buffer) {
    auto* out = reinterpret_cast<char16_t*>(buffer);
    if (out == nullptr || size == 0) return 0;
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return 0;
    size_t n = std::min<size_t>(size - 1, w->text.size());
    w->text.copy(out, n);
    out[n] = 0;
    return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (wParam == 0) {
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_SETTEXT: {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return FALSE;
        auto* text = reinterpret_cast<const char16_t*>(lParam);
        w->text = text ? text : u"";
        return TRUE;
    }
    case WM_GETTEXT:
        return CopyText(hwnd, wParam, lParam);
    case WM_GETTEXTLENGTH: {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_SETFONT: {
        {
            WindowGuard guard(WindowLock());
            Window* w = WindowFromHandle(hwnd);
            if (w == nullptr) return 0;
            w->font = reinterpret_cast<HFONT>(wParam);
        }
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_GETFONT: {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        return w ? reinterpret_cast<LRESULT>(w->font) : 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return DefaultControlColors(message, reinterpret_cast<HDC>(wParam));
    case WM_MOUSEACTIVATE:
        return 1;  // MA_ACTIVATE
    default:
        return 0;
    }
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(proc, hwnd, message, wParam, lParam);
}
