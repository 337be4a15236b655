// The tour with the text-fit check after every step: on every screen the
// tour reaches, after jumps and boxes too, every text is seen whole.
#include "tests/support/text_fit.h"
#include "tests/tour/tour_fixture.h"

namespace {

class TextFitRouteTest : public TourTest {
protected:
    void CheckTextsIn(const std::string& language) {
        AfterEachStep([language](const std::string& step) {
            const std::vector<TextMisfit> misfits = FindTextMisfits();
            EXPECT_TRUE(misfits.empty()) << step << " (" << language << "):\n" << Describe(misfits);
        });
    }
};

TEST_F(TextFitRouteTest, EveryTextOfTheTourIsSeenWholeInEnglish) {
    CheckTextsIn("English");
    Walk(u"English");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

TEST_F(TextFitRouteTest, EveryTextOfTheTourIsSeenWholeInChinese) {
    CheckTextsIn("Chinese");
    Walk(u"Chinese");
    EXPECT_EQ(stepsTaken, static_cast<int>(Tour().size()));
}

}  // namespace
