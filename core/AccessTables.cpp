#include "core/AccessTables.h"

#include <array>
#include <utility>

#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/base/numparse.h"

namespace {

StatementPtr Query(LPCWSTR sql) { return StatementPtr(GetDatabase()->Statement(sql)); }

}  // namespace

std::array<CString*, kZoneTexts> ZoneTexts(AccessZoneEntry& zone) {
    return {&zone.MonStart, &zone.MonEnd,   &zone.TuesStart, &zone.TuesEnd, &zone.WednStart,
            &zone.WednEnd,  &zone.ThurStart, &zone.ThurEnd,  &zone.FriStart, &zone.FriEnd,
            &zone.SatStart, &zone.SatEnd,   &zone.SunStart,  &zone.SunEnd};
}

void ParseHourMinute(CString text, BYTE* hour, BYTE* minute) {
    const int colon = text.Find(u':');
    const CString hourText = colon < 0 ? CString() : text.Left(colon);
    const CString minuteText = colon < 0 ? text : text.Mid(colon + 1);
    *hour = static_cast<BYTE>(_wtol(hourText));
    *minute = static_cast<BYTE>(_wtol(minuteText));
}

// Each load replaces the whole table: an entry whose row is gone (the
// database restored from a copy with fewer bells or zones) is gone from
// memory too, and rings or opens nothing.

// Rows past the table's 30 entries are not loaded. The entry is taken
// bounds-checked: the access tables lie right behind the bell table.
int LoadBellTable() {
    StatementPtr rows = Query(u"Select *,rowid from RingZone where Time <>'NULL'");
    std::array<BellEntry, CMachineConfig::kBellEntries> loaded{};
    size_t entry = 0;
    while (entry < loaded.size() && rows->NextRow()) {
        BellEntry& bell = loaded.at(entry++);
        ParseHourMinute(rows->ValueString(0), &bell.Hour, &bell.Minute);
        bell.Week = static_cast<BYTE>(rows->ValueInt(1));
        bell.RowId = static_cast<BYTE>(rows->ValueInt(2));
    }
    g_MachineConfig.BellTable = loaded;
    return 1;
}

// A group number outside the table has no entry and is skipped.
int LoadAccessGroups() {
    StatementPtr rows = Query(u"Select * from SpaceGroup");
    CAccessGroupTable loaded;
    while (rows->NextRow()) {
        AccessGroupEntry group;
        group.GroupID = rows->ValueInt(0);
        group.FirstSpace = rows->ValueInt(1);
        group.SecondSpace = rows->ValueInt(2);
        group.ThirdSpace = rows->ValueInt(3);
        group.FourSpace = rows->ValueInt(4);
        loaded.Set(group.GroupID, group);
    }
    g_MachineConfig.AccessGroupTable.ReplaceWith(std::move(loaded));
    return 1;
}

// A zone number outside the table has no entry and is skipped.
int LoadAccessTimeZones() {
    StatementPtr rows = Query(u"Select * from OpenDoorSpace");
    CAccessZoneTable loaded;
    while (rows->NextRow()) {
        AccessZoneEntry zone;
        const auto texts = ZoneTexts(zone);
        for (int i = 0; i < kZoneTexts; ++i) *texts[i] = CString(rows->ValueString(i));
        zone.SpaceID = rows->ValueInt(14);
        loaded.Set(zone.SpaceID, zone);
    }
    g_MachineConfig.AccessZoneTable.ReplaceWith(std::move(loaded));
    return 1;
}
