// The BUTTON class: push, default push, owner-drawn (WM_DRAWITEM to the
// parent), check box, radio button and group box. A touch sets the focus,
// captures the finger and shows the button pushed; lifting the finger over
// the button sends BN_CLICKED. State changes invalidate; only WM_PAINT draws.
#include <string>

#include "platform/ui/controlpaint.h"
#include "platform/ui/controlstate.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {

constexpr int kStateWord = 0;  // BST_ flags

DWORD TypeOf(HWND hwnd) { return WindowStyleOf(hwnd) & BS_TYPEMASK; }
UINT StateOf(HWND hwnd) { return static_cast<UINT>(GetWindowLongPtrW(hwnd, kStateWord)); }

void SetState(HWND hwnd, UINT flag, bool on) {
    UINT state = StateOf(hwnd);
    UINT next = on ? (state | flag) : (state & ~flag);
    if (next == state) return;
    SetWindowLongPtrW(hwnd, kStateWord, static_cast<LONG_PTR>(next));
    InvalidateRect(hwnd, nullptr, TRUE);
}

bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

void SetCheck(HWND hwnd, UINT check) {
    UINT state = StateOf(hwnd);
    UINT next = (state & ~static_cast<UINT>(BST_CHECKED | BST_INDETERMINATE)) | (check & (BST_CHECKED | BST_INDETERMINATE));
    if (next == state) return;
    SetWindowLongPtrW(hwnd, kStateWord, static_cast<LONG_PTR>(next));
    InvalidateRect(hwnd, nullptr, TRUE);
}

// An automatic radio button clears the others of its group when checked.
void CheckRadioInGroup(HWND hwnd) {
    HWND dialog = GetParent(hwnd);
    HWND item = hwnd;
    do {
        if (item != hwnd && TypeOf(item) == BS_AUTORADIOBUTTON) SetCheck(item, BST_UNCHECKED);
        item = GetNextDlgGroupItem(dialog, item, FALSE);
    } while (item != nullptr && item != hwnd);
    SetCheck(hwnd, BST_CHECKED);
}

void Click(HWND hwnd) {
    DWORD type = TypeOf(hwnd);
    if (type == BS_AUTOCHECKBOX) SetCheck(hwnd, (StateOf(hwnd) & BST_CHECKED) ? BST_UNCHECKED : BST_CHECKED);
    if (type == BS_AUTORADIOBUTTON) CheckRadioInGroup(hwnd);
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}

UINT DrawTextFlags(DWORD style) {
    UINT format = DT_SINGLELINE | DT_VCENTER;
    switch (style & BS_CENTER) {
    case BS_LEFT:
        return format | DT_LEFT;
    case BS_RIGHT:
        return format | DT_RIGHT;
    default:
        return format | DT_CENTER;
    }
}

// The box of a check box (a tick when checked) or of a radio button (a
// round box with a dot).
void DrawCheckBox(HDC dc, const RECT& box, bool radio, bool checked, bool enabled) {
    COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HBRUSH paper = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, paper);
    if (radio)
        RoundRect(dc, box.left, box.top, box.right, box.bottom, box.right - box.left, box.bottom - box.top);
    else
        Rectangle(dc, box.left, box.top, box.right, box.bottom);
    HPEN markPen = CreatePen(PS_SOLID, 2, ink);
    HBRUSH markBrush = CreateSolidBrush(ink);
    SelectObject(dc, markPen);
    SelectObject(dc, markBrush);
    if (checked && radio) {
        RoundRect(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4, 5, 5);
    } else if (checked) {
        MoveToEx(dc, box.left + 3, box.top + 6, nullptr);
        LineTo(dc, box.left + 5, box.top + 9);
        LineTo(dc, box.left + 10, box.top + 3);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(paper);
    DeleteObject(markPen);
    DeleteObject(markBrush);
}

void PaintOwnerDrawn(HWND hwnd, HDC dc, const RECT& client) {
    UINT state = StateOf(hwnd);
    UINT itemState = 0;
    if (state & BST_PUSHED) itemState |= ODS_SELECTED;
    if (!IsWindowEnabled(hwnd)) itemState |= ODS_DISABLED;
    if (GetFocus() == hwnd) itemState |= ODS_FOCUS;
    DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, itemState, hwnd, dc, client, 0};
    SendMessageW(GetParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void PaintButton(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD style = WindowStyleOf(hwnd);
    DWORD type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) {
        PaintOwnerDrawn(hwnd, dc, client);
        return;
    }
    UINT state = StateOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH brush = ControlColors(hwnd, dc, (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    if (brush != nullptr) FillRect(dc, &client, brush);
    SetBkMode(dc, TRANSPARENT);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    std::u16string text = WindowTextOf(hwnd);
    RECT textRect = client;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        UINT frame = DFCS_BUTTONPUSH | ((state & BST_PUSHED) ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
        DrawFrameControl(dc, &client, DFC_BUTTON, frame);
        if (state & BST_PUSHED) OffsetRect(&textRect, 1, 1);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DrawTextFlags(style));
        if (GetFocus() == hwnd) {
            RECT focus = client;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    } else if (type == BS_GROUPBOX) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        textRect.left += 8;
        // The frame's top line stops where the caption is.
        int saved = SaveDC(dc);
        if (!text.empty()) ExcludeClipRect(dc, textRect.left - 2, 0, textRect.left + extent.cx + 2, extent.cy);
        RECT frame = client;
        frame.top += extent.cy / 2;
        FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
        RestoreDC(dc, saved);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_TOP | DT_SINGLELINE);
    } else {
        constexpr int kBox = 13;
        RECT box{client.left, (client.top + client.bottom - kBox) / 2, client.left + kBox, 0};
        box.bottom = box.top + kBox;
        DrawCheckBox(dc, box, IsRadioType(type), (state & BST_CHECKED) != 0, enabled);
        textRect.left += kBox + 4;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

LRESULT DialogCode(HWND hwnd) {
    DWORD type = TypeOf(hwnd);
    if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (IsRadioType(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (type == BS_GROUPBOX) return DLGC_STATIC;
    return DLGC_BUTTON;
}

bool FingerOver(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT pt{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    return PtInRect(&client, pt) != FALSE;
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return TypeOf(hwnd) == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        SetCapture(hwnd);
        SetState(hwnd, BST_PUSHED, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) SetState(hwnd, BST_PUSHED, FingerOver(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP: {
        if (GetCapture() != hwnd) return 0;
        ReleaseCapture();
        const bool clicked = FingerOver(hwnd, lParam);
        SetState(hwnd, BST_PUSHED, false);
        if (clicked) Click(hwnd);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) SetState(hwnd, BST_PUSHED, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (StateOf(hwnd) & BST_PUSHED)) {
            SetState(hwnd, BST_PUSHED, false);
            Click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_KILLFOCUS:
        if (GetCapture() == hwnd) ReleaseCapture();
        SetState(hwnd, BST_PUSHED, false);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case BM_CLICK:
        Click(hwnd);
        return 0;
    case BM_GETCHECK:
        return StateOf(hwnd) & (BST_CHECKED | BST_INDETERMINATE);
    case BM_SETCHECK:
        SetCheck(hwnd, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE:
        return StateOf(hwnd) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetState(hwnd, BST_PUSHED, wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        DWORD style = (WindowStyleOf(hwnd) & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_GETDLGCODE:
        return DialogCode(hwnd);
    case WM_PAINT:
        PaintControl(hwnd, wParam, PaintButton);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterButtonClass() { RegisterControlClass(WC_BUTTON, ButtonProc); }
