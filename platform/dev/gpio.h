// The board's GPIO registers, as the application maps them by physical
// address. The register bank is simulated memory: what the application
// writes stays there for tests to read.
#pragma once

#include "platform/base/types.h"

typedef LARGE_INTEGER PHYSICAL_ADDRESS;

// The GPIO block of the board (ports A to J with their CON and DAT registers).
inline constexpr DWORD kGpioBase = 0x56000000u;
inline constexpr DWORD kGpioBlockSize = 0x100u;

// The address of `size` bytes of registers from `address`; null outside the
// GPIO block (no other device is simulated).
PVOID MmMapIoSpace(PHYSICAL_ADDRESS address, ULONG size, BOOL cached);
void MmUnmapIoSpace(PVOID base, ULONG size);

// The register's current value, for tests; 0 outside the block.
DWORD GpioRegister(DWORD physicalAddress);
