#include "platform/dev/gpio.h"

namespace {

// Registers are 32-bit words that the application reads and writes in place.
alignas(16) volatile DWORD g_bank[kGpioBlockSize / sizeof(DWORD)];

bool InBlock(uint64_t address, uint64_t size) {
    return address >= kGpioBase && address + size <= kGpioBase + kGpioBlockSize && address % sizeof(DWORD) == 0;
}

}  // namespace

PVOID MmMapIoSpace(PHYSICAL_ADDRESS address, ULONG size, BOOL) {
    const uint64_t physical = static_cast<uint64_t>(address.QuadPart);
    if (size == 0 || !InBlock(physical, size)) return nullptr;
    return const_cast<DWORD*>(&g_bank[(physical - kGpioBase) / sizeof(DWORD)]);
}

void MmUnmapIoSpace(PVOID, ULONG) {
    // The simulated bank stays; a mapping costs nothing to keep.
}

DWORD GpioRegister(DWORD physicalAddress) {
    if (!InBlock(physicalAddress, sizeof(DWORD))) return 0;
    return g_bank[(physicalAddress - kGpioBase) / sizeof(DWORD)];
}
