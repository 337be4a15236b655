#include "transfer/TransferFiles.h"

#include <algorithm>
#include <cstring>

#include "core/CodePageText.h"
#include "data/CodePageField.h"
#include "data/FPTemplateStore.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"
#include "platform/base/numparse.h"
#include "users/UserRows.h"

namespace {

// Userinfo columns in table order.
enum UserColumn { UserId, UserCardNo, UserName, UserSex, UserPwd, UserDeptid, UserACFlag,
                  UserIconPath, UserAdminFlag, UserBirthday, UserGroupNO, UserFPFlag };
// FPinfo columns in table order.
enum FingerprintColumn { FingerNO, FingerUserID, FingerTemplate };

constexpr BYTE kAdminByte = 0xC0;
constexpr DWORD kReadChunk = 64 * 1024;

ULONGLONG GetBigEndian(const BYTE* in, int bytes) {
    ULONGLONG value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | in[i];
    return value;
}

bool AllFF(const BYTE* in, int bytes) {
    return std::all_of(in, in + bytes, [](BYTE b) { return b == 0xFF; });
}

CString DecimalId(ULONGLONG id) {
    CString text;
    text.Format(u"%I64d", static_cast<__int64>(id));
    return text;
}

// The two user layouts differ only in the card's width; every field after
// the card moves with it. False when the ID or the password is one that the
// user pages refuse.
bool DecodeUser(const BYTE* record, int cardBytes, TransferUser& user) {
    const int shift = cardBytes - 4;
    user.userid = DecimalId(GetBigEndian(record, 5));
    user.pwd = DecodeTransferPassword(record + 5);
    if (AllFF(record + 8, cardBytes))
        user.CardNo.Empty();
    else
        user.CardNo.Format(u"%u", static_cast<unsigned>(GetBigEndian(record + 8, cardBytes)));
    user.Name = DecodeTransferName(record + 12 + shift, &user.nameExact);
    user.Deptid = record[22 + shift];
    user.GroupNO = record[23 + shift];
    user.ACFlag = record[24 + shift];
    // Peers set other bits beside the two (the management link's record
    // has D0 for an administrator, 10 for anyone else).
    user.AdminFlag = (record[27 + shift] & kAdminByte) == kAdminByte ? 1 : 0;
    // The pages give IDs of 1 to 12 digits: ID 0 is no user.
    return user.userid != u"0" && user.userid.GetLength() <= kUserIdMaxLength &&
           user.pwd.GetLength() <= kUserPasswordMaxLength;
}

}  // namespace

void PutTransferCount(BYTE* out, unsigned count) { PutBigEndian(out, count & 0xFFFFFF, TransferCountSize); }

void EncodeTransferPassword(const CString& pwd, BYTE* out) {
    if (pwd.IsEmpty()) {
        std::memset(out, 0xFF, 3);
        return;
    }
    const unsigned value = static_cast<unsigned>(_wtoi(pwd));
    const unsigned digits = std::min(pwd.GetLength(), 15);
    out[0] = static_cast<BYTE>((digits << 4) | ((value >> 16) & 0x0F));
    out[1] = static_cast<BYTE>(value >> 8);
    out[2] = static_cast<BYTE>(value);
}

CString DecodeTransferPassword(const BYTE* in) {
    CString pwd;
    if (AllFF(in, 3)) return pwd;
    const int digits = in[0] >> 4;
    pwd.Format(u"%d", static_cast<int>(GetBigEndian(in, 3) & 0xFFFFF));
    while (pwd.GetLength() < digits) pwd = u"0" + pwd;
    return pwd;
}

void EncodeTransferName(const CString& name, BYTE* out) {
    FitTextToField(name, reinterpret_cast<char*>(out), PackedNameSize, TextToMultiByte);
}

CString DecodeTransferName(const BYTE* in, bool* exact) {
    char bytes[PackedNameSize + 1] = {};
    std::memcpy(bytes, in, PackedNameSize);
    // A peer may cut a longer name at the field's end, inside its last
    // character: what is there of that character is dropped, not read as
    // a character it is not.
    if (strnlen(bytes, PackedNameSize) == PackedNameSize)
        bytes[PackedNameSize - CutCharacterBytes(bytes, PackedNameSize)] = '\0';
    WCHAR text[TransferNameChars + 1] = {};
    MultiByteToText(bytes, text, TransferNameChars + 1, exact);
    text[TransferNameChars] = 0;
    return CString(text);
}

void EncodeUser28(CSqlStatement& row, BYTE* out) {
    PutBigEndian(out, static_cast<ULONGLONG>(row.ValueInt64(UserId)), 5);
    // Each text is copied: the next value read reuses the statement's room.
    const CString pwd = row.ValueString(UserPwd);
    EncodeTransferPassword(pwd, out + 5);
    // A card number the field cannot hold goes as no card, never as the
    // number of some other card.
    const CString card = row.ValueString(UserCardNo);
    const __int64 cardValue = _wtoi64(card);
    if (card.IsEmpty() || cardValue < 0 || cardValue > 0xFFFFFFFF)
        std::memset(out + 8, 0xFF, 4);
    else
        PutBigEndian(out + 8, static_cast<ULONGLONG>(cardValue), 4);
    EncodeTransferName(row.ValueString(UserName), out + 12);
    out[22] = static_cast<BYTE>(row.ValueInt(UserDeptid));
    out[23] = static_cast<BYTE>(row.ValueInt(UserGroupNO));
    out[24] = static_cast<BYTE>(row.ValueInt(UserACFlag));
    PutBigEndian(out + 25, static_cast<unsigned>(row.ValueInt(UserFPFlag)) & 0xFFFF, 2);
    out[27] = (row.ValueInt(UserAdminFlag) & 0xFF) == 1 ? kAdminByte : 0x00;
}

