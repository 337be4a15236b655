// The route of the tour. A step's name says where the administrator is
// and how he got there.
#include "tests/tour/tour_fixture.h"
#include "users/UserFormPage.h"

namespace {

// The pages of the menu, by node.
const unsigned kPages[] = {11, 121, 122, 123, 124, 131, 132, 1331, 1332, 134, 135, 136, 141, 142, 154, 163, 164, 165, 166};

std::vector<std::string> Keys(const std::string& digits) {
    std::vector<std::string> lines;
    for (char key : digits) lines.push_back(std::string("key ") + key);
    return lines;
}

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

std::string Node(unsigned node) { return std::to_string(node); }

// A time typed into the focused picker of the zone pages, "HHMM", ending on
// the next picker down.
std::vector<std::string> Time(const std::string& time) {
    return Join({Keys(time.substr(0, 2)), {"key RIGHT"}, Keys(time.substr(2, 2)), {"key LEFT", "key DOWN"}});
}

void FromTheMenu(std::vector<TourStep>& steps) {
    for (unsigned node : kPages) {
        steps.push_back({Node(node) + " entered from the menu", {"goto " + Node(node)}});
        steps.push_back({Node(node) + " left for the menu", {"key ESC"}});
    }
}

void SearchList(std::vector<TourStep>& steps) {
    steps.push_back({"124 a full page of users", {"goto 124", "key F1"}});
    steps.push_back({"124 the next page, the list focused", {"key RIGHT"}});
    steps.push_back({"124 the first page again", {"key LEFT"}});
    steps.push_back({"124 list to 122 edit", {"key DOWN", "key F2"}});
    steps.push_back({"122 edit back to the 124 list", {"key ESC"}});
    steps.push_back({"124 list to the user card", {"key ENTER"}});
    steps.push_back({"the user card back to the 124 list", {"key ESC"}});
    steps.push_back({"124 the delete question over the list (two-button box)", {"key F3"}});
    steps.push_back({"124 after a user deleted from the list", {"answer yes"}});
    steps.push_back({"124 the system box over the list", {"systembox"}});
    steps.push_back({"124 after the system box", {"answer ok"}});
    steps.push_back({"124 left for the menu", {"key ESC"}});
}

void UserForms(std::vector<TourStep>& steps) {
    const std::string enroll = " " + std::to_string(IDC_USER_ENROLL);
    steps.push_back({"121 a new user's ID", Join({{"goto 121"}, Keys("30"), {"key ENTER"}})});
    steps.push_back({"121 the on-screen keyboard over the name", {"key HASH"}});
    steps.push_back({"121 the on-screen keyboard closed", {"key ESC"}});
    steps.push_back({"121 add to 11 enrolment", {"tapon 121" + enroll}});
    steps.push_back({"11 enrolment back to 121 add", {"key ESC"}});
    steps.push_back({"121 left for the menu", {"key ESC"}});
    steps.push_back({"122 a user loaded", Join({{"goto 122"}, Keys("1"), {"key ENTER"}})});
    steps.push_back({"122 edit to 11 enrolment", {"tapon 122" + enroll}});
    steps.push_back({"11 enrolment back to 122 edit", {"key ESC"}});
    steps.push_back({"122 left for the menu", {"key ESC"}});
    steps.push_back({"11 entered straight from the 124 page", {"goto 124", "goto 11"}});
    steps.push_back({"11 left for the menu after it", {"key ESC"}});
    steps.push_back({"11 an unknown ID to 121 add (two-button box)", Join({{"goto 11", "answer yes"}, Keys("88"), {"key ENTER"}})});
    steps.push_back({"121 add back to 11 enrolment", {"key ESC"}});
    steps.push_back({"11 left for the menu", {"key ESC"}});
}

void Records(std::vector<TourStep>& steps) {
    steps.push_back({"131 entered after another page", {"goto 124", "goto 131"}});
    steps.push_back({"131 a full page of records", {"key F1"}});
    steps.push_back({"131 the next page", {"key RIGHT"}});
    steps.push_back({"131 the last page", {"key RIGHT"}});
    steps.push_back({"131 left for the menu", {"key ESC"}});
    steps.push_back({"131 a start after the end typed", Join({{"goto 131", "key DOWN", "key DOWN"}, Keys("2099")})});
    steps.push_back({"131 the refusal over the page (skinned box)", {"key F1"}});
    steps.push_back({"131 after the refusal", {"answer ok"}});
    steps.push_back({"131 the system box over the list", {"systembox"}});
    steps.push_back({"131 after the system box", {"answer ok"}});
    steps.push_back({"131 left for the menu after the boxes", {"key ESC"}});
}

void Maintenance(std::vector<TourStep>& steps) {
    steps.push_back({"1331 users exported to the chosen medium", {"goto 1331", "key ENTER"}});
    steps.push_back({"1331 left for the menu", {"key ESC"}});
    steps.push_back({"136 no update found (skinned box)", {"goto 136", "key ENTER"}});
    steps.push_back({"136 after the box", {"answer ok"}});
    steps.push_back({"136 left for the menu", {"key ESC"}});
}

void VerifyModes(std::vector<TourStep>& steps) {
    // A second step on every row shows the labels after the boxes.
    steps.push_back({"163 every row asks a second step", {"goto 163", "key RIGHT", "key DOWN", "key RIGHT", "key DOWN", "key RIGHT"}});
    steps.push_back({"163 left for the menu after the changes", {"key ESC"}});
}

void Zones(std::vector<TourStep>& steps) {
    steps.push_back({"142 a start after its end refused (skinned box)",
                     Join({{"goto 142", "key DOWN", "key DOWN"}, Time("1200"), Time("1100"),
                           {"key F1", "answer yes", "answer ok"}})});
    steps.push_back({"142 left for the menu", {"key ESC"}});
    steps.push_back({"165 a time typed into the last zone", Join({{"goto 165", "key LEFT", "key DOWN"}, Time("0800")})});
    steps.push_back({"165 the Set question over the page (two-button box)", {"key F1"}});
    steps.push_back({"165 after the Set question", {"answer yes"}});
    steps.push_back({"165 left for the menu", {"key ESC"}});
}

}  // namespace

std::vector<TourStep> TourTest::Tour() {
    std::vector<TourStep> steps{{"11 entered from the main screen", {}}, {"11 left for the menu", {"key ESC"}}};
    FromTheMenu(steps);
    SearchList(steps);
    UserForms(steps);
    Records(steps);
    Maintenance(steps);
    VerifyModes(steps);
    Zones(steps);
    return steps;
}
