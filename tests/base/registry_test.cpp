#include "platform/base/registry.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/base/atomic_file.h"
#include "platform/base/lasterror.h"
#include "platform/base/registry_format.h"
#include "tests/support/device_root.h"

namespace {

const BYTE* Bytes(const void* data) { return static_cast<const BYTE*>(data); }

LONG SetString(HKEY key, const char16_t* name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, Bytes(text.c_str()), static_cast<DWORD>((text.size() + 1) * 2));
}

LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, Bytes(&value), sizeof value);
}

std::u16string GetString(HKEY root, const char16_t* path, const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return u"<no key>";
    char16_t buffer[100] = {};
    DWORD size = sizeof buffer, type = 0;
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? std::u16string(buffer) : u"<no value>";
}

}  // namespace

TEST(Registry, KeysAndValuesIgnoreCaseAndReportDisposition) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(SetString(key, u"MachineID", u"0001"), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"Volume", 0x10), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"MACHINEID", u"0002"), ERROR_SUCCESS);  // same value, other case
    RegCloseKey(key);

    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\velto\\QUILLON", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(values, 2u);
    RegCloseKey(key);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"Software\\Velto\\Quillon\\", u"machineid"), u"0002");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\Velto\\Quillon", u"MachineID"), u"<no key>");

    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\01", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(uintptr_t{0x1234567})), ERROR_INVALID_HANDLE);
}

TEST(Registry, QueriesFollowTheSizeRules) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\SDMemory", 0, nullptr, 0, 0,
                              nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"Folder", u"Storage Card"), ERROR_SUCCESS);

    DWORD size = 0, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Folder", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 26u);  // 12 characters and the terminating zero, in bytes
    EXPECT_EQ(type, REG_SZ);

    char16_t small[4] = {u'x', u'x', u'x', u'x'};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExW(key, u"Folder", nullptr, nullptr, reinterpret_cast<LPBYTE>(small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 26u);

    char16_t exact[13];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExW(key, u"Folder", nullptr, nullptr, reinterpret_cast<LPBYTE>(exact), &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(exact), u"Storage Card");
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    char16_t name[4];
    DWORD nameLength = 4;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    char16_t longName[16];
    nameLength = 16;
    EXPECT_EQ(RegEnumValueW(key, 0, longName, &nameLength, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(nameLength, 6u);
    EXPECT_EQ(std::u16string(longName), u"Folder");
    EXPECT_EQ(RegEnumValueW(key, 1, longName, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    EXPECT_EQ(RegDeleteValueW(key, u"FOLDER"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, u"Folder"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST(Registry, DeletingAKeyTakesItsSubkeysAndInvalidatesTheirHandles) {
    ScopedDeviceRoot root;
    HKEY inner = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\CS8900\\Inner", 0, nullptr, 0, 0, nullptr, &inner, nullptr),
              ERROR_SUCCESS);
    HKEY drivers = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Drivers", 0, 0, &drivers), ERROR_SUCCESS);
    char16_t name[32];
    DWORD length = 32;
    EXPECT_EQ(RegEnumKeyExW(drivers, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"CS8900");

    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"drivers\\cs8900"), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(inner, u"x", 1), ERROR_KEY_DELETED);
    length = 32;
    EXPECT_EQ(RegEnumKeyExW(drivers, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"drivers\\cs8900"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(inner);
    RegCloseKey(drivers);
}

TEST(Registry, SurvivesARestartWithEveryTypeAndAwkwardText) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Comm\\DM9CE1\\Parms\\TCPIP", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char16_t multi[] = u"192.168.1.10\0192.168.1.11\0";
    const BYTE binary[300] = {0, 1, 2, 0xFF};
    EXPECT_EQ(RegSetValueExW(key, u"IpAddress", 0, REG_MULTI_SZ, Bytes(multi), sizeof multi), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"EnableDHCP", 0xA), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"Quote \"and\" \\back\\", u"C:\\path \"quoted\" 考勤"), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"", u"default"), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"Lines", u"one\r\ntwo"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, u"Blob", 0, REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, u"Unterminated", 0, REG_SZ, Bytes(u"ab"), 4), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY empty = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Empty", 0, nullptr, 0, 0, nullptr, &empty, nullptr), ERROR_SUCCESS);
    RegCloseKey(empty);

    const std::string text = root.ReadFile("registry.reg");
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Comm\\DM9CE1\\Parms\\TCPIP]\n"), std::string::npos);
    EXPECT_NE(text.find("\"EnableDHCP\"=dword:0000000a\n"), std::string::npos);
    EXPECT_NE(text.find("\"Quote \\\"and\\\" \\\\back\\\\\"=\"C:\\\\path \\\"quoted\\\" 考勤\"\n"), std::string::npos);
    EXPECT_NE(text.find("@=\"default\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"IpAddress\"=hex(7):31,00,39,00"), std::string::npos);

    const RegistryTree before = ParseRegistry(text);
    RegistryLoad();  // as a restart does
    EXPECT_EQ(SerializeRegistry(ParseRegistry(root.ReadFile("registry.reg"))), SerializeRegistry(before));

    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"comm\\dm9ce1\\parms\\tcpip", 0, 0, &key), ERROR_SUCCESS);
    BYTE data[400];
    DWORD size = sizeof data, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"IpAddress", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_MULTI_SZ);
    ASSERT_EQ(size, sizeof multi);
    EXPECT_EQ(std::memcmp(data, multi, size), 0);
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExW(key, u"Blob", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    ASSERT_EQ(size, sizeof binary);
    EXPECT_EQ(std::memcmp(data, binary, size), 0);
    size = sizeof data;
    EXPECT_EQ(RegQueryValueExW(key, u"Unterminated", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"Comm\\DM9CE1\\Parms\\TCPIP", u"Lines"), u"one\r\ntwo");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"Comm\\DM9CE1\\Parms\\TCPIP", nullptr), u"default");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"Comm\\DM9CE1\\Parms\\TCPIP", u"quote \"AND\" \\BACK\\"), u"C:\\path \"quoted\" 考勤");
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Empty", 0, 0, &empty), ERROR_SUCCESS);
    RegCloseKey(empty);
}

