// fpmisses FIRST [--cache FILE] [--dump] [--keep KIND:N,... OUT]: the
// store and probes of the fingerprint benchmark for the range from finger
// FIRST (5000 enrolled, 1000 probes of each kind, the strangers after
// them), searched at level 5. Prints, for each genuine press not named (of
// the partial ones, those named wrongly), where its template and its other
// views put the core and where its finger's stored presses have it, its
// own finger's rank in the sift, its score with the views of each stored press, and the best other
// finger's score; then per kind how many were not named or named wrongly,
// at level 5 and at each level, and the strangers named at each level.
// FILE keeps the templates between runs (the presses take minutes to
// make). --dump prints instead, for every press, the views of every
// record the sift kept. --keep writes the presses named (kind plain,
// turned, shifted or partial, N the probe) to OUT-probes.bin and, for each
// in turn, the stored pairs of the records the sift ranked up to ten
// places below the further of its own finger (left out where ranked
// beyond 1000) and the best other finger, in the store's order, to
// OUT-store.bin.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/fp/finger_range.h"
#include "platform/fp/features.h"
#include "platform/fp/matcher.h"

namespace {

constexpr int kRecords = kRangeRecords;
constexpr int kProbes = kRangeProbes;
// The probe kinds, strangers after the genuine ones.
constexpr int kStrangers = kPressKinds;
constexpr int kKinds = kPressKinds + 1;
const char* const kKindNames[kKinds] = {kPressKindNames[kPlain], kPressKindNames[kTurned], kPressKindNames[kShifted],
                                        kPressKindNames[kPartial], "stranger"};
constexpr unsigned kWorkers = 3;

template <class Job>
void OnWorkers(uint32_t count, Job job) {
    OnThreads(kWorkers, count, job);
}

Press Template(const GreyImage& image, bool live) {
    Press out(live ? kLivePressSize : kTemplateSize);
    if (ExtractLivePress(image, out.data(), live ? kMostOtherViews : 0) != ExtractResult::Ok) return {};
    return out;
}

// The benchmark's fingers (finger_range.h), made templates by this build.
struct Range {
    std::vector<Press> pairs;     // 338 bytes per record
    std::vector<Press> probes[kKinds];
    std::vector<uint8_t> records;

    void Make(uint32_t first) {
        FingerRange made = MakeFingerRange(first, Template, kWorkers);
        pairs = std::move(made.pairs);
        for (int kind = 0; kind < kPressKinds; ++kind) probes[kind] = std::move(made.genuine[kind]);
        probes[kStrangers] = std::move(made.strangers);
    }

    bool Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        if (!in) return false;
        auto readPress = [&](size_t size, Press* press) {
            uint8_t present = 0;
            in.read(reinterpret_cast<char*>(&present), 1);
            press->assign(present ? size : 0, 0);
            if (present) in.read(reinterpret_cast<char*>(press->data()), size);
        };
        pairs.resize(kRecords);
        for (Press& pair : pairs) readPress(kStoredTemplateSize, &pair);
        for (auto& probes : this->probes) {
            probes.resize(kProbes);
            for (Press& press : probes) readPress(kLivePressSize, &press);
        }
        return static_cast<bool>(in);
    }

    void Write(const std::string& file) const {
        std::ofstream out(file, std::ios::binary);
        auto writePress = [&](const Press& press) {
            const uint8_t present = press.empty() ? 0 : 1;
            out.write(reinterpret_cast<const char*>(&present), 1);
            out.write(reinterpret_cast<const char*>(press.data()), press.size());
        };
        for (const Press& pair : pairs) writePress(pair);
        for (const auto& probes : this->probes)
            for (const Press& press : probes) writePress(press);
    }

    void BuildRecords() {
        records.assign(static_cast<size_t>(kRecords) * kRecordSize, 0);
        for (int r = 0; r < kRecords; ++r) BuildRecord(pairs[r].data(), &records[static_cast<size_t>(r) * kRecordSize]);
    }
};

int Search(const Range& range, const Press& press, int level, int* score) {
    LivePress live;
    *score = 0;
    if (press.empty() || !live.Prepare(press.data())) return -1;
    return IdentifyByViews(live, press.data(), static_cast<int>(press.size()), range.records.data(), kRecords, kRecordSize, level, score);
}

