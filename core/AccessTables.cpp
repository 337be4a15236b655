#include "core/AccessTables.h"

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

// Rows past the table's 30 entries are not loaded. The entry is taken
// bounds-checked: the access tables lie right behind the bell table.
int LoadBellTable() {
    StatementPtr rows = Query(u"Select *,rowid from RingZone where Time <>'NULL'");
    size_t entry = 0;
    while (entry < CMachineConfig::kBellEntries && rows->NextRow()) {
        BellEntry& bell = g_MachineConfig.BellTable.at(entry++);
        ParseHourMinute(rows->ValueString(0), &bell.Hour, &bell.Minute);
        bell.Week = static_cast<BYTE>(rows->ValueInt(1));
        bell.RowId = static_cast<BYTE>(rows->ValueInt(2));
    }
    return 1;
}

// A group number outside the table has no entry and is skipped.
int LoadAccessGroups() {
    StatementPtr rows = Query(u"Select * from SpaceGroup");
    while (rows->NextRow()) {
        AccessGroupEntry group;
        group.GroupID = rows->ValueInt(0);
        group.FirstSpace = rows->ValueInt(1);
        group.SecondSpace = rows->ValueInt(2);
        group.ThirdSpace = rows->ValueInt(3);
        group.FourSpace = rows->ValueInt(4);
        g_MachineConfig.AccessGroupTable.Set(group.GroupID, group);
    }
    return 1;
}

// A zone number outside the table has no entry and is skipped.
int LoadAccessTimeZones() {
    StatementPtr rows = Query(u"Select * from OpenDoorSpace");
    while (rows->NextRow()) {
        AccessZoneEntry zone;
        const auto texts = ZoneTexts(zone);
        for (int i = 0; i < kZoneTexts; ++i) *texts[i] = CString(rows->ValueString(i));
        zone.SpaceID = rows->ValueInt(14);
        g_MachineConfig.AccessZoneTable.Set(zone.SpaceID, zone);
    }
    return 1;
}
