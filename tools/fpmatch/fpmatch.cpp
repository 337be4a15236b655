// fpmatch A.bmp B.bmp [--level N] [--libs DIR]: runs the terminal's image
// processing and matching libraries on two images and prints the score and
// "match" or "no match" (exit 0), or why an image holds no usable finger
// (exit 1). DIR holds the three libraries (default: lib/fp of the build).
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/fp/fpapi.h"
#include "platform/fp/greyimage.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: fpmatch A.bmp B.bmp [--level 1-9] [--libs DIR]\n");
    return 2;
}

std::string DefaultLibraryFolder() {
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "lib/fp";
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));
    return path + "/../lib/fp";
}

void* Symbol(void* library, const char* name) {
    void* symbol = library ? ::dlsym(library, name) : nullptr;
    if (!symbol) std::fprintf(stderr, "fpmatch: the libraries lack %s\n", name);
    return symbol;
}

const char* Reason(int code) {
    switch (code) {
        case 1: return "no finger on the image";
        case 2: return "no core found in the ridges";
        case 3: return "the finger lies too far off the sensor";
        default: return "the image cannot be processed";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    int level = 5;
    std::string folder = DefaultLibraryFolder();
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--level") && i + 1 < argc) {
            level = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--libs") && i + 1 < argc) {
            folder = argv[++i];
        } else {
            return Usage();
        }
    }
    void* sensor = ::dlopen((folder + "/SMControl_WinCE.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    void* process = ::dlopen((folder + "/SMProcess_WinCE.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    void* match = ::dlopen((folder + "/SMApi_WinCE.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    auto version = reinterpret_cast<FpVoidFn>(Symbol(sensor, "SMCVersion"));
    auto extract = reinterpret_cast<FpProcessFn>(Symbol(process, "VeltoProcess"));
    auto toRecord = reinterpret_cast<FpToRecordFn>(Symbol(match, "VeltoTempToFPRECORD"));
    auto search = reinterpret_cast<FpMatch2NFn>(Symbol(match, "VeltoMatch2N"));
    if (!version || !extract || !toRecord || !search) return 2;

    int width, height;
    FpImageSize(version(), &width, &height);
    BYTE templates[2][kFpTemplateBytes];
    for (int i = 0; i < 2; ++i) {
        GreyImage image;
        if (!ReadGreyBmp(argv[1 + i], &image)) {
            std::printf("%s: not a readable BMP image\n", argv[1 + i]);
            return 1;
        }
        const GreyImage frame = FitToFrame(image, width, height);
        static BYTE work[kFpImageBytes];
        const int result = extract(frame.pixels.data(), templates[i], work, 1, 0);
        if (result != 0) {
            std::printf("%s: %s\n", argv[1 + i], Reason(result));
            return 1;
        }
    }
    BYTE stored[kFpStoredBytes] = {};
    std::memcpy(stored, templates[1], kFpTemplateBytes);
    static BYTE record[kFpRecordBytes];
    toRecord(stored, record);
    int score = 0, press = 0;
    const int found = search(templates[0], record, 1, &score, &press, level);
    std::printf("score %d at level %d: %s\n", score, level, found == 0 ? "match" : "no match");
    return 0;
}
