// What a person at the terminal waits for: turning a press into a template,
// and searching the enrolled fingers for it.
//
// The store is what a terminal in use holds: every record a different
// finger, enrolled with two presses of its own. A search is timed alone, so
// that the median and the 95th percentile are those of single searches,
// each with a press of another enrolled finger, never one of its enrolment.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/percentile.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/synthfinger.h"

namespace {

void* Library(const char* name) {
    static std::vector<void*> keep;
    void* handle = ::dlopen((std::string(FP_LIBRARY_DIR) + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
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

std::vector<BYTE> Template(uint32_t finger, uint32_t press) {
    int width, height;
    FpImageSize(8, &width, &height);
    const GreyImage image = SynthesizeFinger(finger, press, width, height);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    if (Extract()(image.pixels.data(), tmpl.data(), work.data(), 1, 0) != 0) return {};
    return tmpl;
}

constexpr int kMostRecords = 5000;
constexpr int kProbes = 100;
constexpr uint32_t kFirstFinger = 100000;

// Record k holds presses 0 and 1 of finger kFirstFinger + k (a finger
// whose presses cannot both be made is passed over); probe j is press 2 of
// the finger in record j * stride, so the probes of the smaller stores are
// their own fingers too.
struct RealisticStore {
    std::vector<BYTE> records;
    std::vector<std::vector<BYTE>> probes;
    std::vector<int> probeRecord;

    RealisticStore() {
        auto toRecord = reinterpret_cast<FpToRecordFn>(::dlsym(MatchLibrary(), "VeltoTempToFPRECORD"));
        // Ten thousand presses take minutes on one core: made on several.
        const unsigned workers = std::max(1u, std::thread::hardware_concurrency() / 2);
        constexpr uint32_t kCandidates = kMostRecords + kMostRecords / 20;
        std::vector<std::vector<BYTE>> pairs(kCandidates);
        std::atomic<uint32_t> next{0};
        std::vector<std::thread> threads;
        for (unsigned w = 0; w < workers; ++w) {
            threads.emplace_back([&] {
                for (uint32_t k; (k = next++) < kCandidates;) {
                    const std::vector<BYTE> first = Template(kFirstFinger + k, 0), second = Template(kFirstFinger + k, 1);
                    if (first.empty() || second.empty()) continue;
                    pairs[k] = first;
                    pairs[k].insert(pairs[k].end(), second.begin(), second.end());
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
        std::vector<uint32_t> fingers;
        records.resize(static_cast<size_t>(kMostRecords) * kFpRecordBytes);
        for (uint32_t k = 0; k < kCandidates && fingers.size() < kMostRecords; ++k) {
            if (pairs[k].empty() || !toRecord(pairs[k].data(), &records[fingers.size() * kFpRecordBytes])) continue;
            fingers.push_back(kFirstFinger + k);
        }
        if (fingers.size() < kMostRecords) return;
        // Spread over the first 1000 records, the smallest store of the sweep.
        for (int j = 0; j < kProbes; ++j) {
            const int record = j * 1000 / kProbes;
            std::vector<BYTE> probe = Template(fingers[record], 2);
            if (probe.empty()) continue;
            probes.push_back(std::move(probe));
            probeRecord.push_back(record);
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

// One search per repetition, each with the next probe; `found` is the share
// of searches that named the probe's own record.
void IdentifyRealistic(benchmark::State& state) {
    const RealisticStore& store = Store();
    if (store.probes.empty()) {
        state.SkipWithError("the realistic store could not be made");
        return;
    }
    auto search = reinterpret_cast<FpMatch2NFn>(::dlsym(MatchLibrary(), "VeltoMatch2N"));
    const int count = static_cast<int>(state.range(0));
    static size_t turn = 0;
    double found = 0;
    for (auto _ : state) {
        const size_t probe = turn++ % store.probes.size();
        int score, press;
        const auto start = std::chrono::steady_clock::now();
        const int index = search(store.probes[probe].data(), store.records.data(), count, &score, &press, 5);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        found = index == store.probeRecord[probe];
    }
    state.counters["found"] = found;
}
BENCHMARK(IdentifyRealistic)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(kMostRecords)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(kProbes)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

}  // namespace
