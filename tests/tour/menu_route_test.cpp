// Every page reached the way a person reaches it: through the menu grid,
// once by the keypad (arrows and Enter) and once by touching the icons,
// then left with ESC level by level up to the top menu. After every step the screen is what its windows
// paint afresh, and every text on it is seen whole.
#include "tests/tour/tour_fixture.h"

namespace menu_route_test {
namespace {

constexpr int kGridColumns = 4;

// Where each page lies: its place in the grid of each menu level on the
// way, from the top. A level shows only the entries that have a page.
struct MenuPath {
    unsigned node;
    std::vector<int> places;
};

const MenuPath kPaths[] = {
    {11, {0}},        {121, {1, 0}},    {122, {1, 1}},    {123, {1, 2}},    {124, {1, 3}},
    {131, {2, 0}},    {132, {2, 1}},    {1331, {2, 2, 0}}, {1332, {2, 2, 1}}, {134, {2, 3}},
    {135, {2, 4}},    {136, {2, 5}},    {141, {3, 0}},    {142, {3, 1}},    {154, {4, 0}},
    {163, {5, 0}},    {164, {5, 1}},    {165, {5, 2}},    {166, {5, 3}},
};

// The selection starts on the first icon of a level below the top; on the
// top level it stays on the icon of the level last left, from where LEFT
// steps back to the first.
std::vector<std::string> KeysBack(int selected) { return std::vector<std::string>(static_cast<size_t>(selected), "key LEFT"); }

std::vector<std::string> KeysTo(int place) {
    std::vector<std::string> lines(static_cast<size_t>(place / kGridColumns), "key DOWN");
    lines.insert(lines.end(), static_cast<size_t>(place % kGridColumns), "key RIGHT");
    lines.push_back("key ENTER");
    return lines;
}

// The middle of the icon: four columns 78 pixels apart, two rows.
std::vector<std::string> TouchOn(int place) {
    const int x = 43 + (place % kGridColumns) * 78;
    const int y = place < kGridColumns ? 75 : 160;
    return {"tap " + std::to_string(x) + " " + std::to_string(y)};
}

std::vector<std::string> NothingToUndo(int) { return {}; }

template <class Route, class Undo>
std::vector<TourStep> Routes(const std::string& how, Route route, Undo undoTopSelection) {
    std::vector<TourStep> steps;
    int topSelection = 0;
    for (const MenuPath& path : kPaths) {
        const std::string page = std::to_string(path.node);
        std::vector<std::string> lines = undoTopSelection(topSelection);
        topSelection = path.places.front();
        for (int place : path.places) {
            const std::vector<std::string> part = route(place);
            lines.insert(lines.end(), part.begin(), part.end());
        }
        steps.push_back({page + " entered " + how, lines});
        for (size_t level = 0; level + 1 < path.places.size(); ++level)
            steps.push_back({page + " left for menu level " + std::to_string(path.places.size() - 1 - level),
                             {"key ESC"}});
        steps.push_back({page + " left for the top menu", {"key ESC"}});
    }
    return steps;
}

class MenuRouteTest : public TourTest {
protected:
    void WalkEveryRouteIn(const char16_t* language, const std::string& name) {
        CheckEachStepIn(name);
        // The panel opens on the enrolment page: ESC brings the top menu.
        std::vector<TourStep> steps{{"the top menu", {"key ESC"}}};
        for (auto part : {Routes("by keys", KeysTo, KeysBack), Routes("by touch", TouchOn, NothingToUndo)})
            steps.insert(steps.end(), part.begin(), part.end());
        Walk(language, steps);
        EXPECT_EQ(stepsTaken, static_cast<int>(steps.size()));
    }
};

TEST_F(MenuRouteTest, EveryPageByKeysAndByTouchInEnglish) { WalkEveryRouteIn(u"English", "English"); }

TEST_F(MenuRouteTest, EveryPageByKeysAndByTouchInChinese) { WalkEveryRouteIn(u"Chinese", "Chinese"); }

}  // namespace

}  // namespace menu_route_test
