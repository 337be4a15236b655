#include "comm/RealtimeQueue.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

std::mutex g_queueLock;
std::array<RealtimeSlot, kRealtimeQueueSlots> g_slots{};

}  // namespace

int RealtimeQueuePush(const BYTE* frame, int length) {
    std::lock_guard<std::mutex> guard(g_queueLock);
    std::move_backward(g_slots.begin(), g_slots.end() - 1, g_slots.end());
    g_slots[0].fill(0xFF);
    std::memcpy(g_slots[0].data(), frame, static_cast<size_t>(std::clamp(length, 0, kRealtimeSlotBytes)));
    return 1;
}

RealtimeSlot RealtimeQueueSlot(int index) {
    std::lock_guard<std::mutex> guard(g_queueLock);
    return g_slots[static_cast<size_t>(index)];
}
