#include "rules/TypedNumber.h"

#include <climits>

#include "core/ConfigXml.h"
#include "platform/base/numparse.h"

bool ReadTypedNumber(const CString& text, UINT bound, LONG* value) {
    if (text.IsEmpty()) return false;
    // Read wider than 32 bits so that a number beyond them shows as such.
    const __int64 wide = _wtoi64(text);
    if (wide < INT_MIN || wide > INT_MAX) return false;
    *value = static_cast<LONG>(wide);
    return static_cast<UINT>(*value) <= bound;
}

void WriteTypedNumber(const char16_t* key, const CString& text, LONG value, int stored) {
    if (value != stored) SetConfigValue(key, text, FALSE);
}
