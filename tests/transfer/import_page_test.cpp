// The data import page: files made by the test byte by byte, files made by
// the export page, and hostile files from a medium; keys pressed while it
// imports.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "core/AppMessageBox.h"
#include "core/CodePageText.h"
#include "core/DatabaseOpen.h"
#include "core/LangLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/XmlDoc.h"
#include "data/DataGlobals.h"
#include "data/DataStoreServices.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "platform/base/codepage.h"
#include "platform/base/files.h"
#include "platform/ui/display.h"
#include "platform/ui/input.h"
#include "tests/support/database_held.h"
#include "tests/transfer/file_decoder.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

std::string Be(uint64_t value, int bytes) {
    std::string out(static_cast<size_t>(bytes), '\0');
    for (int i = bytes - 1; i >= 0; --i, value >>= 8) out[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    return out;
}

struct FileUser {
    uint64_t id;
    std::string pwd;  // digits, or "" for none
    int64_t card;     // -1 for none
    std::string nameUtf8;
    int dept = 0, group = 0, acflag = 6, mask = 0;
    bool admin = false;
};

std::string Password(const std::string& digits) {
    if (digits.empty()) return std::string(3, '\xFF');
    const uint64_t value = std::stoull(digits);
    return Be((static_cast<uint64_t>(digits.size()) << 20) | value, 3);
}

std::string Name(const std::string& utf8) {
    std::string name = Utf8ToGbk(utf8);
    name.resize(10, '\0');
    return name;
}

std::string User28(const FileUser& u) {
    return Be(u.id, 5) + Password(u.pwd) + (u.card < 0 ? std::string(4, '\xFF') : Be(static_cast<uint64_t>(u.card), 4)) +
           Name(u.nameUtf8) + static_cast<char>(u.dept) + static_cast<char>(u.group) + static_cast<char>(u.acflag) +
           Be(static_cast<uint64_t>(u.mask), 2) + (u.admin ? '\xC0' : '\0');
}

std::string User27(const FileUser& u) {
    return Be(u.id, 5) + Password(u.pwd) + (u.card < 0 ? std::string(3, '\xFF') : Be(static_cast<uint64_t>(u.card), 3)) +
           Name(u.nameUtf8) + static_cast<char>(u.dept) + static_cast<char>(u.group) + static_cast<char>(u.acflag) +
           Be(static_cast<uint64_t>(u.mask), 2) + (u.admin ? '\xC0' : '\0');
}

std::u16string Decimal(int value) { return Utf8ToUtf16(std::to_string(value)); }

std::string Fingerprint(uint64_t id, int fingerByte, const std::vector<BYTE>& templ) {
    return Be(id, 5) + static_cast<char>(fingerByte) + std::string(templ.begin(), templ.end());
}

class ImportPageTest : public TransferTest {
protected:
    CString Folder() { return GetTransferFolder(StorageDeviceFlash); }
    void PutFile(const char16_t* name, unsigned count, const std::string& records) {
        WriteHostFile(TransferFilePath(Folder(), name), Be(count, 3) + records);
    }
    // Presses Import on flash with the answers given.
    void Import(std::vector<std::string> answers) {
        std::vector<std::string> lines{"key DOWN"};
        for (const std::string& answer : answers) lines.push_back("answer " + answer);
        lines.insert(lines.end(), {"key ENTER", "progress"});
        OnPage(132, lines);
    }
    int Users() { return Count(u"select count(*) from Userinfo"); }
    // Users and templates exported by the export page to the flash, then
    // gone from the tables and the store.
    void ExportAndEmpty() {
        OnPage(1331, {"key DOWN", "answer yes", "answer ok", "key ENTER"});
        g_pDatabase->DirectStatement(u"delete from Userinfo");
        g_pDatabase->DirectStatement(u"delete from FPinfo");
        g_pUserStorage->LoadCount();
        store.Reset();
    }
    bool Intact() {
        StatementPtr check(g_pDatabase->Statement(u"pragma integrity_check"));
        return check->NextRow() && CString(check->ValueString(0)) == u"ok";
    }
    // Every FPinfo row of an existing user has its slot in the store, and
    // the store holds nothing else.
    bool StoreMatchesTable() {
        StatementPtr rows(g_pDatabase->Statement(
            u"select fpinfo.userid, fpinfo.fingerNO from fpinfo, userinfo where fpinfo.userid = userinfo.userid"));
        int n = 0;
        while (rows->NextRow()) {
            ++n;
            if (!store.FindSlot(rows->ValueString(0), rows->ValueInt(1))) return false;
        }
        return n == store.GetCount();
    }
};

TEST_F(ImportPageTest, ExportedUsersAndTemplatesComeBackWhole) {
    PutUser({u"987654321098", u"87654321", u"张三", u"", u"000123", 3, 0x4A, u"", 1, u"", 2, 0x0003});
    PutUser({u"2", u"", u"O'Bri\"en", u"", u"", 0, 6, u"", 0, u"", 16, 0x0200});
    PutUser({u"999999999999", u"4294967294", u"一二三四五", u"", u"9", 255, 0, u"", 1, u"", 0, 0});
    const std::vector<BYTE> pair = SeededBlob(StoredTemplateSize, 1), old = SeededBlob(OldStoredTemplateSize, 2);
    PutTemplate(u"987654321098", 0, pair);
    PutTemplate(u"987654321098", 1, old);
    PutTemplate(u"2", 9, SeededBlob(StoredTemplateSize, 3));
    const std::vector<std::vector<std::u16string>> before{UserColumns(u"987654321098"), UserColumns(u"2"),
                                                          UserColumns(u"999999999999")};
    ExportAndEmpty();

    Import({"yes", "ok"});
    EXPECT_EQ(UserColumns(u"987654321098"), before[0]);
    EXPECT_EQ(UserColumns(u"2"), before[1]);
    EXPECT_EQ(UserColumns(u"999999999999"), before[2]);
    EXPECT_EQ(g_pUserStorage->GetCount(), 3);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 3);
    StatementPtr row = PrepareBound(*g_pDatabase, u"select FPTemplate from FPinfo where userid = ? and fingerNO = 1",
                                    {u"987654321098"});
    ASSERT_TRUE(row->NextRow());
    int bytes = 0;
    const BYTE* blob = static_cast<const BYTE*>(row->ValueBlob(0, bytes));
    ASSERT_EQ(bytes, StoredTemplateSize) << "an old template comes back as two presses";
    EXPECT_TRUE(std::equal(old.begin(), old.begin() + PressTemplateSize, blob));
    EXPECT_TRUE(std::equal(old.begin(), old.begin() + PressTemplateSize, blob + PressTemplateSize));
    EXPECT_EQ(store.GetCount(), 3);
    EXPECT_TRUE(StoreMatchesTable());
    EXPECT_EQ(Messages().back(), u"Import done");
    EXPECT_EQ(progress, std::vector<UINT>{100u});
}

