// Named devices ("COM3:", "NDS0:") that CreateFile opens besides files.
// A device layer registers an opener for a name prefix; CreateFile hands
// every name ending in ':' to OpenDevice, and ReadFile, WriteFile and
// DeviceIoControl reach the object through the virtual operations below.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/handle.h"

class DeviceObject : public KernelObject {
public:
    // Each returns FALSE with the last error set when the device cannot do it.
    virtual BOOL Read(void* buffer, DWORD size, DWORD* done);
    virtual BOOL Write(const void* buffer, DWORD size, DWORD* done);
    virtual BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
};

// Opens the device of that name (upper case, colon included) or returns
// nullptr with the last error set.
using DeviceOpener = DeviceObject* (*)(const std::u16string& name, DWORD access, DWORD share);

// `prefix` is the device's three-letter class ("COM", "NDS"). Returns true so
// that a file can register from a static initialiser.
bool RegisterDeviceOpener(std::u16string_view prefix, DeviceOpener opener);

bool IsDeviceName(const char16_t* name);
// A handle to the opened device, or INVALID_HANDLE_VALUE with the last error
// (ERROR_FILE_NOT_FOUND when no opener knows the name).
HANDLE OpenDevice(const char16_t* name, DWORD access, DWORD share);
