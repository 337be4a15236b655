// Window classes by name. The stock control classes are registered on first
// use of the class table.
#include <map>

#include "platform/base/lasterror.h"
#include "platform/ui/stockclasses.h"
#include "platform/ui/window.h"

namespace {

std::u16string Folded(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& ch : folded) {
        if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
    }
    return folded;
}

std::map<std::u16string, WindowClass>& Classes() {
    static std::map<std::u16string, WindowClass> classes;
    return classes;
}

void EnsureStockClasses() {
    static std::once_flag once;
    std::call_once(once, RegisterStockClasses);
}

}  // namespace

const WindowClass* FindWindowClass(std::u16string_view name) {
    EnsureStockClasses();
    WindowGuard guard(WindowLock());
    auto it = Classes().find(Folded(name));
    return it == Classes().end() ? nullptr : &it->second;
}

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr || wc->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowGuard guard(WindowLock());
    std::u16string key = Folded(wc->lpszClassName);
    if (Classes().count(key) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass& cls = Classes()[key];
    cls.name = wc->lpszClassName;
    cls.info = *wc;
    cls.info.lpszClassName = cls.name.c_str();
    cls.info.lpszMenuName = nullptr;
    return static_cast<ATOM>(Classes().size());
}

ATOM RegisterClass(const WNDCLASSW* wc) { return RegisterClassW(wc); }

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    if (className == nullptr) return FALSE;
    WindowGuard guard(WindowLock());
    return Classes().erase(Folded(className)) != 0 ? TRUE : FALSE;
}

BOOL UnregisterClass(LPCWSTR className, HINSTANCE instance) { return UnregisterClassW(className, instance); }

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wc) {
    const WindowClass* cls = className ? FindWindowClass(className) : nullptr;
    if (cls == nullptr || wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *wc = cls->info;
    return TRUE;
}

BOOL GetClassInfo(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc) {
    return GetClassInfoW(instance, className, wc);
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || buffer == nullptr || size <= 0) return 0;
    int n = std::min<int>(size - 1, static_cast<int>(w->cls->name.size()));
    w->cls->name.copy(buffer, n);
    buffer[n] = 0;
    return n;
}

int GetClassName(HWND hwnd, LPWSTR buffer, int size) { return GetClassNameW(hwnd, buffer, size); }
