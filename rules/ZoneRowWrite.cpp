#include "rules/ZoneRowWrite.h"

#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"

namespace {

bool Run(LPCWSTR sql, const SqlValues& values) {
    StatementPtr statement(GetDatabase()->Statement(sql));
    int index = 0;
    for (const SqlValue& value : values) {
        if (value.isNumber)
            statement->Bind(index++, value.number);
        else
            statement->Bind(index++, value.text.GetString());
    }
    return statement->Execute();
}

}  // namespace

ZoneRowResult WriteZoneRow(const ZoneRowStatements& sql, int number, const SqlValues& updateValues,
                           const SqlValues& insertValues) {
    bool found = false;
    {
        StatementPtr find(GetDatabase()->Statement(sql.find));
        find->Bind(0, number);
        found = find->NextRow();
    }  // the query is finished before the write
    if (found) return Run(sql.update, updateValues) ? ZoneRowResult::Updated : ZoneRowResult::Failed;
    if (sql.insert == nullptr) return ZoneRowResult::Missing;
    return Run(sql.insert, insertValues) ? ZoneRowResult::Inserted : ZoneRowResult::Failed;
}
