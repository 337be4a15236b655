// registry.reg at the device root: the factory values the terminal reads, in
// the regedit text format the platform's registry reads and writes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace factory {

struct MultiString {
    std::vector<std::string> items;
};
using RegData = std::variant<std::string, uint32_t, MultiString>;

struct RegEntry {
    std::string name;
    RegData data;
};
struct RegSection {
    std::string path;  // "HKEY_LOCAL_MACHINE\\..."
    std::vector<RegEntry> entries;
};

const std::vector<RegSection>& FactoryRegistry();
std::string RegistryFileText(const std::vector<RegSection>& sections);

}  // namespace factory
