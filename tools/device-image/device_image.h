// Writes a complete factory device image (the terminal's files as it leaves
// the factory) into a host folder that becomes a device root.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace factory {

struct BuildResult {
    bool ok = false;
    std::string error;               // why not, when !ok
    std::vector<std::string> notes;  // what a repair did besides putting files back
};

// True when the terminal can read the settings file at this host path.
using SettingsCheck = std::function<bool(const std::string& hostPath)>;

// Refuses a target that already exists unless `force` is set; with `force`
// it is a repair: the program files (skin, language files, fonts, voice
// prompts, libraries, samples) are written over the existing ones, while
// the files the terminal writes (the database and its back-up copy,
// registry.reg, config.xml) are kept and written only where missing; files
// the image does not ship (photos, snapshots, the log) are left alone.
// A registry.reg or config.xml that is there and cannot be read (no plain
// file once a link is followed, more than 16 MB, a registry key beyond the
// registry's limits, or a config.xml that `settingsReadable` refuses) is
// kept aside under a free name (config.xml.damaged, then
// config.xml.damaged.2, ...) and the factory one takes its place; a note
// says so.
// A new target is assembled beside it and renamed into place, a repaired
// file is written under a temporary name and renamed, each file and folder
// on disk before it takes its name, so an interrupted build leaves no half
// image and no half file. What an interrupted run left behind (the folder
// beside the target, the temporaries beside the image's files) the next
// run clears.
BuildResult BuildDeviceImage(const std::string& target, bool force, const SettingsCheck& settingsReadable = {});

// The staged factory image the build produces (a device root).
std::string FactoryImageSource();

}  // namespace factory
