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

// The registry's own limits: keys nest at most 512 levels below a root, and
// a key's name has at most 255 characters.
inline constexpr size_t kMaxRegistryKeyDepth = 512;
inline constexpr size_t kMaxRegistryKeyName = 255;

struct RegKey {
    std::u16string name;
    // Levels below the root: 0 for a root.
    size_t depth = 0;
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

// Whether keys named `parts` fit below a key `depth` levels deep.
bool RegistryKeyFits(size_t depth, const std::vector<std::u16string_view>& parts);

// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS.
inline constexpr int kRegistryRootCount = 4;
struct RegistryTree {
    std::shared_ptr<RegKey> roots[kRegistryRootCount];
    RegistryTree();
};
const char16_t* RegistryRootName(int index);

// A key is written with its values, or on its own when it has neither values
// nor subkeys; the keys on the way to a written one need no line of their
// own, since reading a key's line makes them.
std::string SerializeRegistry(const RegistryTree& tree);
// Lines that do not parse are skipped; a file in UTF-16 (with its byte
// order mark) is read as well as UTF-8. A key beyond the registry's limits
// makes the whole file damaged: the tree is empty and `beyondLimits`, when
// given, is set.
RegistryTree ParseRegistry(std::string_view text, bool* beyondLimits = nullptr);
