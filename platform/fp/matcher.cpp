#include "platform/fp/matcher.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// A press's flow samples as the record keeps them.
struct PressFlow {
    uint8_t orientation[kRings][kSectors];  // kUnusable where nothing was seen
    uint8_t ridges[kCountRadii][kSectors];
};

// The record's parts (see matcher.h). What the sift reads of every record,
// the tag, the usable presses and both flows, lies together.
constexpr int kRecordUsableOffset = kRecordTagOffset + 4;
constexpr int kFlowsOffset = kRecordFlowsOffset;
static_assert(kStoredTemplateSize <= kRecordTagOffset && kRecordUsableOffset < kFlowsOffset, "the header follows the template");
static_assert(2 * sizeof(PressFlow) == kRecordFlowBytes && kRecordSiftEnd <= kRecordSize, "the record holds both presses");

// Fewer minutiae are scored as if there were this many: a few minutiae
// pair up by chance with a crowd of them. A live press of little area
// brings few, and pairs them by chance with any finger that has many; a
// stored press with few offers a live minutia few to pair with by chance,
// and both presses of a finger that has few minutiae near its core show
// as few.
constexpr int kFewestLiveMinutiae = 8;
constexpr int kFewestStoredMinutiae = 6;

// Turns tried for minutiae: kTurnStep degrees apart, centred on none.
constexpr float kTurnStepDegrees = 4.0f;
// Shifts voted for, in quarter pixels: cells of 4 pixels, up to 34 pixels.
constexpr int kVoteCell = 16;
constexpr int kVoteCells = 17;
constexpr int kVoteReach = kVoteCell * kVoteCells / 2;
constexpr float kPairTolerance = 8 * 4;  // quarter pixels
constexpr float kTightTolerance = 4 * 4;

// How many candidates the sift hands to the full comparison: the nearest
// by the flow, then the nearest by the spread of the minutiae of those the
// flow did not keep. A press whose core was found a little off where it
// lay at enrolment sees other ridges around it, and the flow alone ranks
// its finger beyond the first few dozen, or hundreds, even where its
// minutiae pair up well; how far apart they lie does not move with the
// core.
constexpr int kFlowKeeps = 104;
constexpr int kSpreadKeeps = 24;

// How far the best record of a search must score above the next one to be
// named, unless it scores kSureOverThreshold above the level's threshold.
constexpr int kNamingMargin = 8;
constexpr int kUsualLevel = 5;
constexpr int kSureOverThreshold = 5;

const PressFlow& FlowOf(const uint8_t* record, int press) {
    return *reinterpret_cast<const PressFlow*>(record + kFlowsOffset + press * sizeof(PressFlow));
}

const uint8_t* StoredPressBytes(const uint8_t* record, int press) { return record + press * kTemplateSize; }

uint8_t* SpreadOf(uint8_t* record, int press) { return record + kRecordSpreadOffset + press * kSpreadBytes; }
const uint8_t* SpreadOf(const uint8_t* record, int press) { return record + kRecordSpreadOffset + press * kSpreadBytes; }

bool IsRecord(const uint8_t* record) { return std::memcmp(record + kRecordTagOffset, "QFR1", 4) == 0; }

bool PressUsable(const uint8_t* record, int press) {
    return record[kRecordUsableOffset] & (1 << press);
}

// The ridge flow view at one turn: mean orientation difference in 16ths of
// a half turn and mean ridge-count difference in 8ths of a ridge, over the
// samples both presses could use. Plain byte loops, so that they vectorise.
int FlowScoreAtShift(const LivePress& live, const PressFlow& stored, int shift) {
    int orientationSum = 0, orientationCount = 0;
    for (int ring = 0; ring < kRings; ++ring) {
        const uint8_t* a = live.WideOrientation(ring) + kMaxShift - shift;
        const uint8_t* b = stored.orientation[ring];
        for (int k = 0; k < kSectors; ++k) {
            const int usable = ((a[k] | b[k]) & 0x80) == 0;
            int d = a[k] - b[k];
            d = d < 0 ? -d : d;
            d = d > kOrientationLevels / 2 ? kOrientationLevels - d : d;
            orientationSum += usable * d;
            orientationCount += usable;
        }
    }
    int ridgeSum = 0, ridgeCount = 0;
    for (int r = 0; r < kCountRadii; ++r) {
        const uint8_t* a = live.WideRidges(r) + kMaxShift - shift;
        const uint8_t* b = stored.ridges[r];
        for (int k = 0; k < kSectors; ++k) {
            const int usable = a[k] != kUnusable && b[k] != kUnusable;
            int d = a[k] - b[k];
            d = d < 0 ? -d : d;
            ridgeSum += usable * d;
            ridgeCount += usable;
        }
    }
    if (orientationCount < kMinSharedOrientations || ridgeCount < kMinSharedRidgeCounts) return 0;
    const int penalty = (orientationSum * 14) / orientationCount + (ridgeSum * 3) / ridgeCount;
    return std::max(0, 100 - penalty);
}

// The best flow view at the turns from `firstShift` to `lastShift` sectors;
// `bestShift` (may be null) gets the first turn that gives it, and is left
// as it was where no turn scores above zero.
int FlowScore(const LivePress& live, const PressFlow& stored, int firstShift = -kMaxShift, int lastShift = kMaxShift,
              int* bestShift = nullptr) {
    int best = 0;
    for (int shift = std::max(firstShift, -kMaxShift); shift <= std::min(lastShift, kMaxShift); ++shift) {
        const int score = FlowScoreAtShift(live, stored, shift);
        if (score <= best) continue;
        best = score;
        if (bestShift) *bestShift = shift;
    }
    return best;
}

