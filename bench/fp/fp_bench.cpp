// What a person at the terminal waits for: turning a press into a template,
// and searching 5000 enrolled fingers for it.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

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

std::vector<BYTE> Template(uint32_t finger, uint32_t press) {
    const GreyImage image = SynthesizeFinger(finger, press, 248, 280);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    if (Extract()(image.pixels.data(), tmpl.data(), work.data(), 1, 0) != 0) return {};
    return tmpl;
}

void ExtractTemplate(benchmark::State& state) {
    const GreyImage image = SynthesizeFinger(42, 0, 248, 280);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    for (auto _ : state) benchmark::DoNotOptimize(Extract()(image.pixels.data(), tmpl.data(), work.data(), 1, 0));
}
BENCHMARK(ExtractTemplate)->Unit(benchmark::kMillisecond);

constexpr int kRecords = 5000;

void* MatchLibrary() {
    static void* match = Library("SMApi_WinCE.dll");
    return match;
}

// 5000 records made of presses of 250 fingers, mixed so that no two are
// alike; the searched finger is enrolled in the last one.
std::vector<BYTE> BuildRecords() {
    auto toRecord = reinterpret_cast<FpToRecordFn>(::dlsym(MatchLibrary(), "VeltoTempToFPRECORD"));
    std::vector<std::vector<BYTE>> pool;
    for (uint32_t finger = 0; pool.size() < 500; ++finger) {
        for (uint32_t press = 0; press < 2; ++press) {
            std::vector<BYTE> t = Template(finger, press);
            if (!t.empty()) pool.push_back(std::move(t));
        }
    }
    std::vector<BYTE> records(static_cast<size_t>(kRecords) * kFpRecordBytes);
    for (int r = 0; r < kRecords; ++r) {
        BYTE stored[kFpStoredBytes];
        std::memcpy(stored, pool[(r * 7) % pool.size()].data(), kFpTemplateBytes);
        std::memcpy(stored + kFpTemplateBytes, pool[(r * 13 + 1) % pool.size()].data(), kFpTemplateBytes);
        toRecord(stored, &records[static_cast<size_t>(r) * kFpRecordBytes]);
    }
    BYTE enrolled[kFpStoredBytes];
    const std::vector<BYTE> first = Template(9001, 0), second = Template(9001, 1);
    std::memcpy(enrolled, first.data(), kFpTemplateBytes);
    std::memcpy(enrolled + kFpTemplateBytes, second.data(), kFpTemplateBytes);
    toRecord(enrolled, &records[static_cast<size_t>(kRecords - 1) * kFpRecordBytes]);
    return records;
}

const std::vector<BYTE>& Records() {
    static const std::vector<BYTE> records = BuildRecords();
    return records;
}

void Identify5000(benchmark::State& state) {
    auto search = reinterpret_cast<FpMatch2NFn>(::dlsym(MatchLibrary(), "VeltoMatch2N"));
    const std::vector<BYTE>& records = Records();
    const std::vector<BYTE> live = Template(9001, 4);
    int found = -1;
    for (auto _ : state) {
        int score, press;
        found = search(live.data(), records.data(), kRecords, &score, &press, 5);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = found;
}
BENCHMARK(Identify5000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
