#include "core/FactoryReset.h"

#include "core/AccessTables.h"
#include "core/AppDir.h"
#include "core/Folders.h"
#include "core/LangLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "core/UserDataReset.h"
#include "data/DataGlobals.h"
#include "data/DbSqlite.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "transfer/DatabaseCaches.h"

namespace {

constexpr const char16_t* kClosedZone = u"00:00";

// What the reset says when the delivered copy could not be put in place:
// the cause where the database gave one the person can act on.
CString CopyNotPutBackText(DatabaseCopyResult result) {
    switch (result) {
    case DatabaseCopyResult::Full:
        return DataNotClearedText(DatabaseFailure::Full);
    case DatabaseCopyResult::InUse:
        return DataNotClearedText(DatabaseFailure::InUse);
    default:
        break;
    }
    CString text;
    GetLangText(u"CJHTool", u"JT0008", u"出厂数据库未能恢复，数据未清除！", text);
    return text;
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

bool PutDeliveredDatabaseInPlace() {
    CString appDir;
    GetAppDir(appDir);
    // Written into the open database as one transaction: a copy that fails
    // leaves it whole, what its log holds included, and no file of it is
    // moved or removed.
    const DatabaseCopyResult result = g_pDatabase->ReplaceContentWith(appDir + u"DB\\back\\KD4700.bak", {});
    if (result == DatabaseCopyResult::Done) return true;
    ShowMessage(CopyNotPutBackText(result), 0);
    return false;
}

int ClearAllData() {
    if (!PutDeliveredDatabaseInPlace()) return 0;
    ReloadDatabaseCaches();
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