// The sift's view of the flow: how far the two presses' samples lie apart
// at the turn where they agree best, each sample's miss capped. A sample
// either press could not use counts half a capped miss: presses of one
// finger lie differently on the sensor, so they lose different samples at
// its edge. Lower is closer.
constexpr int kSiftOrientationCap = 4;
constexpr int kSiftRidgeCap = 24;
constexpr int kSiftOrientationWeight = 5;

// Sixteen samples at a time, SSE2's width, or thirty-two where the
// processor has AVX2. The helpers below are inlined into the code of the
// width they serve, and take blocks by reference, so that no block is
// passed as a value in one width's way to code built for the other.
typedef uint8_t SampleBlock __attribute__((vector_size(16)));
typedef uint8_t WideSampleBlock __attribute__((vector_size(32)));
#define SIFT_INLINE inline __attribute__((always_inline))

template <class Block>
constexpr int kViewBlocks = kRings * kSectors / sizeof(Block);
static_assert(kCountRadii * kSectors == kRings * kSectors, "both views have as many samples");
// Per sample the weighted misses stay below 256 over the blocks of each
// view, so a byte holds their sum.
static_assert(kViewBlocks<SampleBlock> * (kSiftOrientationWeight * kSiftOrientationCap + kSiftRidgeCap) < 256,
              "the misses fit a byte");

template <class Block>
SIFT_INLINE void LoadBlock(Block& block, const uint8_t* bytes) {
    std::memcpy(&block, bytes, sizeof block);
}

template <class Block>
SIFT_INLINE void AddOrientationMisses(Block& misses, const Block& a, const Block& b) {
    const Block cap = Block{} + kSiftOrientationCap;
    const Block high = a > b ? a : b, low = a > b ? b : a;
    const Block d = high - low, round = kOrientationLevels - d;
    const Block nearer = d < round ? d : round;
    misses += (high & 0x80) != 0 ? cap / 2 : nearer < cap ? nearer : cap;
}

template <class Block>
SIFT_INLINE void AddDifference(Block& sum, const Block& a, const Block& b) {
    sum += (a > b ? a : b) - (a > b ? b : a);
}

template <class Block>
SIFT_INLINE void AddRidgeMisses(Block& misses, const Block& a, const Block& b) {
    const Block cap = Block{} + kSiftRidgeCap;
    const Block high = a > b ? a : b, low = a > b ? b : a;
    const Block d = high - low;
    misses += high == kUnusable ? cap / 2 : d < cap ? d : cap;
}

// The sum of the block's bytes: their distances from zero, which SSE2 adds
// up eight at a time in one step.
template <class Block>
SIFT_INLINE int SumOfBytes(const Block& block) {
    __m128i parts[sizeof block / sizeof(__m128i)];
    std::memcpy(parts, &block, sizeof parts);
    int sum = 0;
    for (const __m128i part : parts) {
        const __m128i halves = _mm_sad_epu8(part, _mm_setzero_si128());
        sum += _mm_cvtsi128_si32(halves) + _mm_extract_epi16(halves, 4);
    }
    return sum;
}

// Each stored block is read once and compared with the live one at every
// kTurnStep-th turn the live press was prepared for: the sift over every
// record tries every other one, which finds the finger as surely; the turn
// for the minutiae is then found among all of them. The turns are unrolled
// so that each one's misses stay in a register.
template <int kTurnStep, class Block = SampleBlock>
SIFT_INLINE int SiftDistance(const LivePress& live, const PressFlow& stored, int* bestTurn) {
    constexpr int kTurns = (LivePress::kFlowTurns + kTurnStep - 1) / kTurnStep;
    constexpr int kBlockSamples = sizeof(Block);
    Block misses[kTurns] = {};
    const uint8_t* orientation = &stored.orientation[0][0];
    const uint8_t* ridges = &stored.ridges[0][0];
    Block a, b;
    for (int block = 0; block < kViewBlocks<Block>; ++block) {
        LoadBlock(b, orientation + block * kBlockSamples);
#pragma GCC unroll 9
        for (int t = 0; t < kTurns; ++t) {
            LoadBlock(a, live.TurnedFlow(t * kTurnStep) + block * kBlockSamples);
            AddOrientationMisses(misses[t], a, b);
        }
    }
    // Weighed once for all the orientation blocks.
#pragma GCC unroll 9
    for (int t = 0; t < kTurns; ++t) misses[t] *= kSiftOrientationWeight;
    for (int block = 0; block < kViewBlocks<Block>; ++block) {
        LoadBlock(b, ridges + block * kBlockSamples);
#pragma GCC unroll 9
        for (int t = 0; t < kTurns; ++t) {
            LoadBlock(a, live.TurnedFlow(t * kTurnStep) + kRings * kSectors + block * kBlockSamples);
            AddRidgeMisses(misses[t], a, b);
        }
    }
    int best = std::numeric_limits<int>::max();
    for (int t = 0; t < kTurns; ++t) {
        const int distance = SumOfBytes(misses[t]);
        if (distance < best) {
            best = distance;
            *bestTurn = t * kTurnStep;
        }
    }
    return best;
}

// The spread's view: the counts' differences summed over the bins. Lower
// is closer.
static_assert(kSpreadBytes / sizeof(SampleBlock) * 2 * 15 < 256, "the differences fit a byte");
template <class Block>
SIFT_INLINE int SpreadDistance(const LivePress& live, const uint8_t* spread) {
    constexpr int kBlockBytes = sizeof(Block);
    Block misses = {}, both, even, odd;
    for (int block = 0; block < kSpreadBytes / kBlockBytes; ++block) {
        LoadBlock(both, spread + block * kBlockBytes);
        LoadBlock(even, live.SpreadBins() + block * kBlockBytes);
        LoadBlock(odd, live.SpreadBins() + kSpreadBytes + block * kBlockBytes);
        const Block low = both & 0x0F, high = both >> 4;
        AddDifference(misses, low, even);
        AddDifference(misses, high, odd);
    }
    return SumOfBytes(misses);
}

