#include "data/DataGlobals.h"

CDbSqlite* g_pDatabase = nullptr;
CUserStorage* g_pUserStorage = nullptr;
CDeptStorage* g_pDeptStorage = nullptr;
CRecordStore* g_pRecordStore = nullptr;

CDbSqlite* GetDatabase() { return g_pDatabase; }
