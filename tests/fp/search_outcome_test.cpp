// The search must answer exactly as before whenever only its speed is
// worked on: the same record, the same score, for every kind of press.
//
// data/outcome-store.bin holds 300 enrolled fingers, two presses each (169
// bytes apiece, the stored pair's order): the synthetic fingers from
// 6000000 on whose presses 0 and 1 both gave a template (6000000-6000301).
// data/outcome-probes.bin holds the probes, each a 4-byte little-endian
// record number (-1 for a stranger) and then the press: press 2 of every
// fifth enrolled finger as the generator lays it, turned, shifted and
// partial (MisplacePress seeded with the finger), then press 0 of the
// fingers after the last one enrolled; the four whose image gave no
// template are left out. Both were made by the extractor of the build at
// c114e74; data/search-outcomes.txt holds what the matcher answered for
// them once its full comparison took the 128 records the sift ranks first
// and turned the minutiae about the sector where the flow view scores best,
// and once a stored press's few minutiae counted as at least 6 and a
// minutiae view far above chance counted on its own, and once the search
// raised the score of a record both of whose presses pair far above chance
// (UPDATE_GOLDEN=1 writes it).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/fp/matcher.h"

namespace {

std::string DataFile(const char* name) { return std::string(FP_TEST_DATA_DIR) + "/" + name; }

std::vector<uint8_t> FileBytes(const char* name) {
    std::ifstream file(DataFile(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct SavedProbe {
    int32_t record;  // -1 for a stranger
    const uint8_t* press;
};

TEST(SearchOutcomes, EveryProbeGetsTheSameRecordAndScoresAsBefore) {
    constexpr int kStoredRecords = 300;
    const std::vector<uint8_t> pairs = FileBytes("outcome-store.bin");
    ASSERT_EQ(pairs.size(), static_cast<size_t>(kStoredRecords) * kStoredTemplateSize);
    std::vector<uint8_t> records(static_cast<size_t>(kStoredRecords) * kRecordSize);
    for (int r = 0; r < kStoredRecords; ++r)
        ASSERT_TRUE(BuildRecord(&pairs[static_cast<size_t>(r) * kStoredTemplateSize], &records[static_cast<size_t>(r) * kRecordSize]));

    const std::vector<uint8_t> probeBytes = FileBytes("outcome-probes.bin");
    constexpr size_t kProbeBytes = sizeof(int32_t) + kTemplateSize;
    ASSERT_EQ(probeBytes.size() % kProbeBytes, 0u);
    std::vector<SavedProbe> probes;
    for (size_t at = 0; at < probeBytes.size(); at += kProbeBytes) {
        SavedProbe probe;
        std::memcpy(&probe.record, &probeBytes[at], sizeof probe.record);
        probe.press = &probeBytes[at + sizeof probe.record];
        probes.push_back(probe);
    }
    ASSERT_EQ(probes.size(), 296u);

    // Per probe: the search at the most lenient, the usual and the strictest
    // level (record found and best score), then the press's full score
    // against its own record, or a stranger's against a record of its
    // number, with the press that gave it, and the 1:1 score against the
    // record's first press. The search sifts with the processor's widest
    // code and with the plain SSE2 one: both must answer as before.
    const std::string golden = DataFile("search-outcomes.txt");
    for (const SiftCode code : {SiftCode::Widest, SiftCode::Sse2}) {
        std::ostringstream answers;
        for (size_t n = 0; n < probes.size(); ++n) {
            const SavedProbe& probe = probes[n];
            LivePress live;
            ASSERT_TRUE(live.Prepare(probe.press)) << "probe " << n;
            answers << n << ' ' << probe.record;
            for (const int level : {kMinLevel, 5, kMaxLevel}) {
                int score = -1;
                const int found = IdentifyInRecords(live, records.data(), kStoredRecords, kRecordSize, level, &score, code);
                answers << "  " << found << ' ' << score;
            }
            const int target = probe.record >= 0 ? probe.record : static_cast<int>(n) % kStoredRecords;
            const uint8_t* record = &records[static_cast<size_t>(target) * kRecordSize];
            int press = -1;
            const int full = ScoreAgainstRecord(live, record, &press);
            answers << "  " << full << ' ' << press << ' ' << ScoreTemplates(probe.press, StoredTemplateOfRecord(record))
                    << '\n';
        }
        if (std::getenv("UPDATE_GOLDEN") && code == SiftCode::Widest)
            std::ofstream(golden, std::ios::binary) << answers.str();
        std::ifstream file(golden, std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_EQ(answers.str(), expected) << (code == SiftCode::Widest ? "widest sift" : "SSE2 sift");
    }
}

}  // namespace
