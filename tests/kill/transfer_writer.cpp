// A writer for the power-cut tests of the transfer files, on the device root
// given as its first argument:
//   prepare N   N users with a template each (made by the device folder's
//               fingerprint libraries from its sample finger) and N records,
//               exported to the transfer folder on the device flash (then,
//               with "empty", the users and templates deleted: the import's
//               start; with "ring" too, the record ring full, as on a
//               terminal in use);
//   import      imports the folder's files, printing "users" and then
//               "templates" as each import returns;
//   export      exports users with their templates, and records, again and
//               again, printing each file's name once it is in place.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/DatabaseOpen.h"
#include "core/FpLibraries.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "platform/base/device_fs.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/sensorslot.h"
#include "transfer/RecordExport.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferImport.h"
#include "transfer/TransferLoop.h"
#include "transfer/UserExport.h"

namespace {

// Says why the writer stops, and stops with `status`.
int Fail(int status, const std::string& why) {
    std::fprintf(stderr, "transfer_writer: %s\n", why.c_str());
    return status;
}

void Acknowledge(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

// Two presses of the sample finger, as enrolment stores them.
bool MakeTemplate(const char* root, BYTE stored[kFpStoredBytes]) {
    if (!LoadFpControlDll() || !LoadFpProcessDll()) return false;
    const std::string sensor = std::string(root) + "/sensor";
    SetSensorFolder(sensor);
    std::vector<BYTE> image(kFpImageBytes), work(kFpImageBytes);
    for (int press = 0; press < 2; ++press) {
        const std::string sample = std::string(root) + "/samples/user1_finger0_press" + std::to_string(press + 1) + ".bmp";
        if (!PlaceFingerOnSensor(sensor, sample) || !g_FpLib.VeltoGetFpData(image.data()) ||
            g_FpLib.VeltoProcess(image.data(), stored + press * kFpTemplateBytes, work.data(), 0, 0) != 0)
            return false;
    }
    LiftFingerFromSensor(sensor);
    return true;
}

// The ring of 100000 records full.
void FillRing() {
    g_pDatabase->DirectStatement(u"delete from Checkinout");
    g_pDatabase->DirectStatement(
        u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
        u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 100000) "
        u"SELECT n, n % 1000 + 1, strftime('%Y-%m-%d %H:%M:%S', '2014-08-01', '+' || (n * 25) || ' seconds'), "
        u"n % 2, 0, 16777216 FROM s");
    g_pDatabase->DirectStatement(u"update BasePara set AllRecordcount=100000, NewRecordcount=100000, "
                                 u"RawRecordBeginRowid=1, AllRecordBeginRowid=1, NewRecordBeginRowid=1");
}

bool Fill(int n, const BYTE* stored) {
    CString sql;
    sql.Format(u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %d) "
               u"SELECT n, n, '用户' || n, '', '0' || n, n %% 10, 6, '', n %% 2, '', 0, 1 FROM s",
               n);
    if (!g_pDatabase->DirectStatement(sql)) return false;
    const StatementPtr templates(g_pDatabase->Statement(u"INSERT INTO FPinfo SELECT 0, userid, ? FROM Userinfo"));
    if (!templates->BindBlob(0, stored, kFpStoredBytes) || !templates->Execute()) return false;
    sql.Format(u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
               u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %d) "
               u"SELECT n, n, strftime('%%Y-%%m-%%d %%H:%%M:%%S', '2024-01-01', '+' || n || ' minutes'), 0, 0, 0 FROM s",
               n);
    if (!g_pDatabase->DirectStatement(sql)) return false;
    sql.Format(u"update BasePara set UserCount=%d, AllRecordcount=%d, NewRecordcount=%d", n, n, n);
    return g_pDatabase->DirectStatement(sql);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Fail(2, "usage: transfer_writer DIR prepare N [empty] [ring] | import | export");
    SetDeviceRoot(argv[1]);
    InitSystemLocks();
    InitDataStoreLocks();
    if (!OpenDatabase()) return Fail(3, std::string("cannot open the database of ") + argv[1]);
    const char* mode = argv[2];
    // The factory setting; the writer reads no config.xml.
    g_MachineConfig.MachineID = u"1";
    const CString folder = GetTransferFolder(StorageDeviceFlash);
    if (std::strcmp(mode, "prepare") == 0) {
        BYTE stored[kFpStoredBytes];
        if (argc < 4) return Fail(2, "prepare needs the number of users");
        if (!MakeTemplate(argv[1], stored))
            return Fail(2, "no template from the folder's samples/user1_finger0_press1.bmp and press2.bmp");
        // Users are told apart by nothing but their ID, and the records are
        // laid from the ring's first place: a second set would give each
        // user twice, and records already there would leave the counters
        // wrong.
        if (QueryHasRow(*g_pDatabase, u"select 1 from Userinfo union all select 1 from Checkinout limit 1"))
            return Fail(4, std::string(argv[1]) + " has users or records already: give it a new device folder");
        if (!Fill(std::atoi(argv[3]), stored)) return Fail(4, "cannot add the users");
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
        if (!EnsureTransferFolder(folder) || !ExportUserFiles(folder, true, loop, *g_pDatabase))
            return Fail(4, "cannot write the transfer files");
        for (int i = 4; i < argc; ++i) {
            if (std::strcmp(argv[i], "empty") == 0) {
                g_pDatabase->DirectStatement(u"delete from Userinfo");
                g_pDatabase->DirectStatement(u"delete from FPinfo");
                g_pDatabase->DirectStatement(u"update BasePara set UserCount=0");
            }
            if (std::strcmp(argv[i], "ring") == 0) FillRing();
        }
        // As a terminal leaves its folder after a normal end.
        g_pDatabase->Close();
        return 0;
    }
    if (std::strcmp(mode, "import") == 0) {
        CTransferImport import(loop, *g_pDatabase, *g_pUserStorage, *g_pFPTemplateStore);
        if (!import.ImportUserFiles(folder)) return Fail(5, "the users were not imported");
        Acknowledge("users");
        if (!import.ImportFingerprintFile(folder)) return Fail(6, "the templates were not imported");
        Acknowledge("templates");
        return 0;
    }
    if (std::strcmp(mode, "export") == 0) {
        for (;;) {
            if (!ExportUserFiles(folder, true, loop, *g_pDatabase)) return Fail(7, "cannot export the users");
            Acknowledge("Bak.yg2");
            Acknowledge("Bak.zw");
            if (!ExportAttendanceRecords(TransferFilePath(folder, kAttendanceFile), true, loop, *g_pRecordStore))
                return Fail(9, "cannot export the records");
            Acknowledge("Bak.kq");
        }
    }
    return Fail(2, std::string("unknown work: ") + mode);
}
