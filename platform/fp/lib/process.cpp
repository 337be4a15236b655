// Image processing: templates from sensor images. The image size follows
// the generation of the sensor library beside this one.
#include <dlfcn.h>

#include <cstring>
#include <mutex>

#include "platform/fp/features.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/lib/export.h"

#ifndef FP_PROCESS_VERSION
#define FP_PROCESS_VERSION 2
#endif

FP_EXPORT int SMPVersion();

static_assert(kFpLivePressBytes == kLivePressSize, "the live press as the terminal holds it");

namespace {

constexpr int kDefaultSensorVersion = 8;

int SensorVersion() {
    static std::once_flag once;
    static int version = kDefaultSensorVersion;
    std::call_once(once, [] {
        const std::string path = FolderOfLibrary(reinterpret_cast<const void*>(&SMPVersion)) + "/SMControl_WinCE.dll";
        // Kept loaded: the terminal never unloads its libraries either.
        void* sensor = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!sensor) return;
        if (auto query = reinterpret_cast<FpVoidFn>(::dlsym(sensor, "SMCVersion"))) version = query();
    });
    return version;
}

GreyImage SensorImage(const BYTE* pixels) {
    int width, height;
    FpImageSize(SensorVersion(), &width, &height);
    GreyImage image(width, height);
    std::memcpy(image.pixels.data(), pixels, image.pixels.size());
    return image;
}

}  // namespace

FP_EXPORT int SMPVersion() {
    return FP_PROCESS_VERSION;
}

FP_EXPORT int VeltoProcess(const BYTE* image, BYTE* tmpl, BYTE*, int, int views) {
    if (!image || !tmpl) return -1;
    switch (ExtractLivePress(SensorImage(image), tmpl, views ? kMostOtherViews : 0)) {
        case ExtractResult::Ok: return 0;
        case ExtractResult::NoFinger: return 1;
        case ExtractResult::NoCore: return 2;
        case ExtractResult::TooFewFeatures: return 3;
    }
    return -1;
}

FP_EXPORT int VeltoCheckFp(const BYTE* image) {
    return image && FingerPresent(SensorImage(image)) ? 1 : 0;
}
