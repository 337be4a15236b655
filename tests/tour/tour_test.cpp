// The tour with both checks after every step: what each screen shows is
// what its windows paint when they all paint afresh, and every text on it
// is seen whole.
#include <algorithm>
#include <cctype>

#include "tests/support/text_fit.h"
#include "tests/tour/paint_allowances.h"
#include "tests/tour/tour_fixture.h"

namespace {

// A file name for the pictures kept of a step that failed.
std::string PictureName(const std::string& language, const std::string& step) {
    std::string name = "tour-" + language + "-" + step;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c) && c != '-'; }, '_');
    return name;
}

class TourChecksTest : public TourTest {
protected:
    void CheckEachStepIn(const std::string& language) {
        AfterEachStep([language](const std::string& step) {
            // The stale paint first: the text check paints every window again.
            const std::vector<StalePaint> stale = FindStalePaint(LivePaint(), PictureName(language, step));
            EXPECT_TRUE(stale.empty()) << step << " (" << language << "):\n" << Describe(stale);
            const std::vector<TextMisfit> misfits = FindTextMisfits();
            EXPECT_TRUE(misfits.empty()) << step << " (" << language << "):\n" << Describe(misfits);
        });
    }
};

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
