// Pens, brushes, DC attributes, pixels and rectangle fills.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/ui/dc.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/syscolor.h"

namespace {

template <class T>
int CopyOut(const T& value, int size, LPVOID buffer) {
    if (buffer == nullptr)
        return static_cast<int>(sizeof(T));
    int n = std::min(size, static_cast<int>(sizeof(T)));
    if (n <= 0)
        return 0;
    std::memcpy(buffer, &value, static_cast<size_t>(n));
    return n;
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF color) {
    LOGPEN pen{static_cast<UINT>(style), POINT{width, 0}, color};
    return CreatePenIndirect(&pen);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr || (pen->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME)
        return nullptr;
    LOGPEN copy = *pen;
    copy.lopnWidth.x = std::max<LONG>(copy.lopnWidth.x, 0);
    copy.lopnWidth.y = 0;
    // Only thin pens draw dashes and dots; wider ones are solid.
    UINT style = copy.lopnStyle & PS_STYLE_MASK;
    if (copy.lopnWidth.x > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        copy.lopnStyle = PS_SOLID;
    return RegisterGdiObject(new PenObject(copy));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH brush{BS_SOLID, color & 0xFFFFFF, 0};
    return CreateBrushIndirect(&brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr)
        return nullptr;
    LOGBRUSH copy = *brush;
    // Hatched and pattern brushes do not exist here: they paint solid.
    if (copy.lbStyle != BS_NULL)
        copy.lbStyle = BS_SOLID;
    return RegisterGdiObject(new BrushObject(copy));
}

DWORD GetObjectType(HGDIOBJ handle) {
    if (DCFromHandle(reinterpret_cast<HDC>(handle)) != nullptr)
        return OBJ_DC;
    GdiObject* object = GdiObjectFromHandle(handle);
    return object != nullptr ? static_cast<DWORD>(object->type) : 0;
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
    GdiObject* object = GdiObjectFromHandle(handle);
    if (object == nullptr)
        return 0;
    switch (object->type) {
    case OBJ_PEN: return CopyOut(static_cast<PenObject*>(object)->pen, size, buffer);
    case OBJ_BRUSH: return CopyOut(static_cast<BrushObject*>(object)->brush, size, buffer);
    case OBJ_FONT: return CopyOut(static_cast<FontObject*>(object)->font, size, buffer);
    case OBJ_BITMAP: {
        const Surface& s = static_cast<BitmapObject*>(object)->surface;
        BITMAP bm{0, s.Width(), s.Height(), s.Width() * 4, 1, 32, nullptr};
        return CopyOut(bm, size, buffer);
    }
    default: return 0;
    }
}

int GetObject(HGDIOBJ handle, int size, LPVOID buffer) { return GetObjectW(handle, size, buffer); }

// Attributes.

#define DC_ATTRIBUTE(Type, Get, Set, field, failure)        \
    Type Set(HDC handle, Type value) {                      \
        DeviceContext* dc = DCFromHandle(handle);           \
        if (dc == nullptr)                                  \
            return failure;                                 \
        Type previous = dc->state.field;                    \
        dc->state.field = value;                            \
        return previous;                                    \
    }                                                       \
    Type Get(HDC handle) {                                  \
        DeviceContext* dc = DCFromHandle(handle);           \
        return dc != nullptr ? dc->state.field : failure;   \
    }

DC_ATTRIBUTE(COLORREF, GetTextColor, SetTextColor, textColor, CLR_INVALID)
DC_ATTRIBUTE(COLORREF, GetBkColor, SetBkColor, bkColor, CLR_INVALID)
DC_ATTRIBUTE(int, GetBkMode, SetBkMode, bkMode, 0)
DC_ATTRIBUTE(int, GetROP2, SetROP2, rop2, 0)
DC_ATTRIBUTE(UINT, GetTextAlign, SetTextAlign, textAlign, 0xFFFFFFFFu)
DC_ATTRIBUTE(int, GetStretchBltMode, SetStretchBltMode, stretchMode, 0)
#undef DC_ATTRIBUTE

// Pixels.

namespace {

// Within the DC's clip; the DC is already held for the call.
bool PixelVisible(DeviceContext& dc, int x, int y) {
    return dc.EffectiveClip().Contains(x + dc.origin.x, y + dc.origin.y);
}

}  // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || !PixelVisible(*dc, x, y))
        return CLR_INVALID;
    PlotPixel(*dc, x, y, PixelFromColorRef(color));
    return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || !PixelVisible(*dc, x, y))
        return CLR_INVALID;
    return ColorRefFromPixel(dc->surface->At(x + dc->origin.x, y + dc->origin.y));
}

// Rectangle fills.

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    std::optional<COLORREF> color = BrushColor(brushHandle);
    if (dc == nullptr || rect == nullptr || !color)
        return 0;
    FillRectPixels(*dc, *rect, PixelFromColorRef(*color));
    return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
        return 0;
    const RECT& r = *rect;
    RECT edges[4] = {{r.left, r.top, r.right, r.top + 1},
                     {r.left, r.bottom - 1, r.right, r.bottom},
                     {r.left, r.top, r.left + 1, r.bottom},
                     {r.right - 1, r.top, r.right, r.bottom}};
    int result = 1;
    for (const RECT& edge : edges)
        result &= FillRect(handle, &edge, brush);
    return result;
}

// A dotted frame that a second call erases again: every other pixel of the
// outline is inverted.
BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
        return FALSE;
    const RECT& r = *rect;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            PlotPixel(*dc, x, y, 0xFFFFFF, R2_XORPEN);
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    return TRUE;
}