TEST(Registry, ReadsFilesWrittenByHandAndSkipsBrokenLines) {
    ScopedDeviceRoot root;
    const std::u16string text =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_LOCAL_MACHINE\\init]\r\n"
        u"\"Launch50\"=\"launch.exe\"\r\n"
        u"; a comment\r\n"
        u"\"Broken\"=dword:xyz\r\n"
        u"\"Wrapped\"=hex(7):61,00,\\\r\n"
        u"  62,00,00,00,00,00\r\n"
        u"[HKEY_NOWHERE\\x]\r\n"
        u"\"Lost\"=\"x\"\r\n";
    std::string utf16le(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    root.PutFile("registry.reg", utf16le);
    RegistryLoad();
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"init", u"Launch50"), u"launch.exe");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, 0, &key), ERROR_SUCCESS);
    DWORD size = 0, type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Broken", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"Wrapped", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_MULTI_SZ);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST(Registry, AnUnpairedSurrogateInAUtf16FileReadsAsItIsWritten) {
    const std::u16string text = u"\xFEFF[HKEY_LOCAL_MACHINE\\\xDCDC\xDCDC]\n\"a\"=\"1\"\n"
                                u"[HKEY_LOCAL_MACHINE\\S\xDCDC\xDCDC\xDCDC]\n\"b\"=\"2\"\n";
    const std::string file(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const RegistryTree tree = ParseRegistry(file);
    const std::shared_ptr<RegKey> key = tree.roots[2]->FindSubkey(u"\xFFFD\xFFFD");
    ASSERT_NE(key, nullptr);
    EXPECT_NE(key->FindValue(u"a"), nullptr);
    const std::string written = SerializeRegistry(tree);
    EXPECT_EQ(SerializeRegistry(ParseRegistry(written)), written);
}

