#include "core/FactoryReset.h"

#include "core/AccessTables.h"
#include "core/AppDir.h"
#include "core/DatabaseOpen.h"
#include "core/Folders.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "data/DatabaseFile.h"
#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"

namespace {

constexpr const char16_t* kClosedZone = u"00:00";

// Puts the delivered copy in place while no other thread can reach the
// database: every statement prepares and steps under g_csDatabase.
bool ReplaceDatabaseFile() {
    CString appDir;
    GetAppDir(appDir);
    const CString path = GetDatabasePath();
    CLockGuard lock(g_csDatabase);
    g_pDatabase->Close();
    ReplaceDatabaseWithCopy(appDir + u"DB\\back\\KD4700.bak", path);
    CString text;
    if (!FileExists(path)) {
        text.Format(u"[SQlite] Could  not find  %s", path);
    } else if (!g_pDatabase->Open(path)) {
        text.Format(u"[SQlite]Could not open %s", path);
    } else {
        return true;
    }
    ShowMessage(text, 0);
    return false;
}

void ResetAccessTables() {
    CDbSqlite& db = *g_pDatabase;
    db.DirectStatement(u"Delete from ShortMessage");
    db.DirectStatement(u"Delete from RingZone");
    db.DirectStatement(u"Delete from OpenDoorSpace");
    db.DirectStatement(u"Delete from SpaceGroup");
    for (int id = CAccessZoneTable::kFirst; id <= CAccessZoneTable::kLast; ++id) {
        CString sql;
        sql.Format(u"Insert into OpenDoorSpace Values('%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s',"
                   u"'%s','%s','%d')",
                   kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone,
                   kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, id);
        db.DirectStatement(sql);
        AccessZoneEntry zone;
        for (CString* text : ZoneTexts(zone)) *text = kClosedZone;
        zone.SpaceID = id;
        g_MachineConfig.AccessZoneTable.Set(id, zone);
    }
    db.DirectStatement(u"Delete from SpaceGroup");
    g_MachineConfig.AccessGroupTable.Clear();
    for (BellEntry& bell : g_MachineConfig.BellTable) bell = BellEntry{};
}

// The tables emptied in one transaction: a power cut leaves the database
// as it was or wholly reset, never with some of its zones written.
void EmptyDataTables() {
    // The record ring's lock before the database's, as every writer takes them.
    CLockGuard ringLock(g_csRecordStore);
    CDbTransaction transaction(*g_pDatabase);
    g_pRecordStore->Reset();
    g_pUserStorage->DeleteAll();
    g_pDeptStorage->Reset();
    g_pDatabase->DirectStatement(u"Delete from fpinfo");
    g_pDatabase->DirectStatement(u"update BasePara set FpCount='0'");
    ResetAccessTables();
    transaction.Commit();
}

}  // namespace

int ClearAllData() {
    const bool reopened = ReplaceDatabaseFile();
    EmptyDataTables();
    g_pFPTemplateStore->Reset();
    DeleteUserPhotos();
    DeleteSnapshots();
    return reopened ? 1 : 0;
}

int RestoreFactoryData() {
    const int cleared = ClearAllData();
    g_MachineConfig.RestoreDefaults();
    g_MachineConfig.Load();
    return cleared;
}
