// The window table, the desktop, creation and destruction.
#include "platform/ui/window.h"

#include <algorithm>
#include <unordered_map>

#include "platform/base/lasterror.h"
#include "platform/ui/display.h"
#include "platform/ui/queue.h"

namespace {

struct Table {
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t next = 0x10010;
};

Table& Windows() {
    static Table table;
    return table;
}

struct PendingHook {
    CreationHook hook = nullptr;
    void* context = nullptr;
};
thread_local PendingHook t_creationHook;

HWND AllocateHandle(std::unique_ptr<Window> w) {
    Table& table = Windows();
    uintptr_t value = table.next;
    table.next += 4;
    HWND hwnd = reinterpret_cast<HWND>(value);
    w->handle = hwnd;
    table.windows[value] = std::move(w);
    return hwnd;
}

// New children go to the bottom of their parent's z-order (creation order is
// tab order); new top-level windows go to the top, pop-ups above their owner.
void Link(Window* w) {
    std::vector<Window*>& siblings = w->parent->children;
    if (w->IsChild())
        siblings.push_back(w);
    else
        siblings.insert(siblings.begin(), w);
}

void Unlink(Window* w) {
    if (w->parent == nullptr) return;
    std::vector<Window*>& siblings = w->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
}

void SendDestroyMessages(HWND hwnd) {
    LRESULT ignored = CallWindowProcedure(hwnd, WM_DESTROY, 0, 0);
    (void)ignored;
    std::vector<HWND> children;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return;
        for (Window* child : w->children) children.push_back(child->handle);
    }
    for (HWND child : children) {
        {
            WindowGuard guard(WindowLock());
            Window* c = WindowFromHandle(child);
            if (c == nullptr || c->destroying) continue;
            c->destroying = true;
        }
        SendDestroyMessages(child);
    }
    CallWindowProcedure(hwnd, WM_NCDESTROY, 0, 0);
}

void CollectSubtree(Window* w, std::vector<Window*>& out) {
    out.push_back(w);
    for (Window* child : w->children) CollectSubtree(child, out);
}

}  // namespace

std::recursive_mutex& WindowLock() {
    static std::recursive_mutex lock;
    return lock;
}

Window* Desktop() {
    static Window* desktop = [] {
        // The screen exists as soon as windows do (CreateDC("DISPLAY") and
        // window DCs draw into it).
        ScreenSurface();
        auto w = std::make_unique<Window>();
        w->style = WS_VISIBLE | WS_POPUP;
        w->rect = RECT{0, 0, kScreenWidth, kScreenHeight};
        w->text = u"Desktop";
        Window* raw = w.get();
        AllocateHandle(std::move(w));
        return raw;
    }();
    return desktop;
}

Window* WindowFromHandle(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    Window* desktop = Desktop();
    if (hwnd == desktop->handle) return desktop;
    auto& windows = Windows().windows;
    auto it = windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == windows.end() ? nullptr : it->second.get();
}

bool IsShown(const Window* w) {
    for (; w != nullptr; w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0) return false;
    }
    return true;
}

POINT ScreenOrigin(const Window* w) {
    POINT origin{0, 0};
    for (; w != nullptr; w = w->parent) {
        origin.x += w->rect.left;
        origin.y += w->rect.top;
    }
    return origin;
}

RECT ScreenRect(const Window* w) {
    POINT origin = ScreenOrigin(w);
    return RECT{origin.x, origin.y, origin.x + w->Width(), origin.y + w->Height()};
}

RECT ClientRectOf(const Window* w) { return RECT{0, 0, w->Width(), w->Height()}; }

bool CoversPoint(const Window* w, POINT screen) {
    RECT r = ScreenRect(w);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) return false;
    return !w->shape || w->shape->Contains(screen.x - r.left, screen.y - r.top);
}

Window* TopLevelOf(Window* w) {
    while (w != nullptr && w->parent != nullptr && w->parent != Desktop()) w = w->parent;
    return w;
}

bool IsAncestor(const Window* ancestor, const Window* w) {
    for (; w != nullptr; w = w->parent) {
        if (w == ancestor) return true;
    }
    return false;
}

std::vector<Window*> TopLevelBottomUp() {
    std::vector<Window*> windows(Desktop()->children.rbegin(), Desktop()->children.rend());
    return windows;
}

