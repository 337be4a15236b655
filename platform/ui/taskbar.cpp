#include "platform/ui/taskbar.h"

#include "platform/base/debug.h"
#include "platform/ui/gdi.h"
#include "platform/ui/winuser.h"

namespace {

constexpr int kTaskBarHeight = 26;
constexpr COLORREF kTaskBarColour = RGB(0x40, 0x40, 0x48);

LRESULT TaskBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(kTaskBarColour);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND StartShellTaskBar() {
    if (HWND existing = FindWindowW(u"HHTaskBar", nullptr)) return existing;
    WNDCLASSW wc{};
    wc.lpfnWndProc = TaskBarProc;
    wc.lpszClassName = u"HHTaskBar";
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_TOPMOST, u"HHTaskBar", u"", WS_POPUP | WS_VISIBLE, 0, 240 - kTaskBarHeight, 320,
                           kTaskBarHeight, nullptr, nullptr, nullptr, nullptr);
}

BOOL SipShowIM(DWORD flags) {
    JournalWrite(kJournalShell, flags & SIPF_ON ? u"SipShowIM on" : u"SipShowIM off");
    return TRUE;
}
