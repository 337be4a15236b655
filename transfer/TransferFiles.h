// The transfer files that carry users and fingerprint templates between
// terminals and the management software: a 3-byte big-endian record count,
// then fixed-size records back to back, big-endian numbers inside.
//   "Bak.yg2"  users, 28 bytes each (written and read)
//   "Bak.yg"   users, 27 bytes each (read only: a 3-byte card number)
//   "Bak.zw"   fingerprint templates, 344 bytes each
// Readers go by the file's length, not its count: the count is for other
// readers, and the writers here put the number of records they wrote.
#pragma once

#include <memory>
#include <vector>

#include "data/DbSqlite.h"
#include "data/PackedRecords.h"
#include "platform/base/CString.h"
#include "platform/base/types.h"

class AtomicFileWriter;

enum : int {
    TransferCountSize = 3,
    PackedUser28Size = 28,
    PackedFingerprintSize = 344,
    // Fingers 0-9: the finger byte of a template record is 1-10.
    TransferFingers = 10,
    // A name of 10 code-page bytes is at most 20 characters.
    TransferNameChars = 20,
};

inline constexpr char16_t kUserFile28[] = u"Bak.yg2";
inline constexpr char16_t kUserFile27[] = u"Bak.yg";
inline constexpr char16_t kFingerprintFile[] = u"Bak.zw";
inline constexpr char16_t kAttendanceFile[] = u"Bak.kq";

// The user fields a record carries.
struct TransferUser {
    CString userid;
    CString CardNo;
    CString Name;
    CString pwd;
    int Deptid = 0;
    int GroupNO = 0;
    int ACFlag = 0;
    int AdminFlag = 0;
    // Bit n = finger n enrolled; -1 when the record carries no mask.
    int fingerMask = -1;
    // Every byte of the name was read as a character of the device's
    // character set (none became '?').
    bool nameExact = true;
};

struct TransferFingerprint {
    CString userid;
    // 0-9.
    int finger = 0;
    // The record's 338 template bytes (two 169-byte templates).
    const BYTE* templ = nullptr;
};

// The low 24 bits of count, big-endian.
void PutTransferCount(BYTE* out, unsigned count);

// Password: FF FF FF for an empty text; else the text's length in the high
// nibble of the first byte and its value in the remaining 20 bits, so that
// leading zeros come back.
void EncodeTransferPassword(const CString& pwd, BYTE* out);
CString DecodeTransferPassword(const BYTE* in);

// Name: 10 bytes in the device code page, zero-filled; a name that does not
// fit keeps the whole characters that do.
void EncodeTransferName(const CString& name, BYTE* out);
// Reads no byte past the 10, with or without a terminating zero; ten bytes
// that end inside a character end before it. `exact`, when given, tells
// whether every byte of the name was read as a character.
CString DecodeTransferName(const BYTE* in, bool* exact = nullptr);

// A row of "SELECT  * from Userinfo" as a 28-byte record; a card number
// that needs more than 32 bits is written as no card.
void EncodeUser28(CSqlStatement& userRow, BYTE* out);
// False for a record whose user ID (1 to 12 digits) or password (at most 6
// digits) the user pages would not take: the record is not stored. The
// administrator byte counts by its two high bits; the group, department
// and finger mask are taken as they stand.
bool DecodeUser28(const BYTE* record, TransferUser& user);
bool DecodeUser27(const BYTE* record, TransferUser& user);

// A row of "Select * from FPinfo" as a 344-byte record; a 256-byte template
// is written as its first 169 bytes twice. False for a blob of any other
// size (no record).
bool EncodeFingerprint(CSqlStatement& fingerprintRow, BYTE* out);
// False for a finger byte outside 1-10: no finger of this terminal.
bool DecodeFingerprint(const BYTE* record, TransferFingerprint& fingerprint);

// Reads the records of a transfer file one by one, after its count.
class CTransferFileReader {
public:
    CTransferFileReader() = default;
    ~CTransferFileReader();
    CTransferFileReader(const CTransferFileReader&) = delete;
    CTransferFileReader& operator=(const CTransferFileReader&) = delete;

    // False when the file cannot be opened, or is no regular file.
    bool Open(const CString& path, int recordSize);
    // The next whole record (recordSize bytes); false at the end of the file
    // and after a read error.
    bool Next(BYTE* record);
    // Bytes read so far (the count included) and the file's length.
    ULONGLONG Position() const { return m_position; }
    ULONGLONG Length() const { return m_length; }
    // The whole records its length holds.
    ULONGLONG Records() const;
    // The file ended inside a record (or inside the count): those bytes
    // make no record.
    bool HasShortTail() const { return m_shortTail; }
    // A read failed (a damaged medium, one taken out): the file ended there
    // without its end being reached.
    bool HasReadError() const { return m_readError; }

private:
    // Up to `count` bytes; fewer only at the end of the file or at a read
    // error.
    DWORD Read(BYTE* out, DWORD count);

    HANDLE m_file = nullptr;
    int m_recordSize = 0;
    ULONGLONG m_position = 0;
    ULONGLONG m_length = 0;
    bool m_shortTail = false;
    bool m_readError = false;
    std::vector<BYTE> m_buffer;
    size_t m_begin = 0;
    size_t m_end = 0;
};

// A transfer file made in memory and put in place whole: written under a
// temporary name, flushed and renamed over the file, so that nobody finds
// a half-written file under the real name and a failed export keeps the
// file that was there. A temporary that an interrupted export left beside
// the file goes with the next export of it.
class CTransferFileWriter {
public:
    CTransferFileWriter();
    // Without a commit, the temporary goes and the file stays as it was.
    ~CTransferFileWriter();
    CTransferFileWriter(const CTransferFileWriter&) = delete;
    CTransferFileWriter& operator=(const CTransferFileWriter&) = delete;

    void Append(const BYTE* record, int size);
    unsigned Records() const { return m_records; }
    // Puts the number of records appended into the count and writes the
    // whole file under its temporary name beside `path`, on disk; the file
    // itself is not touched yet. False when that failed.
    bool Finish(const CString& path);
    // Finish, then the file replaced. False when any step failed; the old
    // file is then untouched.
    bool Commit(const CString& path);
    // Files that go together, each finished, put in place one right after
    // the other in the order given (CommitInOrder). False at the first that
    // could not be; it and those after it keep their old files.
    static bool CommitInOrder(const std::vector<CTransferFileWriter*>& writers);

private:
    std::vector<BYTE> m_bytes;
    unsigned m_records = 0;
    std::unique_ptr<AtomicFileWriter> m_file;
};
