#include "data/UserStorage.h"

#include "data/DataStoreServices.h"
#include "data/DbTransaction.h"
#include "data/FPTemplateStore.h"
#include "data/PackedRecords.h"
#include "data/SqlHelpers.h"

namespace {

const char16_t* const kUserExists = u"Select count(*) from userinfo where userid = ?";

}  // namespace

CUserStorage::CUserStorage(CDbSqlite& db, int max) : m_db(db), max(max) { LoadCount(); }

void CUserStorage::LoadCount() {
    cursor = 0;
    count = QueryInt(m_db, u"select UserCount from BasePara");
    // A count that drifted in an older file is mended from the rows. One
    // that is right is not written again: the write would wait for another
    // program that holds the database, and fail saying a change was lost.
    if (count != QueryInt(m_db, u"select count(*) from userinfo")) WriteCount();
}

bool CUserStorage::WriteCount() {
    if (!m_db.DirectStatement(u"update BasePara set UserCount=(Select count(*) from userinfo)")) return false;
    count = QueryInt(m_db, u"select UserCount from BasePara");
    return true;
}

int CUserStorage::DeleteAll() {
    CDbTransaction transaction(m_db);
    if (!transaction.IsOpen() || !m_db.DirectStatement(u"Delete from userinfo") ||
        !m_db.DirectStatement(u"update BasePara set UserCount='0'") || !transaction.Commit())
        return 4;
    count = 0;
    return 0;
}

BOOL CUserStorage::UserExists(UserInfoRecord user) { return UserIdExists(user.userid); }

BOOL CUserStorage::UserIdExists(const CString& userId) { return QueryInt(m_db, kUserExists, {userId}) > 0; }

int CUserStorage::AddUser(UserInfoRecord user) {
    if (static_cast<unsigned>(count) >= static_cast<unsigned>(max)) return 5;
    CString sql;
    sql.Format(u"INSERT INTO Userinfo VALUES (?,?,?,?,?,'%d','%d',?,'%d',?,'%d','%d')", user.Deptid, user.ACFlag,
               user.AdminFlag, user.GroupNO, 0);
    CDbTransaction transaction(m_db);
    if (!transaction.IsOpen() ||
        !ExecuteBound(m_db, sql, {user.userid, user.CardNo, user.Name, user.sex, user.pwd, user.IconPath, user.Birthday}))
        return 2;
    const int before = count;
    if (WriteCount() && transaction.Commit()) return 0;
    count = before;
    return 2;
}

int CUserStorage::UpdateUser(UserInfoRecord user) {
    CString sql;
    sql.Format(u"update Userinfo set CardNo=?, name = ?,sex=?, pwd=?,deptid = '%d',acflag='%d'\t\t\t\t  ,IconPath=?,"
               u"AdminFlag='%d',Birthday=?,GroupNO='%d' where UserInfo.userid = ?",
               user.Deptid, user.ACFlag, user.AdminFlag, user.GroupNO);
    return ExecuteBound(m_db, sql, {user.CardNo, user.Name, user.sex, user.pwd, user.IconPath, user.Birthday, user.userid})
               ? 0
               : 3;
}

int CUserStorage::SetFPFlag(const CString& userId, int mask) {
    CString sql;
    sql.Format(u"update Userinfo set FPFlag='%d' where userid = ?", mask);
    return ExecuteBound(m_db, sql, {userId}) ? 0 : 3;
}

BOOL CUserStorage::GetFPFlag(const CString& userId, int* mask) {
    StatementPtr row = PrepareBound(m_db, u"Select FPFlag from userinfo where userid = ?", {userId});
    if (!row->NextRow()) return FALSE;
    *mask = row->ValueInt(0);
    return TRUE;
}

int CUserStorage::DeleteUser(const CString& userId) {
    {
        CDbTransaction transaction(m_db);
        const int before = count;
        if (!transaction.IsOpen() || !ExecuteBound(m_db, u"Delete  from UserInfo where userid =?", {userId}) ||
            !ExecuteBound(m_db, u"DELETE FROM  FPinfo WHERE  userid = ?", {userId}) || !WriteCount() ||
            !transaction.Commit()) {
            count = before;
            return 4;
        }
    }
    if (CFPTemplateStore* store = GetFPTemplateStore()) store->Delete(userId, -1);
    return 0;
}

