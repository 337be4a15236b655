// Presses whose core lies in ridges or valleys wider than a block: the
// blocks there are of one grey and show no flow, so that no circle around
// the core, and no walk out from it, stays on the finger. Each press below
// is a whole finger a person would call usable; processing once refused
// them (no core, or too few ridge counts).
#include <gtest/gtest.h>

#include <vector>

#include "platform/fp/synthfinger.h"
#include "tests/fp/fplibrary.h"

namespace wide_core_test {
namespace {

enum class Laid { AsPressed, Turned, Shifted };

struct Press {
    uint32_t finger;
    uint32_t impression;
    Laid laid;
};

GreyImage ImageOf(const Press& p) {
    int width, height;
    FpImageSize(8, &width, &height);
    const GreyImage image = SynthesizeFinger(p.finger, p.impression, width, height);
    switch (p.laid) {
        case Laid::Turned: return MisplacePress(image, Misplacement::Turned, p.finger);
        case Laid::Shifted: return MisplacePress(image, Misplacement::Shifted, p.finger);
        case Laid::AsPressed: break;
    }
    return image;
}

class WideCore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(search, nullptr);
        ASSERT_NE(toRecord, nullptr);
    }
    // Enrols the finger from its presses 0 and 1; false when either gives
    // no template.
    bool Enrol(uint32_t finger) {
        const std::vector<BYTE> first = libs.Template(finger, 0), second = libs.Template(finger, 1);
        if (first.empty() || second.empty()) return false;
        std::vector<BYTE> stored = first;
        stored.insert(stored.end(), second.begin(), second.end());
        records.resize(records.size() + kFpRecordBytes);
        if (toRecord(stored.data(), &records[records.size() - kFpRecordBytes]) != 1) return false;
        fingers.push_back(finger);
        return true;
    }
    // The finger a press names at the usual level; 0 when it names none
    // or gives no template.
    uint32_t Named(const Press& p) {
        const std::vector<BYTE> live = libs.Template(ImageOf(p));
        if (live.empty()) return 0;
        int score = -1, press = -1;
        const int found = search(live.data(), records.data(), static_cast<int>(fingers.size()), &score, &press, 5);
        return found < 0 ? 0 : fingers[found];
    }
    // Others to stand beside the fingers the test is about.
    void EnrolOthers() {
        for (uint32_t finger = 4000000; finger < 4000024; ++finger) ASSERT_TRUE(Enrol(finger)) << finger;
    }

    FpLibraries libs;
    FpMatch2NFn search = libs.match.Get<FpMatch2NFn>("VeltoMatch2N");
    FpToRecordFn toRecord = libs.match.Get<FpToRecordFn>("VeltoTempToFPRECORD");
    std::vector<BYTE> records;
    std::vector<uint32_t> fingers;  // per record
};

// Later presses, as the generator lays them, turned and shifted, among
// others enrolled.
TEST_F(WideCore, APressWhoseCoreLiesInWideStrokesNamesItsFinger) {
    constexpr Press kPresses[] = {
        {11003346, 2, Laid::AsPressed}, {4003264, 2, Laid::Turned}, {11004872, 2, Laid::Shifted}};
    EnrolOthers();
    for (const Press& p : kPresses) ASSERT_TRUE(Enrol(p.finger)) << p.finger;
    for (const Press& p : kPresses) EXPECT_EQ(Named(p), p.finger);
}

// Fingers both of whose enrolment presses have their core in wide strokes
// are enrolled, and a later press finds them.
TEST_F(WideCore, AFingerEnrolledFromPressesWithTheCoreInWideStrokesIsNamed) {
    constexpr uint32_t kFingers[] = {7001397, 13000470, 13004677};
    EnrolOthers();
    for (uint32_t finger : kFingers) ASSERT_TRUE(Enrol(finger)) << finger;
    for (uint32_t finger : kFingers) EXPECT_EQ(Named(Press{finger, 2, Laid::AsPressed}), finger);
}

}  // namespace
}  // namespace wide_core_test