TEST_F(ImportPageTest, AnExistingUserTakesTheFilesFieldsAndKeepsWhatTheFilesDoNotCarry) {
    PutUser({u"42", u"1", u"Old", u"1", u"1", 1, 6, u"\\ICON\\42.jpg", 0, u"1980-05-06", 1, 0x0001});
    PutUser({u"43", u"", u"Other", u"0", u"", 0, 6, u"", 0, u"", 0, 0});
    PutFile(kUserFile28, 1, User28({42, "0042", 777, "New", 5, 6, 0x40, 0x0006, true}));
    PutFile(kUserFile27, 1, User27({42, "1", 888, "Newer", 7, 8, 0x41, 0xFFFF, false}));
    Import({"no", "ok"});
    EXPECT_EQ(UserColumns(u"42"), (std::vector<std::u16string>{u"888", u"Newer", u"1", u"1", u"7", u"65", u"\\ICON\\42.jpg",
                                                                u"0", u"1980-05-06", u"8", u"6"}))
        << "the small file wins, with the finger mask of the large one";
    EXPECT_EQ(UserColumns(u"43"), (std::vector<std::u16string>{u"", u"Other", u"0", u"", u"0", u"6", u"", u"0", u"", u"0", u"0"}));
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?", u"Import done"}));
}

TEST_F(ImportPageTest, TemplatesGoToKnownUsersFingersAndReplaceTheirOwnSlot) {
    PutUser({u"9", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    const std::vector<BYTE> first = SeededBlob(StoredTemplateSize, 5), second = SeededBlob(StoredTemplateSize, 6);
    PutFile(kFingerprintFile, 4,
            Fingerprint(9, 3, first) + Fingerprint(10, 1, first) + Fingerprint(9, 0, first) + Fingerprint(9, 11, first));
    Import({"yes", "ok", "ok"});
    EXPECT_EQ(Count(u"select count(*) from FPinfo where userid = '9' and fingerNO = 2"), 1);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 1);
    EXPECT_EQ(Count(u"select FPFlag from Userinfo where userid = '9'"), 1 << 2);
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?", u"No user file found in the folder!",
                                                       u"Import done; 2 records could not be imported!"}))
        << "two fingers that are none; the unknown user's template is passed over";
    // The same file again updates the row and the slot.
    PutFile(kFingerprintFile, 1, Fingerprint(9, 3, second));
    Import({"yes", "ok"});
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_TRUE(StoreMatchesTable());
    StatementPtr row(g_pDatabase->Statement(u"select FPTemplate from FPinfo"));
    ASSERT_TRUE(row->NextRow());
    int bytes = 0;
    EXPECT_EQ(0, std::memcmp(row->ValueBlob(0, bytes), second.data(), StoredTemplateSize));
}

