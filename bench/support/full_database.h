// The database of a terminal in full use, for the benchmarks: 5000 users
// with one 338-byte template each and a full ring of 100000 records over
// 30 days, all of them new.
#pragma once

#include "data/DbSqlite.h"

inline void FillFullDatabase(CDbSqlite& db) {
    db.DirectStatement(u"begin");
    db.DirectStatement(
        u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 5000) "
        u"SELECT n, '', 'user' || n, '', '', 1 + n % 10, 6, '', 0, '', 0, 1 FROM s");
    db.DirectStatement(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
    db.DirectStatement(
        u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
        u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 100000) "
        u"SELECT n, 1 + n % 5000, strftime('%Y-%m-%d %H:%M:%S', '2014-09-01', '+' || (n * 25) || ' seconds'), "
        u"n % 2, 0, 16777216 FROM s");
    db.DirectStatement(u"update BasePara set UserCount=5000, AllRecordcount=100000, NewRecordcount=100000");
    db.DirectStatement(u"commit");
}
