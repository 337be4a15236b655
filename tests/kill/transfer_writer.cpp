// A writer for the power-cut tests of the transfer files, on the device root
// given as its first argument:
//   prepare N   N users with a template each and N records, exported to the
//               transfer folder on the device flash (then, with "empty",
//               the users and templates deleted: the import's start);
//   import      imports the folder's files, printing "users" and then
//               "templates" as each import returns;
//   export      exports users, templates and records again and again,
//               printing each file's name as its export returns;
//   clean       what the next export does first: removes the temporaries an
//               export cut short left.
#include <cstdio>
#include <cstring>

#include "core/DatabaseOpen.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "transfer/RecordExport.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferImport.h"
#include "transfer/TransferLoop.h"
#include "transfer/UserExport.h"

namespace {

void Acknowledge(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

void Fill(int n) {
    CString sql;
    sql.Format(u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %d) "
               u"SELECT n, n, '用户' || n, '', '0' || n, n %% 10, 6, '', n %% 2, '', 0, 1 FROM s",
               n);
    g_pDatabase->DirectStatement(sql);
    g_pDatabase->DirectStatement(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
    sql.Format(u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
               u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %d) "
               u"SELECT n, n, strftime('%%Y-%%m-%%d %%H:%%M:%%S', '2024-01-01', '+' || n || ' minutes'), 0, 0, 0 FROM s",
               n);
    g_pDatabase->DirectStatement(sql);
    sql.Format(u"update BasePara set UserCount=%d, AllRecordcount=%d, NewRecordcount=%d", n, n, n);
    g_pDatabase->DirectStatement(sql);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    SetDeviceRoot(argv[1]);
    InitSystemLocks();
    InitDataStoreLocks();
    if (!OpenDatabase()) return 3;
    const char* mode = argv[2];
    // The factory setting; the writer reads no config.xml.
    g_MachineConfig.MachineID = u"1";
    const CString folder = GetTransferFolder(StorageDeviceFlash);
    if (std::strcmp(mode, "clean") == 0) {
        for (const char16_t* name : {kUserFile28, kFingerprintFile, kAttendanceFile})
            RemoveStaleTemporaries(DeviceToHostPath(TransferFilePath(folder, name).GetString()));
        return 0;
    }
    if (std::strcmp(mode, "prepare") == 0) {
        if (argc < 4) return 2;
        Fill(std::atoi(argv[3]));
    }
    g_pFPTemplateStore = new CFPTemplateStore;
    g_pFPTemplateStore->Reset();
    FillTemplateStore(*g_pFPTemplateStore, *g_pDatabase);
    g_pUserStorage = new CUserStorage(*g_pDatabase);
    g_pRecordStore = new CRecordStore(*g_pDatabase);
    // A short pause: the import runs through many steps before it ends.
    CTransferLoop::SetRecordPause(std::strcmp(mode, "import") == 0 ? 1 : 0);
    CTransferLoop loop(nullptr);
    if (std::strcmp(mode, "prepare") == 0) {
        if (!EnsureTransferFolder(folder) || !ExportUserFile(folder, loop, *g_pDatabase) ||
            !ExportFingerprintFile(folder, loop, *g_pDatabase))
            return 4;
        if (argc > 4 && std::strcmp(argv[4], "empty") == 0) {
            g_pDatabase->DirectStatement(u"delete from Userinfo");
            g_pDatabase->DirectStatement(u"delete from FPinfo");
            g_pDatabase->DirectStatement(u"update BasePara set UserCount=0");
        }
        return 0;
    }
    if (std::strcmp(mode, "import") == 0) {
        CTransferImport import(loop, *g_pDatabase, *g_pUserStorage, *g_pFPTemplateStore);
        if (!import.ImportUserFiles(folder)) return 5;
        Acknowledge("users");
        if (!import.ImportFingerprintFile(folder)) return 6;
        Acknowledge("templates");
        return 0;
    }
    if (std::strcmp(mode, "export") == 0) {
        for (;;) {
            if (!ExportUserFile(folder, loop, *g_pDatabase)) return 7;
            Acknowledge("Bak.yg2");
            if (!ExportFingerprintFile(folder, loop, *g_pDatabase)) return 8;
            Acknowledge("Bak.zw");
            if (!ExportAttendanceRecords(TransferFilePath(folder, kAttendanceFile), true, loop, *g_pRecordStore))
                return 9;
            Acknowledge("Bak.kq");
        }
    }
    return 2;
}
