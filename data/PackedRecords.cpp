#include "data/PackedRecords.h"

#include <climits>
#include <cstring>

#include "data/DataStoreServices.h"
#include "data/RecordStore.h"

namespace {

// Userinfo columns in table order.
enum UserColumn { UserId, UserCardNo, UserName, UserSex, UserPwd, UserDeptid, UserACFlag,
                  UserIconPath, UserAdminFlag, UserBirthday, UserGroupNO, UserFPFlag };

// Bytes 0-7 of both user layouts: id and password.
void PackUserHead(CSqlStatement& row, BYTE* out) {
    PutBigEndian(out, static_cast<ULONGLONG>(row.ValueInt64(UserId)), 5);
    // The password text must be copied: the next value read reuses its room.
    const CString pwd = row.ValueString(UserPwd);
    PackPassword(out + 5, pwd, row.ValueInt(UserPwd));
}

// Card number in `bytes` bytes; all FF when there is none.
void PackCard(CSqlStatement& row, BYTE* out, int bytes) {
    const unsigned card = static_cast<unsigned>(row.ValueInt(UserCardNo));
    if (card == 0)
        std::memset(out, 0xFF, bytes);
    else
        PutBigEndian(out, card, bytes);
}

// Name, department, group, verify mode and finger mask, from `out` on.
void PackUserBody(CSqlStatement& row, int fingerMask, BYTE* out) {
    DataTextToMultiByte(row.ValueString(UserName), reinterpret_cast<char*>(out), PackedNameSize);
    out[10] = static_cast<BYTE>(row.ValueInt(UserDeptid));
    out[11] = static_cast<BYTE>(row.ValueInt(UserGroupNO));
    out[12] = static_cast<BYTE>(row.ValueInt(UserACFlag));
    PutBigEndian(out + 13, static_cast<unsigned>(fingerMask), 2);
}

bool IsAdmin(CSqlStatement& row) { return row.ValueInt(UserAdminFlag) == 1; }

__int64 DaysFromCivil(__int64 year, __int64 month, __int64 day) {
    // Days since 1970-01-01 in the proleptic Gregorian calendar, in 64 bits:
    // a stored text may hold any 32-bit field.
    year -= month <= 2;
    const __int64 era = (year >= 0 ? year : year - 399) / 400;
    const __int64 yearOfEra = year - era * 400;
    const __int64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const __int64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

void PutBigEndian(BYTE* out, ULONGLONG value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = static_cast<BYTE>(value & 0xFF);
        value >>= 8;
    }
}

void PackPassword(BYTE* out, LPCWSTR pwdText, int pwdValue) {
    if (!pwdText || !*pwdText) {
        std::memset(out, 0xFF, 3);
        return;
    }
    CString digits;
    digits.Format(u"%d", pwdValue);
    out[0] = static_cast<BYTE>((digits.GetLength() << 4) | ((pwdValue >> 16) & 0x0F));
    out[1] = static_cast<BYTE>((pwdValue >> 8) & 0xFF);
    out[2] = static_cast<BYTE>(pwdValue & 0xFF);
}

void PackUser27(CSqlStatement& row, int fingerMask, BYTE* out) {
    PackUserHead(row, out);
    PackCard(row, out + 8, 3);
    PackUserBody(row, fingerMask, out + 11);
    out[26] = IsAdmin(row) ? 0xC0 : 0x00;
}

void PackUser30(CSqlStatement& row, int fingerMask, BYTE* out) {
    PackUserHead(row, out);
    PackCard(row, out + 8, 4);
    PackUserBody(row, fingerMask, out + 12);
    out[27] = 0;
    out[28] = 0;
    out[29] = IsAdmin(row) ? 0xD0 : 0x10;
}

void PackDept(CSqlStatement& row, BYTE* out) {
    PutBigEndian(out, static_cast<unsigned>(row.ValueInt(0)), 2);
    DataTextToMultiByte(row.ValueString(1), reinterpret_cast<char*>(out + 2), PackedNameSize);
    PutBigEndian(out + 12, static_cast<unsigned>(row.ValueInt(2)), 2);
}

__int64 SecondsSince2000(int year, int month, int day, int hour, int minute, int second) {
    const __int64 days = DaysFromCivil(year, month, day) - DaysFromCivil(2000, 1, 2);
    return days * 86400 + __int64{hour} * 3600 + __int64{minute} * 60 + second;
}

DWORD PackedSeconds(__int64 seconds) {
    if (seconds < INT_MIN || seconds > static_cast<__int64>(UINT_MAX)) return kUnpackableSeconds;
    return static_cast<DWORD>(seconds);
}

void PackCheckinout(CSqlStatement& row, BYTE* out) {
    PutBigEndian(out, static_cast<ULONGLONG>(row.ValueInt64(0)), 5);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    CRecordStore::ParseCheckTime(row.ValueString(1), year, month, day, hour, minute, second);
    PutBigEndian(out + 5, PackedSeconds(SecondsSince2000(year, month, day, hour, minute, second)), 4);
    out[9] = static_cast<BYTE>(static_cast<unsigned>(row.ValueInt(4)) >> 24);
    out[10] = static_cast<BYTE>(row.ValueInt(2));
}
