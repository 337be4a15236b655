// The fixed-size records of the PC protocol and the record export file,
// packed from rows of "SELECT *" on their tables. Numbers are big-endian.
#pragma once

#include "data/DbSqlite.h"
#include "platform/base/types.h"

enum : int {
    PackedUser27Size = 27,
    PackedUser30Size = 30,
    PackedDeptSize = 14,
    PackedCheckinoutSize = 14,
    // Bytes of a name in the device code page.
    PackedNameSize = 10,
};

void PutBigEndian(BYTE* out, ULONGLONG value, int bytes);

// Three bytes: FF FF FF for an empty password; else the digit count of its
// numeric value in the high nibble and the value's low 20 bits.
void PackPassword(BYTE* out, LPCWSTR pwdText, int pwdValue);

// A Userinfo row; `fingerMask` comes from the user's FPinfo rows.
void PackUser27(CSqlStatement& userRow, int fingerMask, BYTE* out);
void PackUser30(CSqlStatement& userRow, int fingerMask, BYTE* out);
// A Dept row.
void PackDept(CSqlStatement& deptRow, BYTE* out);
// A Checkinout row; bytes 11-13 are left as they are.
void PackCheckinout(CSqlStatement& recordRow, BYTE* out);

// Whole seconds from 2000-01-02 00:00:00 to the date and time. Fields out
// of their range count on (30 February is 2 March), so every reader of one
// time text gets the same number.
__int64 SecondsSince2000(int year, int month, int day, int hour, int minute, int second);

// Those seconds as the four bytes of a packed record carry them: the low 32
// bits of a span that 32 bits hold read unsigned (up to 2136) or signed
// (back to 1931), as peers of either kind read them. A time beyond both (a
// year no clock of the terminal gives, from a copied file) cannot be packed
// and carries kUnpackableSeconds rather than a wrapped, wrong time.
enum : DWORD { kUnpackableSeconds = 0xFFFFFFFF };
DWORD PackedSeconds(__int64 seconds);
