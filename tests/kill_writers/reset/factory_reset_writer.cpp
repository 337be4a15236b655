// A writer for the power-cut tests of the factory reset, on the device root
// given as its first argument:
//   reset   opens the folder's settings and database as the terminal does
//           and puts the terminal back to its delivered state (database,
//           photos, settings), printing "reset" when that has returned;
//   copy    opens the database and puts the delivered copy (DB\back) into
//           it as the reset does, printing "copied" when that has returned.
#include <cstdio>
#include <cstring>

#include "core/ConfigXml.h"
#include "core/DatabaseOpen.h"
#include "core/FactoryReset.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/device_fs.h"

namespace {

void Acknowledge(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    SetDeviceRoot(argv[1]);
    InitSystemLocks();
    InitDataStoreLocks();
    if (std::strcmp(argv[2], "copy") == 0) {
        if (!OpenDatabase()) return 3;
        if (!PutDeliveredDatabaseInPlace()) return 4;
        Acknowledge("copied");
        CloseDatabase();
        return 0;
    }
    if (std::strcmp(argv[2], "reset") != 0) return 2;
    if (!g_ConfigDoc.ReadFromFile(GetConfigFilePath()) || !OpenDatabase()) return 3;
    g_pFPTemplateStore = new CFPTemplateStore;
    g_pRecordStore = new CRecordStore(*g_pDatabase);
    g_pUserStorage = new CUserStorage(*g_pDatabase);
    g_pDeptStorage = new CDeptStorage(*g_pDatabase);
    if (RestoreFactoryData() != 1) return 4;
    Acknowledge("reset");
    CloseDatabase();
    return 0;
}
