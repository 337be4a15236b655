// Update regions, WM_PAINT order, BeginPaint/EndPaint and window DCs.
//
// The rules the skinned widgets rely on: a parent's DC does not exclude its
// children unless WS_CLIPCHILDREN asks for it; invalidating a parent also
// invalidates its visible children where they intersect, and so does a
// parent's paint, so that children end whole on top of it in every order of
// invalidation and painting, and a window's paint does the same for the
// siblings above it that it overlaps; WM_PAINT goes to parents before children;
// BeginPaint takes and clears the update region
// before it sends WM_ERASEBKGND, so whatever is invalidated while painting is
// painted in the next cycle.
#include "platform/ui/paint.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "platform/ui/dc.h"
#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"

namespace {

// Window DCs handed out and the window each belongs to.
std::unordered_map<HDC, HWND>& WindowDCs() {
    static std::unordered_map<HDC, HWND> dcs;
    return dcs;
}

bool NeedsPaint(const Window* w) { return !w->update.IsEmpty() || w->internalPaint; }

HWND FindPaintable(Window* w, const ThreadQueue* queue, HWND filter) {
    if ((w->style & WS_VISIBLE) == 0) return nullptr;
    if (w->queue == queue && NeedsPaint(w) && (filter == nullptr || filter == w->handle)) return w->handle;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (HWND found = FindPaintable(*it, queue, filter)) return found;
    }
    return nullptr;
}

void Invalidate(Window* w, const Region& area, bool erase, bool children) {
    if ((w->style & WS_VISIBLE) == 0) return;
    Region clipped = area;
    clipped.Intersect(ClientRectOf(w));
    if (clipped.IsEmpty()) return;
    w->update.Union(clipped);
    if (erase) w->erasePending = true;
    if (children) {
        for (Window* child : w->children) {
            Region part = clipped;
            part.Offset(-child->rect.left, -child->rect.top);
            Invalidate(child, part, erase, true);
        }
    }
    // The owning thread may be waiting: it has painting to do now.
    WakeAllQueues();
}

void Validate(Window* w, const Region* area) {
    if (area == nullptr)
        w->update.Clear();
    else
        w->update.Subtract(*area);
    if (w->update.IsEmpty()) {
        w->erasePending = false;
        w->internalPaint = false;
    }
}

// The desktop has no thread to paint it: what it shows is black.
void PaintDesktop(const Region& screenArea) {
    Region area = screenArea;
    for (Window* top : Desktop()->children) {
        if (top->style & WS_VISIBLE) area.Subtract(top->rect);
    }
    Surface& screen = ScreenSurface();
    for (const RECT& r : area.Rects()) {
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, screen.Height()); ++y) {
            Pixel* row = screen.Row(y);
            std::fill(row + std::max<int>(r.left, 0), row + std::min<int>(r.right, screen.Width()), Pixel{0});
        }
    }
}

// A DC for `w` that draws where the window shows at each drawing call,
// within `area` (client coordinates) when given: the update region a paint
// took.
HDC MakeWindowDC(Window* w, std::optional<Region> area = std::nullopt) {
    const HWND hwnd = w->handle;
    auto place = [hwnd, area = std::move(area)] {
        const Window* now = WindowFromHandle(hwnd);
        if (now == nullptr) return WindowPlace{POINT{0, 0}, Region()};
        Region clip = now == Desktop() ? Region(now->rect) : VisibleRegion(now);
        if (area) clip.Intersect(*area);
        return WindowPlace{ScreenOrigin(now), std::move(clip)};
    };
    HDC dc = CreateWindowSurfaceDC(&ScreenSurface(), std::move(place));
    WindowDCs()[dc] = hwnd;
    return dc;
}

Region RegionFrom(const RECT* rect, const Window* w) {
    return rect ? Region(*rect) : Region(ClientRectOf(w));
}

// The next window at or under `w` that waits for paint, parents before
// children and lower siblings before higher ones, whatever thread owns it.
Window* NextPendingUnder(Window* w, bool children) {
    if ((w->style & WS_VISIBLE) == 0) return nullptr;
    if (NeedsPaint(w)) return w;
    if (!children) return nullptr;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (Window* found = NextPendingUnder(*it, true)) return found;
    }
    return nullptr;
}