namespace {
AtomicStage g_dieAt;
void DieAtStage(AtomicStage stage) {
    if (stage == g_dieAt) _exit(0);
}

// A child process makes one change and dies at `stage` of its write.
void ChangeAndDieAt(AtomicStage stage) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        g_dieAt = stage;
        SetAtomicStageHook(DieAtStage);
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        SetString(key, u"State", u"new");
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the write never reached the stage";
}
}  // namespace

TEST(Registry, AKillDuringAWriteLeavesTheOldOrTheNewFileNeverHalf) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"State", u"old"), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string oldFile = root.ReadFile("registry.reg");

    for (AtomicStage stage : {AtomicStage::Wrote, AtomicStage::Flushed}) {
        ChangeAndDieAt(stage);
        EXPECT_EQ(root.ReadFile("registry.reg"), oldFile);
        RegistryLoad();
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", u"State"), u"old");
        // The next start removes what the dead writer left.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.Host()), {}), 1);
    }

    ChangeAndDieAt(AtomicStage::Renamed);
    RegistryLoad();
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", u"State"), u"new");
}

TEST(Registry, AFailedWriteIsReportedAndRetriedByFlush) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    // A folder where the file should be makes every replace fail.
    std::filesystem::remove(root.HostPath("registry.reg"));
    std::filesystem::create_directory(root.HostPath("registry.reg"));
    EXPECT_EQ(SetString(key, u"velto", u"explorer.exe"), ERROR_CANTWRITE);
    EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_CANTWRITE);
    std::filesystem::remove(root.HostPath("registry.reg"));
    EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    RegCloseKey(key);
    RegistryLoad();
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"init", u"velto"), u"explorer.exe");
}

TEST(Registry, ABatchWritesItsChangesInOneSaveWhenTheLastOneEnds) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(SetDword(key, u"TimeType", 1), ERROR_SUCCESS);
    const std::string before = root.ReadFile("registry.reg");
    {
        RegistryBatch outer;
        EXPECT_EQ(SetDword(key, u"TimeType", 0), ERROR_SUCCESS);
        {
            RegistryBatch inner;
            EXPECT_EQ(SetDword(key, u"RJWIFI", 0), ERROR_SUCCESS);
        }
        EXPECT_EQ(root.ReadFile("registry.reg"), before) << "nothing written before the last batch ends";
        DWORD value = 1, size = sizeof value;
        EXPECT_EQ(RegQueryValueExW(key, u"TimeType", nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, 0u) << "the change is read back at once";
    }
    RegCloseKey(key);
    const std::string after = root.ReadFile("registry.reg");
    EXPECT_NE(after.find("\"TimeType\"=dword:00000000\n"), std::string::npos);
    EXPECT_NE(after.find("\"RJWIFI\"=dword:00000000\n"), std::string::npos);
}

// A folder or a pipe in place of the file is reported at once, without a
// wait for a writer, and nothing is ever written over it.
TEST(Registry, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
    ScopedDeviceRoot root;
    const std::string path = root.HostPath("registry.reg");
    const std::function<void()> makers[] = {[&] { std::filesystem::create_directory(path); },
                                            [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }};
    for (const auto& make : makers) {
        std::filesystem::remove(path);
        make();
        const auto kind = std::filesystem::symlink_status(path).type();
        RegistryLoad();
        EXPECT_FALSE(RegistryFileReadable());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, nullptr, 0, 0, nullptr, &key, nullptr),
                  ERROR_CANTWRITE);
        EXPECT_EQ(SetString(key, u"velto", u"explorer.exe"), ERROR_CANTWRITE);
        EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_CANTWRITE);
        RegCloseKey(key);
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), kind);
    }
    std::filesystem::remove(path);
    RegistryLoad();
    EXPECT_TRUE(RegistryFileReadable());
}