void Explain(const Range& range, int kind, int n, int found, int score) {
    const int own = kind == kStrangers ? -1 : RecordOfProbe(n);
    const Press& press = range.probes[kind][n];
    if (press.empty()) {
        std::printf("%s %d: no template\n", kKindNames[kind], n);
        return;
    }
    LivePress live;
    live.Prepare(press.data());
    const SearchExplained e = ExplainSearch(live, range.records.data(), kRecords, kRecordSize, own);
    // Where the template and the other views put the core, and where the
    // own finger's stored presses have it (each press lies elsewhere on the
    // sensor, up to 18 pixels either way).
    auto core = [](const uint8_t* t) { return std::to_string(t[4] | t[5] << 8) + "," + std::to_string(t[6] | t[7] << 8); };
    std::string cores = core(press.data());
    for (int v = 0; v < press[kViewCountOffset]; ++v) cores += " " + core(press.data() + (1 + v) * kTemplateSize);
    if (own >= 0) cores += " | stored " + core(range.pairs[own].data()) + " " + core(range.pairs[own].data() + kTemplateSize);
    std::printf("%s %d: found %d score %d | core %s | own rank %d score %d", kKindNames[kind], n, found, score,
                cores.c_str(), e.ownRank, e.ownScore);
    for (const PressViews& v : e.own)
        std::printf(" [flow %d min %d pairs %d/%d/%d]", v.flow, v.minutiae, v.pairs, live.Features().minutiaCount,
                    v.storedMinutiae);
    std::printf(" | other %d score %d\n", e.other, e.otherScore);
}

