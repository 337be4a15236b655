#include "data/SqlHelpers.h"

StatementPtr PrepareBound(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts) {
    StatementPtr statement(db.Statement(sql));
    int index = 0;
    for (LPCWSTR text : texts) statement->Bind(index++, text);
    return statement;
}

bool ExecuteBound(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts) {
    return PrepareBound(db, sql, texts)->Execute();
}

int QueryInt(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts) {
    StatementPtr statement = PrepareBound(db, sql, texts);
    return statement->NextRow() ? statement->ValueInt(0) : 0;
}

bool QueryHasRow(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts) {
    return PrepareBound(db, sql, texts)->NextRow();
}
