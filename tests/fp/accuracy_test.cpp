// Matcher accuracy measured the way matchers are compared, on 100 fingers x
// 8 presses from the generator, made once for both tests:
// - one to one: every genuine pair (2800) and the first press of every
//   impostor pair (4950), each compared once through the libraries;
// - one to many: the first kEnrolled fingers enrolled with presses 0 and 1
//   as the terminal keeps them (more records than the search scores in
//   full), searched with their other presses and with every press of the
//   fingers never enrolled.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "platform/fp/matcher.h"
#include "tests/fp/fplibrary.h"

namespace {

constexpr int kFingers = 100;
constexpr int kPresses = 8;
constexpr int kEnrolled = 70;

class MatcherAccuracy : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_libs = new FpLibraries;
        s_templates = new std::vector<std::vector<BYTE>>;
        for (int finger = 0; finger < kFingers; ++finger)
            for (int press = 0; press < kPresses; ++press) s_templates->push_back(s_libs->Template(1000 + finger, press));
    }
    static void TearDownTestSuite() {
        delete s_templates;
        delete s_libs;
    }
    static const std::vector<BYTE>& Press(int finger, int press) { return (*s_templates)[finger * kPresses + press]; }

    static FpLibraries* s_libs;
    static std::vector<std::vector<BYTE>>* s_templates;
};
FpLibraries* MatcherAccuracy::s_libs = nullptr;
std::vector<std::vector<BYTE>>* MatcherAccuracy::s_templates = nullptr;

struct Rates {
    int falseMatches = 0, impostorPairs = 0;
    int falseRejections = 0, genuinePairs = 0;
    double FalseMatchRate() const { return 100.0 * falseMatches / impostorPairs; }
    double FalseRejectRate() const { return 100.0 * falseRejections / genuinePairs; }
};

TEST_F(MatcherAccuracy, NoImpostorPassesTheEnrolmentLevelAndFewGenuinePairsFail) {
    auto match = s_libs->match.Get<FpMatchFn>("VeltoMatch");
    ASSERT_NE(match, nullptr);
    int failedExtractions = 0;
    for (const std::vector<BYTE>& t : *s_templates) failedExtractions += t.empty();
    EXPECT_LE(failedExtractions, kFingers * kPresses / 100);

    Rates rates[kMaxLevel + 1];
    // A press that could not be processed is a rejection of each of its pairs.
    auto matches = [&](const std::vector<BYTE>& a, const std::vector<BYTE>& b, int level) {
        return !a.empty() && !b.empty() && match(a.data(), b.data(), level) == 0;
    };
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        Rates& r = rates[level];
        for (int finger = 0; finger < kFingers; ++finger) {
            for (int a = 0; a < kPresses; ++a) {
                for (int b = a + 1; b < kPresses; ++b) {
                    ++r.genuinePairs;
                    r.falseRejections += !matches(Press(finger, a), Press(finger, b), level);
                }
            }
            for (int other = finger + 1; other < kFingers; ++other) {
                ++r.impostorPairs;
                r.falseMatches += matches(Press(finger, 0), Press(other, 0), level);
            }
        }
        std::printf("level %d: false matches %.3f %% (%d of %d), false rejections %.2f %% (%d of %d)\n", level,
                    r.FalseMatchRate(), r.falseMatches, r.impostorPairs, r.FalseRejectRate(), r.falseRejections,
                    r.genuinePairs);
    }
    EXPECT_EQ(rates[5].falseMatches, 0);
    EXPECT_LE(rates[5].FalseRejectRate(), 2.0);
    // A higher level is stricter: never more impostors, never fewer rejections.
    for (int level = kMinLevel + 1; level <= kMaxLevel; ++level) {
        EXPECT_LE(rates[level].falseMatches, rates[level - 1].falseMatches);
        EXPECT_GE(rates[level].falseRejections, rates[level - 1].falseRejections);
    }
    EXPECT_LT(rates[kMinLevel].falseRejections, rates[kMaxLevel].falseRejections);
}

struct SearchOutcome {
    int genuine = 0, notNamed = 0, namedWrongly = 0;
    int strangers = 0, strangersNamed = 0;
};

TEST_F(MatcherAccuracy, TheSearchNamesEnrolledFingersAndNoStrangerAtTheUsualLevel) {
    auto toRecord = s_libs->match.Get<FpToRecordFn>("VeltoTempToFPRECORD");
    auto search = s_libs->match.Get<FpMatch2NFn>("VeltoMatch2N");
    ASSERT_NE(toRecord, nullptr);
    ASSERT_NE(search, nullptr);
    std::vector<BYTE> records;
    std::vector<int> fingerOfRecord;
    for (int finger = 0; finger < kEnrolled; ++finger) {
        if (Press(finger, 0).empty() || Press(finger, 1).empty()) continue;
        BYTE pair[kFpStoredBytes];
        std::memcpy(pair, Press(finger, 0).data(), kFpTemplateBytes);
        std::memcpy(pair + kFpTemplateBytes, Press(finger, 1).data(), kFpTemplateBytes);
        records.resize(records.size() + kFpRecordBytes);
        ASSERT_EQ(toRecord(pair, &records[records.size() - kFpRecordBytes]), 1);
        fingerOfRecord.push_back(finger);
    }
    const int count = static_cast<int>(fingerOfRecord.size());
    ASSERT_GE(count, kEnrolled - 2);

    SearchOutcome outcome[kMaxLevel + 1];
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        SearchOutcome& o = outcome[level];
        for (int finger = 0; finger < kFingers; ++finger) {
            const bool enrolled = finger < kEnrolled;
            for (int press = enrolled ? 2 : 0; press < kPresses; ++press) {
                const std::vector<BYTE>& live = Press(finger, press);
                if (live.empty()) continue;
                int score = -1, which = -1;
                const int found = search(live.data(), records.data(), count, &score, &which, level);
                if (enrolled) {
                    ++o.genuine;
                    o.notNamed += found < 0;
                    o.namedWrongly += found >= 0 && fingerOfRecord[found] != finger;
                } else {
                    ++o.strangers;
                    o.strangersNamed += found >= 0;
                }
                if (found >= 0) {
                    EXPECT_GE(score, MatchThreshold(level));
                    EXPECT_TRUE(which == 0 || which == 1);
                }
            }
        }
        std::printf("level %d: genuine not named %d, named wrongly %d of %d; strangers named %d of %d\n", level,
                    o.notNamed, o.namedWrongly, o.genuine, o.strangersNamed, o.strangers);
    }
    EXPECT_EQ(outcome[5].namedWrongly, 0);
    EXPECT_EQ(outcome[5].strangersNamed, 0);
    EXPECT_LE(outcome[5].notNamed, outcome[5].genuine * 2 / 100);
    for (int level = kMinLevel + 1; level <= kMaxLevel; ++level) {
        EXPECT_LE(outcome[level].strangersNamed, outcome[level - 1].strangersNamed);
        EXPECT_LE(outcome[level].namedWrongly, outcome[level - 1].namedWrongly);
        EXPECT_GE(outcome[level].notNamed, outcome[level - 1].notNamed);
    }
    EXPECT_LT(outcome[kMinLevel].notNamed, outcome[kMaxLevel].notNamed);
}

}  // namespace
