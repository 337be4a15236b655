#include "core/DateTexts.h"

#include "core/MachineConfig.h"

namespace {

struct DateFormats {
    const char16_t* yearFirst;
    const char16_t* yearLast;
};

constexpr char16_t kUnknownOrder[] = u"######################";

// The date part in the configured order, then the time fields when the
// formats carry them.
CString FormatInOrder(const COleDateTime& value, const DateFormats& formats) {
    const int year = value.GetYear(), month = value.GetMonth(), day = value.GetDay();
    const int hour = value.GetHour(), minute = value.GetMinute(), second = value.GetSecond();
    CString text;
    switch (g_MachineConfig.DateType) {
    case 0:
        text.Format(formats.yearFirst, year, month, day, hour, minute, second);
        break;
    case 1:
        text.Format(formats.yearLast, month, day, year, hour, minute, second);
        break;
    case 2:
        text.Format(formats.yearLast, day, month, year, hour, minute, second);
        break;
    default:
        text = kUnknownOrder;
        break;
    }
    return text;
}

}  // namespace

CString FormatDateTime(const COleDateTime& value) {
    return FormatInOrder(value, {u"%04d-%02d-%02d %02d:%02d:%02d", u"%02d-%02d-%04d %02d:%02d:%02d"});
}

CString FormatDateTimeCompact(const COleDateTime& value) {
    return FormatInOrder(value, {u"%04d%02d%02d%02d%02d%02d", u"%02d%02d%04d%02d%02d%02d"});
}

CString FormatDate(const COleDateTime& value) {
    return FormatInOrder(value, {u"%04d-%02d-%02d", u"%02d-%02d-%04d"});
}

CString FormatDateTimeIso(const COleDateTime& value) {
    CString text;
    text.Format(u"%04d-%02d-%02d %02d:%02d:%02d", value.GetYear(), value.GetMonth(), value.GetDay(), value.GetHour(),
                value.GetMinute(), value.GetSecond());
    return text;
}

int PackVerifyType(int fpStep, int cardStep, int pinStep) {
    return (fpStep & 3) * 64 + (cardStep & 7) * 8 + (pinStep & 7);
}

int GetVerifyTypeHigh(int byte) { return (byte & 0xFF) >> 6; }
int GetVerifyTypeMid(int byte) { return (byte & 0x38) >> 3; }
int GetVerifyTypeLow(int byte) { return byte & 7; }
