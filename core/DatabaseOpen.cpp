#include "core/DatabaseOpen.h"

#include "core/AppDir.h"
#include "core/DebugPrint.h"
#include "data/DataGlobals.h"
#include "data/DatabaseFile.h"
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

void EnsureAutoFnTable() {
    if (!g_pDatabase || QueryHasRow(*g_pDatabase, u"Select * from sqlite_master where name = 'AtuoFN'")) return;
    const bool created = g_pDatabase->DirectStatement(
        u"CREATE TABLE 'AtuoFN' (Monstart nvarchar, MonEnd nvarchar, TuesStart nvarchar, TuesEnd nvarchar, "
        u"WednStart nvarchar, WednEnd nvarchar, ThurStart nvarchar, ThurEnd nvarchar, FriStart nvarchar, "
        u"FriEnd nvarchar, SatStart nvarchar, SatEnd nvarchar, SunStart nvarchar, SunEnd nvarchar, SpaceID int, "
        u"FNID int)");
    if (!created) return;
    for (int row = 1; row <= 16; ++row) {
        CString sql;
        sql.Format(u"Insert Into AtuoFN  Values('00:00','00:00','00:00','00:00','00:00','00:00','00:00','00:00',"
                   u"'00:00','00:00','00:00','00:00','00:00','00:00','%d','0')",
                   row);
        g_pDatabase->DirectStatement(sql);
        Sleep(10);
    }
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
