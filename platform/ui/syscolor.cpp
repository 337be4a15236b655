// The fixed system colours and the window system's frame drawing.
#include "platform/ui/syscolor.h"

#include <array>

#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/rect.h"

namespace {

// Colour indexes may carry this flag on the terminal's system.
constexpr int kSysColorIndexFlag = 0x40000000;
constexpr int kSysColorCount = COLOR_STATICTEXT + 1;

constexpr std::array<COLORREF, kSysColorCount> kSysColors = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(192, 192, 192),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};

int ColorIndex(int index) { return index & ~kSysColorIndexFlag; }

}  // namespace

DWORD GetSysColor(int index) {
    index = ColorIndex(index);
    return index >= 0 && index < kSysColorCount ? kSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static const std::array<HBRUSH, kSysColorCount> brushes = [] {
        std::array<HBRUSH, kSysColorCount> made{};
        for (int i = 0; i < kSysColorCount; ++i) {
            made[i] = CreateSolidBrush(kSysColors[i]);
            GdiObjectFromHandle(made[i])->stock = true;
        }
        return made;
    }();
    index = ColorIndex(index);
    return index >= 0 && index < kSysColorCount ? brushes[index] : nullptr;
}

std::optional<COLORREF> BrushColor(HBRUSH brush) {
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= kSysColorCount)
        return kSysColors[value - 1];
    auto* object = GdiObjectFromHandleAs<BrushObject>(brush);
    if (object == nullptr || object->brush.lbStyle == BS_NULL)
        return std::nullopt;
    return object->brush.lbColor;
}

// One line on each side; the rectangle shrinks by one.
static void DrawBorder(DeviceContext& dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    Pixel light = PixelFromColorRef(topLeft);
    Pixel dark = PixelFromColorRef(bottomRight);
    FillRectPixels(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, light);
    FillRectPixels(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, light);
    FillRectPixels(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
    FillRectPixels(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
    InflateRect(&r, -1, -1);
}

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr || rect == nullptr)
        return FALSE;
    if (edge & BDR_RAISEDOUTER)
        DrawBorder(*dc, *rect, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (edge & BDR_SUNKENOUTER)
        DrawBorder(*dc, *rect, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    if (edge & BDR_RAISEDINNER)
        DrawBorder(*dc, *rect, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW));
    else if (edge & BDR_SUNKENINNER)
        DrawBorder(*dc, *rect, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    return TRUE;
}

// Push buttons only: a raised (or, pushed, sunken) frame around the face.
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    DrawingOn drawing(dc);
    DeviceContext* context = drawing.get();
    if (context == nullptr || type != DFC_BUTTON || (state & DFCS_BUTTONPUSH) == 0 || rect == nullptr)
        return FALSE;
    RECT face = *rect;
    if (state & DFCS_FLAT)
        DrawBorder(*context, face, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW));
    else
        DrawEdge(dc, &face, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    return FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE)) != 0;
}
