// The database as the terminal leaves the factory: every table with its
// columns in order, the counters, the status names, the closed time zones
// and the head office.
#pragma once

#include "platform/base/types.h"

// The schema script (UTF-8 SQL).
const char* FactorySchemaSql();

// The table of automatic status changes, which start-up creates (with its
// default rows) in a database that lacks it.
inline constexpr char16_t kAutoFnTableSql[] =
    u"CREATE TABLE 'AtuoFN' (Monstart nvarchar, MonEnd nvarchar, TuesStart nvarchar, TuesEnd nvarchar, "
    u"WednStart nvarchar, WednEnd nvarchar, ThurStart nvarchar, ThurEnd nvarchar, FriStart nvarchar, "
    u"FriEnd nvarchar, SatStart nvarchar, SatEnd nvarchar, SunStart nvarchar, SunEnd nvarchar, SpaceID int, "
    u"FNID int)";

// Creates the factory database at a device path. The file must not hold
// any table yet; the script runs in one transaction, so a failure leaves
// no half-built schema behind. True when created.
bool CreateFactoryDatabase(LPCWSTR devicePath);
