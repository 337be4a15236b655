#include "core/AccessTables.h"

#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/base/numparse.h"

namespace {

StatementPtr Query(LPCWSTR sql) { return StatementPtr(GetDatabase()->Statement(sql)); }

}  // namespace

std::array<SharedText*, kZoneTexts> ZoneTexts(AccessZoneEntry& zone) {
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

// Rows past the table's 30 entries are not loaded.
int LoadBellTable() {
    StatementPtr rows = Query(u"Select *,rowid from RingZone where Time <>'NULL'");
    int entry = 0;
    while (entry < CMachineConfig::kBellEntries && rows->NextRow()) {
        BellEntry& bell = g_MachineConfig.BellTable[entry++];
        ParseHourMinute(rows->ValueString(0), &bell.Hour, &bell.Minute);
        bell.Week = static_cast<BYTE>(rows->ValueInt(1));
        bell.RowId = static_cast<BYTE>(rows->ValueInt(2));
    }
    return 1;
}

// A group number outside 0 to 16 has no entry and is skipped.
int LoadAccessGroups() {
    StatementPtr rows = Query(u"Select * from SpaceGroup");
    while (rows->NextRow()) {
        const int id = rows->ValueInt(0);
        if (id < 0 || id >= CMachineConfig::kAccessGroups) continue;
        AccessGroupEntry& group = g_MachineConfig.AccessGroupTable[id];
        group.GroupID = id;
        group.FirstSpace = rows->ValueInt(1);
        group.SecondSpace = rows->ValueInt(2);
        group.ThirdSpace = rows->ValueInt(3);
        group.FourSpace = rows->ValueInt(4);
    }
    return 1;
}

// A zone number outside 1 to 32 has no entry and is skipped.
int LoadAccessTimeZones() {
    StatementPtr rows = Query(u"Select * from OpenDoorSpace");
    while (rows->NextRow()) {
        const int id = rows->ValueInt(14);
        if (id < 1 || id > CMachineConfig::kAccessZones) continue;
        AccessZoneEntry& zone = g_MachineConfig.AccessZoneTable[id - 1];
        const auto texts = ZoneTexts(zone);
        for (int i = 0; i < kZoneTexts; ++i) *texts[i] = CString(rows->ValueString(i));
        zone.SpaceID = id;
    }
    return 1;
}
