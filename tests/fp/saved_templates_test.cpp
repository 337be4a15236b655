// Templates live on in databases and transfer files beyond the build that
// made them. data/presses-v2.bin holds presses made by an earlier build:
// fingers 7000 .. 7059, presses 0 .. 3 of each, 169 bytes apiece in that
// order. data/search-v2.txt holds what that build's 1:N search answered
// over a store made of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fp/matcher.h"
#include "tests/fp/fplibrary.h"

namespace saved_templates_test {
namespace {

constexpr uint32_t kFirstFinger = 7000;
constexpr int kFingers = 60;
constexpr int kPresses = 4;

std::string DataFile(const char* name) { return std::string(FP_TEST_DATA_DIR) + "/" + name; }

struct SavedPresses {
    std::vector<std::vector<BYTE>> press;  // [finger * kPresses + press]

    SavedPresses() {
        std::ifstream file(DataFile("presses-v2.bin"), std::ios::binary);
        const std::vector<BYTE> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        for (size_t at = 0; at + kFpTemplateBytes <= bytes.size(); at += kFpTemplateBytes)
            press.emplace_back(bytes.begin() + at, bytes.begin() + at + kFpTemplateBytes);
    }
    const std::vector<BYTE>& Of(int finger, int p) const { return press[finger * kPresses + p]; }
};

// Records of two presses each, as the template store keeps them.
class Store {
public:
    explicit Store(const FpLibraries& libs) : m_toRecord(libs.match.Get<FpToRecordFn>("VeltoTempToFPRECORD")) {}
    bool Add(const std::vector<BYTE>& first, const std::vector<BYTE>& second) {
        BYTE pair[kFpStoredBytes];
        std::memcpy(pair, first.data(), kFpTemplateBytes);
        std::memcpy(pair + kFpTemplateBytes, second.data(), kFpTemplateBytes);
        m_records.resize(m_records.size() + kFpRecordBytes);
        return m_toRecord(pair, &m_records[m_records.size() - kFpRecordBytes]) == 1;
    }
    const BYTE* Records() const { return m_records.data(); }
    int Count() const { return static_cast<int>(m_records.size() / kFpRecordBytes); }

private:
    FpToRecordFn m_toRecord;
    std::vector<BYTE> m_records;
};

class SavedTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(saved.press.size(), static_cast<size_t>(kFingers * kPresses));
        ASSERT_NE(search, nullptr);
    }
    const SavedPresses saved;
    FpLibraries libs;
    FpMatch2NFn search = libs.match.Get<FpMatch2NFn>("VeltoMatch2N");
};

TEST_F(SavedTemplates, TheExtractorStillMakesTheSameBytes) {
    for (int finger = 0; finger < kFingers; ++finger)
        for (int p = 0; p < kPresses; ++p)
            EXPECT_EQ(libs.Template(kFirstFinger + finger, p), saved.Of(finger, p)) << "finger " << finger << " press " << p;
}

// Enrolled from the saved presses 0 and 1 and searched with presses 2 and
// 3 made now, and the other way round: every finger is named, never another.
TEST_F(SavedTemplates, EnrolmentsAndPressesOfEitherBuildFindEachOther) {
    for (const bool enrolledBefore : {true, false}) {
        Store store(libs);
        for (int finger = 0; finger < kFingers; ++finger) {
            const uint32_t seed = kFirstFinger + finger;
            ASSERT_TRUE(enrolledBefore ? store.Add(saved.Of(finger, 0), saved.Of(finger, 1))
                                       : store.Add(libs.Template(seed, 0), libs.Template(seed, 1)));
        }
        int named = 0;
        for (int finger = 0; finger < kFingers; ++finger) {
            for (int p = 2; p < kPresses; ++p) {
                const std::vector<BYTE> live = enrolledBefore ? libs.Template(kFirstFinger + finger, p) : saved.Of(finger, p);
                int score, press;
                const int found = search(live.data(), store.Records(), store.Count(), &score, &press, 5);
                EXPECT_TRUE(found == finger || found == -1) << "finger " << finger << " named " << found;
                named += found == finger;
            }
        }
        EXPECT_GE(named, kFingers * 2 * 98 / 100) << (enrolledBefore ? "enrolled before" : "searched with saved presses");
    }
}

