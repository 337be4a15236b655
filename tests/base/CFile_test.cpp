#include "platform/base/CFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/base/files.h"
#include "tests/support/device_root.h"

namespace {

// The cause of the CFileException that `action` throws, or -1 for none.
template <class Action>
int CauseThrownBy(Action action) {
    try {
        action();
    } catch (CFileException* error) {
        const int cause = error->m_cause;
        error->Delete();
        return cause;
    }
    return -1;
}

int CauseOfOpen(const char16_t* path, UINT flags) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(path, flags, &error));
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    return error.m_cause;
}

}  // namespace

TEST(CFile, OpenFailuresCarryTheirCause) {
    ScopedDeviceRoot root;
    root.PutFile("DB/KD4700.DB", "db");
    EXPECT_EQ(CauseOfOpen(u"\\DB\\missing.db", CFile::modeRead | CFile::shareDenyNone), CFileException::fileNotFound);
    EXPECT_EQ(CauseOfOpen(u"\\USB Disk\\KD4700.DB", CFile::modeCreate | CFile::modeWrite), CFileException::badPath);
    EXPECT_EQ(CauseOfOpen(u"\\DB", CFile::modeRead), CFileException::accessDenied);
    SetFileAttributesW(u"\\DB\\KD4700.DB", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CauseOfOpen(u"\\db\\kd4700.db", CFile::modeCreate | CFile::modeWrite), CFileException::accessDenied);

    // A target that cannot be created throws from the constructor.
    EXPECT_EQ(CauseThrownBy([] { CFile file(u"\\nowhere\\KD4700.DB", CFile::modeCreate | CFile::modeWrite); }),
              CFileException::badPath);
}

TEST(CFile, ErrorMessagesNameTheFileAndRespectTheRoom) {
    CFileException error(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, u"\\Storage Card\\KD4700.DB");
    char16_t text[1024];
    ASSERT_TRUE(error.GetErrorMessage(text, 1024));
    EXPECT_EQ(std::u16string(text), u"\\Storage Card\\KD4700.DB was not found.");
    char16_t small[8];
    ASSERT_TRUE(error.GetErrorMessage(small, 8));
    EXPECT_EQ(std::u16string(small), u"\\Storag");
    EXPECT_FALSE(error.GetErrorMessage(small, 0));
    CFileException odd(99);
    ASSERT_TRUE(odd.GetErrorMessage(text, 1024));
    EXPECT_EQ(std::u16string(text), u"An unexpected error occurred while accessing an unnamed file.");
}

TEST(CFile, PlatformErrorsAndErrnoMapToCauses) {
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SUCCESS), CFileException::none);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_LOCK_VIOLATION), CFileException::lockViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_NEGATIVE_SEEK), CFileException::badSeek);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_HANDLE_EOF), CFileException::endOfFile);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_NOT_SUPPORTED), CFileException::genericException);
    EXPECT_EQ(CFileException::ErrnoToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::ErrnoToException(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::ErrnoToException(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::ErrnoToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::ErrnoToException(EIO), CFileException::hardIO);
    EXPECT_EQ(CFileException::ErrnoToException(ENOSPC), CFileException::diskFull);
}

TEST(CFile, ReadsWritesSeeksAndCopiesInBlocksLikeTheBackupPage) {
    ScopedDeviceRoot root;
    const std::string content(4096 * 3, 'k');
    root.PutFile("DB/KD4700.DB", content);

    CFile source;
    ASSERT_TRUE(source.Open(u"\\db\\KD4700.db", CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary));
    EXPECT_EQ(source.GetLength(), content.size());
    EXPECT_EQ(std::u16string(source.GetFileName()), u"KD4700.db");
    EXPECT_EQ(std::u16string(source.GetFileTitle()), u"KD4700");
    CFile target(u"\\KD4700.DB", CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite);
    char buffer[4096];
    int reads = 0;
    UINT n;
    do {
        n = source.Read(buffer, sizeof buffer);
        target.Write(buffer, n);
        ++reads;
    } while (n > 0);
    EXPECT_EQ(reads, 4);  // three full blocks, then the empty read
    source.Close();
    target.Close();
    EXPECT_EQ(root.ReadFile("KD4700.DB"), content);

    CFile file(u"\\KD4700.DB", CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate);
    EXPECT_EQ(file.SeekToEnd(), content.size());
    file.Write("end", 3);
    file.SeekToBegin();
    EXPECT_EQ(file.Seek(10, CFile::current), 10u);
    EXPECT_EQ(file.GetPosition(), 10u);
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(CauseThrownBy([&] { file.Seek(-1, CFile::begin); }), CFileException::badSeek);
    file.Flush();
    file.Close();
    EXPECT_EQ(root.ReadFile("KD4700.DB"), "kkkkk");
}

TEST(CFile, FailedReadsAndWritesThrow) {
    ScopedDeviceRoot root;
    root.PutFile("a.txt", "text");
    CFile readOnly(u"\\a.txt", CFile::modeRead);
    EXPECT_EQ(CauseThrownBy([&] { readOnly.Write("x", 1); }), CFileException::accessDenied);
    readOnly.Close();
    EXPECT_EQ(CauseThrownBy([&] { char c; readOnly.Read(&c, 1); }), CFileException::invalidFile);

    // A disk with no room left: the host's always-full device.
    std::filesystem::create_symlink("/dev/full", root.HostPath("full"));
    CFile full(u"\\full", CFile::modeWrite);
    EXPECT_EQ(CauseThrownBy([&] { full.Write("data", 4); }), CFileException::diskFull);
}

TEST(CFile, StatusRemoveAndRename) {
    ScopedDeviceRoot root;
    root.PutFile("USB Disk/zeta42/Quillon.exe", std::string(1234, 'x'));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(u"\\usb disk\\ZETA42\\quillon.exe", status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_NE(status.m_attribute, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_GT(status.m_mtime.GetTime(), 0);
    EXPECT_EQ(std::u16string(status.m_szFullName), u"\\usb disk\\ZETA42\\quillon.exe");
    EXPECT_FALSE(CFile::GetStatus(u"\\USB Disk\\zeta42\\missing.dll", status));
    EXPECT_FALSE(CFile::GetStatus(u"\\USB Disk\\zeta42\\*.exe", status));

    CFile::Rename(u"\\USB Disk\\zeta42\\Quillon.exe", u"\\USB Disk\\zeta42\\Old.exe");
    EXPECT_EQ(CauseThrownBy([] { CFile::Rename(u"\\USB Disk\\zeta42\\Quillon.exe", u"\\x"); }),
              CFileException::fileNotFound);
    CFile::Remove(u"\\USB Disk\\zeta42\\Old.exe");
    EXPECT_EQ(CauseThrownBy([] { CFile::Remove(u"\\USB Disk\\zeta42\\Old.exe"); }), CFileException::fileNotFound);
}