// Paints what waits under `hwnd` (every top-level window for nullptr) before
// returning. The next window is looked for afresh after each paint, as the
// message loop does: a paint that hides, shows or invalidates windows (a
// widget capturing the pixels under it) has its effects painted in order, so
// a parent never paints over children painted before it.
void PaintPendingNow(HWND hwnd, bool children) {
    // A window that invalidates itself in every paint must not hang the
    // caller; the message loop paints what is left.
    constexpr int kMostPaints = 1000;
    for (int paints = 0; paints < kMostPaints; ++paints) {
        HWND next = nullptr;
        {
            WindowGuard guard(WindowLock());
            Window* w = hwnd ? WindowFromHandle(hwnd) : Desktop();
            if (w == nullptr || !IsShown(w)) return;
            if (w == Desktop()) {
                for (Window* top : TopLevelBottomUp()) {
                    if (Window* found = NextPendingUnder(top, true)) {
                        next = found->handle;
                        break;
                    }
                }
            } else if (Window* found = NextPendingUnder(w, children)) {
                next = found->handle;
            }
        }
        if (next == nullptr) return;
        SendMessageW(next, WM_PAINT, 0, 0);
    }
}

}  // namespace

Region VisibleRegion(const Window* w) {
    if (!IsShown(w)) return Region();
    RECT screen = ScreenRect(w);
    Region visible(screen);
    for (const Window* a = w->parent; a != nullptr && a != Desktop(); a = a->parent) visible.Intersect(ScreenRect(a));
    visible.Intersect(RECT{0, 0, kScreenWidth, kScreenHeight});
    if (w->shape) {
        Region shape = *w->shape;
        shape.Offset(screen.left, screen.top);
        visible.Intersect(shape);
    }
    const Window* top = w;
    while (top->parent != nullptr && top->parent != Desktop()) top = top->parent;
    for (const Window* other : Desktop()->children) {
        if (other == top) break;
        if (other->style & WS_VISIBLE) visible.Subtract(other->rect);
    }
    if (w->style & WS_CLIPCHILDREN) {
        for (const Window* child : w->children) {
            if (child->style & WS_VISIBLE) visible.Subtract(ScreenRect(child));
        }
    }
    if ((w->style & WS_CLIPSIBLINGS) && w->parent != nullptr && w->parent != Desktop()) {
        for (const Window* sibling : w->parent->children) {
            if (sibling == w) break;
            if (sibling->style & WS_VISIBLE) visible.Subtract(ScreenRect(sibling));
        }
    }
    visible.Offset(-screen.left, -screen.top);
    return visible;
}

HWND NextWindowToPaint(const ThreadQueue* queue, HWND filter) {
    for (Window* top : TopLevelBottomUp()) {
        if (HWND found = FindPaintable(top, queue, filter)) return found;
    }
    return nullptr;
}

void InvalidateLocked(Window* w, const Region& area, bool erase) { Invalidate(w, area, erase, true); }