// The kept searches for a test: see the file's head.
void Keep(const Range& range, const std::string& list, const std::string& out) {
    std::ofstream probesFile(out + "-probes.bin", std::ios::binary), storeFile(out + "-store.bin", std::ios::binary);
    size_t at = 0;
    while (at < list.size()) {
        const size_t comma = std::min(list.find(',', at), list.size());
        const std::string item = list.substr(at, comma - at);
        at = comma + 1;
        const size_t colon = item.find(':');
        const std::string kindName = item.substr(0, colon);
        const int n = std::atoi(item.c_str() + colon + 1);
        const int kind = static_cast<int>(std::find(kKindNames, kKindNames + kKinds, kindName) - kKindNames);
        const int own = RecordOfProbe(n);
        LivePress live;
        if (kind >= kStrangers || range.probes[kind][n].empty() || !live.Prepare(range.probes[kind][n].data())) {
            std::fprintf(stderr, "fpmisses: no press %s\n", item.c_str());
            continue;
        }
        const SearchExplained e = ExplainSearch(live, range.records.data(), kRecords, kRecordSize, own);
        const std::vector<int> ranks = SiftRanks(live, range.records.data(), kRecords, kRecordSize);
        // A press named as another finger is kept with the finger named and
        // those it was weighed against; its own finger, where the sift ranks
        // it thousands of places down, plays no part in that search.
        constexpr int kFarthestOwn = 1000;
        const int ownRank = e.ownRank <= kFarthestOwn ? e.ownRank : -1;
        const int last = std::max(e.other >= 0 ? ranks[e.other] : -1, ownRank) + 10;
        int written = 0, ownAt = -1;
        for (int r = 0; r < kRecords; ++r) {
            if (ranks[r] < 0 || ranks[r] > last) continue;
            if (r == own) ownAt = written;
            storeFile.write(reinterpret_cast<const char*>(range.pairs[r].data()), kStoredTemplateSize);
            ++written;
        }
        probesFile.write(reinterpret_cast<const char*>(range.probes[kind][n].data()), kLivePressSize);
        std::printf("kept %s: %d records, own %d\n", item.c_str(), written, ownAt);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fpmisses FIRST [--cache FILE] [--dump] [--keep KIND:N,... OUT]\n");
        return 2;
    }
    const uint32_t first = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
    std::string cache, keepList, keepOut;
    bool dump = false;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--cache") && i + 1 < argc) {
            cache = argv[++i];
        } else if (!std::strcmp(argv[i], "--dump")) {
            dump = true;
        } else if (!std::strcmp(argv[i], "--keep") && i + 2 < argc) {
            keepList = argv[++i];
            keepOut = argv[++i];
        }
    }
    Range range;
    if (cache.empty() || !range.Read(cache)) {
        range = Range();
        range.Make(first);
        if (!cache.empty()) range.Write(cache);
    }
    range.BuildRecords();
    if (dump) {
        for (int kind = 0; kind < kKinds; ++kind) {
            std::vector<std::string> lines(kProbes);
            OnWorkers(kProbes, [&](uint32_t n) {
                LivePress live;
                const Press& press = range.probes[kind][n];
                if (press.empty() || !live.Prepare(press.data())) return;
                const int own = kind == kStrangers ? -1 : RecordOfProbe(static_cast<int>(n));
                const SearchExplained e = ExplainSearch(live, range.records.data(), kRecords, kRecordSize, own);
                char line[160];
                std::snprintf(line, sizeof line, "P %s %u %d %d %d\n", kKindNames[kind], n, own, e.ownRank,
                              live.Features().minutiaCount);
                lines[n] = line;
                for (const KeptRecord& k : e.kept) {
                    const PressViews* v = k.views;
                    std::snprintf(line, sizeof line, "R %d %d %d %d %d %d %d %d %d %d %d\n", k.index, k.rank, k.score,
                                  v[0].flow, v[0].minutiae, v[0].pairs, v[0].storedMinutiae, v[1].flow, v[1].minutiae,
                                  v[1].pairs, v[1].storedMinutiae);
                    lines[n] += line;
                }
            });
            for (const std::string& line : lines) std::fputs(line.c_str(), stdout);
        }
        return 0;
    }
    if (!keepList.empty()) {
        Keep(range, keepList, keepOut);
        return 0;
    }
    for (int kind = 0; kind < kStrangers; ++kind) {
        std::vector<int> found(kProbes), score(kProbes);
        OnWorkers(kProbes, [&](uint32_t n) { found[n] = Search(range, range.probes[kind][n], 5, &score[n]); });
        int missed = 0, wrong = 0, unprocessed = 0;
        for (int n = 0; n < kProbes; ++n) {
            const int own = RecordOfProbe(n);
            unprocessed += range.probes[kind][n].empty();
            missed += found[n] < 0;
            wrong += found[n] >= 0 && found[n] != own;
            // A third of the partial presses are not named: only those
            // named wrongly are explained.
            if (found[n] != own && (kind != kPartial || found[n] >= 0)) Explain(range, kind, n, found[n], score[n]);
        }
        std::printf("%s: not named %d (no template %d), named wrongly %d\n", kKindNames[kind], missed, unprocessed, wrong);
    }
    // A press named as another finger at any level is the search's worst
    // outcome: counted per kind at every level, beside those not named.
    for (int kind = 0; kind < kStrangers; ++kind) {
        std::printf("%s not named / named wrongly by level:", kKindNames[kind]);
        for (int level = 1; level <= 9; ++level) {
            std::atomic<int> missed{0}, wrong{0};
            OnWorkers(kProbes, [&](uint32_t n) {
                int score;
                const int found = Search(range, range.probes[kind][n], level, &score);
                missed += found < 0;
                wrong += found >= 0 && found != RecordOfProbe(static_cast<int>(n));
            });
            std::printf(" %d/%d", missed.load(), wrong.load());
        }
        std::printf("\n");
    }
    std::printf("strangers named by level:");
    int strangers = 0;
    for (const Press& press : range.probes[kStrangers]) strangers += !press.empty();
    for (int level = 1; level <= 9; ++level) {
        std::atomic<int> named{0};
        OnWorkers(kProbes, [&](uint32_t n) {
            int score;
            named += Search(range, range.probes[kStrangers][n], level, &score) >= 0;
        });
        std::printf(" %d", named.load());
    }
    std::printf(" (of %d)\n", strangers);
    std::vector<int> best(kProbes);
    OnWorkers(kProbes, [&](uint32_t n) { Search(range, range.probes[kStrangers][n], 9, &best[n]); });
    std::sort(best.rbegin(), best.rend());
    std::printf("strangers' best scores, highest:");
    for (int k = 0; k < 12; ++k) std::printf(" %d", best[k]);
    std::printf("\n");
    return 0;
}
