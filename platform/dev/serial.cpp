#include "platform/dev/serial.h"

#include <map>
#include <mutex>

#include "platform/base/files.h"
#include "platform/base/lasterror.h"
#include "platform/base/nocase.h"
#include "platform/base/registry.h"
#include "platform/base/utf.h"
#include "platform/dev/serial_port.h"

namespace {

std::mutex g_mapLock;
std::map<std::u16string, std::string>& ProcessMappings() {
    static std::map<std::u16string, std::string> mappings;
    return mappings;
}

// "com3:" and "COM3" both name the registry value "COM3".
std::u16string PortKey(std::u16string_view portName) {
    return UpperCase(portName.substr(0, portName.find(u':')));
}

StreamObject* OpenSerialDevice(std::u16string_view name, DWORD) {
    std::string hostPath = SerialHostPath(std::u16string(name));
    if (hostPath.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return SerialPort::Open(hostPath);
}

std::string RegistrySerialPath(const std::u16string& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\SerialMap", 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char16_t path[MAX_PATH] = {};
    DWORD type = 0;
    DWORD size = sizeof path - sizeof(char16_t);
    const LONG result = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return {};
    return Utf16ToUtf8(path);
}

const bool g_registered = [] {
    RegisterStreamDevice(u"COM", OpenSerialDevice);
    return true;
}();

SerialPort* PortOf(HANDLE port) {
    return ObjectFromHandleAs<SerialPort>(port);
}

}  // namespace

std::string SerialHostPath(const std::u16string& portName) {
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
