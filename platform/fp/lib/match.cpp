// Matching: templates against templates, 1:1 and 1:N, at a security level.
#include <cstring>
#include <vector>

#include "platform/fp/fpapi.h"
#include "platform/fp/lib/export.h"
#include "platform/fp/matcher.h"

namespace {

constexpr int kLibraryVersion = 2;

// The searches read the further views that follow a live press's template
// only as far as `pressLength` reaches: the plain entry points are given a
// template alone.
int SearchSlots(const BYTE* press, int pressLength, const BYTE* slots, int count, int level) {
    LivePress live;
    if (!press || pressLength < kFpTemplateBytes || !slots || count <= 0 || !live.Prepare(press)) return -1;
    // Slots hold one press each: make them records to search them alike.
    std::vector<BYTE> records(static_cast<size_t>(count) * kFpRecordBytes);
    for (int i = 0; i < count; ++i) {
        BYTE stored[kFpStoredBytes] = {};
        std::memcpy(stored, slots + static_cast<size_t>(i) * kFpSlotBytes, kFpTemplateBytes);
        BuildRecord(stored, &records[static_cast<size_t>(i) * kFpRecordBytes]);
    }
    return IdentifyByViews(live, press, pressLength, records.data(), count, kFpRecordBytes, level, nullptr);
}

int SearchRecords(const BYTE* press, int pressLength, const BYTE* records, int count, int* score, int* which,
                  int level) {
    if (score) *score = 0;
    if (which) *which = 0;
    LivePress live;
    if (!press || pressLength < kFpTemplateBytes || !records || count <= 0 || !live.Prepare(press)) return -1;
    const int found = IdentifyByViews(live, press, pressLength, records, count, kFpRecordBytes, level, score);
    if (found >= 0 && which) ScoreAgainstRecord(live, records + static_cast<size_t>(found) * kFpRecordBytes, which);
    return found;
}

}  // namespace

FP_EXPORT int SMAVersion() {
    return kLibraryVersion;
}

FP_EXPORT int VeltoMatch(const BYTE* a, const BYTE* b, int level) {
    if (!a || !b) return 1;
    return ScoreTemplates(a, b) >= MatchThreshold(level) ? 0 : 1;
}

FP_EXPORT int VeltoMatchN(const BYTE* tmpl, const BYTE* slots, int count, int level) {
    return SearchSlots(tmpl, kFpTemplateBytes, slots, count, level);
}

FP_EXPORT int VeltoMatchNViews(const BYTE* press, int pressLength, const BYTE* slots, int count, int level) {
    return SearchSlots(press, pressLength, slots, count, level);
}

FP_EXPORT int VeltoMatch2N(const BYTE* tmpl, const BYTE* records, int count, int* score, int* press, int level) {
    return SearchRecords(tmpl, kFpTemplateBytes, records, count, score, press, level);
}

FP_EXPORT int VeltoMatch2NViews(const BYTE* press, int pressLength, const BYTE* records, int count, int* score,
                                int* which, int level) {
    return SearchRecords(press, pressLength, records, count, score, which, level);
}

FP_EXPORT int VeltoTempToFPRECORD(const BYTE* stored, BYTE* record) {
    if (!stored || !record) return 0;
    return BuildRecord(stored, record) ? 1 : 0;
}

FP_EXPORT int VeltoAutoUpFP(const BYTE* liveBytes, const BYTE* record, BYTE* merged, BYTE* stored) {
    LivePress live;
    if (!liveBytes || !record || !merged || !stored || !live.Prepare(liveBytes)) return 0;
    // Only a press that surely is this finger may replace a stored one.
    if (ScoreAgainstRecord(live, record, nullptr) < MatchThreshold(kMaxLevel)) return 0;
    const BYTE* old = StoredTemplateOfRecord(record);
    const BYTE* first = old;
    const BYTE* second = old + kFpTemplateBytes;
    // The weaker of the two stored presses gives way (an unusable one first).
    auto quality = [](const BYTE* t) { return t[0] == kTemplateTag ? t[1] : -1; };
    const BYTE* kept = quality(first) >= quality(second) ? first : second;
    const BYTE* weaker = kept == first ? second : first;
    if (quality(weaker) >= liveBytes[1]) return 0;
    std::memcpy(stored, kept, kFpTemplateBytes);
    std::memcpy(stored + kFpTemplateBytes, liveBytes, kFpTemplateBytes);
    // A stored press holds no further views.
    stored[kFpTemplateBytes + kViewCountOffset] = 0;
    return BuildRecord(stored, merged) ? 1 : 0;
}
