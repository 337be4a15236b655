// The STATIC class: text labels and rectangles. Without SS_NOTIFY a static is
// transparent to touch (the window below gets the touch); with it, a touch
// sends STN_CLICKED to the parent on the way down.
#include <string>

#include "platform/ui/controlpaint.h"
#include "platform/ui/controlstate.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {


UINT TextFormat(DWORD style) {
    UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT | DT_EXPANDTABS;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
    return format;
}

void PaintStatic(HWND hwnd, HDC dc) {
    DWORD style = WindowStyleOf(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    if ((style & SS_TYPEMASK) == SS_OWNERDRAW) {
        DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE,
                            IsWindowEnabled(hwnd) ? 0u : static_cast<UINT>(ODS_DISABLED), hwnd, dc, client, 0};
        SendMessageW(GetParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    if ((style & SS_TYPEMASK) == SS_BLACKRECT || (style & SS_TYPEMASK) == SS_WHITERECT) {
        FillRect(dc, &client, GetStockObject((style & SS_TYPEMASK) == SS_BLACKRECT ? BLACK_BRUSH : WHITE_BRUSH));
        return;
    }
    HBRUSH brush = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
    if (brush != nullptr) FillRect(dc, &client, brush);
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    const std::u16string text = WindowTextOf(hwnd);
    if (text.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, TextFormat(style));
}

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return (WindowStyleOf(hwnd) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
        if (WindowStyleOf(hwnd) & SS_NOTIFY) {
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
        }
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT:
        PaintControl(hwnd, wParam, PaintStatic);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterStaticClass() { RegisterControlClass(WC_STATIC, StaticProc, 0); }