// The sift walks records far apart, too far for the processor to foresee:
// each record's bytes are asked for a few records ahead, so that they have
// come from memory by the time they are compared.
constexpr int kSiftAhead = 4;

void PrefetchSiftBytes(const uint8_t* record) {
    for (int offset = kRecordTagOffset; offset < kRecordSiftEnd; offset += 64)
        __builtin_prefetch(record + offset);
}

// The vote grid before the first vote, with its border (see MinutiaeScore).
constexpr int kBorderedVoteCells = kVoteCells + 4;
struct EmptyVotes {
    int cells[kBorderedVoteCells][kBorderedVoteCells];
    constexpr EmptyVotes() : cells() {
        for (int y = 0; y < kBorderedVoteCells; ++y)
            for (int x = 0; x < kBorderedVoteCells; ++x) {
                const bool inside = y >= 2 && x >= 2 && y < kVoteCells + 2 && x < kVoteCells + 2;
                cells[y][x] = inside ? 0 : -(1 << 20);
            }
    }
};
constexpr EmptyVotes kEmptyVotes;

// Four minutiae at a time, for the distances to each of them.
typedef float FourFloats __attribute__((vector_size(16)));
constexpr int kFourMinutiae = (kMaxMinutiae + 3) / 4;

struct StoredMinutiae {
    int count;
    int x[kMaxMinutiae];  // quarter pixels
    int y[kMaxMinutiae];
    // The same four at a time; those beyond `count` lie too far off to pair.
    FourFloats groupX[kFourMinutiae];
    FourFloats groupY[kFourMinutiae];
};

int StoredMinutiaCount(const uint8_t* pressBytes) { return std::min<int>(pressBytes[3], kMaxMinutiae); }

StoredMinutiae ReadMinutiae(const uint8_t* pressBytes) {
    constexpr float kFarOff = 1e6f;
    StoredMinutiae m;
    m.count = StoredMinutiaCount(pressBytes);
    for (int i = 0; i < kFourMinutiae * 4; ++i) {
        const bool present = i < m.count;
        if (present) {
            m.x[i] = 4 * static_cast<int8_t>(pressBytes[kMinutiaeOffset + 2 * i]);
            m.y[i] = 4 * static_cast<int8_t>(pressBytes[kMinutiaeOffset + 2 * i + 1]);
        }
        m.groupX[i / 4][i % 4] = present ? static_cast<float>(m.x[i]) : kFarOff;
        m.groupY[i / 4][i % 4] = present ? static_cast<float>(m.y[i]) : kFarOff;
    }
    return m;
}

// Pairs of minutiae within the tolerance once the live ones are turned and
// shifted; each stored minutia pairs once. `liveOf` (may be null) gets,
// per stored minutia, the live one it paired with or -1.
int PairUp(const float* xs, const float* ys, int count, const StoredMinutiae& stored, float tolerance, int* liveOf) {
    // A stored minutia once paired lies infinitely far from every live one.
    FourFloats paired[kFourMinutiae] = {};
    const int groups = (stored.count + 3) / 4;
    if (liveOf) std::fill(liveOf, liveOf + stored.count, -1);
    int pairs = 0;
    for (int i = 0; i < count; ++i) {
        FourFloats distance[kFourMinutiae];
        FourFloats least = FourFloats{} + std::numeric_limits<float>::infinity();
        for (int g = 0; g < groups; ++g) {
            const FourFloats dx = xs[i] - stored.groupX[g], dy = ys[i] - stored.groupY[g];
            distance[g] = dx * dx + dy * dy + paired[g];
            least = least < distance[g] ? least : distance[g];
        }
        const float nearest = std::min({least[0], least[1], least[2], least[3]});
        if (!(nearest < tolerance * tolerance)) continue;
        // Of equally near ones the first pairs.
        int j = 0;
        while (distance[j / 4][j % 4] != nearest) ++j;
        paired[j / 4][j % 4] = std::numeric_limits<float>::infinity();
        if (liveOf) liveOf[j] = i;
        ++pairs;
    }
    return pairs;
}

// The turn and shift that lay the paired minutiae on each other best (least
// squares), applied to every live minutia.
void FitToPairs(const float* xs, const float* ys, int count, const StoredMinutiae& stored, const int* liveOf,
                float* fittedX, float* fittedY) {
    float liveX = 0, liveY = 0, storedX = 0, storedY = 0;
    int n = 0;
    for (int j = 0; j < stored.count; ++j) {
        if (liveOf[j] < 0) continue;
        liveX += xs[liveOf[j]];
        liveY += ys[liveOf[j]];
        storedX += stored.x[j];
        storedY += stored.y[j];
        ++n;
    }
    liveX /= n;
    liveY /= n;
    storedX /= n;
    storedY /= n;
    float along = 0, across = 0;
    for (int j = 0; j < stored.count; ++j) {
        if (liveOf[j] < 0) continue;
        const float lx = xs[liveOf[j]] - liveX, ly = ys[liveOf[j]] - liveY;
        const float sx = stored.x[j] - storedX, sy = stored.y[j] - storedY;
        along += lx * sx + ly * sy;
        across += lx * sy - ly * sx;
    }
    const float length = std::sqrt(along * along + across * across);
    const float c = length > 0 ? along / length : 1.0f, s = length > 0 ? across / length : 0.0f;
    for (int i = 0; i < count; ++i) {
        const float lx = xs[i] - liveX, ly = ys[i] - liveY;
        fittedX[i] = lx * c - ly * s + storedX;
        fittedY[i] = lx * s + ly * c + storedY;
    }
}

