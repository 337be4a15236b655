// The users in table Userinfo. BasePara.UserCount is kept equal to the rows
// by every add and delete.
#pragma once

#include "data/DbSqlite.h"
#include "data/Records.h"

enum : int { UserLimit = 5000, UserPageRows = 12 };

class CUserStorage {
public:
    explicit CUserStorage(CDbSqlite& db, int max = UserLimit);
    virtual ~CUserStorage() = default;

    void LoadCount();
    void SetCount(int n) { count = n; }
    int GetCount() const { return count; }
    int GetMax() const { return max; }

    // Return codes: 0 success; 2 insert, 3 update, 4 delete failed; 5 full.
    // Every user and the count in one transaction: all gone, or none.
    int DeleteAll();
    BOOL UserExists(UserInfoRecord user);
    BOOL UserIdExists(const CString& userId);
    int AddUser(UserInfoRecord user);
    int UpdateUser(UserInfoRecord user);
    int SetFPFlag(const CString& userId, int mask);
    BOOL GetFPFlag(const CString& userId, int* mask);
    // Deletes the user, its FPinfo rows and its templates in the store.
    int DeleteUser(const CString& userId);
    BOOL GetUser(const CString& userId, UserInfoRecord* out);
    int ClearAdminFlags();

    // Pages of the PC protocol: always up to 12 rows, whatever the request,
    // as 27-byte (ReadUsers) or 30-byte (ReadUsersEx) records; `buffer`
    // has room for 12.
    int ReadUsersFirst(BYTE* buffer, int requested, int& n);
    int ReadUsersNext(BYTE* buffer, int requested, int& n);
    int ReadUsersFirstEx(BYTE* buffer, int requested, int& n);
    int ReadUsersNextEx(BYTE* buffer, int requested, int& n);

private:
    typedef void (*PackFn)(CSqlStatement& row, int fingerMask, BYTE* out);
    int ReadPage(LPCWSTR sql, PackFn pack, int recordSize, BYTE* buffer, int& n);
    // Writes BasePara.UserCount from the rows and takes it as the count.
    bool WriteCount();

    CDbSqlite& m_db;
    int max;
    int count = 0;
    int cursor = 0;
};

// The finger mask of a user from its FPinfo rows (bit n = finger n).
int GetUserFingerNumbers(CDbSqlite& db, const CString& userId);
