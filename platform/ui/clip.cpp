// Region objects and the application clip of DCs.
#include <utility>

#include "platform/ui/dc.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/rect.h"

namespace {

int Complexity(const Region& region) {
    if (region.IsEmpty())
        return NULLREGION;
    return region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RegionObject* RegionFrom(HRGN handle) { return GdiObjectFromHandleAs<RegionObject>(handle); }

RECT Normalized(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

// The clip a DC's application region starts from: what it can draw on.
Region CurrentClip(DeviceContext& dc) {
    return dc.state.appClip ? *dc.state.appClip : dc.systemClip;
}

int SetAppClip(DeviceContext& dc, Region clip) {
    dc.state.appClip = std::move(clip);
    dc.InvalidateClip();
    Region visible = dc.systemClip;
    visible.Intersect(*dc.state.appClip);
    return Complexity(visible);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return RegisterGdiObject(new RegionObject(Region(Normalized(left, top, right, bottom))));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect != nullptr ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    RegionObject* region = RegionFrom(handle);
    if (region == nullptr)
        return FALSE;
    region->region = Region(Normalized(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    RegionObject* target = RegionFrom(dst);
    RegionObject* a = RegionFrom(src1);
    RegionObject* b = RegionFrom(src2);
    if (target == nullptr || a == nullptr || (mode != RGN_COPY && b == nullptr))
        return ERROR;
    Region result = a->region;
    switch (mode) {
    case RGN_AND: result.Intersect(b->region); break;
    case RGN_OR: result.Union(b->region); break;
    case RGN_DIFF: result.Subtract(b->region); break;
    case RGN_XOR: {
        Region other = b->region;
        other.Subtract(a->region);
        result.Subtract(b->region);
        result.Union(other);
        break;
    }
    case RGN_COPY: break;
    default: return ERROR;
    }
    target->region = std::move(result);
    return Complexity(target->region);
}

int OffsetRgn(HRGN handle, int dx, int dy) {
    RegionObject* region = RegionFrom(handle);
    if (region == nullptr)
        return ERROR;
    region->region.Offset(dx, dy);
    return Complexity(region->region);
}

BOOL PtInRegion(HRGN handle, int x, int y) {
    RegionObject* region = RegionFrom(handle);
    return region != nullptr && region->region.Contains(x, y);
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
    RegionObject* region = RegionFrom(handle);
    return region != nullptr && rect != nullptr && region->region.Intersects(*rect);
}

int GetRgnBox(HRGN handle, LPRECT rect) {
    RegionObject* region = RegionFrom(handle);
    if (region == nullptr || rect == nullptr)
        return ERROR;
    *rect = region->region.Bounds();
    return Complexity(region->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    RegionObject* ra = RegionFrom(a);
    RegionObject* rb = RegionFrom(b);
    return ra != nullptr && rb != nullptr && ra->region == rb->region;
}

int SelectClipRgn(HDC handle, HRGN regionHandle) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return ERROR;
    if (regionHandle == nullptr) {
        dc->state.appClip.reset();
        dc->InvalidateClip();
        return Complexity(dc->systemClip);
    }
    RegionObject* region = RegionFrom(regionHandle);
    if (region == nullptr)
        return ERROR;
    return SetAppClip(*dc, region->region);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return ERROR;
    Region clip = CurrentClip(*dc);
    clip.Subtract(Normalized(left, top, right, bottom));
    return SetAppClip(*dc, std::move(clip));
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return ERROR;
    Region clip = CurrentClip(*dc);
    clip.Intersect(Normalized(left, top, right, bottom));
    return SetAppClip(*dc, std::move(clip));
}

int GetClipBox(HDC handle, LPRECT rect) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || rect == nullptr)
        return ERROR;
    Region visible = dc->EffectiveClip();
    visible.Offset(-dc->origin.x, -dc->origin.y);
    *rect = visible.Bounds();
    return Complexity(visible);
}

BOOL PtVisible(HDC handle, int x, int y) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    return dc != nullptr && dc->EffectiveClip().Contains(x + dc->origin.x, y + dc->origin.y);
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || rect == nullptr)
        return FALSE;
    RECT r = *rect;
    OffsetRect(&r, dc->origin.x, dc->origin.y);
    return dc->EffectiveClip().Intersects(r);
}
