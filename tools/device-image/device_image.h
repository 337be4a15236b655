// Writes a complete factory device image (the terminal's files as it leaves
// the factory) into a host folder that becomes a device root.
#pragma once

#include <string>

namespace factory {

struct BuildResult {
    bool ok = false;
    std::string error;  // why not, when !ok
};

// Refuses a target that already exists unless `force` is set; with `force`
// it is a repair: the program files (skin, language files, fonts, voice
// prompts, libraries, samples) are written over the existing ones, while
// the files the terminal writes (the database and its back-up copy,
// registry.reg, config.xml) are kept and written only where missing; files
// the image does not ship (photos, snapshots, the log) are left alone.
// A new target is assembled beside it and renamed into place, a repaired
// file is written under a temporary name and renamed, so an interrupted
// build leaves no half image and no half file.
BuildResult BuildDeviceImage(const std::string& target, bool force);

// The staged factory image the build produces (a device root).
std::string FactoryImageSource();

}  // namespace factory
