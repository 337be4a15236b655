// How far apart a press's minutiae lie: the counts of their pairs' distances
// in bins, worked out for every stored press when the store fills.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "platform/fp/fptemplate.h"
#include "platform/fp/minutiaspread.h"

namespace {

using Spread = std::array<int, kSpreadBins>;

// The counts of a template holding these minutiae (offsets from the core).
Spread SpreadOf(const std::vector<std::pair<int, int>>& minutiae, int count = -1) {
    uint8_t bytes[kTemplateSize] = {};
    bytes[0] = kTemplateTag;
    bytes[3] = static_cast<uint8_t>(count < 0 ? minutiae.size() : count);
    for (size_t i = 0; i < minutiae.size(); ++i) {
        bytes[kMinutiaeOffset + 2 * i] = static_cast<uint8_t>(static_cast<int8_t>(minutiae[i].first));
        bytes[kMinutiaeOffset + 2 * i + 1] = static_cast<uint8_t>(static_cast<int8_t>(minutiae[i].second));
    }
    uint8_t packed[kSpreadBytes];
    MinutiaSpread(bytes, packed);
    Spread bins;
    for (int b = 0; b < kSpreadBins; ++b) bins[b] = b % 2 ? packed[b / 2] >> 4 : packed[b / 2] & 0x0F;
    return bins;
}

Spread With(std::initializer_list<std::pair<int, int>> binCounts) {
    Spread bins{};
    for (const auto& [bin, counts] : binCounts) bins[bin] = counts;
    return bins;
}

// Bins are 3 pixels wide, bin b centred on 3b + 1.5 pixels; a pair counts
// two, shared between the two bins whose centres lie nearest.
TEST(MinutiaSpread, EachPairCountsTwoSharedBetweenTheNearestBins) {
    // 30 pixels, halfway between the centres of bins 9 and 10, whichever
    // way the pair lies.
    EXPECT_EQ(SpreadOf({{0, 0}, {30, 0}}), With({{9, 1}, {10, 1}}));
    EXPECT_EQ(SpreadOf({{-9, 12}, {9, -12}}), With({{9, 1}, {10, 1}}));
    // 31 pixels lie near bin 10's centre: the counts go to it alone.
    EXPECT_EQ(SpreadOf({{0, 0}, {0, 31}}), With({{10, 2}}));
    // Four on a line: three pairs 30 pixels apart, two 60 and one 90.
    EXPECT_EQ(SpreadOf({{-45, 0}, {-15, 0}, {15, 0}, {45, 0}}), With({{9, 3}, {10, 3}, {19, 2}, {20, 2}, {29, 1}, {30, 1}}));
    // Beyond the last bin (192 pixels) a pair counts nowhere.
    EXPECT_EQ(SpreadOf({{-100, 0}, {100, 0}}), Spread{});
    EXPECT_EQ(SpreadOf({{0, 0}}), Spread{});
}

TEST(MinutiaSpread, OnlyTheTwelveNearestTheCoreCountAndABinHoldsFifteen) {
    // Six and six minutiae 30 pixels apart: 36 pairs for bins 9 and 10, and
    // 30 pairs at no distance for bin 0, each holding its most.
    std::vector<std::pair<int, int>> minutiae(kSpreadMinutiae, {0, 0});
    for (int i = 0; i < kSpreadMinutiae / 2; ++i) minutiae[i] = {30, 0};
    const Spread crowded = With({{0, 15}, {9, 15}, {10, 15}});
    EXPECT_EQ(SpreadOf(minutiae), crowded);
    // Minutiae after the twelfth, and bytes past the template's count,
    // change nothing.
    minutiae.push_back({-90, 40});
    EXPECT_EQ(SpreadOf(minutiae), crowded);
    EXPECT_EQ(SpreadOf({{0, 0}, {30, 0}, {0, 90}}, 2), With({{9, 1}, {10, 1}}));
}

}  // namespace
