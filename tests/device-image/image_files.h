// Helpers of the device-image tests: temporary folders, file contents, and
// the inventory of files the terminal names.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

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

std::string ReadFile(const std::filesystem::path& path);

// The staged factory image the build made.
std::filesystem::path FactoryImage();

// Device paths of the installation inventory, in the order the terminal
// checks them: program files, configuration, database, font, prompts, the
// splash pictures and every image of the factory skin.
std::vector<std::string> InstallationInventory();
// The working folders the installation check asks for.
std::vector<std::string> InstallationFolders();
// Images the widgets load that the inventory does not list.
std::vector<std::string> WidgetImages();

}  // namespace imagetest
