#include "rules/ZoneRowWrite.h"

#include "core/WriteFailureBox.h"
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
    if (!found && sql.insert == nullptr) return ZoneRowResult::Missing;
    CWriteFailureBox failure;
    if (failure.Run([&] { return found ? Run(sql.update, updateValues) : Run(sql.insert, insertValues); }))
        return found ? ZoneRowResult::Updated : ZoneRowResult::Inserted;
    failure.Show();
    return ZoneRowResult::Failed;
}