// A pair counts near the peak within a cell and a half of its centre. The
// centre lies at most kVoteReach - kVoteCell / 2 from no shift, and a pair
// votes while its cell, rounded towards no shift, lies at most one beyond
// the grid: a pair further off does neither.
constexpr int kNearPeak = kVoteCell * 3 / 2;
constexpr int kGatherReach = std::max(kVoteReach - kVoteCell / 2 + kNearPeak, kVoteReach + 2 * kVoteCell - 1);

// The minutiae view: at each turn tried (every `turnStep`-th from
// `firstTurn` to `lastTurn`, those beyond the prepared ones left out) every
// live-stored pair votes for the shift that would lay them on each other;
// the best-backed shift is refined and the pairs it makes are counted.
int AlignedPairs(const LivePress& live, const StoredMinutiae& stored, int firstTurn, int lastTurn, int turnStep) {
    const int liveCount = live.Features().minutiaCount;
    int coarsePairs = 0;
    float bestX[kMaxMinutiae], bestY[kMaxMinutiae];
    int bestLiveOf[kMaxMinutiae];
    struct Shift {
        int x, y;
    };
    Shift pairShifts[kMaxMinutiae * kMaxMinutiae];
    for (int turn = firstTurn; turn <= lastTurn; turn += turnStep) {
        if (turn < 0 || turn >= LivePress::kTurns) continue;
        const int16_t* xs = live.TurnedX(turn);
        const int16_t* ys = live.TurnedY(turn);
        // Only pairs that lie within reach of the grid vote or count near
        // its peak; they are gathered once.
        int pairCount = 0;
        for (int i = 0; i < liveCount; ++i) {
            for (int j = 0; j < stored.count; ++j) {
                const int dx = stored.x[j] - xs[i], dy = stored.y[j] - ys[i];
                pairShifts[pairCount] = {dx, dy};
                pairCount += dx >= -kGatherReach && dx <= kGatherReach && dy >= -kGatherReach && dy <= kGatherReach;
            }
        }
        // Votes land in a cell and its eight neighbours: each cell then holds
        // the votes of the 3x3 cells around it. The grid has a border of two
        // cells so that the nine land without bounds checks; border cells
        // start far below zero and so never become the peak.
        int votes[kBorderedVoteCells][kBorderedVoteCells];
        std::memcpy(votes, kEmptyVotes.cells, sizeof votes);
        int peak = 0, peakX = 0, peakY = 0;
        for (int k = 0; k < pairCount; ++k) {
            const int cx = (pairShifts[k].x + kVoteReach) / kVoteCell;
            const int cy = (pairShifts[k].y + kVoteReach) / kVoteCell;
            if (cx < -1 || cy < -1 || cx > kVoteCells || cy > kVoteCells) continue;
            for (int y = cy - 1; y <= cy + 1; ++y) {
                for (int x = cx - 1; x <= cx + 1; ++x) {
                    if (++votes[y + 2][x + 2] > peak) {
                        peak = votes[y + 2][x + 2];
                        peakX = x;
                        peakY = y;
                    }
                }
            }
        }
        if (peak == 0) continue;
        const int centreX = peakX * kVoteCell + kVoteCell / 2 - kVoteReach;
        const int centreY = peakY * kVoteCell + kVoteCell / 2 - kVoteReach;
        int sumX = 0, sumY = 0, near = 0;
        for (int k = 0; k < pairCount; ++k) {
            const int dx = pairShifts[k].x - centreX, dy = pairShifts[k].y - centreY;
            if (std::abs(dx) <= kNearPeak && std::abs(dy) <= kNearPeak) {
                sumX += dx;
                sumY += dy;
                ++near;
            }
        }
        const int shiftX = centreX + (near ? sumX / near : 0);
        const int shiftY = centreY + (near ? sumY / near : 0);
        float shiftedX[kMaxMinutiae], shiftedY[kMaxMinutiae];
        for (int i = 0; i < liveCount; ++i) {
            shiftedX[i] = static_cast<float>(xs[i] + shiftX);
            shiftedY[i] = static_cast<float>(ys[i] + shiftY);
        }
        int liveOf[kMaxMinutiae];
        const int pairs = PairUp(shiftedX, shiftedY, liveCount, stored, kPairTolerance, liveOf);
        if (pairs > coarsePairs) {
            coarsePairs = pairs;
            std::copy(shiftedX, shiftedX + liveCount, bestX);
            std::copy(shiftedY, shiftedY + liveCount, bestY);
            std::copy(liveOf, liveOf + stored.count, bestLiveOf);
        }
    }
    if (coarsePairs < 2) return coarsePairs;
    float fittedX[kMaxMinutiae], fittedY[kMaxMinutiae];
    FitToPairs(bestX, bestY, liveCount, stored, bestLiveOf, fittedX, fittedY);
    return PairUp(fittedX, fittedY, liveCount, stored, kTightTolerance, nullptr);
}

int MinutiaeScoreOfPairs(int pairs, int liveCount, int storedCount) {
    const int scale = std::max(liveCount, kFewestLiveMinutiae) * std::max(storedCount, kFewestStoredMinutiae);
    return std::min(100, 100 * pairs * pairs / scale);
}

