// Reading and writing the rows of one user, as the user pages share them:
// the typed user ID, the existence and card checks, the whole Userinfo row,
// the departments, the fingerprint rows and the user's photo file. Every
// typed text is bound to the statement, never written into it.
#pragma once

#include <vector>

#include "data/DbSqlite.h"
#include "data/Records.h"

enum : int { kUserIdMaxLength = 12, kUserNameMaxLength = 10, kUserPasswordMaxLength = 6 };

// The language file's text of (section, key), "*" + the default when missing.
CString PageText(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText);

// A typed user ID as the pages store it: read as a signed 64-bit decimal
// number (leading blanks, sign, digits up to the first other character) and
// written back with "%I64d"; 0 gives an empty text. "007" is "7", "12ab" is
// "12", "abc" is "".
CString NormalizeUserId(const CString& typed);

// A Userinfo row exists for the ID.
bool UserRowExists(CDbSqlite& db, const CString& userId);
// A user other than `holder` has the card (a user's own card is not "in use").
bool CardHeldByAnotherUser(CDbSqlite& db, const CString& cardNo, const CString& holder);

// The Userinfo row of the ID, taken by column position into `user`: the
// sex column both as text (`sex`) and as a number (`Reserved`); FPFlag is
// read too. False when there is no row.
bool ReadUserRow(CDbSqlite& db, const CString& userId, UserInfoRecord& user);

// The FPinfo rows of the user that have a Userinfo row.
int CountUserFingerprints(CDbSqlite& db, const CString& userId);
// An FPinfo row of (user, finger) exists.
bool FingerRowExists(CDbSqlite& db, const CString& userId, int finger);

struct DepartmentItem {
    int id;
    CString name;
};
// The departments `query` gives (Deptid in column 0, DeptName in column 1),
// in row order.
std::vector<DepartmentItem> ReadDepartments(CDbSqlite& db, LPCWSTR query);

// Removes every photo file of the ID (a new user must not show a deleted
// user's face). False when a file stays.
bool RemoveUserPhotos(const CString& userId);
