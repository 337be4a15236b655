#include "transfer/DatabaseCaches.h"

#include "core/AccessTables.h"
#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "main/QuillonDlg.h"

void ReloadDatabaseCaches() {
    LoadTemplateCache();
    g_pUserStorage->LoadCount();
    g_pDeptStorage->LoadCount();
    g_pRecordStore->EnsureQueryIndexes();
    g_pRecordStore->LoadCounters();
    LoadBellTable();
    LoadAccessGroups();
    LoadAccessTimeZones();
}
