#include "bench/fp/finger_range.h"

#include "platform/fp/fpapi.h"
#include "platform/fp/synthfinger.h"

const char* const kPressKindNames[kPressKinds] = {"plain", "turned", "shifted", "partial"};

namespace {

GreyImage PressImage(uint32_t finger, uint32_t press) {
    int width, height;
    FpImageSize(8, &width, &height);
    return SynthesizeFinger(finger, press, width, height);
}

GreyImage ProbeImage(uint32_t finger, PressKind kind) {
    const GreyImage press = PressImage(finger, 2);
    switch (kind) {
        case kTurned: return MisplacePress(press, Misplacement::Turned, finger);
        case kShifted: return MisplacePress(press, Misplacement::Shifted, finger);
        case kPartial: return MisplacePress(press, Misplacement::Partial, finger);
        default: return press;
    }
}

}  // namespace

FingerRange MakeFingerRange(uint32_t first, const MakeTemplate& makeTemplate, unsigned workers) {
    FingerRange range;
    constexpr uint32_t kCandidates = kRangeRecords + kRangeRecords / 20;
    std::vector<Press> made(kCandidates);
    OnThreads(workers, kCandidates, [&](uint32_t k) {
        const Press a = makeTemplate(PressImage(first + k, 0), false), b = makeTemplate(PressImage(first + k, 1), false);
        if (a.empty() || b.empty()) return;
        made[k] = a;
        made[k].insert(made[k].end(), b.begin(), b.end());
    });
    std::vector<uint32_t> fingers;
    uint32_t k = 0;
    for (; k < kCandidates && fingers.size() < kRangeRecords; ++k) {
        if (made[k].empty()) continue;
        range.pairs.push_back(std::move(made[k]));
        fingers.push_back(first + k);
    }
    if (fingers.size() < kRangeRecords) return range;
    const uint32_t firstStranger = first + k;
    for (auto& genuine : range.genuine) genuine.resize(kRangeProbes);
    range.strangers.resize(kRangeProbes);
    OnThreads(workers, (kPressKinds + 1) * kRangeProbes, [&](uint32_t j) {
        const uint32_t kind = j / kRangeProbes, n = j % kRangeProbes;
        if (kind == kPressKinds) {
            range.strangers[n] = makeTemplate(PressImage(firstStranger + n, 0), true);
            return;
        }
        range.genuine[kind][n] = makeTemplate(ProbeImage(fingers[RecordOfProbe(n)], static_cast<PressKind>(kind)), true);
    });
    return range;
}