int MinutiaeScore(const LivePress& live, const uint8_t* pressBytes, int firstTurn, int lastTurn, int turnStep,
                  int* pairsOut = nullptr) {
    const int liveCount = live.Features().minutiaCount;
    const StoredMinutiae stored = ReadMinutiae(pressBytes);
    if (pairsOut) *pairsOut = 0;
    if (liveCount == 0 || stored.count == 0) return 0;
    const int pairs = AlignedPairs(live, stored, firstTurn, lastTurn, turnStep);
    if (pairsOut) *pairsOut = pairs;
    return MinutiaeScoreOfPairs(pairs, liveCount, stored.count);
}

// No more minutiae pair up than the fewer of the two presses has.
int MostMinutiaeScore(const LivePress& live, const uint8_t* pressBytes) {
    const int liveCount = live.Features().minutiaCount;
    const int storedCount = StoredMinutiaCount(pressBytes);
    return MinutiaeScoreOfPairs(std::min(liveCount, storedCount), liveCount, storedCount);
}

// The flow view tells fingers apart more surely than minutiae that carry
// no direction; the minutiae decide among fingers of alike flow.
constexpr int kFlowPercent = 60;

// A minutiae view this far above chance speaks for itself, whatever the
// flow says: strangers' stay below 35, while a press whose core was found a
// few pixels off, which sees other flow samples around it, still pairs most
// of its minutiae within a few pixels. It counts a little below its value,
// and at most as a sure match at the usual level (5): one view alone does
// not reach the strictest levels. That also leaves a search that has found
// a surer record passing over the records whose flow lies far off.
constexpr int kMinutiaeAloneBelow = 10;
constexpr int kMinutiaeAloneAtMost = 62;

int Combine(int flow, int minutiae) {
    const int alone = std::min(minutiae - kMinutiaeAloneBelow, kMinutiaeAloneAtMost);
    return std::max((flow * kFlowPercent + minutiae * (100 - kFlowPercent)) / 100, alone);
}

int FullScore(const LivePress& live, const uint8_t* record, int press, int firstTurn, int lastTurn) {
    const uint8_t* bytes = StoredPressBytes(record, press);
    return Combine(FlowScore(live, FlowOf(record, press)), MinutiaeScore(live, bytes, firstTurn, lastTurn, 1));
}

// The whole-sector turn at which the flow of a stored press lies closest
// to the live one's, by the sift's measure.
int FlowShiftOf(const LivePress& live, const PressFlow& stored) {
    int flowTurn = LivePress::kFlowTurns / 2;
    SiftDistance<1>(live, stored, &flowTurn);
    return flowTurn - LivePress::kFlowTurns / 2;
}

// The minutiae turn nearest to a whole-sector turn.
int MinutiaeTurnOfShift(int shift) {
    const float degrees = shift * 360.0f / kSectors;
    return LivePress::kTurns / 2 + static_cast<int>(std::lround(degrees / kTurnStepDegrees));
}

// The full score of a record the sift kept, trying only turns near the one
// its flow lies closest at. Only a score of at least `needed` can change
// the search's outcome: a press whose flow view alone keeps it below that,
// however well its minutiae pair up, is not compared further (the result
// is then below `needed` too).
//
// The flow gives the turn in whole sectors (over 11 degrees), and for
// some presses of a finger a sector off the turn at which the minutiae
// pair up. The minutiae are turned about the sector where the flow view
// scores best, by every other minutiae turn up to 8 degrees either way:
// three turns, no more than the nearest three cost; the fit to the pairs
// found then refines the turn.
int SiftedScore(const LivePress& live, const uint8_t* record, int needed, PressViews* views = nullptr) {
    constexpr int kShiftWindow = 1;
    constexpr int kTurnReach = 2;
    constexpr int kTurnStride = 2;
    int best = 0;
    for (int p = 0; p < 2; ++p) {
        if (!PressUsable(record, p)) continue;
        const PressFlow& flow = FlowOf(record, p);
        int shift = FlowShiftOf(live, flow);
        const int flowScore = FlowScore(live, flow, shift - kShiftWindow, shift + kShiftWindow, &shift);
        const int most = Combine(flowScore, MostMinutiaeScore(live, StoredPressBytes(record, p)));
        if (!views && (most < needed || most <= best)) continue;
        const int turn = MinutiaeTurnOfShift(shift);
        int pairs;
        const int minutiae =
            MinutiaeScore(live, StoredPressBytes(record, p), turn - kTurnReach, turn + kTurnReach, kTurnStride, &pairs);
        best = std::max(best, Combine(flowScore, minutiae));
        if (views) views[p] = {flowScore, minutiae, pairs, StoredMinutiaCount(StoredPressBytes(record, p))};
    }
    return best;
}

// The best record of a search as it stands for naming: its score, how far
// above the next record it must stand, and the score from which it is
// named however near the next.
struct Standing {
    int score, margin, sure;
};

// Both stored presses of a finger pairing with the live press far above
// what chance gives speak for the finger where the flow lies off: a
// stranger's minutiae view stays below 35 against every record, and so
// does a genuine press's against another finger, and both of a record's
// presses together come nowhere near. Such a record scores a little more,
// and no more than a sure match at the usual level (5), as a minutiae view
// alone does.
constexpr int kBothPressesPairFrom = 40;
constexpr int kBothPressesRaise = 3;

// The two stored presses of a finger agree with each other. A record that
// scores by the flow of one press, whose minutiae view is weak, while the
// other press pairs at most one of the live press's many minutiae, is how a
// press whose core was found far from where its finger has it meets
// another finger of alike flow: it must stand clearer of the next record,
// and at the lenient levels (1-4) is sure only from a sure match at the
// usual level, as a minutiae view alone at most scores.
constexpr int kFlowBorneBelow = 40;
constexpr int kDisagreeingPairsAtMost = 1;
constexpr int kDisagreeingLiveFrom = 8;
constexpr int kFlowBorneMargin = 12;

