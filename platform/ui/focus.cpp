// The focus window gets the keys. Moving the focus sends WM_KILLFOCUS to the
// old window (wParam = the new one) and then WM_SETFOCUS to the new one
// (wParam = the old one); setting the focus where it already is sends
// nothing. Each top-level window remembers its last focused descendant, so
// that closing a dialog gives the focus back to the control that had it.
#include "platform/ui/focus.h"

#include "platform/ui/input.h"
#include "platform/ui/window.h"

namespace {

HWND g_focus = nullptr;
HWND g_active = nullptr;
HWND g_capture = nullptr;

bool Usable(const Window* w) { return w != nullptr && IsShown(w) && (w->style & WS_DISABLED) == 0; }

}  // namespace

HWND GetFocus() {
    WindowGuard guard(WindowLock());
    return g_focus;
}

HWND SetFocus(HWND hwnd) {
    HWND old;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (hwnd != nullptr && (w == nullptr || w == Desktop())) return nullptr;
        old = g_focus;
        if (old == hwnd) return old;
    }
    if (old != nullptr) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (hwnd != nullptr && w == nullptr) return old;
        g_focus = hwnd;
        if (w != nullptr) {
            Window* top = TopLevelOf(w);
            top->lastFocus = hwnd;
            g_active = top->handle;
            if (top->owner != nullptr) top->owner->lastActivePopup = top->handle;
        }
    }
    if (hwnd != nullptr) SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetActiveWindow() {
    WindowGuard guard(WindowLock());
    return g_active;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old;
    HWND focusTarget;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w == Desktop()) return nullptr;
        w = TopLevelOf(w);
        old = g_active;
        g_active = w->handle;
        Window* focus = WindowFromHandle(g_focus);
        if (focus != nullptr && IsAncestor(w, focus)) return old;
        Window* last = WindowFromHandle(w->lastFocus);
        focusTarget = (last != nullptr && IsAncestor(w, last) && Usable(last)) ? last->handle : w->handle;
    }
    SetFocus(focusTarget);
    return old;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != nullptr || IsWindow(hwnd) ? TRUE : FALSE; }

void ActivateNextAfter(HWND closing) {
    HWND next = nullptr;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(closing);
        if (w != nullptr && Usable(w->owner)) {
            next = w->owner->handle;
        } else {
            for (Window* top : Desktop()->children) {
                if (top != w && Usable(top)) {
                    next = top->handle;
                    break;
                }
            }
        }
        if (next == nullptr) {
            if (g_active == closing) g_active = nullptr;
        }
    }
    if (next != nullptr)
        SetActiveWindow(next);
    else
        SetFocus(nullptr);
}

HWND SetCapture(HWND hwnd) {
    WindowGuard guard(WindowLock());
    HWND old = g_capture;
    g_capture = WindowFromHandle(hwnd) ? hwnd : nullptr;
    return old;
}

HWND GetCapture() {
    WindowGuard guard(WindowLock());
    return g_capture;
}

BOOL ReleaseCapture() {
    HWND old;
    {
        WindowGuard guard(WindowLock());
        old = g_capture;
        g_capture = nullptr;
    }
    if (old != nullptr) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

void ForgetWindowInput(Window* w) {
    if (g_focus == w->handle) g_focus = nullptr;
    if (g_active == w->handle) g_active = nullptr;
    if (g_capture == w->handle) g_capture = nullptr;
    ForgetMouseTracking(w->handle);
}