// Presses that a search over 5000 enrolled fingers once named as another
// finger at the usual level: two partial presses (55-70% of the image) and
// a stranger's press, each agreeing with another finger about as well as
// with a crowd of others. data/crowded-probes.bin holds the three presses;
// data/crowded-store.bin, for each in turn, the stored pairs of the records
// that search compared in full, in the store's order (and the press's own
// finger where it was enrolled).
TEST(CrowdedSearch, APressAgreeingWithManyFingersNamesNoneOfThem) {
    struct Case {
        int records;
        int ownRecord;  // -1 for the stranger
    };
    constexpr Case kCases[] = {{65, 15}, {64, -1}, {64, 40}};
    FpLibraries libs;
    const auto search = libs.match.Get<FpMatch2NFn>("VeltoMatch2N");
    ASSERT_NE(search, nullptr);
    std::ifstream storeFile(DataFile("crowded-store.bin"), std::ios::binary);
    std::ifstream probeFile(DataFile("crowded-probes.bin"), std::ios::binary);
    for (const Case& c : kCases) {
        Store store(libs);
        for (int r = 0; r < c.records; ++r) {
            std::vector<BYTE> first(kFpTemplateBytes), second(kFpTemplateBytes);
            ASSERT_TRUE(storeFile.read(reinterpret_cast<char*>(first.data()), kFpTemplateBytes));
            ASSERT_TRUE(storeFile.read(reinterpret_cast<char*>(second.data()), kFpTemplateBytes));
            ASSERT_TRUE(store.Add(first, second));
        }
        std::vector<BYTE> live(kFpTemplateBytes);
        ASSERT_TRUE(probeFile.read(reinterpret_cast<char*>(live.data()), kFpTemplateBytes));
        int score = -1, press = -1;
        const int found = search(live.data(), store.Records(), store.Count(), &score, &press, 5);
        // The best score reaches the level: only telling the fingers apart
        // keeps the press from being named.
        EXPECT_GE(score, MatchThreshold(5)) << "own record " << c.ownRecord;
        EXPECT_TRUE(found == -1 || found == c.ownRecord) << "own record " << c.ownRecord << ", named " << found;
    }
}

// Answers as "finger press found score press" lines, the same as the
// earlier build's; UPDATE_GOLDEN=1 writes them. Both stores hold more
// records than the search compares in full.
TEST_F(SavedTemplates, TheSearchAnswersAsItDidBefore) {
    std::ostringstream answers;
    auto searchAll = [&](const Store& store, int firstFinger, int lastFinger, int level) {
        for (int finger = firstFinger; finger <= lastFinger; ++finger) {
            for (int p = 0; p < kPresses; ++p) {
                int score = -1, press = -1;
                const int found = search(saved.Of(finger, p).data(), store.Records(), store.Count(), &score, &press, level);
                answers << finger << ' ' << p << ' ' << found << ' ' << score << ' ' << press << '\n';
            }
        }
    };
    // Every finger twice: presses 0 and 1, and press 2 standing for both as
    // an old one-press template does. Searched with each of its presses.
    Store enrolled(libs);
    for (int finger = 0; finger < kFingers; ++finger) ASSERT_TRUE(enrolled.Add(saved.Of(finger, 0), saved.Of(finger, 1)));
    for (int finger = 0; finger < kFingers; ++finger) ASSERT_TRUE(enrolled.Add(saved.Of(finger, 2), saved.Of(finger, 2)));
    searchAll(enrolled, 0, kFingers - 1, 5);
    // Strangers: the last 30 fingers three times over, searched with the
    // first 30 at the most lenient level, so that the best of many close
    // impostor scores is what comes back.
    Store others(libs);
    for (int finger = kFingers / 2; finger < kFingers; ++finger) {
        ASSERT_TRUE(others.Add(saved.Of(finger, 0), saved.Of(finger, 1)));
        ASSERT_TRUE(others.Add(saved.Of(finger, 2), saved.Of(finger, 2)));
        ASSERT_TRUE(others.Add(saved.Of(finger, 3), saved.Of(finger, 3)));
    }
    searchAll(others, 0, kFingers / 2 - 1, 1);
    const std::string golden = DataFile("search-v2.txt");
    if (std::getenv("UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << answers.str();
    std::ifstream file(golden, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(answers.str(), expected);
}

}  // namespace

}  // namespace saved_templates_test
