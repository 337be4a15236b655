// The in-memory access time zones and access groups, kept with the settings.
// The pages write them from the user-interface thread while the verification
// reads them on other threads, and the numbers that index them come from the
// database: every read copies a whole entry out under the tables' one lock,
// every write replaces a whole entry under it, and a number outside the
// table is refused.
#pragma once

#include <utility>

#include "platform/base/CString.h"
#include "data/DataLocks.h"

// One weekly access time zone: start and end time of Monday to Sunday.
struct AccessZoneEntry {
    CString MonStart, MonEnd, TuesStart, TuesEnd, WednStart, WednEnd, ThurStart, ThurEnd;
    CString FriStart, FriEnd, SatStart, SatEnd, SunStart, SunEnd;
    int SpaceID = 0;
};

// The access group's number and its four zone numbers (0 = none).
struct AccessGroupEntry {
    int GroupID = 0;
    int FirstSpace = 0;
    int SecondSpace = 0;
    int ThirdSpace = 0;
    int FourSpace = 0;
};

// The one lock of both tables.
CRITICAL_SECTION& AccessTablesLock();

// `count` entries numbered from `first` on.
template <class Entry, int first, int count>
class CAccessTable {
public:
    static constexpr int kFirst = first;
    static constexpr int kLast = first + count - 1;

    static bool Contains(int number) { return number >= kFirst && number <= kLast; }

    // A copy of the entry; false (and `out` untouched) for a number outside.
    bool Get(int number, Entry& out) const {
        if (!Contains(number)) return false;
        CLockGuard guard(AccessTablesLock());
        out = m_items[number - kFirst];
        return true;
    }
    // Replaces the whole entry; false for a number outside.
    bool Set(int number, const Entry& entry) {
        if (!Contains(number)) return false;
        Entry copy = entry;  // texts copied before the lock is taken
        CLockGuard guard(AccessTablesLock());
        std::swap(m_items[number - kFirst], copy);
        return true;
    }
    // Takes every entry of `loaded` at once: a reader sees the old table or
    // the new one, never some of each.
    void ReplaceWith(CAccessTable&& loaded) {
        CLockGuard guard(AccessTablesLock());
        std::swap(m_items, loaded.m_items);
    }
    // Every entry back to its empty state.
    void Clear() {
        CLockGuard guard(AccessTablesLock());
        for (Entry& item : m_items) item = Entry{};
    }

private:
    Entry m_items[count];
};

// Zone z (1 to 32) and group g (0 to 16), as the database numbers them.
using CAccessZoneTable = CAccessTable<AccessZoneEntry, 1, 32>;
using CAccessGroupTable = CAccessTable<AccessGroupEntry, 0, 17>;
