// Helpers of the device-image tests: a fresh image in a temporary folder and
// case-insensitive lookup of device paths in it, as the terminal's file
// system resolves them.
#pragma once

#include <filesystem>
#include <string>

namespace imagetest {

// A new, empty temporary folder, removed when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The host path of a device path ("\\NandFlash\\zeta42\\DB\\KD4700.DB") under
// root, matching each component without regard to case; empty when missing.
std::filesystem::path Resolve(const std::filesystem::path& root, const std::string& devicePath);

std::string ReadFile(const std::filesystem::path& path);

// The staged factory image the build made.
std::filesystem::path FactoryImage();

}  // namespace imagetest
