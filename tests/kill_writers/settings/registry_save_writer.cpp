// A writer for the power-cut test of the registry file's saves: on the
// device root given as its argument it saves the unit name "Unit 1",
// "Unit 2", ... through the application's registry key, printing each
// number once its save has returned.
#include <cstdio>

#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "platform/base/device_fs.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    SetDeviceRoot(argv[1]);
    InitSystemLocks();
    for (unsigned number = 1; number < 1000000; ++number) {
        CString name;
        name.Format(u"Unit %u", number);
        if (!g_MachineConfig.WriteRegString(u"UnitName", name)) return 4;
        std::printf("%u\n", number);
        std::fflush(stdout);
    }
    return 0;
}
