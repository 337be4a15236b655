#include "data/DeptStorage.h"

#include "data/DataStoreServices.h"
#include "data/DbTransaction.h"
#include "data/PackedRecords.h"
#include "data/SqlHelpers.h"

namespace {

// A department number typed or received as text: decimal digits only.
bool ParseDeptNumber(const CString& text, int& number) {
    if (text.IsEmpty() || text.GetLength() > 9) return false;
    number = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const char16_t ch = text[i];
        if (ch < u'0' || ch > u'9') return false;
        number = number * 10 + (ch - u'0');
    }
    return true;
}

}  // namespace

CDeptStorage::CDeptStorage(CDbSqlite& db, int max) : m_db(db), max(max) { LoadCount(); }

void CDeptStorage::LoadCount() {
    count = QueryInt(m_db, u"SELECT count(*) FROM Dept");
    cursor = 0;
}

int CDeptStorage::Reset() {
    const CString name = DataLangText(u"CDeptStorage", u"DS0001", u"总公司");
    CDbTransaction transaction(m_db);
    if (!transaction.IsOpen() || !m_db.DirectStatement(u"Delete from Dept")) return 4;
    if (!ExecuteBound(m_db, u"Insert into Dept Values('1',?,'0','0')", {name}) || !transaction.Commit()) return 1;
    count = 1;
    return 0;
}

int CDeptStorage::AddDept(DeptRecord dept) {
    if (count >= max) return 5;
    CString sql;
    sql.Format(u"INSERT INTO Dept VALUES ('%d',?,'%d','%d')", dept.Deptid, dept.SupDeptid, dept.DeptGroup);
    if (!ExecuteBound(m_db, sql, {dept.DeptName})) return 1;
    ++count;
    return 0;
}

int CDeptStorage::UpdateDept(DeptRecord dept) {
    CString sql;
    sql.Format(u"update Dept set DeptName=?,SupDeptid=%d,DeptGroup=%d where Deptid=%d", dept.SupDeptid,
               dept.DeptGroup, dept.Deptid);
    return ExecuteBound(m_db, sql, {dept.DeptName}) ? 0 : 3;
}

BOOL CDeptStorage::DeptExists(DeptRecord dept) {
    CString sql;
    sql.Format(u"Select count(*) from Dept where Deptid = %d", dept.Deptid);
    return QueryInt(m_db, sql) > 0;
}

bool CDeptStorage::CountByNumber(LPCWSTR format, const CString& deptId, int& rows) {
    int number = 0;
    if (!ParseDeptNumber(deptId, number)) return false;
    CString sql;
    sql.Format(format, number);
    rows = QueryInt(m_db, sql);
    return true;
}

BOOL CDeptStorage::DeptIdExists(const CString& deptId) {
    int rows = 0;
    return CountByNumber(u"Select count(*) from Dept where Deptid = %d", deptId, rows) && rows > 0;
}

BOOL CDeptStorage::HasSubDepts(const CString& deptId) {
    int rows = 0;
    return CountByNumber(u"Select count(*) from Dept where SupDeptid = %d", deptId, rows) && rows > 0;
}

int CDeptStorage::DeleteDept(const CString& deptId) {
    int number = 0;
    if (!ParseDeptNumber(deptId, number) || HasSubDepts(deptId)) return 4;
    CString sql;
    sql.Format(u"Delete  from Dept where Deptid ='%d'", number);
    if (!m_db.DirectStatement(sql)) return 4;
    // Counted again: a number that matched no row deleted nothing.
    count = QueryInt(m_db, u"SELECT count(*) FROM Dept");
    return 0;
}

int CDeptStorage::ReadPage(LPCWSTR format, BYTE* buffer, int& n) {
    n = 0;
    const int rows = DeptPageRows;
    CString sql;
    sql.Format(format, cursor, rows);
    StatementPtr page(m_db.Statement(sql));
    while (n < rows && page->NextRow()) PackDept(*page, buffer + PackedDeptSize * n++);
    cursor += n;
    return 0;
}

int CDeptStorage::ReadFirstPage(BYTE* buffer, int /*requested*/, int& n) {
    cursor = 0;
    return ReadPage(u"Select  *  From Dept   limit '%d','%d'", buffer, n);
}

int CDeptStorage::ReadNextPage(BYTE* buffer, int /*requested*/, int& n) {
    return ReadPage(u"Select  *  From Dept limit '%d','%d' ", buffer, n);
}
