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
// the factory files are written over the existing ones and files the image
// does not ship are left alone. A new target is assembled beside it and
// renamed into place, so an interrupted build leaves no half image.
BuildResult BuildDeviceImage(const std::string& target, bool force);

// The staged factory image the build produces (a device root).
std::string FactoryImageSource();

}  // namespace factory
