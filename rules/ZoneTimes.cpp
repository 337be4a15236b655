#include "rules/ZoneTimes.h"

#include "core/AccessTables.h"
#include "widgets/LDDateCtrl.h"

CString PickerTimeText(const CLDDateCtrl& picker) {
    CString text;
    text.Format(u"%02d:%02d", picker.GetHour(), picker.GetMinute());
    return text;
}

void ShowStoredTime(CLDDateCtrl& picker, const CString& text) {
    BYTE hour = 0;
    BYTE minute = 0;
    ParseHourMinute(text, &hour, &minute);
    picker.SetHour(hour);
    picker.SetMinute(minute);
}

int StoredTimeMinutes(const CString& text) {
    BYTE hour = 0;
    BYTE minute = 0;
    ParseHourMinute(text, &hour, &minute);
    return hour * 60 + minute;
}
