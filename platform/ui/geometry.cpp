// Window rectangles, coordinates, moves, z-order and visibility.
//
// A SetWindowPos or ShowWindow that changes nothing sends nothing and
// invalidates nothing: the control panel moves its icons from inside its
// WM_ERASEBKGND, which only settles because the second move is a no-op.
#include <algorithm>

#include "platform/base/lasterror.h"
#include "platform/ui/focus.h"
#include "platform/ui/paint.h"
#include "platform/ui/rect.h"
#include "platform/ui/window.h"

namespace {

void ClearUpdate(Window* w) {
    w->update.Clear();
    w->erasePending = false;
    w->internalPaint = false;
    for (Window* child : w->children) ClearUpdate(child);
}

void MoveBefore(std::vector<Window*>& siblings, Window* w, size_t index) {
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(std::min(index, siblings.size())), w);
}

// Brings a top-level window to the top, its pop-ups staying above it.
void RaiseTopLevel(Window* w) {
    std::vector<Window*>& order = Desktop()->children;
    MoveBefore(order, w, 0);
    std::vector<Window*> owned;
    for (Window* other : order) {
        if (other->owner == w) owned.push_back(other);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) RaiseTopLevel(*it);
}

// Applies a z-order request; true when the order changed.
bool Reorder(Window* w, HWND insertAfter) {
    std::vector<Window*>& siblings = w->parent->children;
    std::vector<Window*> before = siblings;
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        if (w->parent == Desktop())
            RaiseTopLevel(w);
        else
            MoveBefore(siblings, w, 0);
    } else if (insertAfter == HWND_BOTTOM) {
        MoveBefore(siblings, w, siblings.size());
    } else {
        Window* after = WindowFromHandle(insertAfter);
        if (after == nullptr || after->parent != w->parent || after == w) return false;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
        auto pos = std::find(siblings.begin(), siblings.end(), after);
        siblings.insert(pos + 1, w);
    }
    return siblings != before;
}

}  // namespace

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = ScreenRect(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || rect == nullptr) return FALSE;
    *rect = ClientRectOf(w);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || point == nullptr) return FALSE;
    POINT origin = ScreenOrigin(w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || point == nullptr) return FALSE;
    POINT origin = ScreenOrigin(w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    WindowGuard guard(WindowLock());
    Window* a = from ? WindowFromHandle(from) : Desktop();
    Window* b = to ? WindowFromHandle(to) : Desktop();
    if (a == nullptr || b == nullptr) return 0;
    POINT oa = ScreenOrigin(a);
    POINT ob = ScreenOrigin(b);
    int dx = oa.x - ob.x;
    int dy = oa.y - ob.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    bool moved, sized, showNow = false, hideNow = false;
    RECT now;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w == Desktop()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        RECT old = w->rect;
        now = old;
        if ((flags & SWP_NOMOVE) == 0) OffsetRect(&now, x - old.left, y - old.top);
        if ((flags & SWP_NOSIZE) == 0) {
            now.right = now.left + std::max(width, 0);
            now.bottom = now.top + std::max(height, 0);
        }
        moved = now.left != old.left || now.top != old.top;
        sized = (now.right - now.left) != (old.right - old.left) || (now.bottom - now.top) != (old.bottom - old.top);
        const bool visible = (w->style & WS_VISIBLE) != 0;
        showNow = (flags & SWP_SHOWWINDOW) && !visible;
        hideNow = (flags & SWP_HIDEWINDOW) && visible;
        const bool redraw = visible && (flags & SWP_NOREDRAW) == 0;
        if ((moved || sized) && redraw) ExposeArea(w, old);
        w->rect = now;
        bool restacked = (flags & SWP_NOZORDER) == 0 && Reorder(w, insertAfter);
        if (redraw && (moved || sized || restacked)) {
            if (restacked) ExposeArea(w, now);
            InvalidateLocked(w, Region(ClientRectOf(w)), true);
        }
    }
    if (moved) SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(now.left, now.top));
    if (sized) SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(now.right - now.left, now.bottom - now.top));
    if (showNow) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (hideNow) ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND hwnd, int command) {
    const bool show = command != SW_HIDE;
    bool wasVisible;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w == Desktop()) return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        if (wasVisible == show) return wasVisible ? TRUE : FALSE;
    }
    SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    bool activate = false;
    bool focusLeaves = false;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return wasVisible ? TRUE : FALSE;
        if (show) {
            w->style |= WS_VISIBLE;
            const bool topLevel = w->parent == Desktop();
            activate = topLevel && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                       command != SW_SHOWMINNOACTIVE;
            if (activate) RaiseTopLevel(w);
            InvalidateLocked(w, Region(ClientRectOf(w)), true);
        } else {
            w->style &= ~static_cast<DWORD>(WS_VISIBLE);
            ClearUpdate(w);
            ExposeArea(w, w->rect);
            Window* focus = WindowFromHandle(GetFocus());
            focusLeaves = w->parent == Desktop() && focus != nullptr && IsAncestor(w, focus);
        }
    }
    if (activate) SetActiveWindow(hwnd);
    if (focusLeaves) ActivateNextAfter(hwnd);
    return wasVisible ? TRUE : FALSE;
}