BOOL CUserStorage::GetUser(const CString& userId, UserInfoRecord* out) {
    StatementPtr row = PrepareBound(m_db,
                                    u"SELECT Userinfo.userid, Userinfo.CardNo,Userinfo.Name,\t\t\t\t   "
                                    u"Userinfo.sex,Userinfo.pwd,Dept.DeptName,Userinfo.ACFlag,\t\t\t\t   "
                                    u"userinfo.IconPath , userinfo.AdminFlag , userinfo.Birthday,userinfo.GroupNO,"
                                    u"userinfo.FPFlag\t\t\t\t   FROM Userinfo LEFT JOIN Dept ON Userinfo.Deptid "
                                    u"\t\t\t\t   = Dept.Deptid  WHERE Userinfo.userid = ?",
                                    {userId});
    if (!row->NextRow()) return FALSE;
    out->userid = row->ValueString(0);
    out->CardNo = row->ValueString(1);
    out->Name = row->ValueString(2);
    out->sex = row->ValueString(3);
    out->pwd = row->ValueString(4);
    out->DeptName = row->ValueString(5);
    out->ACFlag = row->ValueInt(6);
    if (out->ACFlag == 6 && g_DataStoreServices.deviceVerifyMode) out->ACFlag = g_DataStoreServices.deviceVerifyMode();
    out->IconPath = row->ValueString(7);
    out->AdminFlag = row->ValueInt(8);
    out->Birthday = row->ValueString(9);
    out->GroupNO = row->ValueInt(10);
    out->FPFlag = row->ValueInt(11);
    return TRUE;
}

int CUserStorage::ClearAdminFlags() {
    m_db.DirectStatement(u"update Userinfo set AdminFlag='0' where UserInfo.AdminFlag = '1'");
    return 0;
}

int CUserStorage::ReadPage(LPCWSTR format, PackFn pack, int recordSize, BYTE* buffer, int& n) {
    n = 0;
    const int rows = UserPageRows;
    CString sql;
    sql.Format(format, cursor, rows);
    StatementPtr page(m_db.Statement(sql));
    while (n < rows && page->NextRow()) {
        const CString userId = page->ValueString(0);
        pack(*page, GetUserFingerNumbers(m_db, userId), buffer + recordSize * n);
        ++n;
    }
    cursor += n;
    return 0;
}

int CUserStorage::ReadUsersFirst(BYTE* buffer, int /*requested*/, int& n) {
    cursor = 0;
    return ReadPage(u"Select  *  From UserInfo   limit '%d','%d'", PackUser27, PackedUser27Size, buffer, n);
}

int CUserStorage::ReadUsersNext(BYTE* buffer, int /*requested*/, int& n) {
    return ReadPage(u"Select  *  From UserInfo limit '%d','%d' ", PackUser27, PackedUser27Size, buffer, n);
}

int CUserStorage::ReadUsersFirstEx(BYTE* buffer, int /*requested*/, int& n) {
    cursor = 0;
    return ReadPage(u"Select  *  From UserInfo   limit '%d','%d'", PackUser30, PackedUser30Size, buffer, n);
}

int CUserStorage::ReadUsersNextEx(BYTE* buffer, int /*requested*/, int& n) {
    return ReadPage(u"Select  *  From UserInfo limit '%d','%d' ", PackUser30, PackedUser30Size, buffer, n);
}

int GetUserFingerNumbers(CDbSqlite& db, const CString& userId) {
    StatementPtr rows = PrepareBound(db, u"SELECT fingerNO FROM FPinfo WHERE userid = ?", {userId});
    int mask = 0;
    while (rows->NextRow()) {
        const int finger = rows->ValueInt(0);
        if (finger >= 0 && finger <= 9) mask |= 1 << finger;
    }
    return mask;
}
