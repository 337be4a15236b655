#include <gtest/gtest.h>

#include "platform/ui/rect.h"
#include "platform/ui/region.h"

namespace {

int Area(const Region& region) {
    int area = 0;
    for (const RECT& r : region.Rects())
        area += (r.right - r.left) * (r.bottom - r.top);
    return area;
}

}  // namespace

TEST(Region, UnionKeepsRectanglesDisjoint) {
    Region region(RECT{0, 0, 10, 10});
    region.Union(RECT{5, 5, 15, 15});
    EXPECT_EQ(Area(region), 100 + 100 - 25);
    EXPECT_TRUE(region.Contains(14, 14));
    EXPECT_FALSE(region.Contains(14, 2));
    RECT bounds = region.Bounds();
    RECT expected{0, 0, 15, 15};
    EXPECT_TRUE(EqualRect(&bounds, &expected));
    region.Union(RECT{2, 2, 4, 4});  // already covered
    EXPECT_EQ(Area(region), 175);
}

TEST(Region, SubtractIntersectOffsetAndEquality) {
    Region region(RECT{0, 0, 10, 10});
    region.Subtract(RECT{3, 3, 6, 6});
    EXPECT_EQ(Area(region), 91);
    EXPECT_FALSE(region.Contains(4, 4));
    EXPECT_TRUE(region.Contains(2, 4));

    Region other(RECT{5, 0, 20, 10});
    Region both = region;
    both.Intersect(other);
    EXPECT_EQ(Area(both), 50 - 1 * 3);

    both.Offset(100, 50);
    EXPECT_TRUE(both.Contains(105, 50));
    EXPECT_FALSE(both.Contains(5, 0));

    Region split;
    split.Union(RECT{0, 0, 5, 10});
    split.Union(RECT{5, 0, 10, 10});
    EXPECT_TRUE(split == Region(RECT{0, 0, 10, 10}));
    EXPECT_FALSE(split == region);
}

TEST(Region, EmptyCases) {
    Region region(RECT{5, 5, 5, 10});
    EXPECT_TRUE(region.IsEmpty());
    region.Union(RECT{0, 0, 4, 4});
    region.Subtract(RECT{-10, -10, 10, 10});
    EXPECT_TRUE(region.IsEmpty());
    RECT bounds = region.Bounds();
    EXPECT_TRUE(IsRectEmpty(&bounds));
    EXPECT_FALSE(region.Intersects(RECT{0, 0, 100, 100}));
}

TEST(Rect, IntersectUnionSubtract) {
    RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, out;
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_EQ(out.left, 5);
    EXPECT_EQ(out.right, 10);
    RECT far{30, 30, 40, 40};
    EXPECT_FALSE(IntersectRect(&out, &a, &far));
    EXPECT_TRUE(IsRectEmpty(&out));
    EXPECT_TRUE(UnionRect(&out, &a, &far));
    EXPECT_EQ(out.right, 40);
    RECT top{0, 0, 10, 4};
    EXPECT_TRUE(SubtractRect(&out, &a, &top));
    EXPECT_EQ(out.top, 4);
    EXPECT_TRUE(SubtractRect(&out, &a, &b));  // not a full side: unchanged
    EXPECT_TRUE(EqualRect(&out, &a));
    CRect r(1, 2, 11, 22);
    EXPECT_EQ(r.Width(), 10);
    EXPECT_EQ(r.Height(), 20);
    EXPECT_FALSE(r.PtInRect(CPoint(11, 5)));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 21)));
}
