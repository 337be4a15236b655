// Date and time texts in the order the user chose (DateType 0 year first,
// 1 month first, 2 day first), the fixed database order, and the three
// fields of a user's verify-mode byte.
#pragma once

#include "platform/base/COleDateTime.h"
#include "platform/base/CString.h"

CString FormatDateTime(const COleDateTime& value);
CString FormatDateTimeCompact(const COleDateTime& value);
CString FormatDate(const COleDateTime& value);
// Year first whatever DateType holds: the order the database stores.
CString FormatDateTimeIso(const COleDateTime& value);

// A verify-type code (the terminal's and each user's own): fingerprint,
// card and ID steps packed into one byte, and taken apart again.
int PackVerifyType(int fpStep, int cardStep, int pinStep);
int GetVerifyTypeHigh(int byte);
int GetVerifyTypeMid(int byte);
int GetVerifyTypeLow(int byte);
