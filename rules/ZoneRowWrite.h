// Writing one numbered row of a rule table whole (an access time zone, an
// access group, an automatic-status zone): the row found by its number is
// updated; a missing one is inserted, or left missing where the table has a
// fixed set of rows. Every value is bound, never written into the text.
#pragma once

#include <vector>

#include "platform/base/CString.h"

// A number or a text, bound as what it is.
struct SqlValue {
    SqlValue(int value) : isNumber(true), number(value) {}
    SqlValue(const CString& value) : text(value) {}
    bool isNumber = false;
    int number = 0;
    CString text;
};
using SqlValues = std::vector<SqlValue>;

struct ZoneRowStatements {
    LPCWSTR find;    // a query with one parameter, the row's number
    LPCWSTR update;  // the values of `updateValues`, in order
    LPCWSTR insert;  // the values of `insertValues`; null: no insert
};

enum class ZoneRowResult { Updated, Inserted, Missing, Failed };

// Failed when the write did not run to its end; a box has told why then.
ZoneRowResult WriteZoneRow(const ZoneRowStatements& sql, int number, const SqlValues& updateValues,
                           const SqlValues& insertValues = {});
