// Window attributes: window longs, styles, text, dialog-item shortcuts,
// enabled and visible state.
#include <algorithm>
#include <string>

#include "platform/base/lasterror.h"
#include "platform/ui/window.h"

namespace {

LONG_PTR* ExtraWord(Window* w, int index) {
    size_t word = static_cast<size_t>(index) / sizeof(LONG_PTR);
    return word < w->extra.size() ? &w->extra[word] : nullptr;
}

LONG_PTR ReadLong(Window* w, int index) {
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_ID:
        return static_cast<LONG_PTR>(w->id);
    case GWL_USERDATA:
        return w->userData;
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(w->IsChild() ? w->parent->handle : (w->owner ? w->owner->handle : nullptr));
    default:
        if (LONG_PTR* word = index >= 0 ? ExtraWord(w, index) : nullptr) return *word;
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

LONG_PTR WriteLong(Window* w, int index, LONG_PTR value) {
    LONG_PTR old = ReadLong(w, index);
    switch (index) {
    case GWL_STYLE:
        w->style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        w->exStyle = static_cast<DWORD>(value);
        break;
    case GWL_WNDPROC:
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_ID:
        w->id = static_cast<UINT_PTR>(value);
        break;
    case GWL_USERDATA:
        w->userData = value;
        break;
    default:
        if (LONG_PTR* word = index >= 0 ? ExtraWord(w, index) : nullptr) *word = value;
        break;
    }
    return old;
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return ReadLong(w, index);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) { return GetWindowLongPtrW(hwnd, index); }

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return WriteLong(w, index, value);
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtrW(hwnd, index, value); }

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG GetWindowLong(HWND hwnd, int index) { return GetWindowLongW(hwnd, index); }

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    // Styles are 32-bit values: keep them unsigned when widening.
    LONG_PTR wide = (index == GWL_STYLE || index == GWL_EXSTYLE) ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                                 : static_cast<LONG_PTR>(value);
    return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, wide));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) { return SetWindowLongW(hwnd, index, value); }

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    buffer[0] = 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowText(HWND hwnd, LPWSTR buffer, int size) { return GetWindowTextW(hwnd, buffer, size); }

int GetWindowTextLengthW(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)); }
int GetWindowTextLength(HWND hwnd) { return GetWindowTextLengthW(hwnd); }

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) != 0 ? TRUE : FALSE;
}

BOOL SetWindowText(HWND hwnd, LPCWSTR text) { return SetWindowTextW(hwnd, text); }

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text) { return SetDlgItemTextW(dialog, id, text); }

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        if (buffer != nullptr && size > 0) buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, size));
}

UINT GetDlgItemText(HWND dialog, int id, LPWSTR buffer, int size) { return GetDlgItemTextW(dialog, id, buffer, size); }

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    return SetDlgItemTextW(dialog, id, std::u16string(digits.begin(), digits.end()).c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    char16_t buffer[32];
    GetDlgItemTextW(dialog, id, buffer, 32);
    const char16_t* p = buffer;
    while (*p == u' ') ++p;
    bool negative = isSigned && *p == u'-';
    if (negative) ++p;
    int64_t value = 0;
    bool any = false;
    for (; *p >= u'0' && *p <= u'9'; ++p) {
        value = std::min<int64_t>(value * 10 + (*p - u'0'), 0xFFFFFFFFll);
        any = true;
    }
    bool ok = any && *p == 0;
    if (translated) *translated = ok ? TRUE : FALSE;
    if (!ok) return 0;
    return negative ? static_cast<UINT>(-value) : static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) return FALSE;
    SendMessageW(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    for (int id = firstId; id <= lastId; ++id) {
        if (HWND item = GetDlgItem(dialog, id)) SendMessageW(item, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled;
    bool loseFocus = false;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
        if (enable) {
            w->style &= ~static_cast<DWORD>(WS_DISABLED);
        } else {
            w->style |= WS_DISABLED;
            Window* focus = WindowFromHandle(GetFocus());
            loseFocus = focus != nullptr && IsAncestor(w, focus);
        }
    }
    // A disabled window keeps no focus.
    if (loseFocus) SetFocus(nullptr);
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    return (w != nullptr && (w->style & WS_DISABLED) == 0) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    return (w != nullptr && IsShown(w)) ? TRUE : FALSE;
}
