// fpgen SEED IMPRESSION OUT.bmp [--size WxH] [--smudge]: writes one press of
// a synthetic finger as an 8-bit BMP, or with --smudge a press without a
// usable finger.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/fp/synthfinger.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: fpgen SEED IMPRESSION OUT.bmp [--size 248x280|256x296|280x280] [--smudge]\n");
    return 2;
}

bool ParseSize(const char* text, int* width, int* height) {
    return std::sscanf(text, "%dx%d", width, height) == 2 && *width >= 64 && *height >= 64 && *width <= 1024 &&
           *height <= 1024;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Usage();
    char* end = nullptr;
    const unsigned long seed = std::strtoul(argv[1], &end, 10);
    if (*end) return Usage();
    const unsigned long impression = std::strtoul(argv[2], &end, 10);
    if (*end) return Usage();
    const std::string out = argv[3];
    int width = 248;
    int height = 280;
    bool smudge = false;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--smudge")) {
            smudge = true;
        } else if (!std::strcmp(argv[i], "--size") && i + 1 < argc) {
            if (!ParseSize(argv[++i], &width, &height)) return Usage();
        } else {
            return Usage();
        }
    }
    const GreyImage image = smudge ? SynthesizeSmudge(static_cast<uint32_t>(seed), width, height)
                                   : SynthesizeFinger(static_cast<uint32_t>(seed), static_cast<uint32_t>(impression),
                                                      width, height);
    if (!WriteGreyBmp(out, image)) {
        std::fprintf(stderr, "fpgen: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