// An export carries the templates of users deleted since; brought back
// to a terminal without those users they are passed over, and the import
// is done.
TEST_F(ImportPageTest, TemplatesOfUsersNotHereArePassedOverQuietly) {
    PutFile(kUserFile28, 1, User28({9, "", -1, "Nine"}));
    PutFile(kFingerprintFile, 2,
            Fingerprint(77, 1, SeededBlob(StoredTemplateSize, 1)) + Fingerprint(9, 2, SeededBlob(StoredTemplateSize, 2)));
    Import({"yes", "ok"});
    EXPECT_EQ(Count(u"select count(*) from FPinfo where userid = '77'"), 0);
    EXPECT_EQ(Count(u"select count(*) from FPinfo where userid = '9'"), 1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?", u"Import done"}));
}

// User 5 leaves with his finger and another person becomes user 5; an
// export of the users alone takes the older templates out of the folder
// (also when they are read-only), so that importing the folder gives the new
// user 5 nobody's finger.
TEST_F(ImportPageTest, AUsersOnlyExportTakesTheTemplatesOfTheExportBeforeOutOfItsFolder) {
    PutUser({u"5", u"", u"Leaver", u"", u"", 0, 6, u"", 0, u"", 0, 0x0001});
    PutTemplate(u"5", 0, SeededBlob(StoredTemplateSize, 5));
    ExportAndEmpty();
    const CString templates = TransferFilePath(Folder(), kFingerprintFile);
    ASSERT_EQ(DecodeFingerprintFile(ReadHostFile(templates)).count, 1u);
    chmod(Host(templates).c_str(), 0444);
    PutUser({u"5", u"", u"Newcomer", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    OnPage(1331, {"key DOWN", "answer no", "key ENTER"});
    EXPECT_FALSE(std::filesystem::exists(Host(templates)));
    g_pDatabase->DirectStatement(u"delete from Userinfo");
    g_pUserStorage->LoadCount();

    Import({"yes", "ok", "ok"});
    EXPECT_EQ(Count(u"select count(*) from Userinfo where userid = '5' and Name = 'Newcomer'"), 1);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0);
    EXPECT_EQ(store.GetCount(), 0);
    const std::vector<std::u16string> messages = Messages();
    EXPECT_EQ(std::vector<std::u16string>(messages.end() - 3, messages.end()),
              std::vector<std::u16string>({u"Import fingerprints too?", u"No fingerprint file found in the folder!",
                                           u"Import done"}));
}

TEST_F(ImportPageTest, WhatTheTablesCannotTakeIsCountedAndNothingHalfIsStored) {
    delete g_pUserStorage;
    g_pUserStorage = new CUserStorage(*g_pDatabase, 3);
    PutUser({u"1", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutUser({u"9", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    g_pUserStorage->LoadCount();
    store.Allocate(1, store.GetTemplateSize());
    PutFile(kUserFile28, 3, User28({1, "5", -1, "One", 1}) + User28({2, "", -1, "Two"}) + User28({3, "", -1, "Three"}));
    PutFile(kFingerprintFile, 2,
            Fingerprint(1, 1, SeededBlob(StoredTemplateSize, 1)) + Fingerprint(2, 1, SeededBlob(StoredTemplateSize, 2)));
    Import({"yes", "ok"});
    EXPECT_EQ(Users(), 3) << "the table holds three users";
    EXPECT_EQ(UserColumns(u"1")[1], u"One") << "existing users are still updated";
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 1) << "the template the store refused has no row";
    EXPECT_EQ(Count(u"select FPFlag from Userinfo where userid = '2'"), 0);
    EXPECT_TRUE(StoreMatchesTable());
    EXPECT_EQ(Messages().back(), u"Import done; 2 records could not be imported!");
}

// A 28-byte user record with the name field `bytes`, as another character
// set writes it.
std::string WithNameBytes(std::string record, const std::string& bytes) {
    std::string field = bytes;
    field.resize(10, '\0');
    return record.replace(12, 10, field);
}

// The language file names a character set: names come in and go out in it.
// A name it cannot read whole does not replace the one a user has here; a
// new user has '?' for what could not be read.
TEST_F(ImportPageTest, NamesComeInAndGoOutInTheCharacterSetTheLanguageNames) {
    const std::string path = Host(GetLanguageFilePath());
    std::string language = ReadHostFile(GetLanguageFilePath());
    const std::string none = "<libiconv></libiconv>";
    ASSERT_NE(language.find(none), std::string::npos);
    WriteHostFile(GetLanguageFilePath(), language.replace(language.find(none), none.size(), "<libiconv>CP1251</libiconv>"));
    ASSERT_TRUE(g_LangDoc.ReadFromFile(GetLanguageFilePath()));
    LoadIconvDll();
    ASSERT_EQ(CString(g_MachineConfig.IconvCharset), u"CP1251");

    PutUser({u"42", u"", u"Old", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutUser({u"44", u"", u"Keep", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutFile(kUserFile28, 4,
            WithNameBytes(User28({42, "", -1, ""}), "\xC8\xE2\xE0\xED") +      // Иван
                WithNameBytes(User28({43, "", -1, ""}), "\xCF\xB8\xF2\xF0") +  // Пётр
                WithNameBytes(User28({44, "", -1, ""}), "\xC8\xE2\x98") +       // 0x98 is no CP1251 character
                WithNameBytes(User28({45, "", -1, ""}), "\xC0\xED\x98"));
    Import({"no", "ok", "ok"});
    EXPECT_EQ(UserColumns(u"42")[1], u"Иван");
    EXPECT_EQ(UserColumns(u"43")[1], u"Пётр");
    EXPECT_EQ(UserColumns(u"44")[1], u"Keep") << "a name read in part keeps the one here";
    EXPECT_EQ(UserColumns(u"45")[1], u"Ан?");
    EXPECT_EQ(Messages(), std::vector<std::u16string>(
                              {u"Import fingerprints too?",
                               u"2 names hold characters the terminal cannot read: users here kept theirs, new users "
                               u"show ? for them!",
                               u"Import done"}));

    OnPage(1331, {"key DOWN", "answer no", "key ENTER"});
    const std::string exported = ReadHostFile(TransferFilePath(Folder(), kUserFile28));
    ASSERT_EQ(exported.size(), 3u + 4 * PackedUser28Size);
    std::vector<std::string> names;
    for (size_t at = 3; at < exported.size(); at += PackedUser28Size) names.push_back(exported.substr(at + 12, 10));
    // Users 42 and 44 were there first.
    EXPECT_EQ(names[0], std::string("\xC8\xE2\xE0\xED", 4) + std::string(6, '\0'));
    EXPECT_EQ(names[1], std::string("Keep") + std::string(6, '\0'));
    EXPECT_EQ(names[2], std::string("\xCF\xB8\xF2\xF0", 4) + std::string(6, '\0'));
    EXPECT_EQ(names[3], std::string("\xC0\xED?", 3) + std::string(7, '\0'));
    g_MachineConfig.IconvCharset = u"";
    g_pfnIconvOpen = nullptr;
    g_pfnIconv = nullptr;
    g_pfnIconvClose = nullptr;
}

// A code page the terminal does not convert with (UTF-16 is no narrow text,
// 12345 is none) is taken as the system's: names are never emptied.
TEST_F(ImportPageTest, ACodePageTheTerminalCannotUseEmptiesNoName) {
    PutUser({u"42", u"", u"Old", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    for (int codePage : {1200, 12345}) {
        g_MachineConfig.CodePage = codePage;
        PutFile(kUserFile28, 2, User28({42, "", -1, "张三"}) + User28({43, "", -1, "Ann"}));
        const size_t before = Messages().size();
        Import({"no", "ok"});
        EXPECT_EQ(Messages().size(), before + 2);
        EXPECT_EQ(Messages().back(), u"Import done");
        EXPECT_EQ(UserColumns(u"42")[1], u"张三") << codePage;
        EXPECT_EQ(UserColumns(u"43")[1], u"Ann") << codePage;
        OnPage(1331, {"key DOWN", "answer no", "key ENTER"});
        const std::string exported = ReadHostFile(TransferFilePath(Folder(), kUserFile28));
        ASSERT_EQ(exported.size(), 3u + 2 * PackedUser28Size);
        EXPECT_EQ(exported.substr(3 + 12, 10), Name("张三")) << codePage;
        g_pDatabase->DirectStatement(u"update Userinfo set Name = 'Old' where userid = '42'");
    }
    g_MachineConfig.CodePage = 0;
}

// A peer that cuts a long name at the field's ten bytes may cut inside its
// last character ("A张三丰李四" is 11 bytes in GBK): what is there of it is
// dropped and the name is taken up to it, by a user here and a new one
// alike, and not counted as unread. A byte that is no character inside the
// name is still counted, and keeps the name a user has here.
TEST_F(ImportPageTest, ANameCutInsideItsLastCharacterComesInUpToIt) {
    struct Case {
        int codePage;
        std::string whole;      // more than ten bytes
        std::u16string taken;   // its first ten, read
    };
    for (const Case& c : {Case{0, Utf8ToGbk("A张三丰李四"), u"A张三丰李"},
                          Case{950, EncodeCodePage(950, u"A張三豐李四"), u"A張三豐李"},
                          Case{65001, "AB张三李", u"AB张三"},
                          Case{65001, "A张三\U0001F600", u"A张三"}}) {
        SCOPED_TRACE(c.codePage);
        ASSERT_GT(c.whole.size(), 10u);
        g_MachineConfig.CodePage = c.codePage;
        g_pDatabase->DirectStatement(u"delete from Userinfo");
        PutUser({u"42", u"", u"Old", u"", u"", 0, 6, u"", 0, u"", 0, 0});
        PutUser({u"44", u"", u"Keep", u"", u"", 0, 6, u"", 0, u"", 0, 0});
        g_pUserStorage->LoadCount();
        const std::string cut = c.whole.substr(0, 10);
        // Each name begins with 'A': in its place a byte that is no character.
        const std::string unreadable = "\xFF" + cut.substr(1);
        PutFile(kUserFile28, 4,
                WithNameBytes(User28({42, "", -1, ""}), cut) + WithNameBytes(User28({43, "", -1, ""}), cut) +
                    WithNameBytes(User28({44, "", -1, ""}), unreadable) +
                    WithNameBytes(User28({45, "", -1, ""}), unreadable));
        const size_t before = Messages().size();
        Import({"no", "ok", "ok"});
        EXPECT_EQ(UserColumns(u"42")[1], c.taken);
        EXPECT_EQ(UserColumns(u"43")[1], c.taken);
        EXPECT_EQ(UserColumns(u"44")[1], u"Keep");
        const std::u16string unread = UserColumns(u"45")[1];
        ASSERT_FALSE(unread.empty());
        EXPECT_TRUE(unread[0] == u'?' || unread[0] == u'\uFFFD');
        EXPECT_EQ(unread.substr(1), c.taken.substr(1));
        const std::vector<std::u16string> shown = Messages();
        EXPECT_EQ(std::vector<std::u16string>(shown.begin() + static_cast<long>(before), shown.end()),
                  std::vector<std::u16string>(
                      {u"Import fingerprints too?",
                       u"2 names hold characters the terminal cannot read: users here kept theirs, new users "
                       u"show ? for them!",
                       u"Import done"}));
    }
    g_MachineConfig.CodePage = 0;
}

// Files of their header alone import nothing and leave the bar as it was.
TEST_F(ImportPageTest, HeaderOnlyFilesLeaveTheBarWhereItIs) {
    PutFile(kUserFile28, 0, "");
    PutFile(kFingerprintFile, 0, "");
    const int before = Users();
    std::vector<std::string> lines{"progress 37", "key DOWN", "answer yes", "answer ok", "key ENTER", "progress"};
    OnPage(132, lines);
    EXPECT_EQ(progress, (std::vector<UINT>{37u, 37u}));
    EXPECT_EQ(Users(), before);
    EXPECT_EQ(Messages().back(), u"Import done");
}

// A full flash: the database takes no page beyond those it has, as when
// the flash has no room for more. The first write refused stops the
// import, the step under way goes back out, and the page says so once,
// with what was stored; no box per record.
TEST_F(ImportPageTest, AFullFlashStopsTheImportAtTheFirstFailedWriteAndSaysSoOnce) {
    const auto roomForPages = [](int pages) {
        QueryInt(*g_pDatabase, CString(u"PRAGMA max_page_count = ") +
                                   Decimal(QueryInt(*g_pDatabase, u"PRAGMA page_count") + pages));
    };
    // Steps of a few hundred records: some are kept before the flash is full.
    CTransferLoop::SetRecordPause(1);
    // The database's own boxes, as the terminal shows them.
    const auto messageBox = g_DataStoreServices.messageBox;
    g_DataStoreServices.messageBox = [](LPCWSTR text, LPCWSTR) { AfxMessageBox(text); };
    std::string users;
    for (int i = 0; i < 3000; ++i) users += User28({static_cast<uint64_t>(100 + i), "", -1, "name" + std::to_string(i)});
    PutFile(kUserFile28, 3000, users);
    PutFile(kFingerprintFile, 1, Fingerprint(100, 1, SeededBlob(StoredTemplateSize, 1)));
    roomForPages(8);
    Import({"yes", "ok"});
    std::vector<std::u16string> messages = Messages();
    ASSERT_EQ(messages.size(), 2u) << Utf16ToUtf8(messages.back());
    const int stored = Users();
    EXPECT_GT(stored, 0) << "the steps before the failure are kept";
    EXPECT_LT(stored, 3000);
    EXPECT_EQ(messages[1], u"The flash is full: the import stopped in Bak.yg2 with " +
                               Decimal(stored) + u" of its records stored!");
    EXPECT_EQ(g_pUserStorage->GetCount(), stored);
    EXPECT_EQ(Count(u"select UserCount from BasePara"), stored);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0) << "nothing more is read";
    EXPECT_TRUE(Intact());

    // The same for templates, whose rows fill the flash sooner.
    std::filesystem::remove(Host(TransferFilePath(Folder(), kUserFile28)));
    roomForPages(1000);
    std::string templates;
    for (int i = 0; i < 1000; ++i) templates += Fingerprint(100 + i / 10, 1 + i % 10, SeededBlob(StoredTemplateSize, i));
    PutFile(kFingerprintFile, 1000, templates);
    roomForPages(40);
    const size_t before = Messages().size();
    Import({"yes", "ok", "ok"});
    messages = Messages();
    ASSERT_EQ(messages.size(), before + 3) << Utf16ToUtf8(messages.back());
    const int rows = Count(u"select count(*) from FPinfo");
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 1000);
    EXPECT_EQ(messages.back(), u"The flash is full: the import stopped in Bak.zw with " +
                                   Decimal(rows) + u" of its records stored!");
    EXPECT_EQ(store.GetCount(), rows);
    EXPECT_TRUE(StoreMatchesTable());
    EXPECT_TRUE(Intact());
    roomForPages(1000);
    g_DataStoreServices.messageBox = messageBox;
}

// Another program writing to the database as the import begins: a brief
// lock is waited for and the import goes through; one that outlasts the
// wait stops the import before it stores anything, and the page says why
// in words.
TEST_F(ImportPageTest, AnotherProgramsLockIsWaitedForOrToldInWords) {
    std::string users;
    for (int i = 0; i < 3; ++i) users += User28({static_cast<uint64_t>(100 + i), "", -1, "name" + std::to_string(i)});
    PutFile(kUserFile28, 3, users);
    const int before = Users();
    {
        DatabaseHeldByAnotherProgram other(Host(GetDatabasePath()), "BEGIN IMMEDIATE");
        Import({"no", "ok"});
    }
    EXPECT_EQ(Messages().back(), u"The database is in use by another program: the import stopped in Bak.yg2 with 0 "
                                 u"of its records stored!");
    EXPECT_EQ(Users(), before);
    EXPECT_EQ(g_pUserStorage->GetCount(), before);
    EXPECT_EQ(Count(u"select UserCount from BasePara"), before);
    EXPECT_TRUE(Intact());

    {
        DatabaseHeldByAnotherProgram other(Host(GetDatabasePath()), "BEGIN IMMEDIATE");
        other.ReleaseAfter(300);
        Import({"no", "ok"});
    }
    EXPECT_EQ(Messages().back(), u"Import done");
    EXPECT_EQ(Users(), before + 3);
    EXPECT_EQ(g_pUserStorage->GetCount(), before + 3);
}

// A medium that fails to read a file beyond its first 64 KB (the reader's
// first chunk): the file is not taken as ending there.
std::string g_failingFile;
bool FailBeyondTheFirstChunk(const std::string& hostPath, ULONGLONG offset) {
    return offset >= 64 * 1024 && std::filesystem::path(hostPath).filename() == g_failingFile;
}

TEST_F(ImportPageTest, AReadErrorStopsTheImportAndSaysHowManyRecordsWereStored) {
    std::string users;
    for (int i = 0; i < 4000; ++i) users += User28({static_cast<uint64_t>(1 + i), "", -1, "u" + std::to_string(i)});
    PutFile(kUserFile28, 4000, users);
    PutFile(kUserFile27, 1, User27({9000, "", -1, "Late"}));
    std::string templates;
    for (int i = 0; i < 1000; ++i) templates += Fingerprint(1 + i / 10, 1 + i % 10, SeededBlob(StoredTemplateSize, i));
    PutFile(kFingerprintFile, 1000, templates);
    g_failingFile = "Bak.yg2";
    SetReadFaultHook(FailBeyondTheFirstChunk);
    Import({"yes", "ok"});
    const int firstChunkUsers = (64 * 1024 - 3) / PackedUser28Size;
    EXPECT_EQ(Messages(), std::vector<std::u16string>(
                              {u"Import fingerprints too?",
                               u"Read error in Bak.yg2: the import stopped; " + Decimal(firstChunkUsers) +
                                   u" of its records were stored!"}))
        << "no note of an incomplete record, no success";
    EXPECT_EQ(Users(), firstChunkUsers);
    EXPECT_EQ(g_pUserStorage->GetCount(), firstChunkUsers);
    EXPECT_TRUE(UserColumns(u"9000").empty()) << "nothing more is read";
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0);
    EXPECT_EQ(progress, std::vector<UINT>{0u}) << "the bar shows no finished import";

    g_failingFile = "Bak.zw";
    const size_t before = Messages().size();
    Import({"yes", "ok"});
    SetReadFaultHook(nullptr);
    const int firstChunkTemplates = (64 * 1024 - 3) / PackedFingerprintSize;
    const std::vector<std::u16string> messages = Messages();
    EXPECT_EQ(std::vector<std::u16string>(messages.begin() + static_cast<long>(before), messages.end()),
              (std::vector<std::u16string>{u"Import fingerprints too?",
                                           u"Read error in Bak.zw: the import stopped; " +
                                               Decimal(firstChunkTemplates) + u" of its records were stored!"}));
    EXPECT_EQ(Users(), 4001);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), firstChunkTemplates);
    EXPECT_EQ(store.GetCount(), firstChunkTemplates);
}

TEST_F(ImportPageTest, ATruncatedFileMakesNoPhantomRecordAndSaysSo) {
    const std::string first = User28({5, "1", 1, "Five"}), second = User28({6, "2", 2, "Six"});
    PutFile(kUserFile28, 1, first + second.substr(0, 20));
    Import({"no", "ok", "ok"});
    EXPECT_EQ(Users(), 1);
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?",
                                                       u"The incomplete last record of Bak.yg2 was ignored!",
                                                       u"Import done"}));
    EXPECT_EQ(progress, std::vector<UINT>{100u});
}

TEST_F(ImportPageTest, HostileFilesDamageNothingThatWasThere) {
    PutUser({u"1", u"", u"Keep", u"1", u"1", 1, 6, u"", 1, u"", 0, 1});
    PutTemplate(u"1", 0, SeededBlob(StoredTemplateSize, 9));
    store.Add(SeededBlob(StoredTemplateSize, 9).data(), u"1", 0, TRUE, StoredTemplateSize);
    const std::vector<std::u16string> kept = UserColumns(u"1");
    std::mt19937 random(20);
    for (int round = 0; round < 6; ++round) {
        for (const char16_t* name : {kUserFile28, kUserFile27, kFingerprintFile}) {
            std::string bytes(random() % 4000, '\0');
            for (char& b : bytes) b = static_cast<char>(random());
            // Some records aimed at the users that exist, fingers 1-10 among them.
            for (size_t at = 3; at + 344 <= bytes.size() && round % 2 && name == kFingerprintFile; at += 344) {
                bytes.replace(at, 5, Be(1 + random() % 3, 5));
                bytes[at + 5] = static_cast<char>(random() % 12);
            }
            // Half of the rounds with the count their length holds.
            const size_t recordSize = name == kFingerprintFile ? 344 : name == kUserFile28 ? 28 : 27;
            if (round % 2 && bytes.size() >= 3) bytes.replace(0, 3, Be((bytes.size() - 3) / recordSize, 3));
            WriteHostFile(TransferFilePath(Folder(), name), bytes);
        }
        // How many notices a random file brings is random: unused answers go.
        Import({"yes", "ok", "ok", "ok", "ok", "ok"});
        while (TakeMessageBoxAnswer(0) != 0) {
        }
        ASSERT_TRUE(Intact());
        EXPECT_TRUE(StoreMatchesTable());
        EXPECT_EQ(g_pUserStorage->GetCount(), Users());
        EXPECT_LE(Users(), UserLimit);
    }
    EXPECT_EQ(UserColumns(u"1")[1], kept[1]) << "a user no file names stays as he was";
}

// What a file from a medium may be instead of a transfer file: the import
// names the file and stores nothing, not even the other files' users.
TEST_F(ImportPageTest, AFileThatIsNoPlainFileIsRefusedBeforeAnythingIsStored) {
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const std::string elsewhere = Host(u"\\Elsewhere.yg2");
    WriteHostFile(u"\\Elsewhere.yg2", Be(1, 3) + User28({7, "", -1, "Seven"}));
    PutFile(kUserFile27, 1, User27({8, "", -1, "Eight"}));
    const auto refusedWith = [&](const char16_t* name, const std::function<void(const std::string&)>& make,
                                 const char* what) {
        const std::string host = Host(TransferFilePath(Folder(), name));
        std::filesystem::remove(host);
        make(host);
        const size_t before = Messages().size();
        Import({"yes", "ok"});
        std::filesystem::remove(host);
        const std::vector<std::u16string> messages = Messages();
        EXPECT_EQ(std::vector<std::u16string>(messages.begin() + static_cast<long>(before), messages.end()),
                  (std::vector<std::u16string>{u"Import fingerprints too?",
                                               std::u16string(name) + u" is no plain file: nothing was imported!"}))
            << what;
        EXPECT_EQ(Users(), 0) << what;
    };
    const auto linkTo = [](const std::string& target) {
        return [target](const std::string& host) { std::filesystem::create_symlink(target, host); };
    };
    const auto fifo = [](const std::string& host) { ASSERT_EQ(mkfifo(host.c_str(), 0600), 0); };
    // Without the refusal these read for ever, wait for ever for a writer,
    // or import a file from outside the folder.
    refusedWith(kUserFile28, linkTo("/dev/zero"), "endless device");
    refusedWith(kUserFile28, fifo, "pipe");
    refusedWith(kUserFile28, linkTo(elsewhere), "link to a transfer file elsewhere");
    refusedWith(kFingerprintFile, linkTo("/dev/zero"), "endless device as the fingerprint file");
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0);
}

// A peer counts in the header of its fingerprint file the templates it
// holds, while it writes every row, those of users deleted since too; the
// counts of any file are read past.
TEST_F(ImportPageTest, TheHeaderCountIsNotReadAndAPeersFilesComeInWhole) {
    PutUser({u"9", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutFile(kUserFile28, 5, User28({1, "", -1, "One"}) + User28({2, "", -1, "Two"}));
    PutFile(kUserFile27, 0, User27({3, "", -1, "Three"}));
    PutFile(kFingerprintFile, 2,
            Fingerprint(9, 1, SeededBlob(StoredTemplateSize, 1)) + Fingerprint(77, 1, SeededBlob(StoredTemplateSize, 2)) +
                Fingerprint(9, 2, SeededBlob(StoredTemplateSize, 3)));
    Import({"yes", "ok"});
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?", u"Import done"}));
    EXPECT_EQ(Users(), 4);
    EXPECT_EQ(g_pUserStorage->GetCount(), 4);
    EXPECT_EQ(Count(u"select count(*) from FPinfo where userid = '9'"), 2);
    EXPECT_EQ(store.GetCount(), 2);
    EXPECT_TRUE(StoreMatchesTable());

    PutFile(kUserFile28, 0xFFFFFF, User28({4, "", -1, "Four"}));
    Import({"no", "ok"});
    EXPECT_EQ(Users(), 5);
    EXPECT_EQ(Messages().back(), u"Import done");
}

// A full terminal's fingerprint file: ten fingers of each user and rows of
// users deleted since. What the store has no room for is counted.
TEST_F(ImportPageTest, AFingerprintFileOfTenFingersAUserAndOfDeletedUsersIsTaken) {
    g_pDatabase->DirectStatement(
        u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 5000) "
        u"SELECT n, '', 'user' || n, '', '', 1, 6, '', 0, '', 0, 0 FROM s");
    g_pUserStorage->LoadCount();
    const std::vector<BYTE> blob = SeededBlob(StoredTemplateSize, 4);
    const std::string templ(blob.begin(), blob.end());
    std::string records;
    for (uint64_t id = 1; id <= 5000 + 300; ++id)
        for (int finger = 1; finger <= 10; ++finger) records += Be(id, 5) + static_cast<char>(finger) + templ;
    PutFile(kFingerprintFile, 5000, records);
    Import({"yes", "ok", "ok"});
    CString notStored;
    notStored.Format(u"Import done; %d records could not be imported!", 10 * 5000 - TemplateLimit);
    EXPECT_EQ(Messages().back(), notStored.str()) << "the rows of the 300 deleted users are passed over";
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), TemplateLimit);
    EXPECT_EQ(store.GetCount(), TemplateLimit);
    EXPECT_TRUE(StoreMatchesTable());
}

TEST_F(ImportPageTest, AFileOfMoreRecordsThanATerminalWritesIsRefusedSayingWhich) {
    delete g_pUserStorage;
    g_pUserStorage = new CUserStorage(*g_pDatabase, 3);
    PutFile(kUserFile27, 1, User27({8, "", -1, "Eight"}));
    PutUser({u"9", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    g_pUserStorage->LoadCount();
    const auto users = [](int n) {
        std::string records;
        for (int i = 0; i < n; ++i) records += User28({static_cast<uint64_t>(1000 + i), "", -1, "x"});
        return records;
    };
    // Ten fingers of each of the 3 users and as many again of deleted ones.
    const auto templates = [](int n) {
        std::string records;
        for (int i = 0; i < n; ++i) records += Fingerprint(9, 1 + i % 10, SeededBlob(StoredTemplateSize, 1));
        return records;
    };
    struct Case {
        const char* what;
        const char16_t* name;
        std::string records;
        std::u16string message;
    };
    const std::u16string tooMany = u" holds more records than the terminal takes: nothing was imported!";
    const std::vector<Case> cases{
        {"one user more than the table takes", kUserFile28, users(4), u"Bak.yg2" + tooMany},
        {"one template more than a terminal writes", kFingerprintFile, templates(61), u"Bak.zw" + tooMany},
    };
    for (const Case& c : cases) {
        PutFile(c.name, 1, c.records);
        const size_t before = Messages().size();
        Import({"yes", "ok"});
        std::filesystem::remove(Host(TransferFilePath(Folder(), c.name)));
        const std::vector<std::u16string> messages = Messages();
        EXPECT_EQ(std::vector<std::u16string>(messages.begin() + static_cast<long>(before), messages.end()),
                  (std::vector<std::u16string>{u"Import fingerprints too?", c.message}))
            << c.what;
        EXPECT_EQ(Users(), 1) << c.what;
        EXPECT_EQ(Count(u"select count(*) from FPinfo"), 0) << c.what;
        EXPECT_EQ(store.GetCount(), 0) << c.what;
    }
    PutFile(kFingerprintFile, 1, templates(60));
    Import({"yes", "ok"});
    EXPECT_EQ(Users(), 2);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 10);
    EXPECT_EQ(Messages().back(), u"Import done") << "each finger's later rows replace its first";
}

// A peer's administrator byte counts by its two high bits (the management
// link's own record has D0 for an administrator, 10 for anyone else), and a
// group the pages do not list is kept as it stands: every such user comes
// in with his templates, and an export writes back the bytes a terminal
// writes.
TEST_F(ImportPageTest, APeersAdministratorBytesAndGroupsBringTheirUsersIn) {
    struct Case {
        uint64_t id;
        char adminByte;
        int group;
        int admin;
    };
    const std::vector<Case> large{{1, '\x00', 0, 0},   {2, '\xC0', 16, 1}, {3, '\xD0', 0, 1},   {4, '\x10', 1, 0},
                                  {5, '\x80', 2, 0},   {6, '\x40', 17, 0}, {7, '\xC1', 255, 1}, {8, '\xFF', 200, 1}};
    const std::vector<Case> small{{11, '\xD0', 17, 1}, {12, '\x10', 255, 0}, {13, '\x80', 3, 0}};
    const auto withByte = [](std::string record, size_t at, char value) {
        record[at] = value;
        return record;
    };
    std::string users28, users27, templates;
    for (const Case& c : large) {
        users28 += withByte(User28({c.id, "", -1, "Peer", 0, c.group}), 27, c.adminByte);
        templates += Fingerprint(c.id, 1, SeededBlob(StoredTemplateSize, static_cast<int>(c.id)));
    }
    for (const Case& c : small) {
        users27 += withByte(User27({c.id, "", -1, "Peer", 0, c.group}), 26, c.adminByte);
        templates += Fingerprint(c.id, 1, SeededBlob(StoredTemplateSize, static_cast<int>(c.id)));
    }
    PutFile(kUserFile28, static_cast<unsigned>(large.size()), users28);
    PutFile(kUserFile27, static_cast<unsigned>(small.size()), users27);
    PutFile(kFingerprintFile, static_cast<unsigned>(large.size() + small.size()), templates);
    Import({"yes", "ok"});
    EXPECT_EQ(Messages().back(), u"Import done");
    std::vector<Case> all = large;
    all.insert(all.end(), small.begin(), small.end());
    for (const Case& c : all) {
        const std::vector<std::u16string> columns = UserColumns(Utf8ToUtf16(std::to_string(c.id)));
        ASSERT_EQ(columns.size(), 11u) << c.id;
        EXPECT_EQ(columns[7], Decimal(c.admin)) << std::hex << (c.adminByte & 0xFF);
        EXPECT_EQ(columns[9], Decimal(c.group)) << c.id;
    }
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), static_cast<int>(all.size()));
    EXPECT_EQ(store.GetCount(), static_cast<int>(all.size()));

    // Opened on Edit User and saved as shown, they keep their groups.
    const size_t before = Messages().size();
    OnPage(122, {"key 6", "key ENTER", "answer ok", "key MENU", "key 7", "key ENTER", "answer ok", "key MENU", "key 1",
                 "key 2", "key ENTER", "answer ok", "key MENU"});
    EXPECT_EQ(Messages().size(), before + 3);
    EXPECT_EQ(Messages().back(), u"Saved");
    EXPECT_EQ(UserColumns(u"6")[9], u"17");
    EXPECT_EQ(UserColumns(u"7")[9], u"255");
    EXPECT_EQ(UserColumns(u"12")[9], u"255");

    OnPage(1331, {"key DOWN", "answer no", "key ENTER"});
    const std::string exported = ReadHostFile(TransferFilePath(Folder(), kUserFile28));
    ASSERT_EQ(exported.size(), 3 + all.size() * PackedUser28Size);
    for (size_t at = 3; at < exported.size(); at += PackedUser28Size) {
        const uint64_t id = static_cast<BYTE>(exported[at + 4]);
        const auto c = std::find_if(all.begin(), all.end(), [id](const Case& one) { return one.id == id; });
        ASSERT_NE(c, all.end()) << id;
        EXPECT_EQ(static_cast<BYTE>(exported[at + 23]), c->group) << id;
        EXPECT_EQ(static_cast<BYTE>(exported[at + 27]), c->admin ? 0xC0 : 0x00) << id;
    }
}

