// The network adapter's TCP/IP values and the step that makes the network
// stack take them.
#include <vector>

#include "core/AdapterRebind.h"
#include "core/AppMessageBox.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/RegistryKey.h"
#include "core/ShowMessage.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/lasterror.h"

namespace {

constexpr const char16_t* kDefaultAdapter = u"DM9CE1";

CString KeyFailureText() {
    CString text;
    GetLangText(u"CMachineConfig", u"MCF0001", u"错误: 无法打开有关的hKEY11!", text);
    return text;
}

}  // namespace

CString CMachineConfig::GetAdapterKeyPath(const CString& adapter) {
    CString path;
    path.Format(u"Comm\\%s\\Parms\\TCPIP", adapter.IsEmpty() ? CString(kDefaultAdapter) : adapter);
    return path;
}

CString CMachineConfig::GetTcpipValue(const CString& adapter, const CString& name) {
    const CString path = GetAdapterKeyPath(adapter);
    CRegistryKey key;
    CString text;
    if (CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, path, nullptr) && key.Open(HKEY_LOCAL_MACHINE, path))
        key.QueryStringValue(name, text);
    return text;
}

int CMachineConfig::GetDhcp(const CString& adapter, int& enabled) {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, GetAdapterKeyPath(adapter)))
        return 0;
    DWORD value = 0;
    enabled = key.QueryDWORDValue(u"EnableDHCP", value) && value == 1 ? 1 : 0;
    return 1;
}

int CMachineConfig::SetDhcp(const CString& adapter, int enable) {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, GetAdapterKeyPath(adapter))) {
        // The standard box, unlike the address writes.
        AfxMessageBox(KeyFailureText(), MB_OK);
        return 0;
    }
    const BOOL stored = key.SetDWORDValue(u"EnableDHCP", enable == 1 ? 1 : 0);
    key.Close();
    if (stored)
        RegFlushKey(HKEY_LOCAL_MACHINE);
    return stored ? 1 : 0;
}

// An address list of one string, ended by the two terminators of REG_MULTI_SZ.
int CMachineConfig::WriteAdapterText(const CString& adapter, const char16_t* name, const CString& text) {
    CRegistryKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, GetAdapterKeyPath(adapter))) {
        ShowMessage(KeyFailureText(), 0);
        return 0;
    }
    std::vector<char16_t> data(text.GetString(), text.GetString() + text.GetLength());
    data.push_back(0);
    data.push_back(0);
    const BOOL stored =
        key.SetValue(name, data.data(), REG_MULTI_SZ, static_cast<DWORD>(data.size() * sizeof(char16_t)));
    key.Close();
    if (stored)
        RegFlushKey(HKEY_LOCAL_MACHINE);
    return stored ? 1 : 0;
}

int CMachineConfig::SetIpAddress(const CString& adapter, const CString& text) {
    return WriteAdapterText(adapter, u"IpAddress", text);
}

int CMachineConfig::SetSubnetMask(const CString& adapter, const CString& text) {
    return WriteAdapterText(adapter, u"Subnetmask", text);
}

int CMachineConfig::SetDefaultGateway(const CString& adapter, const CString& text) {
    return WriteAdapterText(adapter, u"DefaultGateway", text);
}

int CMachineConfig::SetDns(const CString& adapter, const CString& text) {
    return WriteAdapterText(adapter, u"DNS", text);
}

DWORD CMachineConfig::GetMacAddress() {
    CRegistryKey key;
    DWORD value = 0;
    if (!key.Open(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900") || !key.QueryDWORDValue(u"MacAddress", value))
        return 0;
    return value;
}

int CMachineConfig::SetMacAddress(DWORD value) {
    CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, u"Drivers", nullptr);
    CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900", nullptr);
    CRegistryKey key;
    return key.Open(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900") && key.SetDWORDValue(u"MacAddress", value) ? 1 : 0;
}

// The whole adapter name goes to the driver, with its terminator.
void CMachineConfig::RebindAdapter(const CString& adapter) {
    const HANDLE device = CreateFileW(u"NDS0:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return;
    const CString chosen = adapter.IsEmpty() ? CString(kDefaultAdapter) : adapter;
    std::vector<char16_t> name(chosen.GetString(), chosen.GetString() + chosen.GetLength() + 1);
    if (DeviceIoControl(device, IOCTL_NDIS_REBIND_ADAPTER, name.data(),
                        static_cast<DWORD>(name.size() * sizeof(char16_t)), nullptr, 0, nullptr, nullptr)) {
        OutputDebugStringW(u"Adapter rebound\r\n");
    } else {
        CString message;
        message.Format(u"DeviceIoControl failed. error = %d\r\n", static_cast<int>(GetLastError()));
        OutputDebugStringW(message);
    }
    CloseHandle(device);
}
