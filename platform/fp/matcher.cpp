#include "platform/fp/matcher.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int kWide = kSectors + 2 * kMaxShift;

// The coarse minutiae map: cells around the core, each marked with its
// neighbours so that a minutia a cell away still counts.
constexpr int kMapCells = LivePress::kMapCells;
constexpr int kMapCellPixels = LivePress::kMapCellPixels;
constexpr int kMapBytes = kMapCells * kMapCells / 8;

struct PreparedFlow {
    uint8_t orientation[kRings][kWide];
    uint8_t ridges[kCountRadii][kWide];
};

// The record's parts (see matcher.h). What the sift reads of every record,
// the tag, the usable presses and both maps, lies together.
constexpr int kRecordTagOffset = 368;
constexpr int kRecordUsableOffset = kRecordTagOffset + 4;
constexpr int kMapsOffset = 384;
constexpr int kFlowsOffset = kMapsOffset + 2 * kMapBytes;
static_assert(kStoredTemplateSize <= kRecordTagOffset && kRecordUsableOffset < kMapsOffset, "the header follows the template");
static_assert(kFlowsOffset + 2 * sizeof(PreparedFlow) <= kRecordSize, "the record holds both presses");

constexpr int kMinSharedOrientations = 16;
constexpr int kMinSharedRidgeCounts = 8;
constexpr int kFewestMinutiae = 8;  // fewer are scored as if there were this many

// Turns tried for minutiae: kTurnStep degrees apart, centred on none.
constexpr float kTurnStepDegrees = 4.0f;
// Shifts voted for, in quarter pixels: cells of 4 pixels, up to 34 pixels.
constexpr int kVoteCell = 16;
constexpr int kVoteCells = 17;
constexpr int kVoteReach = kVoteCell * kVoteCells / 2;
constexpr int kPairTolerance = 8 * 4;  // quarter pixels

// How many candidates the sift hands to the full comparison.
constexpr int kSiftKeeps = 64;

const PreparedFlow& FlowOf(const uint8_t* record, int press) {
    return *reinterpret_cast<const PreparedFlow*>(record + kFlowsOffset + press * sizeof(PreparedFlow));
}

const uint8_t* MapOf(const uint8_t* record, int press) { return record + kMapsOffset + press * kMapBytes; }

const uint8_t* StoredPressBytes(const uint8_t* record, int press) { return record + press * kTemplateSize; }

bool IsRecord(const uint8_t* record) { return std::memcmp(record + kRecordTagOffset, "QFR1", 4) == 0; }

bool PressUsable(const uint8_t* record, int press) {
    return record[kRecordUsableOffset] & (1 << press);
}

int MapCell(int pixels) {
    return (pixels + kMapCells * kMapCellPixels / 2) / kMapCellPixels;
}

// The press's flow and map into a record zeroed before.
void Prepare(const UnpackedTemplate& t, PreparedFlow* out, uint8_t* map) {
    for (int k = 0; k < kWide; ++k) {
        const int sector = (k - kMaxShift + kSectors) % kSectors;
        for (int ring = 0; ring < kRings; ++ring) out->orientation[ring][k] = t.orientation[ring][sector];
        for (int r = 0; r < kCountRadii; ++r) out->ridges[r][k] = t.ridges[r][sector];
    }
    for (int i = 0; i < t.minutiaCount; ++i) {
        const int cx = MapCell(t.minutiaX[i]), cy = MapCell(t.minutiaY[i]);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = cx + dx, y = cy + dy;
                if (x < 0 || y < 0 || x >= kMapCells || y >= kMapCells) continue;
                map[(y * kMapCells + x) / 8] |= static_cast<uint8_t>(1u << ((y * kMapCells + x) % 8));
            }
        }
    }
}

