#include "core/DatabaseOpen.h"

#include "core/AppDir.h"
#include "core/DebugPrint.h"
#include "data/DataGlobals.h"
#include "data/DatabaseFile.h"
#include "data/DbTransaction.h"
#include "data/FactoryDatabase.h"
#include "data/SqlHelpers.h"
#include "platform/base/clock.h"

CString GetDatabasePath() {
    CString appDir;
    GetAppDir(appDir);
    return appDir + u"DB\\KD4700.DB";
}

int OpenDatabase() {
    if (g_pDatabase) {
        DebugPrint(u"DB File is Open!");
        return 0;
    }
    g_pDatabase = new CDbSqlite;
    return g_pDatabase->Open(GetDatabasePath()) ? 1 : 0;
}

int CheckDatabase() {
    return g_pDatabase && QueryHasRow(*g_pDatabase, u"Select * From MAIN.[sqlite_master] Limit 50") ? 1 : 0;
}

bool IsDatabaseInUseElsewhere() {
    if (!g_pDatabase) return false;
    CQuietStatementErrors quiet;
    if (g_pDatabase->DirectStatement(u"begin immediate")) {
        g_pDatabase->RollbackTransaction();
        return false;
    }
    return quiet.Failure() == DatabaseFailure::InUse;
}

namespace {

constexpr int kAutoFnRows = 16;

// Adds the default row of every SpaceID from 1 to 16 that the table lacks.
bool FillAutoFnTable(CDbSqlite& db) {
    for (int row = 1; row <= kAutoFnRows; ++row) {
        CString id;
        id.Format(u"%d", row);
        if (QueryHasRow(db, u"Select 1 from AtuoFN where SpaceID = ?", {id})) continue;
        if (!ExecuteBound(db,
                          u"Insert Into AtuoFN  Values('00:00','00:00','00:00','00:00','00:00','00:00','00:00','00:00',"
                          u"'00:00','00:00','00:00','00:00','00:00','00:00',?,'0')",
                          {id}))
            return false;
    }
    return true;
}

}  // namespace

void EnsureAutoFnTable() {
    if (!g_pDatabase) return;
    CDbSqlite& db = *g_pDatabase;
    const bool exists = QueryHasRow(db, u"Select * from sqlite_master where name = 'AtuoFN'");
    if (exists && QueryInt(db, u"Select count(*) from AtuoFN") >= kAutoFnRows) return;
    // One transaction: a start cut short leaves no table or a whole one.
    CDbTransaction transaction(db);
    if (!transaction.IsOpen()) return;
    if ((exists || db.DirectStatement(kAutoFnTableSql)) && FillAutoFnTable(db)) transaction.Commit();
}

int CloseDatabase() {
    if (!g_pDatabase) {
        DebugPrint(u"DB File is Not Open!");
        return 1;
    }
    delete g_pDatabase;
    g_pDatabase = nullptr;
    return 1;
}

int RestoreDatabaseBackup() {
    if (g_pDatabase) g_pDatabase->Close();
    Sleep(50);
    ReplaceDatabaseWithCopy(GetDatabasePath() + u".bak", GetDatabasePath());
    Sleep(500);
    return 1;
}
