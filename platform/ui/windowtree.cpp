// Walking the window tree: parents, owners, siblings in z-order, dialog items.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/ui/window.h"

namespace {

HWND HandleOf(const Window* w) { return w ? w->handle : nullptr; }

}  // namespace

HWND GetDesktopWindow() {
    WindowGuard guard(WindowLock());
    return Desktop()->handle;
}

HWND GetParent(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return nullptr;
    if (w->IsChild()) return HandleOf(w->parent);
    return (w->style & WS_POPUP) ? HandleOf(w->owner) : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return nullptr;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (relation == GW_OWNER) return HandleOf(w->owner);
    if (w->parent == nullptr) return nullptr;
    const auto& siblings = w->parent->children;
    auto self = std::find(siblings.begin(), siblings.end(), w);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->handle;
    case GW_HWNDLAST:
        return siblings.back()->handle;
    case GW_HWNDNEXT:
        return (self + 1 == siblings.end()) ? nullptr : (*(self + 1))->handle;
    case GW_HWNDPREV:
        return self == siblings.begin() ? nullptr : (*(self - 1))->handle;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

HWND GetNextWindow(HWND hwnd, UINT relation) { return GetWindow(hwnd, relation); }

BOOL IsChild(HWND parent, HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* p = WindowFromHandle(parent);
    Window* w = WindowFromHandle(hwnd);
    if (p == nullptr || w == nullptr || p == w) return FALSE;
    for (Window* a = w; a != nullptr && a->IsChild(); a = a->parent) {
        if (a->parent == p) return TRUE;
    }
    return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(dialog);
    if (w == nullptr) return nullptr;
    for (Window* child : w->children) {
        if (child->id == static_cast<UINT_PTR>(id)) return child->handle;
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    return (w != nullptr && w->IsChild()) ? static_cast<int>(w->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR text) {
    WindowGuard guard(WindowLock());
    const WindowClass* cls = className ? FindWindowClass(className) : nullptr;
    if (className != nullptr && cls == nullptr) return nullptr;
    for (Window* top : Desktop()->children) {
        if (cls != nullptr && top->cls != cls) continue;
        if (text != nullptr && top->text != text) continue;
        return top->handle;
    }
    return nullptr;
}

HWND FindWindow(LPCWSTR className, LPCWSTR text) { return FindWindowW(className, text); }

HWND GetLastActivePopup(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return nullptr;
    Window* popup = WindowFromHandle(w->lastActivePopup);
    if (popup != nullptr && popup->owner == w && (popup->style & WS_VISIBLE)) return popup->handle;
    return hwnd;
}
