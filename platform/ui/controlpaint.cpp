#include "platform/ui/controlpaint.h"

#include "platform/ui/gdi.h"

HBRUSH ControlColors(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    WPARAM w = reinterpret_cast<WPARAM>(dc);
    LPARAM l = reinterpret_cast<LPARAM>(control);
    LRESULT brush = parent ? SendMessageW(parent, message, w, l) : DefWindowProcW(control, message, w, l);
    return reinterpret_cast<HBRUSH>(brush);
}

LRESULT EraseWithColor(HWND control, WPARAM dc, COLORREF color) {
    RECT client;
    GetClientRect(control, &client);
    HDC target = reinterpret_cast<HDC>(dc);
    SetBkColor(target, color);
    ExtTextOutW(target, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    return 1;
}

void PaintControl(HWND control, WPARAM givenDC, void (*paint)(HWND, HDC)) {
    PAINTSTRUCT ps{};
    HDC dc = givenDC ? reinterpret_cast<HDC>(givenDC) : BeginPaint(control, &ps);
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    paint(control, dc);
    if (font) SelectObject(dc, old);
    if (!givenDC) EndPaint(control, &ps);
}
