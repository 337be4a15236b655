// A region as a list of disjoint rectangles: update regions of windows and
// clip regions of DCs. The lists stay short (a handful of rectangles), so the
// operations favour simplicity over banding.
#pragma once

#include <vector>

#include "platform/base/types.h"

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);

    bool IsEmpty() const { return m_rects.empty(); }
    // Disjoint, non-empty rectangles covering exactly the region.
    const std::vector<RECT>& Rects() const { return m_rects; }
    // The smallest rectangle covering the region; all zeros when empty.
    RECT Bounds() const;

    bool Contains(int x, int y) const;
    // True when some part of `rect` lies inside the region.
    bool Intersects(const RECT& rect) const;

    void Clear() { m_rects.clear(); }
    void Union(const RECT& rect);
    void Union(const Region& other);
    void Intersect(const RECT& rect);
    void Intersect(const Region& other);
    void Subtract(const RECT& rect);
    void Subtract(const Region& other);
    void Offset(int dx, int dy);

    // Same set of pixels, whatever the rectangle lists look like.
    bool operator==(const Region& other) const;

private:
    std::vector<RECT> m_rects;
};
