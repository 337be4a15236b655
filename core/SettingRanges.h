// The ranges of the numeric settings of config.xml. A number outside its
// range (a file edited by hand, restored or damaged) is read as the nearest
// end, so that no setting carries arithmetic past 32 bits or into a meaning
// the terminal never offers: a match level that wraps to the most lenient
// threshold, a lock time the controller cannot take. Each range holds the
// value a missing key reads as (0) and every value the pages offer.
#pragma once

#include "platform/base/CString.h"

// `value` within the range of the setting `key`; unchanged for a key
// without one (NETPORT, told and replaced by its own check at start-up;
// VERTIFYTYPE, whose readers take its fields by mask).
int ClampSetting(const char16_t* key, int value);
