#include "platform/dev/serial.h"

#include <map>
#include <mutex>

#include "platform/base/device.h"
#include "platform/base/lasterror.h"
#include "platform/base/utf.h"
#include "platform/dev/serial_port.h"

namespace {

std::mutex g_mapLock;
std::map<std::u16string, std::string>& ProcessMappings() {
    static std::map<std::u16string, std::string> mappings;
    return mappings;
}

// "com3:" and "COM3" both name the registry value "COM3".
std::u16string PortKey(const std::u16string& portName) {
    std::u16string key;
    for (char16_t ch : portName) {
        if (ch == u':') break;
        key += (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
    }
    return key;
}

DeviceObject* OpenSerialDevice(const std::u16string& name, DWORD, DWORD) {
    std::string hostPath = SerialHostPath(name);
    if (hostPath.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return SerialPort::Open(hostPath);
}

// The registry's SerialMap joins once the registry is available.
std::string RegistrySerialPath(const std::u16string&) {
    return {};
}

const bool g_registered = RegisterDeviceOpener(u"COM", OpenSerialDevice);

SerialPort* PortOf(HANDLE port) {
    return ObjectFromHandleAs<SerialPort>(port);
}

}  // namespace

std::string SerialHostPath(const std::u16string& portName) {
    (void)g_registered;
    const std::u16string key = PortKey(portName);
    {
        std::lock_guard<std::mutex> lock(g_mapLock);
        auto it = ProcessMappings().find(key);
        if (it != ProcessMappings().end()) return it->second;
    }
    return RegistrySerialPath(key);
}

void MapSerialPort(const std::u16string& portName, const std::string& hostPath) {
    std::lock_guard<std::mutex> lock(g_mapLock);
    if (hostPath.empty()) ProcessMappings().erase(PortKey(portName));
    else ProcessMappings()[PortKey(portName)] = hostPath;
}

BOOL GetCommState(HANDLE port, LPDCB dcb) {
    SerialPort* p = PortOf(port);
    return p ? p->GetState(dcb) : FALSE;
}

BOOL SetCommState(HANDLE port, LPDCB dcb) {
    SerialPort* p = PortOf(port);
    if (!p) return FALSE;
    if (!dcb) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return p->SetState(*dcb);
}

BOOL GetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    SerialPort* p = PortOf(port);
    return p ? p->GetTimeouts(timeouts) : FALSE;
}

BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts) {
    SerialPort* p = PortOf(port);
    if (!p) return FALSE;
    if (!timeouts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return p->SetTimeouts(*timeouts);
}

BOOL SetupComm(HANDLE port, DWORD, DWORD) {
    // The host driver sizes its own queues.
    return PortOf(port) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE port, DWORD flags) {
    SerialPort* p = PortOf(port);
    return p ? p->Purge(flags) : FALSE;
}

BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status) {
    SerialPort* p = PortOf(port);
    if (!p) return FALSE;
    if (errors) *errors = 0;
    return p->QueueStatus(status);
}

BOOL EscapeCommFunction(HANDLE port, DWORD function) {
    SerialPort* p = PortOf(port);
    return p ? p->Escape(function) : FALSE;
}
