// The one instance of each data object. Start-up creates them after the
// database is open; they live until the program ends.
#pragma once

#include "data/DbSqlite.h"

class CUserStorage;
class CDeptStorage;
class CRecordStore;

extern CDbSqlite* g_pDatabase;
extern CUserStorage* g_pUserStorage;
extern CDeptStorage* g_pDeptStorage;
extern CRecordStore* g_pRecordStore;

CDbSqlite* GetDatabase();
