// The wait after the first press of an enrolment: its template searched
// against every enrolled finger of a full terminal, 5000 fingers that are
// all different, each stored as the two presses enrolment keeps.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/percentile.h"
#include "core/FpLibraries.h"
#include "data/DataStoreServices.h"
#include "data/FPTemplateStore.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/synthfinger.h"
#include "users/FingerTemplates.h"

namespace {

constexpr int kFingers = TemplateLimit;
constexpr int kSensorVersion = 8;

template <class Fn>
Fn Function(const char* library, const char* name) {
    void* handle = ::dlopen((std::string(FP_LIBRARY_DIR) + "/" + library).c_str(), RTLD_NOW | RTLD_LOCAL);
    return reinterpret_cast<Fn>(::dlsym(handle, name));
}

// One press of a synthetic finger, as the enrolment page extracts it.
std::vector<BYTE> PressTemplate(uint32_t finger, uint32_t press) {
    static const auto extract = Function<FpProcessFn>("SMProcess_WinCE.dll", "VeltoProcess");
    const GreyImage image = SynthesizeFinger(finger, press, 248, 280);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    if (extract(image.pixels.data(), tmpl.data(), work.data(), 1, 0) != 0) return {};
    return tmpl;
}

int SensorVersion() { return kSensorVersion; }
int TemplatesToRecord(const BYTE* templates, BYTE* record) {
    static const auto toRecord = Function<FpToRecordFn>("SMApi_WinCE.dll", "VeltoTempToFPRECORD");
    return toRecord(templates, record);
}

// The 338-byte records of fingers 1..5000 (a finger whose press gives no
// template is replaced by the next seed), made on a few threads.
std::vector<std::vector<BYTE>> EnrolledRecords() {
    std::vector<std::vector<BYTE>> records(kFingers);
    std::atomic<int> next{0};
    std::atomic<uint32_t> spareSeed{1000000};
    auto work = [&] {
        for (int i = next++; i < kFingers; i = next++) {
            for (uint32_t seed = static_cast<uint32_t>(i + 1);; seed = spareSeed++) {
                const std::vector<BYTE> first = PressTemplate(seed, 1), second = PressTemplate(seed, 2);
                if (first.empty() || second.empty()) continue;
                records[i] = first;
                records[i].insert(records[i].end(), second.begin(), second.end());
                break;
            }
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(work);
    for (std::thread& thread : pool) thread.join();
    return records;
}

CFPTemplateStore& FullStore() {
    static CFPTemplateStore* store = [] {
        g_DataStoreServices.SMCVersion = SensorVersion;
        g_DataStoreServices.VeltoTempToFPRECORD = TemplatesToRecord;
        g_FpLib.VeltoMatch2N = Function<FpMatch2NProc>("SMApi_WinCE.dll", "VeltoMatch2N");
        auto* full = new CFPTemplateStore;
        full->Reset();
        const std::vector<std::vector<BYTE>> records = EnrolledRecords();
        for (int i = 0; i < kFingers; ++i) {
            CString userId;
            userId.Format(u"%d", i + 1);
            full->Add(records[i].data(), userId, 0, FALSE, StoredTemplateSize);
        }
        return full;
    }();
    return *store;
}

// A finger that is not enrolled (the first such of a few), so the search
// goes through all 5000 and the enrolment goes on.
std::vector<BYTE> NewFingerPress(CFPTemplateStore& store) {
    for (uint32_t seed = 900001;; ++seed) {
        std::vector<BYTE> press = PressTemplate(seed, 1);
        if (!press.empty() && FindStoredTemplate(press.data(), store, kSensorVersion) < 0) return press;
    }
}

void FirstPressAgainst5000(benchmark::State& state) {
    CFPTemplateStore& store = FullStore();
    const std::vector<BYTE> press = NewFingerPress(store);
    int found = 0;
    for (auto _ : state) {
        found = FindStoredTemplate(press.data(), store, kSensorVersion);
        benchmark::DoNotOptimize(found);
    }
    state.counters["stored"] = store.GetCount();
    state.counters["found"] = found;
}

BENCHMARK(FirstPressAgainst5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(25)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

}  // namespace