// The search scores in full every record that could come within the
// widest margin of the best.
constexpr int kWidestMargin = kFlowBorneMargin;
static_assert(kNamingMargin <= kWidestMargin, "the widest margin is the widest");

Standing StandingOf(const LivePress& live, const uint8_t* record, int score, int threshold) {
    const int sure = threshold + kSureOverThreshold;
    PressViews views[2];
    SiftedScore(live, record, 0, views);
    if (PressUsable(record, 0) && PressUsable(record, 1) &&
        std::min(views[0].minutiae, views[1].minutiae) >= kBothPressesPairFrom)
        return {std::max(score, std::min(score + kBothPressesRaise, kMinutiaeAloneAtMost)), kNamingMargin, sure};
    const int scored = Combine(views[0].flow, views[0].minutiae) >= Combine(views[1].flow, views[1].minutiae) ? 0 : 1;
    const PressViews& other = views[1 - scored];
    const bool otherDisagrees = PressUsable(record, 1 - scored) && other.pairs <= kDisagreeingPairsAtMost &&
                                other.storedMinutiae >= kFewestStoredMinutiae &&
                                live.Features().minutiaCount >= kDisagreeingLiveFrom;
    if (views[scored].minutiae < kFlowBorneBelow && otherDisagrees)
        return {score, kFlowBorneMargin, std::max(sure, kMinutiaeAloneAtMost)};
    return {score, kNamingMargin, sure};
}

// A record's distances from the live press by the sift's two views, the
// nearer of its presses by each.
struct SiftedRecord {
    int flow, spread, index;
    int view;  // of the live press, the one nearest by the flow
};

// Every record's distances from the live press: the nearer of its presses
// by the flow around the nearest of the live press's views, and where
// `bySpread` by the spread of the first view's minutiae. Those with no
// usable press are left out.
template <class Block>
SIFT_INLINE void SiftRecordsIn(const LivePress* views, int viewCount, bool bySpread, const uint8_t* records, int count,
                               int stride, std::vector<SiftedRecord>& sifted) {
    sifted.reserve(count);
    for (int i = 0; i < count; ++i) {
        const uint8_t* record = records + static_cast<size_t>(i) * stride;
        if (i + kSiftAhead < count) PrefetchSiftBytes(record + kSiftAhead * static_cast<size_t>(stride));
        if (!IsRecord(record)) continue;
        SiftedRecord nearest{-1, -1, i, 0};
        for (int p = 0; p < 2; ++p) {
            if (!PressUsable(record, p)) continue;
            for (int v = 0; v < viewCount; ++v) {
                int turn;
                const int flow = SiftDistance<2, Block>(views[v], FlowOf(record, p), &turn);
                if (nearest.flow >= 0 && flow >= nearest.flow) continue;
                nearest.flow = flow;
                nearest.view = v;
            }
            if (!bySpread) continue;
            const int spread = SpreadDistance<Block>(views[0], SpreadOf(record, p));
            if (nearest.spread < 0 || spread < nearest.spread) nearest.spread = spread;
        }
        if (nearest.flow >= 0) sifted.push_back(nearest);
    }
}

void SiftRecordsSse2(const LivePress* views, int viewCount, bool bySpread, const uint8_t* records, int count,
                     int stride, std::vector<SiftedRecord>& sifted) {
    SiftRecordsIn<SampleBlock>(views, viewCount, bySpread, records, count, stride, sifted);
}

__attribute__((target("avx2"))) void SiftRecordsAvx2(const LivePress* views, int viewCount, bool bySpread,
                                                     const uint8_t* records, int count, int stride,
                                                     std::vector<SiftedRecord>& sifted) {
    SiftRecordsIn<WideSampleBlock>(views, viewCount, bySpread, records, count, stride, sifted);
}

void SiftRecords(const LivePress* views, int viewCount, bool bySpread, const uint8_t* records, int count, int stride,
                 SiftCode code, std::vector<SiftedRecord>& sifted) {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (code == SiftCode::Widest && hasAvx2)
        SiftRecordsAvx2(views, viewCount, bySpread, records, count, stride, sifted);
    else
        SiftRecordsSse2(views, viewCount, bySpread, records, count, stride, sifted);
}

bool NearerByFlow(const SiftedRecord& a, const SiftedRecord& b) {
    return a.flow != b.flow ? a.flow < b.flow : a.index < b.index;
}

// Puts first the records the search compares in full, in the order it
// compares them: the nearest by the flow, then the nearest by the spread
// of those left. Returns how many there are.
size_t OrderForFullComparison(std::vector<SiftedRecord>& sifted) {
    const size_t byFlow = std::min<size_t>(kFlowKeeps, sifted.size());
    std::partial_sort(sifted.begin(), sifted.begin() + byFlow, sifted.end(), NearerByFlow);
    const size_t keep = byFlow + std::min<size_t>(kSpreadKeeps, sifted.size() - byFlow);
    std::partial_sort(sifted.begin() + byFlow, sifted.begin() + keep, sifted.end(),
                      [](const SiftedRecord& a, const SiftedRecord& b) {
                          return a.spread != b.spread ? a.spread < b.spread : a.index < b.index;
                      });
    return keep;
}

}  // namespace

