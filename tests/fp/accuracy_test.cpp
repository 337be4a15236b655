// Matcher accuracy measured the way matchers are compared: 100 fingers x 8
// presses from the generator; every genuine pair (2800) and the first press
// of every impostor pair (4950), each compared once through the libraries.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/fp/matcher.h"
#include "tests/fp/fplibrary.h"

namespace {

constexpr int kFingers = 100;
constexpr int kPresses = 8;

struct Rates {
    int falseMatches = 0, impostorPairs = 0;
    int falseRejections = 0, genuinePairs = 0;
    double FalseMatchRate() const { return 100.0 * falseMatches / impostorPairs; }
    double FalseRejectRate() const { return 100.0 * falseRejections / genuinePairs; }
};

TEST(MatcherAccuracy, NoImpostorPassesTheEnrolmentLevelAndFewGenuinePairsFail) {
    FpLibraries libs;
    auto match = libs.match.Get<FpMatchFn>("VeltoMatch");
    ASSERT_NE(match, nullptr);
    std::vector<std::vector<BYTE>> templates;
    int failedExtractions = 0;
    for (int finger = 0; finger < kFingers; ++finger) {
        for (int press = 0; press < kPresses; ++press) {
            templates.push_back(libs.Template(1000 + finger, press));
            failedExtractions += templates.back().empty();
        }
    }
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
                    r.falseRejections += !matches(templates[finger * kPresses + a], templates[finger * kPresses + b], level);
                }
            }
            for (int other = finger + 1; other < kFingers; ++other) {
                ++r.impostorPairs;
                r.falseMatches += matches(templates[finger * kPresses], templates[other * kPresses], level);
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
    EXPECT_GT(rates[kMinLevel].falseMatches, rates[kMaxLevel].falseMatches);
    EXPECT_LT(rates[kMinLevel].falseRejections, rates[kMaxLevel].falseRejections);
}

}  // namespace
