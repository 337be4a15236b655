// A writer for the power-cut test of the settings save: on the device root
// given as its argument it reads config.xml as the terminal does, then saves
// WARNINGNUM = 1, 2, 3 ... through the settings save, printing each number
// once its save has returned.
#include <cstdio>

#include "core/ConfigXml.h"
#include "core/SystemLocks.h"
#include "platform/base/device_fs.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    SetDeviceRoot(argv[1]);
    InitSystemLocks();
    if (!g_ConfigDoc.ReadFromFile(GetConfigFilePath())) return 3;
    for (unsigned number = 1; number < 1000000; ++number) {
        if (!SetConfigInt(u"WARNINGNUM", number, TRUE)) return 4;
        std::printf("%u\n", number);
        std::fflush(stdout);
    }
    return 0;
}
