// A finger image on the sensor, any bytes: the sensor library reads it as
// the terminal's capture does, and the image-processing library checks it
// and extracts its template; a template it makes matches itself at the
// lenient level.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/FpLibraries.h"
#include "fuzz/fuzz_device.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/sensorslot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadFuzzFpLibraries();
    static const std::string slot = [] {
        const std::string folder = FuzzAppFile("Sensor");
        std::filesystem::create_directories(folder);
        SetSensorFolder(folder);
        return folder;
    }();
    WriteFuzzFile(slot + "/" + kFingerFileName, data, size);
    std::vector<BYTE> image(kFpImageBytes, 0);
    g_FpLib.VeltoFpState();
    if (!g_FpLib.VeltoGetFpData(image.data())) return 0;
    g_FpLib.VeltoCheckFp(image.data());
    std::vector<BYTE> work(kFpImageBytes);
    BYTE tmpl[kFpTemplateBytes] = {};
    if (g_FpLib.VeltoProcess(image.data(), tmpl, work.data(), 0, 0) != 0) return 0;
    if (g_FpLib.VeltoMatch(tmpl, tmpl, 1) != 0) std::abort();
    return 0;
}