namespace {

// A registry file whose one key lies `depth` levels below HKLM, each level
// named `name`, with a value in the deepest.
std::string NestedRegistry(size_t depth, const std::string& name) {
    std::string path = "HKEY_LOCAL_MACHINE";
    for (size_t level = 0; level < depth; ++level) path += "\\" + name;
    return "Windows Registry Editor Version 5.00\n\n[" + path + "]\n\"Deepest\"=\"yes\"\n\n";
}

// The path of HKLM's key `depth` levels down the chain of `name`s.
std::u16string NestedPath(size_t depth, const std::u16string& name) {
    std::u16string path;
    for (size_t level = 0; level < depth; ++level) path += (level ? u"\\" : u"") + name;
    return path;
}

}  // namespace

// Keys at the registry's limits load and are written back at about the size
// they were read; a key beyond them makes the file damaged: nothing of it is
// loaded and nothing is written over it, however deep it goes.
TEST(Registry, KeysBeyondTheLimitsMakeTheFileDamagedAndKeysAtThemAreKept) {
    ScopedDeviceRoot root;
    const std::string longest(255, 'k');
    const std::string atLimits = NestedRegistry(512, longest);
    root.PutFile("registry.reg", atLimits);
    RegistryLoad();
    ASSERT_TRUE(RegistryFileReadable());
    const std::u16string deepest = NestedPath(512, std::u16string(255, u'k'));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, deepest.c_str(), u"Deepest"), u"yes");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, deepest.c_str(), 0, 0, &key), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"Changed", u"1"), ERROR_SUCCESS);
    RegCloseKey(key);
    // Each key written with its whole path would make it 33 MB.
    EXPECT_LT(root.ReadFile("registry.reg").size(), 2 * atLimits.size());
    RegistryLoad();
    EXPECT_TRUE(RegistryFileReadable());
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, deepest.c_str(), u"Changed"), u"1");

    for (const std::string& beyond : {NestedRegistry(513, "k"), NestedRegistry(2, std::string(256, 'k')),
                                      NestedRegistry(10000, "k"), NestedRegistry(30000, "k")}) {
        SCOPED_TRACE(beyond.size());
        root.PutFile("registry.reg", atLimits + beyond.substr(beyond.find('[')));
        RegistryLoad();
        EXPECT_FALSE(RegistryFileReadable());
        EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, deepest.c_str(), u"Deepest"), u"<no key>");
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, nullptr, 0, 0, nullptr, &key, nullptr),
                  ERROR_CANTWRITE);
        RegCloseKey(key);
        EXPECT_EQ(root.ReadFile("registry.reg"), atLimits + beyond.substr(beyond.find('[')));
    }
}

TEST(Registry, KeysBeyondTheLimitsAreNotMade) {
    ScopedDeviceRoot root;
    HKEY key = nullptr;
    const std::u16string atDepth = NestedPath(512, u"k");
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, atDepth.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    HKEY deeper = key;
    EXPECT_EQ(RegCreateKeyExW(key, u"one more", 0, nullptr, 0, 0, nullptr, &deeper, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(deeper, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (atDepth + u"\\k").c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    const std::u16string name(255, u'n');
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (name + u"n").c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    RegistryLoad();
    EXPECT_TRUE(RegistryFileReadable()) << "what was made reads back";
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, atDepth.c_str(), 0, 0, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

// An owner may keep the registry elsewhere behind a link: a change goes into
// the file the link leads to, and the link stays for the next start.
TEST(Registry, AChangeGoesThroughALinkToTheFileItLeadsTo) {
    ScopedDeviceRoot root;
    root.PutFile("owner/registry.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\init]\n\"velto\"=\"old\"\n\n");
    const std::string link = root.HostPath("registry.reg");
    std::filesystem::create_symlink(root.HostPath("owner/registry.reg"), link);
    RegistryLoad();
    ASSERT_TRUE(RegistryFileReadable());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"init", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"velto", u"new"), ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(root.ReadFile("owner/registry.reg").find("\"velto\"=\"new\""), std::string::npos);
    RegistryLoad();
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, u"init", u"velto"), u"new");
}