bool LivePress::Prepare(const uint8_t* templateBytes) {
    if (!UnpackTemplate(templateBytes, &m_features)) return false;
    for (int k = 0; k < kWideSectors; ++k) {
        const int sector = (k - kMaxShift + kSectors) % kSectors;
        for (int ring = 0; ring < kRings; ++ring) m_wideOrientation[ring][k] = m_features.orientation[ring][sector];
        for (int r = 0; r < kCountRadii; ++r) m_wideRidges[r][k] = m_features.ridges[r][sector];
    }
    for (int turn = 0; turn < kFlowTurns; ++turn) {
        const int shift = turn - kFlowTurns / 2;
        uint8_t* out = m_turnedFlow[turn];
        for (int ring = 0; ring < kRings; ++ring, out += kSectors)
            std::memcpy(out, m_wideOrientation[ring] + kMaxShift - shift, kSectors);
        for (int r = 0; r < kCountRadii; ++r, out += kSectors) std::memcpy(out, m_wideRidges[r] + kMaxShift - shift, kSectors);
    }
    uint8_t spread[kSpreadBytes];
    MinutiaSpread(templateBytes, spread);
    for (int b = 0; b < kSpreadBytes; ++b) {
        m_spreadBins[b] = spread[b] & 0x0F;
        m_spreadBins[kSpreadBytes + b] = spread[b] >> 4;
    }
    for (int turn = 0; turn < kTurns; ++turn) {
        const float degrees = (turn - kTurns / 2) * kTurnStepDegrees;
        const float c = std::cos(degrees * 3.14159265f / 180.0f), s = std::sin(degrees * 3.14159265f / 180.0f);
        for (int i = 0; i < m_features.minutiaCount; ++i) {
            const float x = m_features.minutiaX[i], y = m_features.minutiaY[i];
            m_turnedX[turn][i] = static_cast<int16_t>(std::lround(4 * (x * c - y * s)));
            m_turnedY[turn][i] = static_cast<int16_t>(std::lround(4 * (x * s + y * c)));
        }
    }
    return true;
}

int ScoreAgainstRecord(const LivePress& live, const uint8_t* record, int* press) {
    if (press) *press = 0;
    if (!IsRecord(record)) return 0;
    int best = 0;
    for (int p = 0; p < 2; ++p) {
        if (!PressUsable(record, p)) continue;
        const int score = FullScore(live, record, p, 0, LivePress::kTurns - 1);
        if (score > best) {
            best = score;
            if (press) *press = p;
        }
    }
    return best;
}

int ScoreTemplates(const uint8_t* a, const uint8_t* b) {
    LivePress live;
    uint8_t stored[kStoredTemplateSize] = {};
    std::memcpy(stored, b, kTemplateSize);
    uint8_t record[kRecordSize];
    if (!live.Prepare(a) || !BuildRecord(stored, record)) return 0;
    return ScoreAgainstRecord(live, record, nullptr);
}

namespace {

// The best record of one search, its score, the best score of the others
// wherever it could decide whether the best stands clear, and how the best
// must stand to be named: how far above the next record, or from which
// score however near.
struct SearchFound {
    int index = -1, score = -1, runnerUp = 0;
    int margin = kNamingMargin, sure = 0;
};

// The full comparison of the first `keep` sifted records, each against the
// view of the live press the sift found nearest to it.
SearchFound CompareInFull(const LivePress* views, const uint8_t* records, int stride,
                          const std::vector<SiftedRecord>& sifted, size_t keep, int threshold) {
    const int surest = std::max(threshold + kSureOverThreshold, kMinutiaeAloneAtMost);
    SearchFound found;
    int bestView = 0;
    for (size_t k = 0; k < keep; ++k) {
        const int index = sifted[k].index;
        // Only a record that could come first needs its full score, or, while
        // the first may not be sure, one that could come within the widest
        // margin of a first that reaches the threshold: raising the first's
        // score only widens its lead. A tie goes to the lower index.
        const int toLead = found.score + (index < found.index ? 0 : 1);
        const int toCrowd =
            std::max({found.runnerUp + 1, found.score - kWidestMargin + 1, threshold - kWidestMargin + 1});
        const int needed = found.score >= surest ? toLead : std::min(toLead, toCrowd);
        const int s = SiftedScore(views[sifted[k].view], records + static_cast<size_t>(index) * stride, needed);
        if (s > found.score || (s == found.score && index < found.index)) {
            found.runnerUp = std::max(found.runnerUp, found.score);
            found.score = s;
            found.index = index;
            bestView = sifted[k].view;
        } else {
            found.runnerUp = std::max(found.runnerUp, s);
        }
    }
    found.score = std::max(0, found.score);
    found.sure = threshold + kSureOverThreshold;
    // A record this sure is named whatever else it shows, and no raise
    // takes a score above it.
    if (found.index >= 0 && found.score < surest) {
        const Standing best = StandingOf(views[bestView], records + static_cast<size_t>(found.index) * stride,
                                         found.score, threshold);
        found.score = best.score;
        found.margin = best.margin;
        found.sure = best.sure;
    }
    return found;
}

// The other views look for a finger whose stored presses have the core
// where the first view of the live press did not: it lies among the
// nearest few by the flow around one of them.
constexpr int kViewKeeps = 24;

SearchFound SearchViews(const LivePress* views, int viewCount, const uint8_t* records, int count, int stride,
                        int level, SiftCode code) {
    std::vector<SiftedRecord> sifted;
    SiftRecords(views, viewCount, false, records, count, stride, code, sifted);
    const size_t keep = std::min<size_t>(kViewKeeps, sifted.size());
    std::partial_sort(sifted.begin(), sifted.begin() + keep, sifted.end(), NearerByFlow);
    return CompareInFull(views, records, stride, sifted, keep, MatchThreshold(level));
}

SearchFound SearchRecords(const LivePress& live, const uint8_t* records, int count, int stride, int level,
                          SiftCode code) {
    // A cheap sift over every record keeps the likeliest few for the full
    // comparison, which alone would be too slow for thousands of fingers.
    std::vector<SiftedRecord> sifted;
    SiftRecords(&live, 1, true, records, count, stride, code, sifted);
    const size_t keep = OrderForFullComparison(sifted);
    return CompareInFull(&live, records, stride, sifted, keep, MatchThreshold(level));
}

// A press that scores nearly as well against another finger is one that
// agrees with many (a flow alike by chance, a press of little area): named
// only when it stands clear of them, or scores surely.
bool Named(const SearchFound& found, int level) {
    if (found.index < 0 || found.score < MatchThreshold(level)) return false;
    return found.score - found.runnerUp >= found.margin || found.score >= found.sure;
}

// The further views that follow a live press's template (ExtractLivePress)
// made ready, as many as its `pressLength` bytes hold; returns how many.
int PrepareOtherViews(const uint8_t* pressBytes, int pressLength, LivePress others[kMostOtherViews]) {
    const int held = pressLength / kTemplateSize - 1;
    const int views = std::min({static_cast<int>(pressBytes[kViewCountOffset]), kMostOtherViews, held});
    int prepared = 0;
    for (int v = 0; v < views; ++v) prepared += others[prepared].Prepare(pressBytes + (1 + v) * kTemplateSize);
    return prepared;
}

}  // namespace

