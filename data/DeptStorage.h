// The departments in table Dept, a tree through SupDeptid with the head
// office (1) at its root.
#pragma once

#include "data/DbSqlite.h"
#include "data/Records.h"

enum : int { DeptLimit = 100, DeptPageRows = 20 };

class CDeptStorage {
public:
    explicit CDeptStorage(CDbSqlite& db, int max = DeptLimit);
    virtual ~CDeptStorage() = default;

    void LoadCount();
    void SetCount(int n) { count = n; }
    int GetCount() const { return count; }

    // Return codes: 0 success; 1 insert, 3 update, 4 delete failed; 5 full.
    // Only the head office left, in one transaction: 4 when the old rows,
    // 1 when the head office could not be written, and nothing changed then.
    // No box of its own: the caller tells the failure.
    int Reset();
    int AddDept(DeptRecord dept);
    int UpdateDept(DeptRecord dept);
    BOOL DeptExists(DeptRecord dept);
    // Department numbers as text: anything but a decimal number is refused.
    BOOL DeptIdExists(const CString& deptId);
    BOOL HasSubDepts(const CString& deptId);
    int DeleteDept(const CString& deptId);

    // Pages of the PC protocol: always up to 20 rows, whatever the request,
    // as 14-byte records; `buffer` has room for 20.
    int ReadFirstPage(BYTE* buffer, int requested, int& n);
    int ReadNextPage(BYTE* buffer, int requested, int& n);

private:
    int ReadPage(LPCWSTR sql, BYTE* buffer, int& n);
    // Count of the rows the query with the department number gives; false
    // when the text is not a number.
    bool CountByNumber(LPCWSTR format, const CString& deptId, int& rows);

    CDbSqlite& m_db;
    int max;
    int count = 0;
    int cursor = 0;
};
