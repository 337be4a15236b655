// Times of day as the zone tables keep them: "HH:MM" texts, read into and
// out of the time pickers of the zone pages.
//
// A stored text is read by the one rule of the settings loader
// (ParseHourMinute): the number before the first colon is the hour, the
// number after it the minute; without a colon the whole text is the minute;
// what is no number counts 0. So "8:5" is 08:05, "abc" and "" are 00:00.
#pragma once

#include "platform/base/CString.h"

class CLDDateCtrl;

// The picker's hour and minute as the tables store them, "%02d:%02d".
CString PickerTimeText(const CLDDateCtrl& picker);
// Shows a stored time in the picker's hour and minute fields (no repaint).
void ShowStoredTime(CLDDateCtrl& picker, const CString& text);
// Minutes since midnight of a stored time.
int StoredTimeMinutes(const CString& text);
