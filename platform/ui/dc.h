// The device context behind an HDC, and the seam between the window system
// and GDI.
//
// A DC draws into a Surface. Its coordinates (those every drawing call takes)
// map to surface pixels by adding `origin`. Drawing is clipped to the
// intersection of
//   - the system clip, given by whoever made the DC (the window system passes
//     the visible part of a window, or the update region while painting),
//   - the application clip (SelectClipRgn, ExcludeClipRect, IntersectClipRect),
//   - the surface itself.
// Both clips are in DC coordinates.
//
// The window system makes window and paint DCs with CreateSurfaceDC over the
// screen surface and releases them with ReleaseSurfaceDC (DeleteDC does the
// same). Memory DCs (CreateCompatibleDC) draw into their selected bitmap; the
// display DC (CreateDC(u"DISPLAY")) draws into the screen surface unclipped.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/base/types.h"
#include "platform/ui/region.h"
#include "platform/ui/surface.h"

// The screen the window system shows. Set once by the window system before
// any window exists; GetScreenSurface returns nullptr until then.
void SetScreenSurface(Surface* screen);
Surface* GetScreenSurface();

// A DC over `surface` whose (0,0) is at `origin` and which clips to `clip`
// (DC coordinates). The surface must outlive the DC.
HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region& clip);
void ReleaseSurfaceDC(HDC dc);

// Where a window's DC draws as the window system stands now: the window's
// top-left corner on the surface and the part of it that shows (DC
// coordinates; empty once the window is gone).
struct WindowPlace {
    POINT origin;
    Region clip;
};
using PlaceOfWindow = std::function<WindowPlace()>;

// A DC over the screen for a window: each drawing call takes its origin and
// system clip from `place`, called with the window system held still. A DC
// kept while windows move, show or hide above its window (another thread's
// window laid out while this one animates) thus never draws over them.
HDC CreateWindowSurfaceDC(Surface* surface, PlaceOfWindow place);

// Drawing state that SaveDC/RestoreDC keep.
struct DCState {
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;  // OPAQUE
    int rop2 = 13;   // R2_COPYPEN
    int stretchMode = 3;  // COLORONCOLOR
    UINT textAlign = 0;   // TA_LEFT | TA_TOP
    POINT penPosition{0, 0};
    std::optional<Region> appClip;  // none = no application clip
};

class DeviceContext {
public:
    enum class Kind { Surface, Memory, Display };

    DeviceContext(Kind kind, Surface* surface, POINT origin, const Region& systemClip);

    Kind kind;
    Surface* surface;  // may be null for a memory DC without a bitmap (draws nothing)
    POINT origin;
    Region systemClip;
    PlaceOfWindow place;  // window DCs only: where origin and systemClip come from
    DCState state;
    std::vector<DCState> saved;

    // Where drawing may land, in surface coordinates. Recomputed after any
    // clip or target change (InvalidateClip).
    const Region& EffectiveClip();
    void InvalidateClip() { m_clipValid = false; }

private:
    Region m_effectiveClip;
    bool m_clipValid = false;
};

// The DC behind a handle, or nullptr for a null or deleted one.
DeviceContext* DCFromHandle(HDC dc);

// The DC a drawing call (or a question about what it may draw on) works
// with, held for the whole call. On the screen no window moves, shows or
// hides and no other thread draws meanwhile, and a window DC's origin and
// system clip are its window's as they stand now: a thread that paints its
// window on its own clock cannot draw over a window laid out above it.
class DrawingOn {
public:
    explicit DrawingOn(HDC handle);
    DeviceContext* get() const { return m_dc; }

private:
    std::unique_lock<std::recursive_mutex> m_still;
    DeviceContext* m_dc;
};