void ExposeArea(Window* w, const RECT& rectInParent) {
    Window* parent = w->parent;
    if (parent == nullptr) return;
    if (parent != Desktop()) {
        Invalidate(parent, Region(rectInParent), true, true);
        return;
    }
    auto self = std::find(parent->children.begin(), parent->children.end(), w);
    if (self != parent->children.end()) {
        for (auto below = self + 1; below != parent->children.end(); ++below) {
            Region part(rectInParent);
            part.Offset(-(*below)->rect.left, -(*below)->rect.top);
            Invalidate(*below, part, true, true);
        }
    }
    Region screen(rectInParent);
    PaintDesktop(screen);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    WindowGuard guard(WindowLock());
    if (hwnd == nullptr) {
        for (Window* top : Desktop()->children) Invalidate(top, Region(ClientRectOf(top)), erase != FALSE, true);
        return TRUE;
    }
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return FALSE;
    Invalidate(w, RegionFrom(rect, w), erase != FALSE, true);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr) return FALSE;
    Region area = RegionFrom(rect, w);
    Validate(w, rect ? &area : nullptr);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    if (region == nullptr) return InvalidateRect(hwnd, nullptr, erase);
    auto* object = GdiObjectFromHandleAs<RegionObject>(region);
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || object == nullptr) return FALSE;
    Invalidate(w, object->region, erase != FALSE, true);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    if (region == nullptr) return ValidateRect(hwnd, nullptr);
    auto* object = GdiObjectFromHandleAs<RegionObject>(region);
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || object == nullptr) return FALSE;
    Validate(w, &object->region);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    bool sendErase;
    HDC dc = nullptr;
    BOOL notEmpty;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return FALSE;
        if (rect) *rect = w->update.Bounds();
        notEmpty = w->update.IsEmpty() ? FALSE : TRUE;
        sendErase = erase && w->erasePending && notEmpty;
        if (sendErase) {
            dc = MakeWindowDC(w, w->update);
            w->erasePending = false;
        }
    }
    if (sendErase) {
        SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hwnd, dc);
    }
    return notEmpty;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
    RECT box;
    GetUpdateRect(hwnd, &box, erase);
    auto* object = GdiObjectFromHandleAs<RegionObject>(region);
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(hwnd);
    if (w == nullptr || object == nullptr) return ERROR;
    object->region = w->update;
    if (w->update.IsEmpty()) return NULLREGION;
    return w->update.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (paint == nullptr) return nullptr;
    *paint = PAINTSTRUCT{};
    bool erase;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return nullptr;
        Region update = w->update;
        erase = w->erasePending;
        Validate(w, nullptr);
        // The parent's DC does not exclude its children: whatever of them
        // lies in the area painted now is covered and is painted again on
        // top, even a child that painted before its parent did.
        for (Window* child : w->children) {
            Region part = update;
            part.Offset(-child->rect.left, -child->rect.top);
            Invalidate(child, part, erase, true);
        }
        // Nor does it exclude the siblings above it: where they overlap it
        // they are painted again, so they end on top whichever painted first.
        if (w->parent != nullptr && w->parent != Desktop() && (w->style & WS_CLIPSIBLINGS) == 0) {
            for (Window* sibling : w->parent->children) {
                if (sibling == w) break;
                Region part = update;
                part.Offset(w->rect.left - sibling->rect.left, w->rect.top - sibling->rect.top);
                Invalidate(sibling, part, erase, true);
            }
        }
        paint->hdc = MakeWindowDC(w, update);
        paint->rcPaint = update.Bounds();
    }
    paint->fErase = FALSE;
    if (erase && SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0)
        paint->fErase = TRUE;
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return FALSE;
        if (!NeedsPaint(w) || !IsShown(w)) return TRUE;
    }
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    bool updateNow = false;
    bool children = true;
    {
        WindowGuard guard(WindowLock());
        Window* w = hwnd ? WindowFromHandle(hwnd) : Desktop();
        if (w == nullptr) return FALSE;
        Region area = RegionFrom(rect, w);
        if (region != nullptr) {
            if (auto* object = GdiObjectFromHandleAs<RegionObject>(region)) area = object->region;
        }
        children = (flags & RDW_NOCHILDREN) == 0;
        if (flags & RDW_INVALIDATE) {
            if (w == Desktop()) {
                for (Window* top : Desktop()->children) {
                    Region part = area;
                    part.Offset(-top->rect.left, -top->rect.top);
                    Invalidate(top, part, (flags & RDW_ERASE) != 0, true);
                }
                PaintDesktop(area);
            } else {
                Invalidate(w, area, (flags & RDW_ERASE) != 0, children);
            }
            if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
        }
        if (flags & RDW_VALIDATE) {
            Validate(w, rect || region ? &area : nullptr);
            if (flags & RDW_NOERASE) w->erasePending = false;
        }
        updateNow = (flags & (RDW_UPDATENOW | RDW_ERASENOW)) != 0;
    }
    if (updateNow) PaintPendingNow(hwnd, children);
    return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    std::optional<Region> shape;
    if (region != nullptr) {
        auto* object = GdiObjectFromHandleAs<RegionObject>(region);
        if (object == nullptr) return 0;
        shape = object->region;
    }
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(hwnd);
        if (w == nullptr) return 0;
        const bool visible = (w->style & WS_VISIBLE) != 0;
        if (redraw && visible) ExposeArea(w, w->rect);
        w->shape = std::move(shape);
        if (redraw && visible) Invalidate(w, Region(ClientRectOf(w)), true, true);
    }
    // The region belongs to the system now.
    if (region != nullptr) DeleteObject(region);
    return 1;
}

HDC GetDC(HWND hwnd) {
    WindowGuard guard(WindowLock());
    Window* w = hwnd ? WindowFromHandle(hwnd) : Desktop();
    if (w == nullptr) return nullptr;
    return MakeWindowDC(w);
}

HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int ReleaseDC(HWND, HDC dc) {
    WindowGuard guard(WindowLock());
    auto it = WindowDCs().find(dc);
    if (it == WindowDCs().end()) return 0;
    WindowDCs().erase(it);
    ReleaseSurfaceDC(dc);
    return 1;
}

HWND WindowFromDC(HDC dc) {
    WindowGuard guard(WindowLock());
    auto it = WindowDCs().find(dc);
    return it == WindowDCs().end() ? nullptr : it->second;
}
