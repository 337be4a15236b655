// What a person at the terminal waits for: turning a press into a template,
// and searching the enrolled fingers for it; and how often that search
// names the wrong person or none.
//
// The store is what a terminal in use holds: every record a different
// finger, enrolled with two presses of its own. Genuine probes are a later
// press of an enrolled finger, spread over all records; strangers are
// presses of fingers never enrolled. A search is timed alone, so that the
// median and the 95th percentile are those of single searches.
//
// FP_BENCH_LIBRARIES names another folder of the three libraries (the
// build's own by default), so that two builds' matchers are measured on
// the same store and probes in one run.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/percentile.h"
#include "platform/fp/fpapi.h"
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

FpMatch2NFn Search() {
    static auto search = reinterpret_cast<FpMatch2NFn>(::dlsym(MatchLibrary(), "VeltoMatch2N"));
    return search;
}

std::vector<BYTE> Template(uint32_t finger, uint32_t press) {
    int width, height;
    FpImageSize(8, &width, &height);
    const GreyImage image = SynthesizeFinger(finger, press, width, height);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    if (Extract()(image.pixels.data(), tmpl.data(), work.data(), 1, 0) != 0) return {};
    return tmpl;
}

// Runs job(k) for k in [0, count) on several threads: ten thousand presses
// take minutes on one core.
template <class Job>
void OnAllCores(uint32_t count, Job job) {
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency() / 2);
    std::atomic<uint32_t> next{0};
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            for (uint32_t k; (k = next++) < count;) job(k);
        });
    }
    for (std::thread& thread : threads) thread.join();
}

constexpr int kMostRecords = 5000;
constexpr int kProbesOfAKind = 1000;
// Fingers no test and no tuning of the matcher has seen.
constexpr uint32_t kFirstFinger = 3000000;

struct Probe {
    std::vector<BYTE> press;
    int record;  // -1 for a stranger
};

// Record k holds presses 0 and 1 of the k-th finger from kFirstFinger on (a
// finger whose presses cannot both be made is passed over). Genuine probe
// j is press 2 of record j * kMostRecords / kProbesOfAKind; strangers are
// press 0 of the fingers after the last one enrolled.
struct RealisticStore {
    std::vector<BYTE> records;
    std::vector<Probe> genuine, strangers;

    RealisticStore() {
        auto toRecord = reinterpret_cast<FpToRecordFn>(::dlsym(MatchLibrary(), "VeltoTempToFPRECORD"));
        constexpr uint32_t kCandidates = kMostRecords + kMostRecords / 20;
        std::vector<std::vector<BYTE>> pairs(kCandidates);
        OnAllCores(kCandidates, [&](uint32_t k) {
            const std::vector<BYTE> first = Template(kFirstFinger + k, 0), second = Template(kFirstFinger + k, 1);
            if (first.empty() || second.empty()) return;
            pairs[k] = first;
            pairs[k].insert(pairs[k].end(), second.begin(), second.end());
        });
        std::vector<uint32_t> fingers;
        records.resize(static_cast<size_t>(kMostRecords) * kFpRecordBytes);
        uint32_t k = 0;
        for (; k < kCandidates && fingers.size() < kMostRecords; ++k) {
            if (pairs[k].empty() || !toRecord(pairs[k].data(), &records[fingers.size() * kFpRecordBytes])) continue;
            fingers.push_back(kFirstFinger + k);
        }
        if (fingers.size() < kMostRecords) return;
        const uint32_t firstStranger = kFirstFinger + k;
        std::vector<Probe> probes(2 * kProbesOfAKind);
        OnAllCores(2 * kProbesOfAKind, [&](uint32_t j) {
            if (j < kProbesOfAKind) {
                const int record = static_cast<int>(j) * kMostRecords / kProbesOfAKind;
                probes[j] = Probe{Template(fingers[record], 2), record};
            } else {
                probes[j] = Probe{Template(firstStranger + (j - kProbesOfAKind), 0), -1};
            }
        });
        for (Probe& probe : probes) {
            if (probe.press.empty()) continue;
            (probe.record >= 0 ? genuine : strangers).push_back(std::move(probe));
        }
    }
};

const RealisticStore& Store() {
    static const RealisticStore store;
    return store;
}

// Presses of one finger in turn, as they come at the sensor.
void ExtractTemplate(benchmark::State& state) {
    int width, height;
    FpImageSize(8, &width, &height);
    std::vector<GreyImage> presses;
    for (uint32_t press = 0; press < 8; ++press) presses.push_back(SynthesizeFinger(42, press, width, height));
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    size_t turn = 0;
    for (auto _ : state) {
        const GreyImage& image = presses[turn++ % presses.size()];
        benchmark::DoNotOptimize(Extract()(image.pixels.data(), tmpl.data(), work.data(), 1, 0));
    }
}
BENCHMARK(ExtractTemplate)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

enum ProbeKind { kGenuine, kStrangers, kBoth };

// The probes of a kind; both kinds alternate.
std::vector<const Probe*> ProbesOf(const RealisticStore& store, int kind) {
    std::vector<const Probe*> out;
    for (size_t j = 0; j < std::max(store.genuine.size(), store.strangers.size()); ++j) {
        if (kind != kStrangers && j < store.genuine.size()) out.push_back(&store.genuine[j]);
        if (kind != kGenuine && j < store.strangers.size()) out.push_back(&store.strangers[j]);
    }
    return out;
}

// One search per repetition at the usual level, each with the next probe of
// the kind (0 genuine, 1 strangers, 2 both in turn).
void IdentifyRealistic(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (store.genuine.empty() || store.strangers.empty()) {
        state.SkipWithError("the realistic store could not be made");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    const std::vector<const Probe*> probes = ProbesOf(store, static_cast<int>(state.range(1)));
    static size_t turn[3] = {};
    size_t& next = turn[state.range(1)];
    for (auto _ : state) {
        const Probe& probe = *probes[next++ % probes.size()];
        int score, press;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Search()(probe.press.data(), store.records.data(), count, &score, &press, 5));
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(IdentifyRealistic)
    ->Args({kMostRecords, kGenuine})
    ->Args({kMostRecords, kStrangers})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kProbesOfAKind)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);
BENCHMARK(IdentifyRealistic)
    ->Args({kMostRecords, kBoth})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(2 * kProbesOfAKind)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

// Every probe searched over all records once at each level. Counters per
// level: genuine presses not named (miss), named as someone else (wrong),
// strangers named (false); and how many of each kind were searched.
void IdentifyAccuracy(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (store.genuine.empty() || store.strangers.empty()) {
        state.SkipWithError("the realistic store could not be made");
        return;
    }
    for (auto _ : state) {
        for (int level = 1; level <= 9; ++level) {
            int missed = 0, wrong = 0, named = 0;
            for (const Probe* probe : ProbesOf(store, kBoth)) {
                int score, press;
                const int found = Search()(probe->press.data(), store.records.data(), kMostRecords, &score, &press, level);
                if (probe->record < 0) {
                    named += found >= 0;
                } else {
                    missed += found < 0;
                    wrong += found >= 0 && found != probe->record;
                }
            }
            const std::string prefix = "L" + std::to_string(level) + "_";
            state.counters[prefix + "miss"] = missed;
            state.counters[prefix + "wrong"] = wrong;
            state.counters[prefix + "false"] = named;
        }
    }
    state.counters["genuine"] = static_cast<double>(store.genuine.size());
    state.counters["strangers"] = static_cast<double>(store.strangers.size());
}
BENCHMARK(IdentifyAccuracy)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
