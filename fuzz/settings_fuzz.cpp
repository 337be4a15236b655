// The settings files, any bytes: config.xml and registry.reg read as the
// start reads them, and every setting taken from them (the missing and
// empty ones written back with their defaults, as the start does).
// The input is the two files, config.xml first; its first two bytes give
// config.xml's length.
#include <cstdint>
#include <cstdlib>

#include "core/ConfigXml.h"
#include "core/Folders.h"
#include "core/MachineConfig.h"
#include "core/VolumeLevel.h"
#include "fuzz/fuzz_device.h"
#include "platform/base/localtime.h"
#include "platform/base/registry.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& root = FuzzDeviceRoot();
    if (size < 2) return 0;
    const size_t configSize = std::min<size_t>((data[0] << 8 | data[1]), size - 2);
    WriteFuzzFile(FuzzAppFile("config/config.xml"), data + 2, configSize);
    WriteFuzzFile(root + "/registry.reg", data + 2 + configSize, size - 2 - configSize);
    RegistryLoad();
    if (!g_ConfigDoc.ReadFromFile(GetConfigFilePath())) return 0;
    g_MachineConfig.Load();
    // The registry values read beside the settings: the clock's offset,
    // the volume, the folders and the weather picture.
    SYSTEMTIME now;
    GetLocalTime(&now);
    int volume = 0;
    GetVolumeLevel(volume);
    GetSDCardFolder();
    GetUSBDiskFolder();
    LoadWeatherIcon();
    return 0;
}
