// make-device-image DIR [--force]: writes the factory device image into DIR.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/ConfigXml.h"
#include "tools/device-image/device_image.h"

int main(int argc, char** argv) {
    std::string target;
    bool force = false;
    bool usable = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--force")) force = true;
        else if (target.empty() && argv[i][0] != '-') target = argv[i];
        else usable = false;
    }
    if (!usable || target.empty()) {
        std::fprintf(stderr, "usage: make-device-image DIR [--force]\n");
        return 2;
    }
    const factory::BuildResult result =
        factory::BuildDeviceImage(target, force, [&target](const std::string&) { return ConfigFileReads(target); });
    for (const std::string& note : result.notes) std::fprintf(stderr, "make-device-image: %s\n", note.c_str());
    if (!result.ok) {
        std::fprintf(stderr, "make-device-image: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}
