// The dialog class, dialog creation from templates, DefDlgProc, EndDialog.
#include "platform/ui/dialog.h"

#include <map>

#include "platform/ui/commctrl.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {

// Private dialog words after DWL_MSGRESULT, DWL_DLGPROC and DWL_USER.
constexpr int kEndedWord = 3 * sizeof(LONG_PTR);
constexpr int kResultWord = 4 * sizeof(LONG_PTR);
constexpr int kDefaultIdWord = 5 * sizeof(LONG_PTR);
constexpr int kDialogWords = 6;

std::map<UINT, const DialogTemplate*>& Templates() {
    static std::map<UINT, const DialogTemplate*> templates;
    return templates;
}

// Messages whose answer is the dialog procedure's return value itself
// rather than DWL_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

LRESULT EraseDialog(HWND dialog, HDC dc) {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(dialog)));
    if (brush == nullptr) return 0;
    RECT client;
    GetClientRect(dialog, &client);
    FillRect(dc, &client, brush);
    return 1;
}

LRESULT DefaultDialogHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_ERASEBKGND:
        return EraseDialog(dialog, reinterpret_cast<HDC>(wParam));
    case WM_SETFOCUS:
        if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);
        return 0;
    case WM_NEXTDLGCTL: {
        HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                     : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (target == nullptr) return 0;
        SetFocus(target);
        // An edit reached by moving between fields has all its text
        // selected, so that what is typed replaces it.
        if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
        return 0;
    }
    case WM_CLOSE:
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case DM_GETDEFID: {
        LONG_PTR id = GetWindowLongPtrW(dialog, kDefaultIdWord);
        return id != 0 ? MAKELONG(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        SetWindowLongPtrW(dialog, kDefaultIdWord, static_cast<LONG_PTR>(wParam));
        return TRUE;
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

RECT PixelsOf(int x, int y, int cx, int cy) {
    RECT r{x, y, x + cx, y + cy};
    MapDialogRect(nullptr, &r);
    return r;
}

}  // namespace

void RegisterDialogClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = kDialogWords * sizeof(LONG_PTR);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = WC_DIALOG;
    RegisterClassW(&wc);
}

void RegisterDialogTemplate(const DialogTemplate* dialog) { Templates()[dialog->id] = dialog; }

const DialogTemplate* FindDialogTemplate(UINT id) {
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : it->second;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWL_DLGPROC));
    if (proc != nullptr) {
        SetWindowLongPtrW(dialog, DWL_MSGRESULT, 0);
        INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (handled != 0) return ReturnsDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWL_MSGRESULT);
    }
    return DefaultDialogHandling(dialog, message, wParam, lParam);
}

LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(dialog, message, wParam, lParam);
}

BOOL MapDialogRect(HWND, LPRECT rect) {
    // Base units 4 x 8: one dialog unit is one pixel.
    return rect != nullptr ? TRUE : FALSE;
}

LONG GetDialogBaseUnits() { return MAKELONG(4, 8); }

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC proc,
                                LPARAM param) {
    if (dialog == nullptr) return nullptr;
    DWORD style = dialog->style;
    if ((style & WS_CHILD) == 0) style |= WS_POPUP;
    RECT r = PixelsOf(dialog->x, dialog->y, dialog->cx, dialog->cy);
    HWND hwnd = CreateWindowExW(dialog->exStyle, WC_DIALOG, dialog->caption, style & ~static_cast<DWORD>(WS_VISIBLE),
                                r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr, instance, nullptr);
    if (hwnd == nullptr) return nullptr;
    SetWindowLongPtrW(hwnd, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    if (style & DS_CENTER) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (style & WS_CHILD) GetClientRect(parent, &area);
        SetWindowPos(hwnd, nullptr, area.left + (area.right - area.left - (r.right - r.left)) / 2,
                     area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    for (const DialogItemTemplate& item : dialog->items) {
        RECT ir = PixelsOf(item.x, item.y, item.cx, item.cy);
        DWORD itemStyle = item.style | WS_CHILD | (item.startsHidden ? 0 : WS_VISIBLE);
        HWND control = CreateWindowExW(item.exStyle, item.className, item.text, itemStyle, ir.left, ir.top,
                                       ir.right - ir.left, ir.bottom - ir.top, hwnd,
                                       reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), instance, nullptr);
        if (control != nullptr && font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    // A hidden page inside another window does not take the focus when it is made.
    const bool mayFocus = (style & WS_CHILD) == 0 || (style & WS_VISIBLE) != 0;
    if (SendMessageW(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) != 0 && IsWindow(hwnd) && mayFocus) {
        HWND focus = GetNextDlgTabItem(hwnd, nullptr, FALSE);
        if (focus != nullptr) SetFocus(focus);
    }
    if (IsWindow(hwnd) && (style & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC proc,
                               LPARAM param) {
    return CreateDialogIndirectParamW(instance, dialog, parent, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (!IsWindow(dialog)) return FALSE;
    SetWindowLongPtrW(dialog, kResultWord, result);
    SetWindowLongPtrW(dialog, kEndedWord, 1);
    // The owner first, so that hiding the dialog hands the focus back to it.
    if (HWND owner = GetWindow(dialog, GW_OWNER)) EnableWindow(owner, TRUE);
    ShowWindow(dialog, SW_HIDE);
    // Wakes a modal loop that waits for messages.
    PostMessageW(dialog, WM_NULL, 0, 0);
    return TRUE;
}

bool DialogEnded(HWND dialog, INT_PTR* result) {
    if (!IsWindow(dialog)) return true;
    if (GetWindowLongPtrW(dialog, kEndedWord) == 0) return false;
    if (result != nullptr) *result = GetWindowLongPtrW(dialog, kResultWord);
    return true;
}
