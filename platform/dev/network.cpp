#include "platform/dev/network.h"

#include <cstring>
#include <mutex>

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/lasterror.h"
#include "platform/base/nocase.h"
#include "platform/base/registry.h"

namespace {

std::mutex g_lock;
std::map<std::u16string, AdapterState>& Adapters() {
    static std::map<std::u16string, AdapterState> adapters;
    return adapters;
}

std::u16string ValueText(DWORD type, const BYTE* data, DWORD size) {
    const auto* text = reinterpret_cast<const char16_t*>(data);
    const size_t units = size / sizeof(char16_t);
    if (type == REG_DWORD && size >= sizeof(DWORD)) {
        DWORD value;
        std::memcpy(&value, data, sizeof value);
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }
    std::u16string joined;
    for (size_t i = 0; i < units;) {
        const std::u16string part(text + i);
        if (part.empty()) break;
        if (!joined.empty()) joined += u',';
        joined += part;
        i += part.size() + 1;
        if (type != REG_MULTI_SZ) break;
    }
    return joined;
}

// The values the adapter will use, read from its key as they stand now.
std::map<std::u16string, std::u16string> ReadTcpip(const std::u16string& adapter) {
    std::map<std::u16string, std::u16string> values;
    HKEY key = nullptr;
    const std::u16string path = u"Comm\\" + adapter + u"\\Parms\\TcpIp";
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        char16_t name[256];
        BYTE data[2048] = {};
        DWORD nameLength = 256, type = 0, size = sizeof data - 2 * sizeof(char16_t);
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::u16string(name, nameLength)] = ValueText(type, data, size);
    }
    RegCloseKey(key);
    return values;
}

class NetworkDriver : public StreamObject {
public:
    BOOL Read(void*, DWORD, DWORD* done) override { return Refuse(done); }
    BOOL Write(const void*, DWORD, DWORD* done) override { return Refuse(done); }
    BOOL IoControl(DWORD code, const void* in, DWORD inSize, void*, DWORD, DWORD* returned) override {
        if (returned) *returned = 0;
        if (code != IOCTL_NDIS_REBIND_ADAPTER) return Refuse(nullptr);
        if (!in || inSize < sizeof(char16_t)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        const auto* text = static_cast<const char16_t*>(in);
        std::u16string adapter(text, inSize / sizeof(char16_t));
        adapter = adapter.substr(0, adapter.find(u'\0'));
        if (adapter.empty()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        {
            std::lock_guard<std::mutex> lock(g_lock);
            AdapterState& state = Adapters()[UpperCase(adapter)];
            ++state.rebinds;
            state.tcpip = ReadTcpip(adapter);
        }
        JournalWrite("network", u"rebind " + adapter);
        return TRUE;
    }

private:
    static BOOL Refuse(DWORD* done) {
        if (done) *done = 0;
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
};

const bool g_registered = [] {
    RegisterStreamDevice(u"NDS", [](std::u16string_view, DWORD) -> StreamObject* { return new NetworkDriver; });
    return true;
}();

}  // namespace

AdapterState NetworkAdapterState(const std::u16string& adapter) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = Adapters().find(UpperCase(adapter));
    return it == Adapters().end() ? AdapterState{} : it->second;
}
