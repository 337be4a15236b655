// config\config.xml as it leaves the factory: the CONFIG keys with their
// factory values and the FontResourceList of the shipped font files.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace factory {

// (key, value) in the order the file lists them.
const std::vector<std::pair<std::string, std::string>>& FactoryConfigKeys();
// Font files relative to the application folder, with the host file each is copied from.
struct ShippedFont {
    std::string devicePath;  // e.g. "FONTS\\GOTHIC.TTF"
    std::string hostSource;
};
const std::vector<ShippedFont>& ShippedFonts();

std::string ConfigFileText();

}  // namespace factory
