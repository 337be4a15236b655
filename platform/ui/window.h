// The window tree behind HWND: what the window system keeps per window, the
// lock that guards it, and the helpers the other parts of the window system
// share (queue, painting, input, timers, dialogs).
//
// Locking: every piece of window-system state is guarded by WindowLock(), a
// recursive mutex. It is never held while a window procedure runs: callers
// collect what they need, unlock, then send.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/types.h"
#include "platform/ui/region.h"
#include "platform/ui/winuser.h"

struct WindowClass {
    std::u16string name;
    WNDCLASSW info{};
};

struct ThreadQueue;

struct Window {
    HWND handle = nullptr;
    const WindowClass* cls = nullptr;
    WNDPROC proc = nullptr;
    Window* parent = nullptr;  // the desktop for top-level windows
    Window* owner = nullptr;   // pop-ups only
    // Z-order: front() is the top-most child.
    std::vector<Window*> children;
    DWORD style = 0;
    DWORD exStyle = 0;
    // In the parent's client coordinates (screen coordinates for top-level).
    RECT rect{0, 0, 0, 0};
    std::u16string text;
    UINT_PTR id = 0;
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra;  // cbWndExtra bytes as pointer-sized words
    HFONT font = nullptr;
    ThreadQueue* queue = nullptr;

    // Painting state, in client coordinates.
    Region update;
    bool erasePending = false;
    bool internalPaint = false;

    // The window's shape (SetWindowRgn), in window coordinates.
    std::optional<Region> shape;

    // The descendant that last had the focus (top-level windows): focus
    // goes back there when the window becomes active again.
    HWND lastFocus = nullptr;
    HWND lastActivePopup = nullptr;
    bool destroying = false;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

std::recursive_mutex& WindowLock();
using WindowGuard = std::lock_guard<std::recursive_mutex>;

// The window behind a live handle, or nullptr (caller holds the lock).
Window* WindowFromHandle(HWND hwnd);
Window* Desktop();
// True for the window itself and every ancestor visible (the desktop is).
bool IsShown(const Window* w);
// Top-left corner of the window on the screen.
POINT ScreenOrigin(const Window* w);
RECT ScreenRect(const Window* w);
RECT ClientRectOf(const Window* w);
Window* TopLevelOf(Window* w);
// True when the screen point lies on the window (its rectangle and shape).
bool CoversPoint(const Window* w, POINT screen);
bool IsAncestor(const Window* ancestor, const Window* w);
// Every top-level window in paint order: bottom of the z-order first.
std::vector<Window*> TopLevelBottomUp();

// Looks up a registered window class by name (case-insensitive).
const WindowClass* FindWindowClass(std::u16string_view name);

// Calls `w`'s window procedure on the calling thread (no lock held).
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A hook run right after a window exists and before its first message;
// the class library attaches its objects with it. One per thread, cleared
// after it fires once.
using CreationHook = void (*)(HWND hwnd, void* context);
void SetCreationHook(CreationHook hook, void* context);

// The windows of a thread that ends go with it, without messages: nobody is
// left to answer them.
void ForgetThreadWindows(const ThreadQueue* queue);

// Window-system parts that react to a window's death (caller holds the lock).
void ForgetWindowTimers(HWND hwnd);
void ForgetWindowInput(Window* w);
void DropWindowMessages(HWND hwnd);

// Painting helpers shared by the tree operations (caller holds the lock).
// `area` is in w's client coordinates; the visible children it touches are
// invalidated too.
void InvalidateLocked(Window* w, const Region& area, bool erase);
// Invalidates with erase what shows through `rectInParent` once `w` no
// longer covers it: the parent (and through it the siblings there), or for
// a top-level window the top-level windows below it and the desktop.
void ExposeArea(Window* w, const RECT& rectInParent);
