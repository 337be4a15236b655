// Keyboard navigation in dialogs: IsDialogMessage and the tab and group
// order (creation order, which is the z-order of the dialog's children).
#include <vector>

#include "platform/ui/dialog.h"

namespace {

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        controls.push_back(child);
    return controls;
}

bool Reachable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

DWORD StyleOf(HWND control) { return static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)); }

// The control after (or before) `index` in cyclic order that passes `accept`.
HWND Cycle(const std::vector<HWND>& controls, int index, bool previous, bool (*accept)(HWND)) {
    const int n = static_cast<int>(controls.size());
    for (int step = 1; step <= n; ++step) {
        int i = ((index + (previous ? -step : step)) % n + n) % n;
        if (accept(controls[i])) return controls[i];
    }
    return nullptr;
}

int IndexOf(const std::vector<HWND>& controls, HWND control) {
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] == control) return static_cast<int>(i);
    }
    return -1;
}

// The dialog's child that contains `hwnd` (hwnd itself for direct children).
HWND DirectChild(HWND dialog, HWND hwnd) {
    while (hwnd != nullptr && GetParent(hwnd) != dialog) hwnd = GetParent(hwnd);
    return hwnd;
}

// The default command of Enter: the focused push button, else the default id.
void PressDefault(HWND dialog, HWND focus, LRESULT focusCode) {
    int id = IDOK;
    HWND button = nullptr;
    if (focus != nullptr && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        id = GetDlgCtrlID(focus);
        button = focus;
    } else {
        LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        if (HIWORD(def) == DC_HASDEFID) id = LOWORD(def);
        button = GetDlgItem(dialog, id);
    }
    if (button != nullptr && !IsWindowEnabled(button)) return;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls = Controls(dialog);
    if (controls.empty()) return nullptr;
    auto tabStop = [](HWND c) { return Reachable(c) && (StyleOf(c) & WS_TABSTOP) != 0; };
    int index = IndexOf(controls, DirectChild(dialog, control));
    if (index < 0) index = previous ? 0 : static_cast<int>(controls.size()) - 1;
    HWND next = Cycle(controls, index, previous != FALSE, +tabStop);
    return next ? next : control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> controls = Controls(dialog);
    int index = IndexOf(controls, DirectChild(dialog, control));
    if (index < 0) return GetNextDlgTabItem(dialog, nullptr, previous);
    // The group runs from its WS_GROUP control to the control before the next one.
    int first = index;
    while (first > 0 && (StyleOf(controls[first]) & WS_GROUP) == 0) --first;
    int last = index + 1;
    while (last < static_cast<int>(controls.size()) && (StyleOf(controls[last]) & WS_GROUP) == 0) ++last;
    std::vector<HWND> group(controls.begin() + first, controls.begin() + last);
    HWND next = Cycle(group, index - first, previous != FALSE, +[](HWND c) { return Reachable(c); });
    return next ? next : control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (msg == nullptr || dialog == nullptr) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN) {
        HWND focus = GetFocus();
        LRESULT code = focus ? SendMessageW(focus, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) : 0;
        if ((code & DLGC_WANTALLKEYS) == 0) {
            switch (msg->wParam) {
            case VK_TAB:
                if ((code & DLGC_WANTTAB) == 0) {
                    BOOL back = (GetKeyState(VK_SHIFT) & 0x8000) ? TRUE : FALSE;
                    SendMessageW(dialog, WM_NEXTDLGCTL, back, FALSE);
                    return TRUE;
                }
                break;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if ((code & DLGC_WANTARROWS) == 0) {
                    BOOL back = (msg->wParam == VK_LEFT || msg->wParam == VK_UP) ? TRUE : FALSE;
                    HWND next = GetNextDlgGroupItem(dialog, focus, back);
                    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
                    return TRUE;
                }
                break;
            case VK_RETURN:
                PressDefault(dialog, focus, code);
                return TRUE;
            case VK_ESCAPE:
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
                return TRUE;
            default:
                break;
            }
        }
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) { return IsDialogMessageW(dialog, msg); }
