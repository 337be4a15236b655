#include "core/AccessTable.h"

#include "core/PermanentLock.h"

// Made on first use: the tables belong to the settings object, a global
// that may be used while other globals are still being constructed.
CRITICAL_SECTION& AccessTablesLock() {
    static CRITICAL_SECTION& lock = NewPermanentLock();
    return lock;
}