bool DecodeUser28(const BYTE* record, TransferUser& user) {
    user.fingerMask = static_cast<int>(GetBigEndian(record + 25, 2));
    return DecodeUser(record, 4, user);
}

bool DecodeUser27(const BYTE* record, TransferUser& user) {
    // The 27-byte mask reaches no stored field: users keep their own.
    user.fingerMask = -1;
    return DecodeUser(record, 3, user);
}

bool EncodeFingerprint(CSqlStatement& row, BYTE* out) {
    int bytes = 0;
    const BYTE* blob = static_cast<const BYTE*>(row.ValueBlob(FingerTemplate, bytes));
    if (!blob || (bytes != StoredTemplateSize && bytes != OldStoredTemplateSize)) return false;
    PutBigEndian(out, static_cast<ULONGLONG>(row.ValueInt64(FingerUserID)), 5);
    out[5] = static_cast<BYTE>(row.ValueInt(FingerNO) + 1);
    if (bytes == StoredTemplateSize) {
        std::memcpy(out + 6, blob, StoredTemplateSize);
    } else {
        // An old blob holds one press: it stands for both.
        std::memcpy(out + 6, blob, PressTemplateSize);
        std::memcpy(out + 6 + PressTemplateSize, blob, PressTemplateSize);
    }
    return true;
}

bool DecodeFingerprint(const BYTE* record, TransferFingerprint& fingerprint) {
    const int fingerByte = record[5];
    if (fingerByte < 1 || fingerByte > TransferFingers) return false;
    fingerprint.userid = DecimalId(GetBigEndian(record, 5));
    fingerprint.finger = fingerByte - 1;
    fingerprint.templ = record + 6;
    return true;
}

CTransferFileReader::~CTransferFileReader() {
    if (m_file) CloseHandle(m_file);
}

bool CTransferFileReader::Open(const CString& path, int recordSize) {
    // Only a file that ends: a link may lead anywhere, a device or a pipe
    // may never end.
    const HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_REGULAR_FILE_ONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE || !file) return false;
    m_file = file;
    m_recordSize = recordSize;
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    m_length = low == INVALID_FILE_SIZE ? 0 : (static_cast<ULONGLONG>(high) << 32) | low;
    m_buffer.resize(kReadChunk);
    // The count is for other readers: the records are read by the length.
    BYTE count[TransferCountSize];
    if (Read(count, TransferCountSize) < static_cast<DWORD>(TransferCountSize))
        m_shortTail = m_position > 0 && !m_readError;
    return true;
}

DWORD CTransferFileReader::Read(BYTE* out, DWORD count) {
    DWORD done = 0;
    while (done < count) {
        if (m_begin == m_end) {
            DWORD got = 0;
            if (!ReadFile(m_file, m_buffer.data(), kReadChunk, &got, nullptr)) {
                m_readError = true;
                break;
            }
            if (got == 0) break;
            m_begin = 0;
            m_end = got;
        }
        const DWORD take = static_cast<DWORD>(std::min<size_t>(count - done, m_end - m_begin));
        std::memcpy(out + done, m_buffer.data() + m_begin, take);
        m_begin += take;
        done += take;
    }
    m_position += done;
    return done;
}

ULONGLONG CTransferFileReader::Records() const {
    return m_length < TransferCountSize ? 0 : (m_length - TransferCountSize) / static_cast<ULONGLONG>(m_recordSize);
}

bool CTransferFileReader::Next(BYTE* record) {
    if (!m_file || m_shortTail || m_readError) return false;
    // A file that grows while it is read is read as long as it was.
    if (m_position + static_cast<ULONGLONG>(m_recordSize) > m_length) {
        m_shortTail = m_position < m_length;
        return false;
    }
    const DWORD got = Read(record, static_cast<DWORD>(m_recordSize));
    if (got == static_cast<DWORD>(m_recordSize)) return true;
    m_shortTail = got > 0 && !m_readError;
    return false;
}

CTransferFileWriter::CTransferFileWriter() : m_bytes(TransferCountSize, 0) {}

CTransferFileWriter::~CTransferFileWriter() = default;

void CTransferFileWriter::Append(const BYTE* record, int size) {
    m_bytes.insert(m_bytes.end(), record, record + size);
    ++m_records;
}

bool CTransferFileWriter::Finish(const CString& path) {
    const std::string hostPath = DeviceToHostPath(path.GetString());
    // What an export cut short (a power cut) left under a temporary name
    // goes with the next export of the file.
    RemoveStaleTemporaries(hostPath);
    PutTransferCount(m_bytes.data(), m_records);
    m_file = std::make_unique<AtomicFileWriter>(hostPath);
    if (!m_file->Write(m_bytes.data(), m_bytes.size()) || !m_file->Finish()) return false;
    // The file holds them now.
    std::vector<BYTE>().swap(m_bytes);
    return true;
}

bool CTransferFileWriter::Commit(const CString& path) { return Finish(path) && CommitInOrder({this}); }

bool CTransferFileWriter::CommitInOrder(const std::vector<CTransferFileWriter*>& writers) {
    std::vector<AtomicFileWriter*> files;
    for (CTransferFileWriter* writer : writers) {
        if (!writer->m_file) return false;
        files.push_back(writer->m_file.get());
    }
    return ::CommitInOrder(files);
}
