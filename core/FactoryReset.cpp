#include "core/FactoryReset.h"

#include "core/AccessTables.h"
#include "core/AppDir.h"
#include "core/DatabaseOpen.h"
#include "core/Folders.h"
#include "core/LangLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "core/UserDataReset.h"
#include "data/DataGlobals.h"
#include "data/DatabaseFile.h"
#include "data/DataLocks.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"

namespace {

constexpr const char16_t* kClosedZone = u"00:00";

// Puts the delivered copy in place while no other thread can reach the
// database: every statement prepares and steps under g_csDatabase. A copy
// that cannot be made leaves the database as it was, opened again.
bool ReplaceDatabaseFile() {
    CString appDir;
    GetAppDir(appDir);
    const CString path = GetDatabasePath();
    CLockGuard lock(g_csDatabase);
    g_pDatabase->Close();
    const bool copied = ReplaceDatabaseWithCopy(appDir + u"DB\\back\\KD4700.bak", path);
    CString text;
    if (!FileExists(path)) {
        text.Format(u"[SQlite] Could  not find  %s", path);
    } else if (!g_pDatabase->Open(path)) {
        text.Format(u"[SQlite]Could not open %s", path);
    } else if (!copied) {
        GetLangText(u"CJHTool", u"JT0008", u"出厂数据库未能恢复，数据未清除！", text);
    } else {
        return true;
    }
    ShowMessage(text, 0);
    return false;
}

// The stores in memory take what the database file holds: it was replaced.
void ReloadStores() {
    g_pRecordStore->LoadCounters();
    g_pUserStorage->LoadCount();
    g_pDeptStorage->LoadCount();
    FillTemplateStore(*g_pFPTemplateStore, *g_pDatabase);
}

bool WriteClosedAccessTables(CDbSqlite& db) {
    for (const char16_t* table : {u"ShortMessage", u"RingZone", u"OpenDoorSpace", u"SpaceGroup"})
        if (!db.DirectStatement(CString(u"Delete from ") + table)) return false;
    for (int id = CAccessZoneTable::kFirst; id <= CAccessZoneTable::kLast; ++id) {
        CString sql;
        sql.Format(u"Insert into OpenDoorSpace Values('%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s','%s',"
                   u"'%s','%s','%d')",
                   kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone,
                   kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, kClosedZone, id);
        if (!db.DirectStatement(sql)) return false;
    }
    return true;
}

// The tables in memory as the database holds them once it is reset.
void CloseAccessTablesInMemory() {
    for (int id = CAccessZoneTable::kFirst; id <= CAccessZoneTable::kLast; ++id) {
        AccessZoneEntry zone;
        for (CString* text : ZoneTexts(zone)) *text = kClosedZone;
        zone.SpaceID = id;
        g_MachineConfig.AccessZoneTable.Set(id, zone);
    }
    g_MachineConfig.AccessGroupTable.Clear();
    for (BellEntry& bell : g_MachineConfig.BellTable) bell = BellEntry{};
}

// The tables emptied in one transaction: a power cut or a refusal leaves
// the database as it was or wholly reset, never with some of its zones
// written.
DatabaseFailure EmptyDataTables() {
    return EmptyUserData([] { return g_pDeptStorage->Reset() == 0 && WriteClosedAccessTables(*g_pDatabase); });
}

}  // namespace

int ClearAllData() {
    if (!ReplaceDatabaseFile()) return 0;
    ReloadStores();
    const DatabaseFailure failure = EmptyDataTables();
    if (failure != DatabaseFailure::None) {
        ShowMessage(DataNotClearedText(failure), 0);
        return 0;
    }
    CloseAccessTablesInMemory();
    g_pFPTemplateStore->Reset();
    DeleteUserPhotos();
    DeleteSnapshots();
    return 1;
}

int RestoreFactoryData() {
    if (!ClearAllData()) return 0;
    g_MachineConfig.RestoreDefaults();
    g_MachineConfig.Load();
    return 1;
}
