// Comparing templates: the matching record kept per enrolled finger, the
// score of a live press against it, identification over many records and
// the security levels.
//
// A score weighs two views of a finger, each 0..100: how the ridges flow
// around the core (orientation and ridge counts, tried at turns of up to
// kMaxShift sectors) and how many minutiae pair up once the two presses
// are laid over each other (turn and shift found by voting, then fitted to
// the pairs found). A minutiae view far above what chance gives counts on
// its own, whatever the flow says.
//
// Identification first sifts every record by its flow alone, which keeps
// the finger sought among the nearest few even when its minutiae are few,
// and by the spread of its minutiae (minutiaspread.h), which keeps it
// where its core was placed a few pixels off, and scores only those in
// full.
//
// Matching record (kRecordSize bytes, the form the template store keeps in
// memory; never stored or carried, so its layout is this library's own):
//   0..337   the stored 338-byte template (both presses)
//   368..371 "QFR1"
//   372      bit 0: first press usable, bit 1: second press usable
//   384..639 per press, its flow samples (orientation rings, ridge counts)
//   640..703 per press, the spread of its minutiae
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fp/fptemplate.h"
#include "platform/fp/minutiaspread.h"

// Where a record keeps its tag and which presses are usable, and the flow
// samples of both presses: the bytes the identification's sift reads.
constexpr int kRecordTagOffset = 368;
constexpr int kRecordFlowsOffset = 384;
constexpr int kRecordFlowBytes = 2 * (kRings + kCountRadii) * kSectors;
constexpr int kRecordSpreadOffset = kRecordFlowsOffset + kRecordFlowBytes;
constexpr int kRecordSiftEnd = kRecordSpreadOffset + 2 * kSpreadBytes;

// Turns the flow is compared at, either way: presses laid carelessly lie up
// to some 50 degrees off the enrolled ones.
constexpr int kMaxShift = 5;  // sectors: about 56 degrees
constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 9;

// A live press made ready for many comparisons.
class LivePress {
public:
    // False from Prepare when the bytes are no template.
    bool Prepare(const uint8_t* templateBytes);

    const UnpackedTemplate& Features() const { return m_features; }
    // The flow samples widened by kMaxShift sectors at both ends, so that
    // a turned comparison reads them without wrapping round.
    static constexpr int kWideSectors = kSectors + 2 * kMaxShift;
    const uint8_t* WideOrientation(int ring) const { return m_wideOrientation[ring]; }
    const uint8_t* WideRidges(int radius) const { return m_wideRidges[radius]; }
    // The flow samples as a stored press would hold them were the live
    // one turned by each of the turns the sift tries (whole sectors, none
    // in the middle): the orientation rings, then the ridge counts. Up to
    // four sectors (45 degrees) either way.
    static constexpr int kFlowTurns = 9;
    const uint8_t* TurnedFlow(int turn) const { return m_turnedFlow[turn]; }
    // Minutiae turned by each tried turn (up to 48 degrees either way), in
    // quarter pixels.
    static constexpr int kTurns = 25;
    const int16_t* TurnedX(int turn) const { return m_turnedX[turn]; }
    const int16_t* TurnedY(int turn) const { return m_turnedY[turn]; }
    // The spread of the minutiae one bin to a byte: the even bins, then the
    // odd ones, as a stored press's halves of a byte come apart.
    const uint8_t* SpreadBins() const { return m_spreadBins; }

private:
    UnpackedTemplate m_features;
    uint8_t m_wideOrientation[kRings][kWideSectors];
    uint8_t m_wideRidges[kCountRadii][kWideSectors];
    uint8_t m_turnedFlow[kFlowTurns][(kRings + kCountRadii) * kSectors];
    int16_t m_turnedX[kTurns][kMaxMinutiae];
    int16_t m_turnedY[kTurns][kMaxMinutiae];
    uint8_t m_spreadBins[kSpreadBins];
};

// 0 (nothing alike) to 100.
int ScoreTemplates(const uint8_t* a, const uint8_t* b);
// Best score of a live press against either press of a record; `press`
// (may be null) tells which of the two gave it. 0 for an empty record.
int ScoreAgainstRecord(const LivePress& live, const uint8_t* record, int* press);

// The record best matching the live press at the level among `count`
// records laid `stride` bytes apart, or -1. `score` (may be null) gets the
// best score seen, also when it is too low for the level; a record both of
// whose presses pair far above chance scores a little more there than 1:1.
// A record that scores close to another is named only with a score well
// above the level.
// The sift over all records runs AVX2 code where the processor has it;
// the plain SSE2 code is asked for to check that both answer alike.
enum class SiftCode { Widest, Sse2 };
int IdentifyInRecords(const LivePress& live, const uint8_t* records, int count, int stride, int level, int* score,
                      SiftCode code = SiftCode::Widest);

// As IdentifyInRecords with `live` made from the template in `pressBytes`;
// where it names nobody, the further views that follow the template
// (ExtractLivePress: its core placed elsewhere), as many of them as its
// `pressLength` bytes hold, are searched among the records nearest to them
// by the flow, and the best named only where it also stands clear of what
// the template found.
int IdentifyByViews(const LivePress& live, const uint8_t* pressBytes, int pressLength, const uint8_t* records,
                    int count, int stride, int level, int* score, SiftCode code = SiftCode::Widest);

// What a search saw of one record, for looking into presses it did not
// name: the record's rank by the sift (-1 when it was no record), the
// score the full comparison gives it with each press's views (minutiae
// paired of how many stored; zero for an unusable press), and the best
// other record among those the sift kept.
struct PressViews {
    int flow = 0, minutiae = 0, pairs = 0, storedMinutiae = 0;
};
struct KeptRecord {
    int index, rank, score;
    PressViews views[2];
};
struct SearchExplained {
    int ownRank = -1, ownScore = 0;
    PressViews own[2];
    int other = -1, otherScore = 0;
    std::vector<KeptRecord> kept;  // every record the sift kept, in the store's order
};
// Each record's place in the order the search compares records in full
// (0 first; past those it compares, by the flow alone), -1 for no record.
std::vector<int> SiftRanks(const LivePress& live, const uint8_t* records, int count, int stride);
SearchExplained ExplainSearch(const LivePress& live, const uint8_t* records, int count, int stride, int own);

// False when neither half of the 338 bytes is a template.
bool BuildRecord(const uint8_t* stored, uint8_t* record);
const uint8_t* StoredTemplateOfRecord(const uint8_t* record);

// The least score that counts as a match at a security level; levels
// outside kMinLevel..kMaxLevel count as the nearest one.
int MatchThreshold(int level);
