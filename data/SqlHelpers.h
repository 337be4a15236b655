// Short forms of the statement patterns the data objects repeat. Texts in
// `texts` are bound, in order, to the statement's parameter markers.
#pragma once

#include <initializer_list>
#include <memory>

#include "data/DbSqlite.h"

typedef std::unique_ptr<CSqlStatement> StatementPtr;

// A statement with the texts bound.
StatementPtr PrepareBound(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts = {});
// Runs a write; true when it ran to its end.
bool ExecuteBound(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts = {});
// Column 0 of the first row as an integer; 0 when no row comes.
int QueryInt(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts = {});
// True when the query yields a row.
bool QueryHasRow(CDbSqlite& db, LPCWSTR sql, std::initializer_list<LPCWSTR> texts = {});
