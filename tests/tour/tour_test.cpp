// The tour with both checks after every step: what each screen shows is
// what its windows paint when they all paint afresh, and every text on it
// is seen whole.
#include "tests/tour/tour_fixture.h"

namespace {

using TourChecksTest = TourTest;

TEST_F(TourChecksTest, EveryScreenIsPaintedWholeWithItsTextsWholeInEnglish) {
    CheckEachStepIn("English");
    Walk(u"English");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

TEST_F(TourChecksTest, EveryScreenIsPaintedWholeWithItsTextsWholeInChinese) {
    CheckEachStepIn("Chinese");
    Walk(u"Chinese");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

}  // namespace
