#include "platform/base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/lasterror.h"
#include "tests/support/device_root.h"
#include "tests/support/pipe_reader.h"

namespace {

HANDLE Open(const char16_t* path, DWORD access, DWORD disposition) {
    return CreateFileW(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(HANDLE file) {
    std::string text(256, '\0');
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr));
    text.resize(got);
    return text;
}

std::vector<std::u16string> Search(const char16_t* pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern, &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

}  // namespace

TEST(Files, DispositionsReportTheWindowsErrors) {
    ScopedDeviceRoot root;
    root.PutFile("DB/log.txt", "old content");

    EXPECT_EQ(Open(u"\\DB\\none.txt", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(u"\\NoFolder\\x.txt", GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open(u"\\db\\LOG.TXT", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    HANDLE file = Open(u"\\db\\LOG.TXT", GENERIC_READ, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadAll(file), "old content");
    CloseHandle(file);

    file = Open(u"\\db\\log.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(file);
    EXPECT_EQ(root.ReadFile("DB/log.txt"), "");  // truncated, and no second file in another case
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.HostPath("DB")), {}), 1);

    file = Open(u"\\DB\\New.Txt", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(file);
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("DB/New.Txt")));
}

TEST(Files, ReadWriteSeekAndSizeBeyondFourGigabytes) {
    ScopedDeviceRoot root;
    HANDLE file = Open(u"\\data.bin", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(file, "0123456789", 10, &put, nullptr));
    EXPECT_EQ(put, 10u);

    EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_END), 6u);
    EXPECT_EQ(ReadAll(file), "6789");
    EXPECT_EQ(SetFilePointer(file, 2, nullptr, FILE_BEGIN), 2u);
    EXPECT_EQ(SetFilePointer(file, 3, nullptr, FILE_CURRENT), 5u);
    EXPECT_TRUE(SetEndOfFile(file));
    DWORD high = 7;
    EXPECT_EQ(GetFileSize(file, &high), 5u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(SetFilePointer(file, -6, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));

    // 4 GiB + 16 through the high part; the file stays sparse.
    LONG seekHigh = 1;
    EXPECT_EQ(SetFilePointer(file, 16, &seekHigh, FILE_BEGIN), 16u);
    EXPECT_EQ(seekHigh, 1);
    EXPECT_TRUE(WriteFile(file, "x", 1, &put, nullptr));
    EXPECT_EQ(GetFileSize(file, &high), 17u);
    EXPECT_EQ(high, 1u);
    CloseHandle(file);
}

TEST(Files, AccessAndTheReadOnlyAttributeAreEnforced) {
    ScopedDeviceRoot root;
    root.PutFile("a.txt", "text");
    HANDLE file = Open(u"\\a.txt", GENERIC_READ, OPEN_EXISTING);
    DWORD put = 0;
    EXPECT_FALSE(WriteFile(file, "x", 1, &put, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(file);
    EXPECT_FALSE(ReadFile(file, nullptr, 0, &put, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    EXPECT_EQ(GetFileAttributesW(u"\\A.TXT"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(u"\\a.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Open(u"\\a.txt", GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileW(u"\\a.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(SetFileAttributesW(u"\\a.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileW(u"\\a.txt"));
    EXPECT_EQ(GetFileAttributesW(u"\\a.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(u"\\none\\a.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// What a removable medium may hold in the place of a file: only a regular
// file of its own opens, and a pipe does not keep the open waiting.
TEST(Files, RegularFileOnlyOpensNoLinkDeviceOrPipe) {
    ScopedDeviceRoot root;
    root.PutFile("plain", "text");
    std::filesystem::create_symlink(root.HostPath("plain"), root.HostPath("link"));
    std::filesystem::create_symlink("/dev/zero", root.HostPath("zero"));
    std::filesystem::create_directories(root.HostPath("folder"));
    ASSERT_EQ(mkfifo(root.HostPath("pipe").c_str(), 0600), 0);
    const auto open = [](const char16_t* path) {
        return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_REGULAR_FILE_ONLY,
                           nullptr);
    };
    HANDLE plain = open(u"\\plain");
    ASSERT_NE(plain, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadAll(plain), "text") << "the file reads as any other";
    CloseHandle(plain);
    for (const char16_t* path : {u"\\link", u"\\zero", u"\\pipe", u"\\folder"}) {
        EXPECT_EQ(open(path), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    HANDLE followed = Open(u"\\link", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(followed, INVALID_HANDLE_VALUE) << "without the flag a link is followed";
    CloseHandle(followed);

    EXPECT_EQ(GetFileEntryKind(u"\\plain"), FileEntryKind::RegularFile);
    EXPECT_EQ(GetFileEntryKind(u"\\link"), FileEntryKind::Link);
    EXPECT_EQ(GetFileEntryKind(u"\\zero"), FileEntryKind::Link);
    EXPECT_EQ(GetFileEntryKind(u"\\folder"), FileEntryKind::Folder);
    EXPECT_EQ(GetFileEntryKind(u"\\pipe"), FileEntryKind::Other);
    EXPECT_EQ(GetFileEntryKind(u"\\none"), FileEntryKind::Missing);

    ULONGLONG free = 0, total = 0;
    ASSERT_TRUE(GetDiskFreeSpaceExW(u"\\folder", &free, &total, nullptr));
    EXPECT_GT(free, 0u);
    EXPECT_LE(free, total);
    EXPECT_FALSE(GetDiskFreeSpaceExW(u"\\none", &free, nullptr, nullptr));
}

TEST(Files, Folders) {
    ScopedDeviceRoot root;
    EXPECT_TRUE(CreateDirectoryW(u"nandflash", nullptr));  // relative: from the root
    EXPECT_TRUE(CreateDirectoryW(u"\\NandFlash\\app", nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(root.HostPath("nandflash/app")));
    EXPECT_FALSE(CreateDirectoryW(u"\\NANDFLASH\\APP", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(u"\\a\\b", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(u"\\nandflash\\app"), FILE_ATTRIBUTE_DIRECTORY);

    EXPECT_EQ(Open(u"\\nandflash\\app", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(RemoveDirectoryW(u"\\nandflash"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(DeleteFileW(u"\\nandflash\\app"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\nandflash\\app"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\nandflash"));
    EXPECT_FALSE(RemoveDirectoryW(u"\\"));
}

TEST(Files, SearchMatchesWildcardsWithoutCaseAndListsNoDotEntries) {
    ScopedDeviceRoot root;
    root.PutFile("ICON/b.PNG", "12345");
    root.PutFile("ICON/a.png", "1");
    root.PutFile("ICON/c.bmp", "");
    root.PutFile("ICON/sub.png/inner", "");
    root.PutFile("ICON/.hidden", "");

    EXPECT_EQ(Search(u"\\icon\\*.png"), (std::vector<std::u16string>{u"a.png", u"b.PNG", u"sub.png"}));
    EXPECT_EQ(Search(u"\\ICON\\*"), (std::vector<std::u16string>{u".hidden", u"a.png", u"b.PNG", u"c.bmp", u"sub.png"}));
    EXPECT_EQ(Search(u"\\ICON\\*.*").size(), 5u);
    EXPECT_EQ(Search(u"\\ICON\\?.png"), (std::vector<std::u16string>{u"a.png", u"b.PNG"}));

    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(u"\\Icon\\SUB.PNG", &data);  // how a folder test looks a folder up
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(std::u16string(data.cFileName), u"sub.png");
    FindClose(search);
    search = FindFirstFileW(u"\\icon\\B.png", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_NE(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    FindClose(search);

    EXPECT_EQ(FindFirstFileW(u"\\ICON\\*.wav", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileW(u"\\NoSuch\\*.png", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(Files, WildcardMatching) {
    EXPECT_TRUE(MatchesWildcard(u"*.png", u"Photo.PNG"));
    EXPECT_FALSE(MatchesWildcard(u"*.png", u"photo.png.bak"));
    EXPECT_TRUE(MatchesWildcard(u"a*b*c", u"aXXbYYbZc"));
    EXPECT_FALSE(MatchesWildcard(u"a*b*c", u"aXXbYYbZ"));
    EXPECT_TRUE(MatchesWildcard(u"??.txt", u"ab.txt"));
    EXPECT_FALSE(MatchesWildcard(u"??.txt", u"a.txt"));
    EXPECT_TRUE(MatchesWildcard(u"*.*", u"README"));
    EXPECT_TRUE(MatchesWildcard(u"考勤*", u"考勤记录.kq"));
}

TEST(Files, CopyAndMove) {
    ScopedDeviceRoot root;
    root.PutFile("DB/back/KD4700.bak", "backup");
    root.PutFile("DB/KD4700.DB", "live");
    EXPECT_FALSE(CopyFileW(u"\\DB\\back\\KD4700.bak", u"\\db\\kd4700.db", TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(CopyFileW(u"\\DB\\back\\KD4700.bak", u"\\db\\kd4700.db", FALSE));
    EXPECT_EQ(root.ReadFile("DB/KD4700.DB"), "backup");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.HostPath("DB")), {}), 2);  // no temporary left
    EXPECT_FALSE(CopyFileW(u"\\DB\\none", u"\\DB\\x", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(CopyFileW(u"\\DB\\KD4700.DB", u"\\nofolder\\x", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    // A link is copied as the file it leads to; a pipe is refused unread.
    std::filesystem::create_symlink(root.HostPath("DB/back/KD4700.bak"), root.HostPath("DB/linked"));
    EXPECT_TRUE(CopyFileW(u"\\DB\\linked", u"\\DB\\fromlink", FALSE));
    EXPECT_EQ(root.ReadFile("DB/fromlink"), "backup");
    BOOL piped = TRUE;
    EXPECT_TRUE(ReturnsWithoutAWriter(root.HostPath("DB/pipe"),
                                      [&] { piped = CopyFileW(u"\\DB\\pipe", u"\\DB\\x", FALSE); }));
    EXPECT_FALSE(piped);
    std::filesystem::remove(root.HostPath("DB/linked"));
    std::filesystem::remove(root.HostPath("DB/fromlink"));
    std::filesystem::remove(root.HostPath("DB/pipe"));

    EXPECT_FALSE(MoveFileW(u"\\DB\\KD4700.DB", u"\\DB\\BACK\\kd4700.BAK"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileW(u"\\DB\\KD4700.DB", u"\\DB\\back\\Moved.db"));
    EXPECT_EQ(root.ReadFile("DB/back/Moved.db"), "backup");
    EXPECT_TRUE(MoveFileW(u"\\db\\back\\moved.db", u"\\DB\\back\\MOVED.DB"));  // a change of case only
    EXPECT_EQ(root.ReadFile("DB/back/MOVED.DB"), "backup");
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("DB/back/Moved.db")));

    // A second name keeps the content when the first is replaced.
    EXPECT_TRUE(CreateHardLinkW(u"\\DB\\kept", u"\\db\\back\\moved.db", nullptr));
    EXPECT_FALSE(CreateHardLinkW(u"\\DB\\kept", u"\\DB\\back\\MOVED.DB", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    root.PutFile("DB/new", "new");
    EXPECT_TRUE(MoveFileExW(u"\\DB\\new", u"\\DB\\back\\MOVED.DB", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(root.ReadFile("DB/back/MOVED.DB"), "new");
    EXPECT_EQ(root.ReadFile("DB/kept"), "backup");
}

namespace {
class EchoDevice : public StreamObject {
public:
    BOOL Read(void* buffer, DWORD count, DWORD* done) override {
        *done = std::min<DWORD>(count, static_cast<DWORD>(m_data.size()));
        m_data.copy(static_cast<char*>(buffer), *done);
        m_data.erase(0, *done);
        return TRUE;
    }
    BOOL Write(const void* data, DWORD count, DWORD* done) override {
        m_data.append(static_cast<const char*>(data), count);
        *done = count;
        return TRUE;
    }

private:
    std::string m_data;
};
}  // namespace

TEST(Files, DeviceNamesReachTheirRegisteredOpener) {
    std::u16string opened;
    RegisterStreamDevice(u"tst", [&](std::u16string_view name, DWORD) {
        opened = name;
        return new EchoDevice;
    });
    HANDLE device = Open(u"TST2:", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    EXPECT_EQ(opened, u"TST2:");
    DWORD count = 0;
    EXPECT_TRUE(WriteFile(device, "ping", 4, &count, nullptr));
    EXPECT_EQ(ReadAll(device), "ping");
    EXPECT_FALSE(DeviceIoControl(device, 1, nullptr, 0, nullptr, 0, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(SetFilePointer(device, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    CloseHandle(device);

    EXPECT_EQ(Open(u"XYZ1:", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
