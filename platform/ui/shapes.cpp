// Lines, rectangles and rounded rectangles drawn with the selected pen and
// filled with the selected brush.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/ui/dc.h"
#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"
#include "platform/ui/raster.h"
#include "platform/ui/syscolor.h"

namespace {

// Thin styled pens repeat these on/off runs (pixels), starting "on".
struct DashPattern {
    int runs[6];
    int count;
};

std::optional<DashPattern> PatternOf(UINT style) {
    switch (style) {
    case PS_DASH: return DashPattern{{18, 6}, 2};
    case PS_DOT: return DashPattern{{3, 3}, 2};
    case PS_DASHDOT: return DashPattern{{9, 6, 3, 6}, 4};
    case PS_DASHDOTDOT: return DashPattern{{9, 3, 3, 3, 3, 3}, 6};
    default: return std::nullopt;
    }
}

// The selected pen, ready to put pixels down.
class PenStroke {
public:
    explicit PenStroke(DeviceContext& dc) : m_dc(dc) {
        const LOGPEN& pen = reinterpret_cast<PenObject*>(dc.state.pen)->pen;
        m_style = pen.lopnStyle & PS_STYLE_MASK;
        m_width = std::max<int>(pen.lopnWidth.x, 1);
        m_color = PixelFromColorRef(pen.lopnColor);
        m_pattern = PatternOf(m_style);
    }

    bool IsNull() const { return m_style == PS_NULL; }
    bool IsStyled() const { return m_pattern.has_value(); }
    bool InsideFrame() const { return m_style == PS_INSIDEFRAME; }
    int Width() const { return m_width; }
    Pixel Color() const { return m_color; }

    // One step along a path: the pen's square, or a gap of the dash pattern
    // (painted in the background colour when the DC is OPAQUE).
    void Step(int x, int y) {
        if (!m_pattern || On()) {
            int half = m_width / 2;
            FillRectPixels(m_dc, RECT{x - half, y - half, x - half + m_width, y - half + m_width}, m_color,
                           m_dc.state.rop2);
        } else if (m_dc.state.bkMode == OPAQUE) {
            PlotPixel(m_dc, x, y, PixelFromColorRef(m_dc.state.bkColor), m_dc.state.rop2);
        }
        if (m_pattern)
            m_phase = (m_phase + 1) % PatternLength();
    }

