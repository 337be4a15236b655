#include "platform/base/device.h"

#include <map>
#include <mutex>

#include "platform/base/lasterror.h"

namespace {

std::mutex g_openersLock;
std::map<std::u16string, DeviceOpener>& Openers() {
    static std::map<std::u16string, DeviceOpener> openers;
    return openers;
}

std::u16string UpperAscii(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& ch : upper) {
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    return upper;
}

}  // namespace

BOOL DeviceObject::Read(void*, DWORD, DWORD* done) {
    if (done) *done = 0;
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
}

BOOL DeviceObject::Write(const void*, DWORD, DWORD* done) {
    if (done) *done = 0;
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
}

BOOL DeviceObject::IoControl(DWORD, const void*, DWORD, void*, DWORD, DWORD* returned) {
    if (returned) *returned = 0;
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
}

bool RegisterDeviceOpener(std::u16string_view prefix, DeviceOpener opener) {
    std::lock_guard<std::mutex> lock(g_openersLock);
    Openers()[UpperAscii(prefix)] = opener;
    return true;
}

bool IsDeviceName(const char16_t* name) {
    if (!name) return false;
    std::u16string_view text(name);
    return text.size() >= 2 && text.back() == u':' && text.find(u'\\') == std::u16string_view::npos;
}

HANDLE OpenDevice(const char16_t* name, DWORD access, DWORD share) {
    if (!IsDeviceName(name)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::u16string upper = UpperAscii(name);
    DeviceOpener opener = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_openersLock);
        for (const auto& [prefix, candidate] : Openers()) {
            if (upper.compare(0, prefix.size(), prefix) == 0) opener = candidate;
        }
    }
    if (!opener) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DeviceObject* device = opener(upper, access, share);
    if (!device) return INVALID_HANDLE_VALUE;
    return MakeHandle(device);
}