TEST_F(ImportPageTest, RecordsWithValuesThePagesRefuseAreNotImported) {
    const std::string records = User28({0, "", -1, "Zero"}) + User28({1000000000000, "", -1, "13 digits"}) +
                                User28({999999999999, "123456", -1, "12 digits"}) +
                                User28({5, "1048575", -1, "7 digits"}) + User28({6, "0000001", -1, "7 digits"});
    PutFile(kUserFile28, 5, records);
    PutFile(kUserFile27, 3,
            User27({0, "", -1, "Zero"}) + User27({1099511627775, "", -1, "13 digits"}) +
                User27({7, "000001", -1, "6 digits"}));
    Import({"no", "ok"});
    EXPECT_EQ(Users(), 2);
    EXPECT_EQ(UserColumns(u"999999999999")[3], u"123456");
    EXPECT_EQ(UserColumns(u"7")[3], u"000001");
    EXPECT_EQ(Messages().back(), u"Import done; 6 records could not be imported!");
}

// A user whose card another user holds comes in with his templates,
// without that card; the notice counts the cards left out.
TEST_F(ImportPageTest, ACardGoesToOneUserOnlyAndTheOthersComeInWithoutIt) {
    PutUser({u"50", u"777", u"Holder", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutUser({u"51", u"555", u"Mover", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    g_pUserStorage->LoadCount();
    PutFile(kUserFile28, 8,
            User28({1, "", 777, "Taker"}) +          // held on the terminal: comes in without it
                User28({50, "", 777, "Holder2"}) +   // his own card: taken
                User28({2, "", 888, "First"}) +      // taken
                User28({3, "", 888, "Second"}) +     // given earlier in the file: without it
                User28({2, "", 999, "First2"}) +     // 888 left free
                User28({4, "", 888, "Third"}) +      // taken, now that it is free
                User28({51, "", 666, "Mover2"}) +    // 555 left free
                User28({52, "", 555, "Heir"}));      // taken
    PutFile(kUserFile27, 2, User27({5, "", 999, "Late"}) + User27({51, "", 777, "Mover3"}));
    PutFile(kFingerprintFile, 3,
            Fingerprint(1, 1, SeededBlob(StoredTemplateSize, 1)) + Fingerprint(3, 2, SeededBlob(StoredTemplateSize, 2)) +
                Fingerprint(5, 3, SeededBlob(StoredTemplateSize, 3)));
    Import({"yes", "ok", "ok"});
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Import fingerprints too?",
                                                       u"4 users came in without their card: another user holds it!",
                                                       u"Import done"}));
    for (const char16_t* id : {u"1", u"3", u"5"}) {
        ASSERT_FALSE(UserColumns(id).empty()) << "user " << Utf16ToUtf8(id) << " is kept";
        EXPECT_EQ(UserColumns(id)[0], u"") << "user " << Utf16ToUtf8(id) << " without the card";
    }
    EXPECT_EQ(UserColumns(u"1")[1], u"Taker");
    EXPECT_EQ(UserColumns(u"5")[1], u"Late");
    EXPECT_EQ(Count(u"select count(*) from FPinfo where userid in ('1', '3', '5')"), 3) << "with his fingerprints";
    EXPECT_EQ(Count(u"select FPFlag from Userinfo where userid = '3'"), 1 << 1);
    EXPECT_EQ(store.GetCount(), 3);
    EXPECT_TRUE(StoreMatchesTable());
    EXPECT_EQ(UserColumns(u"50")[0], u"777");
    EXPECT_EQ(UserColumns(u"50")[1], u"Holder2");
    EXPECT_EQ(UserColumns(u"2")[0], u"999");
    EXPECT_EQ(UserColumns(u"4")[0], u"888");
    EXPECT_EQ(UserColumns(u"51")[0], u"666") << "his record that would take 777 keeps his own card";
    EXPECT_EQ(UserColumns(u"51")[1], u"Mover3");
    EXPECT_EQ(UserColumns(u"52")[0], u"555");
    EXPECT_EQ(Count(u"select count(*) from (select CardNo from Userinfo where CardNo <> '' "
                    u"group by CardNo having count(*) > 1)"),
              0);
    EXPECT_EQ(g_pUserStorage->GetCount(), Users());
}

// The templates of a user the file names but the terminal did not take are
// counted with him; those of users neither here nor in the file are not.
TEST_F(ImportPageTest, TheTemplatesOfAUserNotTakenAreCountedWithHim) {
    delete g_pUserStorage;
    g_pUserStorage = new CUserStorage(*g_pDatabase, 3);
    PutUser({u"8", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutUser({u"9", u"", u"", u"", u"", 0, 6, u"", 0, u"", 0, 0});
    PutFile(kUserFile28, 3,
            User28({1, "", -1, "One"}) + User28({2, "", -1, "No room"}) + User28({0, "", -1, "Zero"}));
    PutFile(kFingerprintFile, 5,
            Fingerprint(1, 1, SeededBlob(StoredTemplateSize, 1)) + Fingerprint(2, 1, SeededBlob(StoredTemplateSize, 2)) +
                Fingerprint(2, 2, SeededBlob(StoredTemplateSize, 3)) +
                Fingerprint(0, 1, SeededBlob(StoredTemplateSize, 4)) +
                Fingerprint(77, 1, SeededBlob(StoredTemplateSize, 5)));
    Import({"yes", "ok"});
    EXPECT_EQ(Users(), 3);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), 1);
    EXPECT_EQ(Messages().back(), u"Import done; 5 records could not be imported!")
        << "users 2 and 0 and their three templates; user 77's is passed over";
}

// As many users and templates as the terminal holds, exported by the page
// and imported again into empty tables.
TEST_F(ImportPageTest, AFullTerminalsExportAlwaysImports) {
    g_pDatabase->DirectStatement(
        u"INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 5000) "
        u"SELECT n, '', 'user' || n, '', '', 1, 6, '', n % 2, '', n % 17, 1 FROM s");
    g_pDatabase->DirectStatement(u"INSERT INTO FPinfo SELECT 0, userid, randomblob(338) FROM Userinfo");
    ASSERT_EQ(Users(), UserLimit);
    g_pUserStorage->LoadCount();
    ExportAndEmpty();
    Import({"yes", "ok"});
    EXPECT_EQ(Messages().back(), u"Import done");
    EXPECT_EQ(Users(), UserLimit);
    EXPECT_EQ(g_pUserStorage->GetCount(), UserLimit);
    EXPECT_EQ(Count(u"select UserCount from BasePara"), UserLimit);
    EXPECT_EQ(Count(u"select count(*) from FPinfo"), TemplateLimit);
    EXPECT_EQ(store.GetCount(), TemplateLimit);
}

TEST_F(ImportPageTest, AMissingFolderOrFileIsSaid) {
    OnPage(132, {"key RIGHT", "key RIGHT", "key DOWN", "answer ok", "key ENTER"});
    EXPECT_EQ(Messages(), std::vector<std::u16string>({u"Folder not found. Please check it!"}));
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    PutFile(kUserFile27, 1, User27({8, "", -1, "Eight"}));
    Import({"yes", "ok", "ok"});
    EXPECT_EQ(Users(), 1);
    const std::vector<std::u16string> messages = Messages();
    EXPECT_EQ(std::vector<std::u16string>(messages.begin() + 1, messages.end()),
              std::vector<std::u16string>({u"Import fingerprints too?", u"No fingerprint file found in the folder!",
                                           u"Import done"}));
}

TEST_F(ImportPageTest, ALongImportFeedsTheWatchdogAndEndsFull) {
    CTransferLoop::SetRecordPause(5);
    std::string records;
    for (int i = 0; i < 1100; ++i) records += User28({static_cast<uint64_t>(100 + i), "", -1, "x"});
    PutFile(kUserFile28, 1100, records);
    ControllerBytes();
    Import({"no", "ok"});
    EXPECT_EQ(Users(), 1100);
    EXPECT_EQ(ControllerBytes(), (std::vector<BYTE>{0xFE, 0x01, 0x01, 0xFE})) << "5.5 s of pauses: one feed";
    EXPECT_EQ(progress, std::vector<UINT>{100u});
    g_MachineConfig.DEBUGMODE = 1;
    Import({"no", "ok"});
    EXPECT_TRUE(ControllerBytes().empty());
}

// A window whose person presses keys once the bar has moved a few times:
// Enter three times and Esc twice. As at a real window, the keys wait in the
// window's own queue until the terminal takes its events in; the keypad's
// Esc from the I/O controller comes into the input queue at once.
class KeysWhileTheBarMoves : public DisplayBackend {
public:
    void Present(const Surface&) override {
        if (++m_presents != kPresentsBeforeKeys) return;
        for (int i = 0; i < 3; ++i) m_window.insert(m_window.end(), {{VK_RETURN, true}, {VK_RETURN, false}});
        for (int i = 0; i < 2; ++i) m_window.insert(m_window.end(), {{VK_ESCAPE, true}, {VK_ESCAPE, false}});
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    }
    void PumpEvents() override {
        for (const auto& [vk, down] : m_window) InjectKey(vk, down);
        m_window.clear();
    }
    bool NeedsPolling() const override { return false; }

    bool Pressed() const { return m_presents >= kPresentsBeforeKeys; }

private:
    static constexpr int kPresentsBeforeKeys = 10;
    int m_presents = 0;
    std::deque<std::pair<BYTE, bool>> m_window;
};

TEST_F(ImportPageTest, KeysPressedDuringAnImportDoNothingAndKeysAfterItWork) {
    std::vector<std::string> showing;
    ScriptDriver::RegisterCommand("showing", [&showing](const std::vector<std::string>&, std::string*) {
        showing.push_back(ShowingMessageBoxText());
        return true;
    });
    CTransferLoop::SetRecordPause(5);
    std::string records;
    for (int i = 0; i < 1100; ++i) records += User28({static_cast<uint64_t>(100 + i), "", -1, "x"});
    PutFile(kUserFile28, 1100, records);
    auto window = std::make_unique<KeysWhileTheBarMoves>();
    const KeysWhileTheBarMoves& person = *window;
    StartDisplayWith(std::move(window));

    // The import and its notice looked at; the notice answered, and Enter
    // pressed on the page after it: a second import, with its question.
    OnPage(132, {"key DOWN", "answer no", "key ENTER", "showing", "answer ok", "showing", "answer no", "answer ok",
                 "key ENTER", "showing"});
    const bool pressed = person.Pressed();
    StartDisplay(DisplayMode::Headless);
    ScriptDriver::RegisterCommand("showing", nullptr);

    ASSERT_TRUE(pressed) << "the bar moved during the import";
    EXPECT_EQ(showing, (std::vector<std::string>{"Import done", "", ""})) << "the notice waits for the person";
    EXPECT_EQ(Messages(), (std::vector<std::u16string>{u"Import fingerprints too?", u"Import done",
                                                        u"Import fingerprints too?", u"Import done"}))
        << "one import for each press of Enter after an import";
    EXPECT_EQ(Users(), 1100);
}

TEST_F(ImportPageTest, ThePageMatchesItsPicture) {
    OnPage(132, {"golden transfer_import_page"});
    EXPECT_TRUE(golden);
}

}  // namespace
