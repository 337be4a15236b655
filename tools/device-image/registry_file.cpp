#include "tools/device-image/registry_file.h"

#include <cstdio>

namespace factory {
namespace {

constexpr size_t kHexLineWidth = 76;

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"' || ch == '\\') out += '\\';
        out += ch;
    }
    return out + "\"";
}

// REG_MULTI_SZ as UTF-16LE bytes: each item and its zero, then one more zero.
// The items are ASCII (addresses), so each byte widens to one unit.
std::string MultiStringHex(const MultiString& value, size_t column) {
    std::vector<unsigned char> bytes;
    for (const std::string& item : value.items) {
        for (char ch : item) bytes.insert(bytes.end(), {static_cast<unsigned char>(ch), 0});
        bytes.insert(bytes.end(), {0, 0});
    }
    bytes.insert(bytes.end(), {0, 0});
    std::string out = "hex(7):";
    column += out.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        out += hex;
        column += 2;
        if (i + 1 < bytes.size()) {
            out += ',';
            if (++column >= kHexLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

std::string ValueLine(const RegEntry& entry) {
    const std::string head = Quoted(entry.name) + "=";
    if (const auto* text = std::get_if<std::string>(&entry.data)) return head + Quoted(*text);
    if (const auto* number = std::get_if<uint32_t>(&entry.data)) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "dword:%08x", *number);
        return head + hex;
    }
    return head + MultiStringHex(std::get<MultiString>(entry.data), head.size());
}

}  // namespace

const std::vector<RegSection>& FactoryRegistry() {
    static const std::vector<RegSection> sections = {
        {"HKEY_LOCAL_MACHINE\\software\\VELTO\\Quillon",
         {{"ID", std::string("80516")},
          {"UnitName", std::string("VELTO")},
          {"LanguageName", std::string("English")},
          {"LANGUAGEFLAG", 1u},
          {"DateType", 1u},
          {"TimeType", 0u},
          {"CodePage", 936u},
          {"RJWIFI", 0u}}},
        {"HKEY_LOCAL_MACHINE\\Comm\\DM9CE1\\Parms\\TCPIP",
         {{"EnableDHCP", 0u},
          {"IpAddress", MultiString{{"192.168.1.201"}}},
          {"Subnetmask", MultiString{{"255.255.255.0"}}},
          {"DefaultGateway", MultiString{{"192.168.1.1"}}},
          {"DNS", MultiString{{"192.168.1.1"}}}}},
        {"HKEY_LOCAL_MACHINE\\System\\StorageManager\\Profiles\\SDMemory", {{"Folder", std::string("Storage Card")}}},
        {"HKEY_LOCAL_MACHINE\\System\\StorageManager\\Profiles\\USBHDProfile", {{"Folder", std::string("USB Disk")}}},
        {"HKEY_LOCAL_MACHINE\\init",
         {{"Launch50", std::string("launch.exe")}, {"velto", std::string("\\nandflash\\zeta42\\quillon.exe")}}},
        // Nothing is wired to the serial ports of a new terminal: an empty
        // value maps the port nowhere; set a host tty or pty to attach one.
        {"HKEY_LOCAL_MACHINE\\Drivers\\SerialMap",
         {{"COM1", std::string("")}, {"COM2", std::string("")}, {"COM3", std::string("")}}},
        {"HKEY_CURRENT_USER\\ControlPanel\\Volume", {{"Volume", 0xFFFFFFFFu}}},
    };
    return sections;
}

std::string RegistryFileText(const std::vector<RegSection>& sections) {
    std::string out = "Windows Registry Editor Version 5.00\n\n";
    for (const RegSection& section : sections) {
        out += "[" + section.path + "]\n";
        for (const RegEntry& entry : section.entries) out += ValueLine(entry) + "\n";
        out += "\n";
    }
    return out;
}

}  // namespace factory