// The ridge flow view at one turn: mean orientation difference in 16ths of
// a half turn and mean ridge-count difference in 8ths of a ridge, over the
// samples both presses could use. Plain byte loops, so that they vectorise.
int FlowScoreAtShift(const UnpackedTemplate& live, const PreparedFlow& stored, int shift) {
    int orientationSum = 0, orientationCount = 0;
    for (int ring = 0; ring < kRings; ++ring) {
        const uint8_t* a = live.orientation[ring];
        const uint8_t* b = stored.orientation[ring] + kMaxShift + shift;
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
        const uint8_t* a = live.ridges[r];
        const uint8_t* b = stored.ridges[r] + kMaxShift + shift;
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

int FlowScore(const UnpackedTemplate& live, const PreparedFlow& stored) {
    int best = 0;
    for (int shift = -kMaxShift; shift <= kMaxShift; ++shift) best = std::max(best, FlowScoreAtShift(live, stored, shift));
    return best;
}

// The sift: how many live minutiae land on a stored press's map, at the
// turn where most do. It runs over every record, so it is made a sum of
// table entries: for every half byte of the map that a turned minutia can
// fall in, and for each of the sixteen values the half byte may hold, the
// minutiae landing on its marked cells at each turn, a byte per turn and
// eight turns to a word (no turn sees more than kMaxMinutiae < 256).
class SiftTable {
public:
    explicit SiftTable(const LivePress& live) {
        static_assert(LivePress::kTurns <= 16, "the turns fit in two words");
        uint64_t perCell[kMapCells * kMapCells][2] = {};
        for (int turn = 0; turn < LivePress::kTurns; ++turn) {
            const int16_t* cells = live.MapCells(turn);
            for (int i = 0; i < live.Features().minutiaCount; ++i)
                if (cells[i] >= 0) perCell[cells[i]][turn / 8] += uint64_t{1} << (8 * (turn % 8));
        }
        for (int nibble = 0; nibble < kNibbles; ++nibble) {
            const uint64_t(*cells)[2] = &perCell[4 * nibble];
            if (!(cells[0][0] | cells[0][1] | cells[1][0] | cells[1][1] | cells[2][0] | cells[2][1] | cells[3][0] |
                  cells[3][1]))
                continue;
            m_nibbles.push_back(static_cast<uint8_t>(nibble));
            m_entries.resize(m_entries.size() + 16);
            Entry* table = &m_entries[m_entries.size() - 16];
            for (int value = 1; value < 16; ++value) {
                const int lowest = std::countr_zero(static_cast<unsigned>(value));
                const Entry& rest = table[value & (value - 1)];
                table[value] = Entry{{rest.turns[0] + cells[lowest][0], rest.turns[1] + cells[lowest][1]}};
            }
        }
    }

    // The hits at the best turn, and that turn (the first of the best; the
    // middle one when nothing lands).
    int Hits(const uint8_t* map, int* bestTurn) const {
        uint64_t sums[2] = {0, 0};
        const Entry* table = m_entries.data();
        for (const uint8_t nibble : m_nibbles) {
            const Entry& entry = table[(map[nibble / 2] >> (4 * (nibble % 2))) & 15];
            table += 16;
            sums[0] += entry.turns[0];
            sums[1] += entry.turns[1];
        }
        int best = 0;
        *bestTurn = LivePress::kTurns / 2;
        for (int turn = 0; turn < LivePress::kTurns; ++turn) {
            const int hits = static_cast<int>((sums[turn / 8] >> (8 * (turn % 8))) & 0xFF);
            if (hits > best) {
                best = hits;
                *bestTurn = turn;
            }
        }
        return best;
    }

private:
    static constexpr int kNibbles = kMapCells * kMapCells / 4;
    struct Entry {
        uint64_t turns[2];
    };
    std::vector<uint8_t> m_nibbles;
    std::vector<Entry> m_entries;  // sixteen per half byte
};

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

struct StoredMinutiae {
    int count;
    int x[kMaxMinutiae];  // quarter pixels
    int y[kMaxMinutiae];
};

StoredMinutiae ReadMinutiae(const uint8_t* pressBytes) {
    StoredMinutiae m;
    m.count = std::min<int>(pressBytes[3], kMaxMinutiae);
    for (int i = 0; i < m.count; ++i) {
        m.x[i] = 4 * static_cast<int8_t>(pressBytes[kMinutiaeOffset + 2 * i]);
        m.y[i] = 4 * static_cast<int8_t>(pressBytes[kMinutiaeOffset + 2 * i + 1]);
    }
    return m;
}

// Pairs of minutiae within the tolerance once the live ones are turned and
// shifted; each stored minutia pairs once.
int PairUp(const int16_t* xs, const int16_t* ys, int count, const StoredMinutiae& stored, int shiftX, int shiftY) {
    bool used[kMaxMinutiae] = {};
    int pairs = 0;
    for (int i = 0; i < count; ++i) {
        int bestJ = -1, bestDistance = kPairTolerance * kPairTolerance;
        for (int j = 0; j < stored.count; ++j) {
            if (used[j]) continue;
            const int dx = xs[i] + shiftX - stored.x[j], dy = ys[i] + shiftY - stored.y[j];
            const int distance = dx * dx + dy * dy;
            if (distance < bestDistance) {
                bestDistance = distance;
                bestJ = j;
            }
        }
        if (bestJ >= 0) {
            used[bestJ] = true;
            ++pairs;
        }
    }
    return pairs;
}

// The minutiae view: at each turn every live-stored pair votes for the
// shift that would lay them on each other; the best-backed shift is refined
// and the pairs it makes are counted.
int MinutiaeScore(const LivePress& live, const uint8_t* pressBytes, int firstTurn, int lastTurn) {
    const int liveCount = live.Features().minutiaCount;
    const StoredMinutiae stored = ReadMinutiae(pressBytes);
    if (liveCount == 0 || stored.count == 0) return 0;
    int bestPairs = 0;
    for (int turn = std::max(0, firstTurn); turn <= std::min(LivePress::kTurns - 1, lastTurn); ++turn) {
        const int16_t* xs = live.TurnedX(turn);
        const int16_t* ys = live.TurnedY(turn);
        // Votes land in a cell and its eight neighbours: each cell then holds
        // the votes of the 3x3 cells around it. The grid has a border of two
        // cells so that the nine land without bounds checks; border cells
        // start far below zero and so never become the peak.
        int votes[kBorderedVoteCells][kBorderedVoteCells];
        std::memcpy(votes, kEmptyVotes.cells, sizeof votes);
        int peak = 0, peakX = 0, peakY = 0;
        for (int i = 0; i < liveCount; ++i) {
            for (int j = 0; j < stored.count; ++j) {
                const int cx = (stored.x[j] - xs[i] + kVoteReach) / kVoteCell;
                const int cy = (stored.y[j] - ys[i] + kVoteReach) / kVoteCell;
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
        }
        if (peak == 0) continue;
        const int centreX = peakX * kVoteCell + kVoteCell / 2 - kVoteReach;
        const int centreY = peakY * kVoteCell + kVoteCell / 2 - kVoteReach;
        int sumX = 0, sumY = 0, near = 0;
        for (int i = 0; i < liveCount; ++i) {
            for (int j = 0; j < stored.count; ++j) {
                const int dx = stored.x[j] - xs[i] - centreX, dy = stored.y[j] - ys[i] - centreY;
                if (std::abs(dx) <= kVoteCell * 3 / 2 && std::abs(dy) <= kVoteCell * 3 / 2) {
                    sumX += dx;
                    sumY += dy;
                    ++near;
                }
            }
        }
        const int shiftX = centreX + (near ? sumX / near : 0);
        const int shiftY = centreY + (near ? sumY / near : 0);
        bestPairs = std::max(bestPairs, PairUp(xs, ys, liveCount, stored, shiftX, shiftY));
    }
    const int scale = std::max(liveCount, kFewestMinutiae) * std::max(stored.count, kFewestMinutiae);
    return std::min(100, 100 * bestPairs * bestPairs / scale);
}

// Half flow, half minutiae; a press with few minutiae says less through
// them, so the flow then weighs more.
int MinutiaeWeight(const LivePress& live, const uint8_t* pressBytes) {
    const int fewer = std::min<int>(live.Features().minutiaCount, pressBytes[3]);
    return std::clamp(fewer, 8, kFewestMinutiae);  // of 2 * kFewestMinutiae
}

int Combine(int flow, int minutiae, int minutiaeWeight) {
    return (flow * (2 * kFewestMinutiae - minutiaeWeight) + minutiae * minutiaeWeight) / (2 * kFewestMinutiae);
}

int FullScore(const LivePress& live, const uint8_t* record, int press, int firstTurn, int lastTurn) {
    const uint8_t* bytes = StoredPressBytes(record, press);
    const int flow = FlowScore(live.Features(), FlowOf(record, press));
    return Combine(flow, MinutiaeScore(live, bytes, firstTurn, lastTurn), MinutiaeWeight(live, bytes));
}

// The full score of a record the sift kept, trying only turns near the one
// the sift found for each press. Only a score of at least `needed` can
// change the search's outcome: a press whose flow view alone keeps it below
// that, however well its minutiae pair up, is not compared further (the
// result is then below `needed` too).
int SiftedScore(const LivePress& live, const SiftTable& sift, const uint8_t* record, int needed) {
    constexpr int kTurnWindow = 2;
    int best = 0;
    for (int p = 0; p < 2; ++p) {
        if (!PressUsable(record, p)) continue;
        const uint8_t* bytes = StoredPressBytes(record, p);
        const int flow = FlowScore(live.Features(), FlowOf(record, p));
        const int weight = MinutiaeWeight(live, bytes);
        const int most = Combine(flow, 100, weight);
        if (most < needed || most <= best) continue;
        int turn;
        sift.Hits(MapOf(record, p), &turn);
        best = std::max(best, Combine(flow, MinutiaeScore(live, bytes, turn - kTurnWindow, turn + kTurnWindow), weight));
    }
    return best;
}

}  // namespace

bool LivePress::Prepare(const uint8_t* templateBytes) {
    if (!UnpackTemplate(templateBytes, &m_features)) return false;
    for (int turn = 0; turn < kTurns; ++turn) {
        const float degrees = (turn - kTurns / 2) * kTurnStepDegrees;
        const float c = std::cos(degrees * 3.14159265f / 180.0f), s = std::sin(degrees * 3.14159265f / 180.0f);
        for (int i = 0; i < m_features.minutiaCount; ++i) {
            const float x = m_features.minutiaX[i], y = m_features.minutiaY[i];
            m_turnedX[turn][i] = static_cast<int16_t>(std::lround(4 * (x * c - y * s)));
            m_turnedY[turn][i] = static_cast<int16_t>(std::lround(4 * (x * s + y * c)));
            const int cellX = MapCell(m_turnedX[turn][i] / 4), cellY = MapCell(m_turnedY[turn][i] / 4);
            const bool onMap = cellX >= 0 && cellY >= 0 && cellX < kMapCells && cellY < kMapCells;
            m_mapCells[turn][i] = static_cast<int16_t>(onMap ? cellY * kMapCells + cellX : -1);
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

int IdentifyInRecords(const LivePress& live, const uint8_t* records, int count, int stride, int level, int* score) {
    if (score) *score = 0;
    // A cheap sift over every record keeps the likeliest few for the full
    // comparison, which alone would be too slow for thousands of fingers.
    const SiftTable sift(live);
    std::vector<std::pair<int, int>> sifted;
    sifted.reserve(count);
    for (int i = 0; i < count; ++i) {
        const uint8_t* record = records + static_cast<size_t>(i) * stride;
        if (!IsRecord(record)) continue;
        int best = -1, turn;
        for (int p = 0; p < 2; ++p) {
            if (PressUsable(record, p)) best = std::max(best, sift.Hits(MapOf(record, p), &turn));
        }
        if (best >= 0) sifted.emplace_back(best, i);
    }
    const size_t keep = std::min<size_t>(kSiftKeeps, sifted.size());
    std::partial_sort(sifted.begin(), sifted.begin() + keep, sifted.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first || (a.first == b.first && a.second < b.second); });
    int bestIndex = -1, bestScore = -1;
    for (size_t k = 0; k < keep; ++k) {
        const int index = sifted[k].second;
        // A tie goes to the lower index.
        const int needed = bestScore + (index < bestIndex ? 0 : 1);
        const int s = SiftedScore(live, sift, records + static_cast<size_t>(index) * stride, needed);
        if (s > bestScore || (s == bestScore && index < bestIndex)) {
            bestScore = s;
            bestIndex = index;
        }
    }
    if (score) *score = std::max(0, bestScore);
    if (bestIndex < 0 || bestScore < MatchThreshold(level)) return -1;
    return bestIndex;
}

bool BuildRecord(const uint8_t* stored, uint8_t* record) {
    std::memset(record, 0, kRecordSize);
    std::memcpy(record, stored, kStoredTemplateSize);
    std::memcpy(record + kRecordTagOffset, "QFR1", 4);
    for (int p = 0; p < 2; ++p) {
        UnpackedTemplate t;
        if (!UnpackTemplate(stored + p * kTemplateSize, &t)) continue;
        PreparedFlow flow{};
        Prepare(t, &flow, record + kMapsOffset + p * kMapBytes);
        std::memcpy(record + kFlowsOffset + p * sizeof(PreparedFlow), &flow, sizeof flow);
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
    static constexpr int kThresholds[kMaxLevel - kMinLevel + 1] = {40, 42, 44, 46, 50, 54, 58, 62, 66};
    return kThresholds[std::clamp(level, kMinLevel, kMaxLevel) - kMinLevel];
}
