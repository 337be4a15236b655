// The upload queue of real-time record frames: the newest 40 frames of at
// most 40 bytes each, slot 0 the newest. It exists from start-up, whether
// or not an upload worker runs.
#pragma once

#include <array>

#include "platform/base/types.h"

constexpr int kRealtimeQueueSlots = 40;
constexpr int kRealtimeSlotBytes = 40;

typedef std::array<BYTE, kRealtimeSlotBytes> RealtimeSlot;

// Moves every slot one place towards the oldest (the oldest is dropped),
// fills slot 0 with 0xFF and copies min(length, 40) bytes into it. Returns 1.
int RealtimeQueuePush(const BYTE* frame, int length);
// A copy of slot `index` (0 = newest).
RealtimeSlot RealtimeQueueSlot(int index);
