// The I/O controller's serial line on arbitrary bytes, delivered in pieces
// of arbitrary sizes as the port's reads cut them: the frames found never
// depend on the cuts, each is a well-formed frame, and each is dispatched as
// the reader thread dispatches it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/MachineConfig.h"
#include "main/IoController.h"
#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/ui/input.h"

namespace {

bool SameFrames(const std::vector<IoFrame>& a, const std::vector<IoFrame>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].code != b[i].code || a[i].arg1 != b[i].arg1 || a[i].arg2 != b[i].arg2 || a[i].card != b[i].card)
            return false;
    }
    return true;
}

bool WellFormed(const IoFrame& frame) {
    if (frame.code < 0xE0) return false;
    if (frame.code == kIoCard)
        return !frame.card.empty() && frame.card.size() <= static_cast<size_t>(kIoMaxCardDigits);
    return frame.card.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The relay commands wait for the controller's answer: in virtual time
    // that wait costs nothing. Alarms and both relays are switched on.
    static const bool ready = [] {
        UseVirtualClock(true);
        g_MachineConfig.RING = 3;
        g_MachineConfig.FCCHECKALARM = 1;
        g_MachineConfig.MCCHECKALARM = 1;
        return true;
    }();
    (void)ready;
    if (size == 0) return 0;
    // The first byte chooses the cuts; the rest is the line.
    uint32_t cuts = data[0] | 1u;
    const BYTE* line = data + 1;
    const size_t length = size - 1;

    IoFrameReader whole;
    const std::vector<IoFrame> frames = whole.Feed(line, length);
    IoFrameReader pieces;
    std::vector<IoFrame> pieced;
    for (size_t at = 0; at < length;) {
        cuts = cuts * 1103515245u + 12345u;
        const size_t piece = std::min<size_t>(length - at, (cuts >> 16) % 9);
        for (IoFrame& frame : pieces.Feed(line + at, piece)) pieced.push_back(std::move(frame));
        at += piece;
    }
    if (!SameFrames(frames, pieced)) std::abort();
    for (const IoFrame& frame : frames) {
        if (!WellFormed(frame)) std::abort();
        DispatchIoFrame(frame);
    }
    // Keys go to a user interface, and prompts and log lines to a journal
    // for tests, none of which is read here.
    ClearInputQueue();
    JournalClear();
    return 0;
}