    // Steps along the line, leaving out its end point.
    void Line(int x0, int y0, int x1, int y1) {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        while (x0 != x1 || y0 != y1) {
            Step(x0, y0);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

private:
    int PatternLength() const {
        int total = 0;
        for (int i = 0; i < m_pattern->count; ++i)
            total += m_pattern->runs[i];
        return total;
    }

    bool On() const {
        int position = m_phase;
        for (int i = 0; i < m_pattern->count; ++i) {
            if (position < m_pattern->runs[i])
                return i % 2 == 0;
            position -= m_pattern->runs[i];
        }
        return true;
    }

    DeviceContext& m_dc;
    UINT m_style = PS_SOLID;
    int m_width = 1;
    Pixel m_color = 0;
    std::optional<DashPattern> m_pattern;
    int m_phase = 0;
};

RECT Normalized(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void FillWithBrush(DeviceContext& dc, const RECT& rect) {
    std::optional<COLORREF> color = BrushColor(dc.state.brush);
    if (color)
        FillRectPixels(dc, rect, PixelFromColorRef(*color), dc.state.rop2);
}

// The band between `outer` and `outer` shrunk by `width`.
void FillBand(DeviceContext& dc, const RECT& outer, int width, Pixel color) {
    RECT inner{outer.left + width, outer.top + width, outer.right - width, outer.bottom - width};
    if (inner.left >= inner.right || inner.top >= inner.bottom) {
        FillRectPixels(dc, outer, color, dc.state.rop2);
        return;
    }
    FillRectPixels(dc, RECT{outer.left, outer.top, outer.right, inner.top}, color, dc.state.rop2);
    FillRectPixels(dc, RECT{outer.left, inner.bottom, outer.right, outer.bottom}, color, dc.state.rop2);
    FillRectPixels(dc, RECT{outer.left, inner.top, inner.left, inner.bottom}, color, dc.state.rop2);
    FillRectPixels(dc, RECT{inner.right, inner.top, outer.right, inner.bottom}, color, dc.state.rop2);
}

// Whether the centre of pixel (x, y) lies in the rectangle with corners
// rounded by ellipses of radii (a, b).
bool InRoundRect(int x, int y, double left, double top, double right, double bottom, double a, double b) {
    double px = x + 0.5, py = y + 0.5;
    if (px <= left || px >= right || py <= top || py >= bottom)
        return false;
    if (a <= 0 || b <= 0)
        return true;
    double dx = px < left + a ? left + a - px : (px > right - a ? px - (right - a) : 0);
    double dy = py < top + b ? top + b - py : (py > bottom - b ? py - (bottom - b) : 0);
    if (dx == 0 || dy == 0)
        return true;
    return (dx / a) * (dx / a) + (dy / b) * (dy / b) <= 1.0;
}

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr)
        return FALSE;
    if (previous != nullptr)
        *previous = dc->state.penPosition;
    dc->state.penPosition = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
    DeviceContext* dc = DCFromHandle(handle);
    if (dc == nullptr || position == nullptr)
        return FALSE;
    *position = dc->state.penPosition;
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr)
        return FALSE;
    PenStroke pen(*dc);
    if (!pen.IsNull())
        pen.Line(dc->state.penPosition.x, dc->state.penPosition.y, x, y);
    dc->state.penPosition = POINT{x, y};
    return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr)
        return FALSE;
    RECT r = Normalized(left, top, right, bottom);
    PenStroke pen(*dc);
    if (pen.IsNull()) {
        FillWithBrush(*dc, RECT{r.left, r.top, r.right - 1, r.bottom - 1});
        return TRUE;
    }
    FillWithBrush(*dc, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return TRUE;
    if (pen.IsStyled()) {
        // The pattern runs on around the corners, clockwise from top-left.
        pen.Line(r.left, r.top, r.right - 1, r.top);
        pen.Line(r.right - 1, r.top, r.right - 1, r.bottom - 1);
        pen.Line(r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
        pen.Line(r.left, r.bottom - 1, r.left, r.top);
        return TRUE;
    }
    int w = pen.Width();
    RECT outer = r;
    if (!pen.InsideFrame() && w > 1) {
        int half = w / 2;
        outer = RECT{r.left - half, r.top - half, r.right - 1 - half + w, r.bottom - 1 - half + w};
    }
    FillBand(*dc, outer, w, pen.Color());
    return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    DrawingOn drawing(handle);
    DeviceContext* dc = drawing.get();
    if (dc == nullptr)
        return FALSE;
    RECT r = Normalized(left, top, right, bottom);
    PenStroke pen(*dc);
    int w = pen.IsNull() ? 0 : pen.Width();
    double a = std::min(std::abs(ellipseWidth) / 2.0, (r.right - r.left) / 2.0);
    double b = std::min(std::abs(ellipseHeight) / 2.0, (r.bottom - r.top) / 2.0);
    std::optional<COLORREF> brush = BrushColor(dc->state.brush);
    Pixel fill = brush ? PixelFromColorRef(*brush) : 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (!InRoundRect(x, y, r.left, r.top, r.right, r.bottom, a, b))
                continue;
            bool inner = InRoundRect(x, y, r.left + w, r.top + w, r.right - w, r.bottom - w, std::max(a - w, 0.0),
                                     std::max(b - w, 0.0));
            if (!inner)
                PlotPixel(*dc, x, y, pen.Color(), dc->state.rop2);
            else if (brush)
                PlotPixel(*dc, x, y, fill, dc->state.rop2);
        }
    }
    return TRUE;
}
