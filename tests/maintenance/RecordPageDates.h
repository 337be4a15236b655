// The Records page's date fields set to days of September 2014, as the
// record tests make their records then.
#pragma once

#include "transfer/CPTreeRecord.h"

inline void SetSeptember2014Dates(CCPTreeRecord* page, int startDay, int endDay) {
    // The date fields are year, month, day in the places of hour, minute
    // and second.
    page->StartDate().SetHour(2014);
    page->StartDate().SetMinute(9);
    page->StartDate().SetSecond(startDay);
    page->EndDate().SetHour(2014);
    page->EndDate().SetMinute(9);
    page->EndDate().SetSecond(endDay);
    page->StartDate().Invalidate();
    page->EndDate().Invalidate();
}
