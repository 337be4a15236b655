#include "users/UserRows.h"

#include "core/LangText.h"
#include "core/UserPhoto.h"
#include "data/SqlHelpers.h"
#include "platform/base/files.h"
#include "platform/base/numparse.h"

namespace {

const char16_t* const kUserById = u"SELECT * FROM Userinfo WHERE Userinfo.userid = ?";

}  // namespace

CString PageText(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText) {
    CString text;
    GetLangText(section, key, defaultText, text);
    return text;
}

CString NormalizeUserId(const CString& typed) {
    const __int64 value = _wtoi64(typed);
    CString text;
    if (value != 0) text.Format(u"%I64d", value);
    return text;
}

bool UserRowExists(CDbSqlite& db, const CString& userId) { return QueryHasRow(db, kUserById, {userId}); }

bool CardHeldByAnotherUser(CDbSqlite& db, const CString& cardNo, const CString& holder) {
    StatementPtr rows = PrepareBound(db, u"SELECT * FROM Userinfo WHERE Userinfo.CardNO = ?", {cardNo});
    while (rows->NextRow())
        if (holder != rows->ValueString(0)) return true;
    return false;
}

bool ReadUserRow(CDbSqlite& db, const CString& userId, UserInfoRecord& user) {
    StatementPtr row = PrepareBound(db, kUserById, {userId});
    if (!row->NextRow()) return false;
    user.userid = row->ValueString(0);
    user.CardNo = row->ValueString(1);
    user.Name = row->ValueString(2);
    user.sex = row->ValueString(3);
    user.Reserved = row->ValueInt(3);
    user.pwd = row->ValueString(4);
    user.Deptid = row->ValueInt(5);
    user.ACFlag = row->ValueInt(6);
    user.IconPath = row->ValueString(7);
    user.AdminFlag = row->ValueInt(8);
    user.Birthday = row->ValueString(9);
    user.GroupNO = row->ValueInt(10);
    user.FPFlag = row->ValueInt(11);
    return true;
}

int CountUserFingerprints(CDbSqlite& db, const CString& userId) {
    return QueryInt(db,
                    u"SELECT Count(*) FROM UserInfo,FPinfo where UserInfo.Userid = FPinfo.userID and "
                    u"UserInfo.Userid =?",
                    {userId});
}

bool FingerRowExists(CDbSqlite& db, const CString& userId, int finger) {
    CString sql;
    sql.Format(u"SELECT * FROM fpinfo WHERE userid = ? AND  FingerNO = %d", finger);
    return QueryHasRow(db, sql, {userId});
}

std::vector<DepartmentItem> ReadDepartments(CDbSqlite& db, LPCWSTR query) {
    std::vector<DepartmentItem> departments;
    StatementPtr rows(db.Statement(query));
    while (rows->NextRow()) departments.push_back({rows->ValueInt(0), rows->ValueString(1)});
    return departments;
}

bool RemoveUserPhotos(const CString& userId) {
    CString path;
    while (FindUserPhoto(userId, path))
        if (!DeleteFileW(path)) return false;
    return true;
}