int IdentifyInRecords(const LivePress& live, const uint8_t* records, int count, int stride, int level, int* score,
                      SiftCode code) {
    const SearchFound found = SearchRecords(live, records, count, stride, level, code);
    if (score) *score = found.score;
    return Named(found, level) ? found.index : -1;
}

int IdentifyByViews(const LivePress& live, const uint8_t* pressBytes, int pressLength, const uint8_t* records,
                    int count, int stride, int level, int* score, SiftCode code) {
    const SearchFound first = SearchRecords(live, records, count, stride, level, code);
    if (score) *score = first.score;
    if (Named(first, level)) return first.index;
    // Only a press its template names nobody for needs its other views.
    LivePress others[kMostOtherViews];
    const int otherCount = PrepareOtherViews(pressBytes, pressLength, others);
    if (otherCount == 0) return -1;
    // Each view is one more chance for a stranger to agree with some finger
    // by chance: the other views are held to the usual level at least.
    const int viewLevel = std::max(level, kUsualLevel);
    const SearchFound found = SearchViews(others, otherCount, records, count, stride, viewLevel, code);
    if (!Named(found, viewLevel)) return -1;
    // The finger must also stand clear of what the first view found.
    const int rival = first.index == found.index ? first.runnerUp : first.score;
    if (found.score - rival < kNamingMargin) return -1;
    if (score) *score = found.score;
    return found.index;
}

std::vector<int> SiftRanks(const LivePress& live, const uint8_t* records, int count, int stride) {
    std::vector<SiftedRecord> sifted;
    SiftRecords(&live, 1, true, records, count, stride, SiftCode::Widest, sifted);
    const size_t keep = OrderForFullComparison(sifted);
    std::sort(sifted.begin() + keep, sifted.end(), NearerByFlow);
    std::vector<int> ranks(count, -1);
    for (size_t k = 0; k < sifted.size(); ++k) ranks[sifted[k].index] = static_cast<int>(k);
    return ranks;
}

SearchExplained ExplainSearch(const LivePress& live, const uint8_t* records, int count, int stride, int own) {
    SearchExplained out;
    const std::vector<int> ranks = SiftRanks(live, records, count, stride);
    if (own >= 0 && own < count) {
        out.ownRank = ranks[own];
        out.ownScore = SiftedScore(live, records + static_cast<size_t>(own) * stride, 0, out.own);
    }
    for (int index = 0; index < count; ++index) {
        if (ranks[index] < 0 || ranks[index] >= kFlowKeeps + kSpreadKeeps) continue;
        KeptRecord kept{index, ranks[index], 0, {}};
        const int s = kept.score = SiftedScore(live, records + static_cast<size_t>(index) * stride, 0, kept.views);
        out.kept.push_back(kept);
        if (index == own) continue;
        if (s > out.otherScore) {
            out.otherScore = s;
            out.other = index;
        }
    }
    return out;
}

bool BuildRecord(const uint8_t* stored, uint8_t* record) {
    // Every byte written once: the template store fills thousands of these
    // at start-up.
    std::memcpy(record, stored, kStoredTemplateSize);
    std::memset(record + kStoredTemplateSize, 0, kFlowsOffset - kStoredTemplateSize);
    std::memset(record + kRecordSiftEnd, 0, kRecordSize - kRecordSiftEnd);
    std::memcpy(record + kRecordTagOffset, "QFR1", 4);
    for (int p = 0; p < 2; ++p) {
        const uint8_t* press = stored + p * kTemplateSize;
        PressFlow* flow = reinterpret_cast<PressFlow*>(record + kFlowsOffset + p * sizeof(PressFlow));
        if (!IsTemplate(press)) {
            std::memset(flow, 0, sizeof *flow);
            std::memset(SpreadOf(record, p), 0, kSpreadBytes);
            continue;
        }
        UnpackFlow(press, flow->orientation, flow->ridges);
        MinutiaSpread(press, SpreadOf(record, p));
        record[kRecordUsableOffset] |= static_cast<uint8_t>(1 << p);
    }
    if (record[kRecordUsableOffset] == 0) {
        std::memset(record, 0, kRecordSize);
        return false;
    }
    return true;
}

const uint8_t* StoredTemplateOfRecord(const uint8_t* record) { return record; }

int MatchThreshold(int level) {
    static constexpr int kThresholds[kMaxLevel - kMinLevel + 1] = {49, 51, 53, 55, 57, 59, 61, 63, 65};
    return kThresholds[std::clamp(level, kMinLevel, kMaxLevel) - kMinLevel];
}
