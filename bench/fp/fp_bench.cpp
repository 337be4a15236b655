// What a person at the terminal waits for: turning a press into a template,
// and searching the enrolled fingers for it; and how often that search
// names the wrong person or none.
//
// The store is what a terminal in use holds: every record a different
// finger, enrolled with two presses of its own. Genuine probes are a later
// press of an enrolled finger, spread over all records, as the generator
// lays it and laid carelessly (turned, shifted, partial), each kind counted
// on its own; strangers are presses of fingers never enrolled. A search is
// timed alone, so that the median and the 95th percentile are those of
// single searches, beside a plain pass over the bytes the search sifts;
// both with the caches as the run before left them, and as making the
// template of a press leaves them, which is how a search at the terminal
// finds them.
//
// FP_BENCH_LIBRARIES names another folder of the three libraries (the
// build's own by default), so that two builds' matchers are measured on
// the same store and probes in one run.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <emmintrin.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/fp/finger_range.h"
#include "bench/support/percentile.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/matcher.h"
#include "platform/fp/synthfinger.h"

namespace {

std::string LibraryFolder() {
    const char* chosen = std::getenv("FP_BENCH_LIBRARIES");
    return chosen && *chosen ? chosen : FP_LIBRARY_DIR;
}

void* Library(const char* name) {
    static std::vector<void*> keep;
    void* handle = ::dlopen((LibraryFolder() + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    keep.push_back(handle);
    return handle;
}

FpProcessFn Extract() {
    static auto extract = reinterpret_cast<FpProcessFn>(::dlsym(Library("SMProcess_WinCE.dll"), "VeltoProcess"));
    return extract;
}

void* MatchLibrary() {
    static void* match = Library("SMApi_WinCE.dll");
    return match;
}

// The search as the terminal asks it, with the press's further views; a
// library built before they had an entry point of their own read them
// through the plain one.
int Search(const std::vector<BYTE>& press, const BYTE* records, int count, int* score, int* which, int level) {
    static auto withViews = reinterpret_cast<FpMatch2NViewsFn>(::dlsym(MatchLibrary(), "VeltoMatch2NViews"));
    static auto plain = reinterpret_cast<FpMatch2NFn>(::dlsym(MatchLibrary(), "VeltoMatch2N"));
    if (withViews) return withViews(press.data(), static_cast<int>(press.size()), records, count, score, which, level);
    return plain(press.data(), records, count, score, which, level);
}

// A live press, as the terminal makes it before a search, with the further
// views of it; a library that makes none leaves their count at zero.
std::vector<BYTE> Template(const GreyImage& image, bool live) {
    std::vector<BYTE> tmpl(live ? kFpLivePressBytes : kFpTemplateBytes), work(kFpImageBytes);
    if (Extract()(image.pixels.data(), tmpl.data(), work.data(), live ? 0 : 1, live ? 1 : 0) != 0) return {};
    return tmpl;
}

constexpr int kMostRecords = kRangeRecords;
constexpr int kProbesOfAKind = kRangeProbes;

// Fingers no test and no tuning of the matcher has seen, unless
// FP_BENCH_FIRST_FINGER names another first seed: the matcher is tuned on
// some ranges and measured on others.
uint32_t FirstFinger() {
    const char* chosen = std::getenv("FP_BENCH_FIRST_FINGER");
    return chosen && *chosen ? static_cast<uint32_t>(std::strtoul(chosen, nullptr, 10)) : 3000000;
}

struct Probe {
    std::vector<BYTE> press;  // empty when the image gave no template
    int record;               // -1 for a stranger
};

// The benchmark's fingers (finger_range.h) made templates and records by the
// libraries measured; empty when the range ran out of fingers.
struct RealisticStore {
    std::vector<BYTE> records;
    std::vector<Probe> genuine[kPressKinds], strangers;

    RealisticStore() {
        auto toRecord = reinterpret_cast<FpToRecordFn>(::dlsym(MatchLibrary(), "VeltoTempToFPRECORD"));
        const unsigned workers = std::max(1u, std::thread::hardware_concurrency() / 2);
        FingerRange range = MakeFingerRange(FirstFinger(), Template, workers);
        if (range.pairs.size() < kMostRecords) return;
        records.resize(static_cast<size_t>(kMostRecords) * kFpRecordBytes);
        for (int k = 0; k < kMostRecords; ++k)
            if (!toRecord(range.pairs[k].data(), &records[static_cast<size_t>(k) * kFpRecordBytes])) return;
        for (int kind = 0; kind < kPressKinds; ++kind)
            for (int n = 0; n < kProbesOfAKind; ++n)
                genuine[kind].push_back(Probe{std::move(range.genuine[kind][n]), RecordOfProbe(n)});
        // A stranger whose press gave no template is never searched for.
        for (Press& press : range.strangers)
            if (!press.empty()) strangers.push_back(Probe{std::move(press), -1});
    }
};

const RealisticStore& Store() {
    static const RealisticStore store;
    return store;
}

// Presses of one finger, as they come at the sensor.
const std::vector<GreyImage>& PressesOfOneFinger() {
    static const std::vector<GreyImage> presses = [] {
        int width, height;
        FpImageSize(8, &width, &height);
        std::vector<GreyImage> made;
        for (uint32_t press = 0; press < 8; ++press) made.push_back(SynthesizeFinger(42, press, width, height));
        return made;
    }();
    return presses;
}

// The next of those presses made a template, as the terminal does before
// every search.
void Capture() {
    static size_t turn = 0;
    benchmark::DoNotOptimize(Template(PressesOfOneFinger()[turn++ % PressesOfOneFinger().size()], true));
}

void ExtractTemplate(benchmark::State& state) {
    PressesOfOneFinger();
    for (auto _ : state) Capture();
}
BENCHMARK(ExtractTemplate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

enum ProbeKind { kGenuine, kStrangers, kBoth };

// The probes of a kind that gave a template, plain genuine ones and
// strangers alternating for both.
std::vector<const Probe*> ProbesOf(const RealisticStore& store, int kind) {
    const std::vector<Probe>& genuine = store.genuine[kPlain];
    std::vector<const Probe*> out;
    for (size_t j = 0; j < std::max(genuine.size(), store.strangers.size()); ++j) {
        if (kind != kStrangers && j < genuine.size() && !genuine[j].press.empty()) out.push_back(&genuine[j]);
        if (kind != kGenuine && j < store.strangers.size()) out.push_back(&store.strangers[j]);
    }
    return out;
}

bool StoreMade(benchmark::State& state, const RealisticStore& store) {
    if (!store.genuine[kPlain].empty() && !store.strangers.empty()) return true;
    state.SkipWithError("the realistic store could not be made");
    return false;
}

// Each repetition one run of the timed code, so that the median and the
// 95th percentile are those of single runs.
template <int kRepetitions>
void TimedOneAtATime(benchmark::internal::Benchmark* timed) {
    timed->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->ComputeStatistics("p95", Percentile95)
        ->ReportAggregatesOnly(true);
}

// What the processor's caches hold when the timed code starts: what the
// same code left there the time before (warm), or what making a template
// of a press left (after a capture), as at the terminal, where every
// search follows a capture.
enum CacheState { kWarm, kAfterCapture };

void SetCacheState(benchmark::State& state, int cacheState) {
    if (cacheState != kAfterCapture) return;
    state.PauseTiming();
    Capture();
    state.ResumeTiming();
}

// One search per repetition at the usual level, each with the next probe of
// the kind (0 genuine, 1 strangers, 2 both in turn), the caches as the
// third argument says.
void IdentifyRealistic(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (!StoreMade(state, store)) return;
    const int count = static_cast<int>(state.range(0));
    const std::vector<const Probe*> probes = ProbesOf(store, static_cast<int>(state.range(1)));
    static size_t turn[3] = {};
    size_t& next = turn[state.range(1)];
    for (auto _ : state) {
        SetCacheState(state, static_cast<int>(state.range(2)));
        const Probe& probe = *probes[next++ % probes.size()];
        int score, press;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Search(probe.press, store.records.data(), count, &score, &press, 5));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(IdentifyRealistic)
    ->Args({kMostRecords, kGenuine, kWarm})
    ->Args({kMostRecords, kStrangers, kWarm})
    ->Args({kMostRecords, kGenuine, kAfterCapture})
    ->Args({kMostRecords, kStrangers, kAfterCapture})
    ->Apply(TimedOneAtATime<kProbesOfAKind>);
BENCHMARK(IdentifyRealistic)
    ->Args({kMostRecords, kBoth, kWarm})
    ->Args({kMostRecords, kBoth, kAfterCapture})
    ->Apply(TimedOneAtATime<2 * kProbesOfAKind>);

// The yardstick for the search's time: one plain SSE2 pass over the bytes
// the sift reads, every record's tag and usable presses, the flow samples
// and the minutiae's spread of both presses, each byte's distance to the
// live press's summed, the caches as the argument says.
// The search cannot be much faster than reading its store once. Like the
// sift, the pass asks for each record's bytes a few records ahead, so that
// it waits no longer for memory than the search does.
void PlainPassOverSiftBytes(benchmark::State& state) {
    constexpr int kReadAhead = 4;
    const RealisticStore& store = Store();
    if (!StoreMade(state, store)) return;
    const std::vector<const Probe*> probes = ProbesOf(store, kBoth);
    size_t next = 0;
    for (auto _ : state) {
        SetCacheState(state, static_cast<int>(state.range(0)));
        const BYTE* live = probes[next++ % probes.size()]->press.data() + 8;
        const auto start = std::chrono::steady_clock::now();
        __m128i sum = _mm_setzero_si128();
        for (int i = 0; i < kMostRecords; ++i) {
            const BYTE* record = &store.records[static_cast<size_t>(i) * kFpRecordBytes];
            if (i + kReadAhead < kMostRecords) {
                for (int offset = kRecordTagOffset; offset < kRecordSiftEnd; offset += 64)
                    __builtin_prefetch(record + kReadAhead * kFpRecordBytes + offset);
            }
            const __m128i tag = _mm_loadu_si128(reinterpret_cast<const __m128i*>(record + kRecordTagOffset));
            sum = _mm_add_epi64(sum, _mm_sad_epu8(tag, _mm_loadu_si128(reinterpret_cast<const __m128i*>(live))));
            const BYTE* flows = record + kRecordFlowsOffset;
            for (int offset = 0; offset < kRecordSiftEnd - kRecordFlowsOffset; offset += 16) {
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flows + offset));
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(live + offset % 128));
                sum = _mm_add_epi64(sum, _mm_sad_epu8(a, b));
            }
        }
        benchmark::DoNotOptimize(sum);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(PlainPassOverSiftBytes)->Arg(kWarm)->Arg(kAfterCapture)->Apply(TimedOneAtATime<kProbesOfAKind>);

// The outcome of searching every probe of a kind over all records; for
// strangers, every one named is named wrongly.
struct Outcome {
    int notNamed = 0, namedWrongly = 0, unprocessed = 0;
};

Outcome SearchAll(const RealisticStore& store, const std::vector<Probe>& probes, int level) {
    Outcome outcome;
    for (const Probe& probe : probes) {
        if (probe.press.empty()) {
            ++outcome.unprocessed;
            continue;
        }
        int score, press;
        const int found = Search(probe.press, store.records.data(), kMostRecords, &score, &press, level);
        outcome.notNamed += found < 0;
        outcome.namedWrongly += found >= 0 && found != probe.record;
    }
    return outcome;
}

// Every plain probe searched over all records once at each level. Counters
// per level: genuine presses not named (miss, also those that gave no
// template), named as someone else (wrong), strangers named (false); and
// how many of each kind there were.
void IdentifyAccuracy(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (!StoreMade(state, store)) return;
    for (auto _ : state) {
        for (int level = 1; level <= 9; ++level) {
            const Outcome genuine = SearchAll(store, store.genuine[kPlain], level);
            const Outcome strangers = SearchAll(store, store.strangers, level);
            const std::string prefix = "L" + std::to_string(level) + "_";
            state.counters[prefix + "miss"] = genuine.notNamed + genuine.unprocessed;
            state.counters[prefix + "wrong"] = genuine.namedWrongly;
            state.counters[prefix + "false"] = strangers.namedWrongly;
        }
    }
    state.counters["genuine"] = static_cast<double>(store.genuine[kPlain].size());
    state.counters["strangers"] = static_cast<double>(store.strangers.size());
}
BENCHMARK(IdentifyAccuracy)->Unit(benchmark::kSecond)->Iterations(1);

// The genuine probes of one kind laid carelessly (turned, shifted, partial)
// searched at the usual level: not named (miss, also those that gave no
// template), of which gave no template (unprocessed), named as someone else
// (wrong).
void IdentifyMisplaced(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (!StoreMade(state, store)) return;
    const PressKind kind = static_cast<PressKind>(state.range(0));
    state.SetLabel(kPressKindNames[kind]);
    for (auto _ : state) {
        const Outcome outcome = SearchAll(store, store.genuine[kind], 5);
        state.counters["miss"] = outcome.notNamed + outcome.unprocessed;
        state.counters["unprocessed"] = outcome.unprocessed;
        state.counters["wrong"] = outcome.namedWrongly;
    }
    state.counters["genuine"] = static_cast<double>(store.genuine[kind].size());
}
BENCHMARK(IdentifyMisplaced)->Arg(kTurned)->Arg(kShifted)->Arg(kPartial)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