void SetCreationHook(CreationHook hook, void* context) { t_creationHook = PendingHook{hook, context}; }

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w->proc == nullptr) return 0;
        proc = w->proc;
    }
    return proc(hwnd, message, wParam, lParam);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    const WindowClass* cls = className ? FindWindowClass(className) : nullptr;
    if (cls == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (x == CW_USEDEFAULT) x = 0;
    if (y == CW_USEDEFAULT) y = 0;
    if (width == CW_USEDEFAULT) width = kScreenWidth;
    if (height == CW_USEDEFAULT) height = kScreenHeight;

    HWND hwnd;
    {
        WindowGuard guard(WindowLock());
        Window* parentWindow = WindowFromHandle(parent);
        if (parent != nullptr && parentWindow == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if ((style & WS_CHILD) != 0 && parentWindow == nullptr) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        auto w = std::make_unique<Window>();
        w->cls = cls;
        w->proc = cls->info.lpfnWndProc;
        w->style = style;
        w->exStyle = exStyle;
        w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        w->text = text ? text : u"";
        w->extra.assign((static_cast<size_t>(std::max(cls->info.cbWndExtra, 0)) + sizeof(LONG_PTR) - 1) /
                            sizeof(LONG_PTR) + 2,
                        0);
        w->queue = CurrentQueue();
        if ((style & WS_CHILD) != 0) {
            w->parent = parentWindow;
            w->id = reinterpret_cast<UINT_PTR>(menuOrId);
        } else {
            w->parent = Desktop();
            w->owner = parentWindow ? TopLevelOf(parentWindow) : nullptr;
            if (w->owner == Desktop()) w->owner = nullptr;
        }
        Window* raw = w.get();
        hwnd = AllocateHandle(std::move(w));
        Link(raw);
        if (raw->owner != nullptr) raw->owner->lastActivePopup = hwnd;
    }

    PendingHook pending = t_creationHook;
    t_creationHook = PendingHook{};
    if (pending.hook != nullptr) pending.hook(hwnd, pending.context);

    CREATESTRUCTW cs{param,  instance, menuOrId, parent,    height,         width,
                     y,      x,        static_cast<LONG>(style), text, className, exStyle};
    if (CallWindowProcedure(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) == FALSE ||
        CallWindowProcedure(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }

    bool activate;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return nullptr;
        if (IsShown(w)) InvalidateLocked(w, Region(ClientRectOf(w)), true);
        activate = !w->IsChild() && (w->style & WS_VISIBLE) != 0 && (w->style & WS_DISABLED) == 0;
    }
    // A top-level window made visible is the active one, as if shown.
    if (activate) SetActiveWindow(hwnd);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menuOrId, instance, param);
}

HWND CreateWindowW(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, HWND parent,
                   HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(0, className, text, style, x, y, width, height, parent, menuOrId, instance, param);
}

HWND CreateWindow(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, HWND parent,
                  HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(0, className, text, style, x, y, width, height, parent, menuOrId, instance, param);
}

BOOL DestroyWindow(HWND hwnd) {
    std::vector<HWND> owned;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr || w == Desktop()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (w->queue != CurrentQueue()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (w->destroying) return TRUE;
        w->destroying = true;
        for (Window* top : Desktop()->children) {
            if (top->owner == w) owned.push_back(top->handle);
        }
    }
    for (HWND popup : owned) DestroyWindow(popup);

    // Hide first, so that what lies below is repainted and focus leaves.
    ShowWindow(hwnd, SW_HIDE);
    SendDestroyMessages(hwnd);

    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return TRUE;
    std::vector<Window*> doomed;
    CollectSubtree(w, doomed);
    for (Window* d : doomed) {
        ForgetWindowTimers(d->handle);
        ForgetWindowInput(d);
        DropWindowMessages(d->handle);
    }
    for (Window* top : Desktop()->children) {
        if (top->owner == w) top->owner = nullptr;
        if (top->lastActivePopup == hwnd) top->lastActivePopup = nullptr;
    }
    Unlink(w);
    for (Window* d : doomed) Windows().windows.erase(reinterpret_cast<uintptr_t>(d->handle));
    return TRUE;
}

void ForgetThreadWindows(const ThreadQueue* queue) {
    WindowGuard guard(WindowLock());
    std::vector<Window*> tops;
    for (Window* top : Desktop()->children) {
        if (top->queue == queue) tops.push_back(top);
    }
    for (Window* top : tops) {
        std::vector<Window*> doomed;
        CollectSubtree(top, doomed);
        for (Window* d : doomed) {
            ForgetWindowTimers(d->handle);
            ForgetWindowInput(d);
        }
        for (Window* other : Desktop()->children) {
            if (other->owner == top) other->owner = nullptr;
        }
        Unlink(top);
        for (Window* d : doomed) Windows().windows.erase(reinterpret_cast<uintptr_t>(d->handle));
    }
}

BOOL IsWindow(HWND hwnd) {
    WindowGuard guard(WindowLock());
    return WindowFromHandle(hwnd) != nullptr ? TRUE : FALSE;
}
