// The fingers the identification benchmark searches, from a first seed, as
// bench_fp and fpmisses both lay them out: record k holds presses 0 and 1
// of the k-th finger whose two presses both make templates; genuine probe n
// of each kind is press 2 of record RecordOfProbe(n), laid as the kind says;
// strangers are press 0 of the fingers after the last one enrolled.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/fp/greyimage.h"

constexpr int kRangeRecords = 5000;
constexpr int kRangeProbes = 1000;

// How a genuine probe was pressed: as the generator lays presses, or laid
// carelessly (see MisplacePress).
enum PressKind { kPlain, kTurned, kShifted, kPartial, kPressKinds };
extern const char* const kPressKindNames[kPressKinds];

using Press = std::vector<uint8_t>;  // a template, empty where the image gave none
// `live` for a press searched for (the probes and strangers), made as the
// terminal makes it before a search; else one to enrol.
using MakeTemplate = std::function<Press(const GreyImage&, bool live)>;

struct FingerRange {
    // Both presses of each record, one after the other; fewer than
    // kRangeRecords only when the candidates ran out.
    std::vector<Press> pairs;
    std::vector<Press> genuine[kPressKinds];  // kRangeProbes of each kind
    std::vector<Press> strangers;             // kRangeProbes
};

inline int RecordOfProbe(int n) { return n * kRangeRecords / kRangeProbes; }

// Thousands of presses take minutes on one core: they are made on
// `workers` threads.
FingerRange MakeFingerRange(uint32_t first, const MakeTemplate& makeTemplate, unsigned workers);

// Runs job(k) for k in [0, count) on `workers` threads.
template <class Job>
void OnThreads(unsigned workers, uint32_t count, Job job) {
    std::atomic<uint32_t> next{0};
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            for (uint32_t k; (k = next++) < count;) job(k);
        });
    }
    for (std::thread& thread : threads) thread.join();
}
