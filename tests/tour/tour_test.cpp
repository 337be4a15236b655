// The tour with the stale-paint check after every step: what each screen
// shows is what its windows paint when they all paint afresh.
#include <algorithm>
#include <cctype>

#include "tests/tour/paint_allowances.h"
#include "tests/tour/tour_fixture.h"

namespace {

// A file name for the pictures kept of a step that failed.
std::string PictureName(const std::string& language, const std::string& step) {
    std::string name = "tour-" + language + "-" + step;
    std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c) && c != '-'; }, '_');
    return name;
}

class PaintTourTest : public TourTest {
protected:
    void CheckPaintIn(const std::string& language) {
        AfterEachStep([language](const std::string& step) {
            const std::vector<StalePaint> stale = FindStalePaint(LivePaint(), PictureName(language, step));
            EXPECT_TRUE(stale.empty()) << step << " (" << language << "):\n" << Describe(stale);
        });
    }
};

TEST_F(PaintTourTest, EveryScreenOfTheTourIsPaintedWholeInEnglish) {
    CheckPaintIn("English");
    Walk(u"English");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

TEST_F(PaintTourTest, EveryScreenOfTheTourIsPaintedWholeInChinese) {
    CheckPaintIn("Chinese");
    Walk(u"Chinese");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

}  // namespace
