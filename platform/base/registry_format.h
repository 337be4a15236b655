// The registry's keys and values in memory, and their text form: the
// regedit format ("Windows Registry Editor Version 5.00", [ROOT\key],
// "name"="text", dword:0000000a, hex(7):..., hex:...).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

struct RegValue {
    std::u16string name;  // empty for the key's default value ("@")
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct RegKey {
    std::u16string name;
    // By upper-cased name, so that the order of keys never depends on case.
    std::map<std::u16string, std::shared_ptr<RegKey>> subkeys;
    // In the order they were first set.
    std::vector<RegValue> values;
    // Set when the key is deleted while a handle still refers to it.
    bool deleted = false;

    RegValue* FindValue(std::u16string_view valueName);
    std::shared_ptr<RegKey> FindSubkey(std::u16string_view keyName) const;
    std::shared_ptr<RegKey> AddSubkey(std::u16string_view keyName);
    void MarkDeleted();
};

// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS.
inline constexpr int kRegistryRootCount = 4;
struct RegistryTree {
    std::shared_ptr<RegKey> roots[kRegistryRootCount];
    RegistryTree();
};
const char16_t* RegistryRootName(int index);

std::string SerializeRegistry(const RegistryTree& tree);
// Lines that do not parse are skipped; a file in UTF-16 (with its byte
// order mark) is read as well as UTF-8.
RegistryTree ParseRegistry(std::string_view text);
