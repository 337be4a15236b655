#include "platform/ui/region.h"

#include <algorithm>

#include "platform/ui/rect.h"

namespace {

// Appends to `out` the parts of `a` outside `b` (at most four rectangles).
void AppendDifference(const RECT& a, const RECT& b, std::vector<RECT>& out) {
    RECT cut;
    if (!IntersectRect(&cut, &a, &b)) {
        out.push_back(a);
        return;
    }
    if (a.top < cut.top)
        out.push_back(RECT{a.left, a.top, a.right, cut.top});
    if (cut.bottom < a.bottom)
        out.push_back(RECT{a.left, cut.bottom, a.right, a.bottom});
    if (a.left < cut.left)
        out.push_back(RECT{a.left, cut.top, cut.left, cut.bottom});
    if (cut.right < a.right)
        out.push_back(RECT{cut.right, cut.top, a.right, cut.bottom});
}

}  // namespace

Region::Region(const RECT& rect) {
    if (!IsRectEmpty(&rect))
        m_rects.push_back(rect);
}

RECT Region::Bounds() const {
    RECT bounds{0, 0, 0, 0};
    for (const RECT& r : m_rects)
        UnionRect(&bounds, &bounds, &r);
    return bounds;
}

bool Region::Contains(int x, int y) const {
    POINT p{x, y};
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const RECT& r) { return PtInRect(&r, p) != FALSE; });
}

bool Region::Intersects(const RECT& rect) const {
    RECT cut;
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const RECT& r) { return IntersectRect(&cut, &r, &rect) != FALSE; });
}

void Region::Union(const RECT& rect) {
    if (IsRectEmpty(&rect))
        return;
    // Keep the list disjoint: add only the parts of `rect` nothing covers yet.
    std::vector<RECT> pieces{rect};
    for (const RECT& existing : m_rects) {
        std::vector<RECT> rest;
        for (const RECT& piece : pieces)
            AppendDifference(piece, existing, rest);
        pieces.swap(rest);
        if (pieces.empty())
            return;
    }
    m_rects.insert(m_rects.end(), pieces.begin(), pieces.end());
}

void Region::Union(const Region& other) {
    if (&other == this)
        return;
    for (const RECT& r : other.m_rects)
        Union(r);
}

void Region::Intersect(const RECT& rect) { Intersect(Region(rect)); }

void Region::Intersect(const Region& other) {
    std::vector<RECT> result;
    RECT cut;
    for (const RECT& a : m_rects)
        for (const RECT& b : other.m_rects)
            if (IntersectRect(&cut, &a, &b))
                result.push_back(cut);
    m_rects.swap(result);
}

void Region::Subtract(const RECT& rect) {
    if (IsRectEmpty(&rect))
        return;
    std::vector<RECT> result;
    for (const RECT& r : m_rects)
        AppendDifference(r, rect, result);
    m_rects.swap(result);
}

void Region::Subtract(const Region& other) {
    if (&other == this) {
        m_rects.clear();
        return;
    }
    for (const RECT& r : other.m_rects)
        Subtract(r);
}

void Region::Offset(int dx, int dy) {
    for (RECT& r : m_rects)
        OffsetRect(&r, dx, dy);
}

bool Region::operator==(const Region& other) const {
    Region a = *this;
    a.Subtract(other);
    Region b = other;
    b.Subtract(*this);
    return a.IsEmpty() && b.IsEmpty();
}
