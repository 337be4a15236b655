#include "core/AccessTable.h"

// Made on first use: the tables belong to the settings object, a global
// that may be used while other globals are still being constructed.
CRITICAL_SECTION& AccessTablesLock() {
    static CRITICAL_SECTION* lock = [] {
        auto* section = new CRITICAL_SECTION;
        InitializeCriticalSection(section);
        return section;
    }();
    return *lock;
}
