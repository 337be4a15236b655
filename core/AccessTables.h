// The in-memory access tables of the settings object, filled from the
// database at start-up: bells, access groups and access time zones.
#pragma once

#include <array>

#include "core/MachineConfig.h"
#include "platform/base/CString.h"

// The start and end times of Monday to Sunday, in table order.
constexpr int kZoneTexts = 14;
std::array<CString*, kZoneTexts> ZoneTexts(AccessZoneEntry& zone);

int LoadBellTable();
int LoadAccessGroups();
int LoadAccessTimeZones();
// "8:5" gives 8 and 5; without a colon the hour is 0 and the minute is read
// from the whole text.
void ParseHourMinute(CString text, BYTE* hour, BYTE* minute);
