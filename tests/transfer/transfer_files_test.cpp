// The transfer files' records, their reader and writer, the storage
// locations and the rules of the long loops.
#include <cstring>
#include <filesystem>

#include "core/AppDir.h"
#include "core/CodePageText.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/base/clock.h"
#include "tests/transfer/file_decoder.h"
#include "tests/transfer/transfer_fixture.h"
#include "platform/base/atomic_file.h"
#include "transfer/BlockCopy.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferLoop.h"

namespace {

class TransferFilesTest : public TransferTest {
protected:
    // The users of Userinfo written as a Bak.yg2 at `path`, then read back
    // by the test's own decoder.
    DecodedFile<DecodedUser> WriteUsers(const CString& path) {
        CTransferFileWriter writer;
        StatementPtr rows(g_pDatabase->Statement(u"SELECT  * from Userinfo"));
        while (rows->NextRow()) {
            BYTE record[PackedUser28Size];
            EncodeUser28(*rows, record);
            writer.Append(record, PackedUser28Size);
        }
        EXPECT_TRUE(writer.Commit(path));
        return DecodeUserFile(ReadHostFile(path));
    }
    CString Folder() { return GetTransferFolder(StorageDeviceFlash); }
};

TEST_F(TransferFilesTest, UserRecordsCarryEveryFieldAsTheManagementSoftwareReadsThem) {
    PutUser({u"987654321098", u"87654321", u"张三", u"1", u"0012", 7, 0x4A, u"\\ICON\\1.jpg", 1, u"1990-01-01", 3, 0x0205});
    PutUser({u"1099511627775", u"", u"一二三四五", u"", u"", 300, 6, u"", 2, u"", 17, 0});
    PutUser({u"5", u"0", u"Bob", u"", u"7", 0, 6, u"", 0, u"", 0, 1});
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString path = TransferFilePath(Folder(), kUserFile28);
    const DecodedFile<DecodedUser> file = WriteUsers(path);
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.count, 3u);
    const std::string raw = ReadHostFile(path);
    // The worked examples: the ID and the card, byte for byte.
    EXPECT_EQ(raw.substr(3, 5), std::string("\xE5\xF4\xC8\xF3\xCA"));
    EXPECT_EQ(raw.substr(3 + 8, 4), std::string("\x05\x39\x7F\xB1"));
    const DecodedUser& a = file.records[0];
    EXPECT_EQ(a.userid, 987654321098u);
    EXPECT_EQ(a.pwd, "0012");
    EXPECT_EQ(a.card, 87654321);
    EXPECT_EQ(a.nameUtf8, "张三");
    EXPECT_EQ(a.dept, 7);
    EXPECT_EQ(a.group, 3);
    EXPECT_EQ(a.acflag, 0x4A);
    EXPECT_EQ(a.mask, 0x0205);
    EXPECT_TRUE(a.admin);
    const DecodedUser& b = file.records[1];
    EXPECT_EQ(b.userid, 1099511627775u);
    EXPECT_EQ(raw.substr(3 + 28, 5), std::string(5, '\xFF'));
    EXPECT_EQ(raw.substr(3 + 28 + 5, 7), std::string(7, '\xFF')) << "no password, no card";
    EXPECT_EQ(b.nameUtf8, "一二三四五") << "ten bytes, no terminating zero";
    EXPECT_EQ(b.dept, 300 & 0xFF);
    EXPECT_EQ(b.group, 17);
    EXPECT_FALSE(b.admin) << "AdminFlag 2 is no administrator";
    EXPECT_EQ(file.records[2].card, 0) << "card 0 is a card";
    EXPECT_EQ(file.records[2].pwd, "7");
}

// A card number that needs more than the field's 32 bits (a restored
// database may hold any text in the column) goes as no card: its low bits
// would be the number of another card.
TEST_F(TransferFilesTest, ACardNumberTheFieldCannotHoldIsWrittenAsNoCard) {
    PutUser({u"1", u"4294967294", u"Max", u"", u"", 1, 6, u"", 0, u"", 0, 0});
    PutUser({u"2", u"4294967297", u"Wrap", u"", u"", 1, 6, u"", 0, u"", 0, 0});  // 2^32 + 1
    PutUser({u"3", u"123456789012345678901", u"Long", u"", u"", 1, 6, u"", 0, u"", 0, 0});
    PutUser({u"4", u"-5", u"Minus", u"", u"", 1, 6, u"", 0, u"", 0, 0});
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString path = TransferFilePath(Folder(), kUserFile28);
    WriteUsers(path);
    const std::string raw = ReadHostFile(path);
    ASSERT_EQ(raw.size(), 3u + 4 * 28);
    EXPECT_EQ(raw.substr(3 + 8, 4), std::string("\xFF\xFF\xFF\xFE")) << "a card of 32 bits fits";
    for (int i = 1; i < 4; ++i) EXPECT_EQ(raw.substr(3 + 28 * i + 8, 4), std::string(4, '\xFF')) << "user " << i + 1;
}

TEST_F(TransferFilesTest, PasswordAndNameFieldsKeepWhatTheyCanAndReadNothingBeyondTheirBytes) {
    BYTE field[3];
    EncodeTransferPassword(u"000123", field);
    EXPECT_EQ(field[0], 0x60);
    EXPECT_EQ(field[2], 123);
    EXPECT_EQ(DecodeTransferPassword(field), u"000123");
    EncodeTransferPassword(u"999999", field);
    EXPECT_EQ(DecodeTransferPassword(field), u"999999");
    EncodeTransferPassword(u"", field);
    EXPECT_EQ(DecodeTransferPassword(field), u"");

    BYTE name[PackedNameSize + 4];
    std::memset(name, 0x55, sizeof name);
    EncodeTransferName(u"A一二三四五", name);  // 11 bytes: the last character does not fit
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name), PackedNameSize), Utf8ToGbk("A一二三四") + std::string(1, '\0'));
    EXPECT_EQ(name[PackedNameSize], 0x55) << "nothing written past the field";
    EXPECT_EQ(DecodeTransferName(name), u"A一二三四");
    // Ten name bytes followed by more non-zero bytes: the name stops at ten.
    std::memcpy(name, Utf8ToGbk("一二三四五").data(), PackedNameSize);
    EXPECT_EQ(DecodeTransferName(name), u"一二三四五");
}

// A character-set converter that takes each UTF-16 unit as one byte and
// counts the bytes it is given.
size_t g_convertedBytes = 0;
iconv_t CountingOpen(const char*, const char*) { return reinterpret_cast<iconv_t>(1); }
size_t CountingConvert(iconv_t, char** in, size_t* inLeft, char** out, size_t* outLeft) {
    g_convertedBytes += *inLeft;
    for (; *inLeft >= 2 && *outLeft > 0; *inLeft -= 2, *in += 2, --*outLeft) *(*out)++ = **in;
    return 0;
}
int CountingClose(iconv_t) { return 0; }

// The name's encoding converts a bounded start of the name: a name ten or a
// hundred times longer costs no more (it once converted every start of the
// name, from the whole one down).
TEST_F(TransferFilesTest, TheNameEncodingWorkDoesNotGrowWithTheName) {
    const CString charset = g_MachineConfig.IconvCharset;
    g_MachineConfig.IconvCharset = u"counting";
    g_pfnIconvOpen = CountingOpen;
    g_pfnIconv = CountingConvert;
    g_pfnIconvClose = CountingClose;
    std::vector<size_t> work;
    for (int length : {30, 300, 3000}) {
        g_convertedBytes = 0;
        BYTE name[PackedNameSize];
        EncodeTransferName(CString(std::u16string(static_cast<size_t>(length), u'n')), name);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(name), PackedNameSize), std::string(PackedNameSize, 'n'));
        work.push_back(g_convertedBytes);
    }
    g_pfnIconvOpen = nullptr;
    g_pfnIconv = nullptr;
    g_pfnIconvClose = nullptr;
    g_MachineConfig.IconvCharset = charset;
    EXPECT_EQ(work[1], work[0]);
    EXPECT_EQ(work[2], work[0]);
}

TEST_F(TransferFilesTest, SmallUserRecordsAndFingerprintRecordsDecode) {
    BYTE record[PackedUser27Size] = {0, 0, 0, 0, 42, 0x30, 0x00, 0x05, 0xFF, 0xFF, 0xFF, 'A', 'n', 'n'};
    record[21] = 4;
    record[22] = 2;
    record[23] = 0x40;
    record[24] = 0xFF;
    record[26] = 0xC0;
    TransferUser user;
    DecodeUser27(record, user);
    EXPECT_EQ(user.userid, u"42");
    EXPECT_EQ(user.pwd, u"005");
    EXPECT_EQ(user.CardNo, u"") << "FF FF FF: no card";
    EXPECT_EQ(user.Name, u"Ann");
    EXPECT_EQ(user.Deptid, 4);
    EXPECT_EQ(user.GroupNO, 2);
    EXPECT_EQ(user.ACFlag, 0x40);
    EXPECT_EQ(user.AdminFlag, 1);
    EXPECT_EQ(user.fingerMask, -1) << "the small record's mask is not carried";
    record[8] = 0x12;
    DecodeUser27(record, user);
    EXPECT_EQ(user.CardNo, u"1245183");

    BYTE fp[PackedFingerprintSize] = {0, 0, 0, 0, 9, 3};
    TransferFingerprint fingerprint;
    ASSERT_TRUE(DecodeFingerprint(fp, fingerprint));
    EXPECT_EQ(fingerprint.userid, u"9");
    EXPECT_EQ(fingerprint.finger, 2);
    EXPECT_EQ(fingerprint.templ, fp + 6);
    for (BYTE bad : {0, 11, 255}) {
        fp[5] = bad;
        EXPECT_FALSE(DecodeFingerprint(fp, fingerprint)) << int(bad);
    }
}

TEST_F(TransferFilesTest, FingerprintRecordsRepeatAnOldTemplateAndSkipBlobsOfOtherSizes) {
    const std::vector<BYTE> old = SeededBlob(OldStoredTemplateSize, 1);
    const std::vector<BYTE> pair = SeededBlob(StoredTemplateSize, 2);
    PutTemplate(u"4294971956", 0, old);
    PutTemplate(u"12", 9, pair);
    PutTemplate(u"13", 1, SeededBlob(100, 3));
    StatementPtr rows(g_pDatabase->Statement(u"Select * from FPinfo"));
    CTransferFileWriter writer;
    BYTE record[PackedFingerprintSize];
    while (rows->NextRow())
        if (EncodeFingerprint(*rows, record)) writer.Append(record, PackedFingerprintSize);
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString path = TransferFilePath(Folder(), kFingerprintFile);
    ASSERT_TRUE(writer.Commit(path));
    const DecodedFile<DecodedFingerprint> file = DecodeFingerprintFile(ReadHostFile(path));
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.count, 2u) << "the count is the records written";
    EXPECT_EQ(file.records[0].userid, 4294971956u);
    EXPECT_EQ(file.records[0].fingerByte, 1);
    const std::string first(old.begin(), old.begin() + PressTemplateSize);
    EXPECT_EQ(file.records[0].templ, first + first);
    EXPECT_EQ(file.records[1].fingerByte, 10);
    EXPECT_EQ(file.records[1].templ, std::string(pair.begin(), pair.end()));
}

TEST_F(TransferFilesTest, TheReaderGoesByTheLengthAndReportsAShortTail) {
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString path = TransferFilePath(Folder(), kUserFile28);
    BYTE record[PackedUser28Size];
    struct Case {
        std::string bytes;
        int records;
        bool tail;
    };
    const std::string one(28, 'a');
    const std::string header(3, '\0');
    for (const Case& c : {Case{"", 0, false}, Case{header.substr(0, 2), 0, true}, Case{header, 0, false},
                          Case{"\xFF\xFF\xFF" + one, 1, false}, Case{header + one + one.substr(0, 27), 1, true}}) {
        WriteHostFile(path, c.bytes);
        CTransferFileReader reader;
        ASSERT_TRUE(reader.Open(path, PackedUser28Size));
        int n = 0;
        while (reader.Next(record)) ++n;
        EXPECT_EQ(n, c.records) << c.bytes.size();
        EXPECT_EQ(reader.HasShortTail(), c.tail) << c.bytes.size();
        EXPECT_EQ(reader.Length(), c.bytes.size());
    }
    CTransferFileReader missing;
    EXPECT_FALSE(missing.Open(TransferFilePath(Folder(), kUserFile27), PackedUser27Size));
}

TEST_F(TransferFilesTest, AFileThatCannotBeWrittenLeavesNothingUnderItsName) {
    CTransferFileWriter writer;
    const BYTE record[PackedUser28Size] = {};
    writer.Append(record, PackedUser28Size);
    const CString path = TransferFilePath(u"\\USB Disk\\1", kUserFile28);
    EXPECT_FALSE(writer.Commit(path));
    EXPECT_FALSE(std::filesystem::exists(Host(u"\\USB Disk")));
}

// The copies of the backup, restore and update pages go in blocks of
// 4096 bytes, the bar and the watchdog looked after between blocks.
int g_blocksWritten = 0;

TEST_F(TransferFilesTest, CopiesGoInBlocksOf4096Bytes) {
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString source = TransferFilePath(Folder(), u"source.bin");
    const CString target = TransferFilePath(Folder(), u"target.bin");
    std::string content(3 * 4096 + 100, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
    WriteHostFile(source, content);
    g_blocksWritten = 0;
    SetAtomicStageHook([](AtomicStage stage) { g_blocksWritten += stage == AtomicStage::Wrote ? 1 : 0; });
    CTransferLoop loop(nullptr);
    ULONGLONG done = 0;
    CBlockCopy copy;
    const bool copied = copy.Copy(source, Host(target), content.size(), loop, done, content.size()) && copy.Commit();
    SetAtomicStageHook(nullptr);
    ASSERT_TRUE(copied);
    EXPECT_EQ(g_blocksWritten, 4);
    EXPECT_EQ(done, content.size());
    EXPECT_EQ(ReadHostFile(target), content);
}

// The copy reads the size the source had when it was checked and no more:
// a file changed since, or a device put in its place, installs nothing.
TEST_F(TransferFilesTest, ASourceNoLongerOfItsCheckedSizeIsAFailedCopy) {
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString source = TransferFilePath(Folder(), u"source.bin");
    const CString target = TransferFilePath(Folder(), u"target.bin");
    const std::string content(2 * 4096 + 10, 'x');
    WriteHostFile(source, content);
    const auto copyOf = [&](const CString& from, ULONGLONG size, ULONGLONG& done) {
        CTransferLoop loop(nullptr);
        CBlockCopy copy;
        return copy.Copy(from, Host(target), size, loop, done, size) && copy.Commit();
    };
    const auto folderEntries = [&] {
        return std::distance(std::filesystem::directory_iterator(Host(Folder())), std::filesystem::directory_iterator{});
    };
    ULONGLONG done = 0;
    EXPECT_FALSE(copyOf(source, content.size() - 1, done)) << "grown since it was checked";
    EXPECT_FALSE(copyOf(source, content.size() + 1, done)) << "cut since it was checked";
    EXPECT_EQ(folderEntries(), 1) << "neither the target nor a temporary is left";

    const CString endless = TransferFilePath(Folder(), u"endless.bin");
    std::filesystem::create_symlink("/dev/zero", Host(endless));
    done = 0;
    EXPECT_FALSE(copyOf(endless, 10000, done));
    EXPECT_EQ(done, 10000u) << "reading stops at the checked size";
    EXPECT_FALSE(std::filesystem::exists(Host(target)));
}

TEST_F(TransferFilesTest, LocationsNameTheirTransferFolders) {
    CString appDir;
    GetAppDir(appDir);
    g_MachineConfig.MachineID = u"17";
    EXPECT_EQ(GetTransferFolder(StorageDeviceFlash), appDir + u"17");
    EXPECT_EQ(GetTransferFolder(StorageSDCard), u"\\Storage Card\\17");
    EXPECT_EQ(GetTransferFolder(StorageUSBDisk), u"\\USB Disk\\17");
    EXPECT_TRUE(StorageRootExists(StorageDeviceFlash));
    EXPECT_FALSE(StorageRootExists(StorageUSBDisk));
    EXPECT_FALSE(EnsureTransferFolder(GetTransferFolder(StorageUSBDisk))) << "the medium must be there";
    InsertMedium(StorageUSBDisk);
    EXPECT_TRUE(StorageRootExists(StorageUSBDisk));
    EXPECT_TRUE(EnsureTransferFolder(GetTransferFolder(StorageUSBDisk)));
    EXPECT_TRUE(std::filesystem::is_directory(Host(u"\\USB Disk\\17")));
}

TEST_F(TransferFilesTest, PercentagesStayWithinTheBarWhateverTheTotal) {
    EXPECT_EQ(CTransferLoop::Percent(0, 0), 0u);
    EXPECT_EQ(CTransferLoop::Percent(5, 0), 0u);
    EXPECT_EQ(CTransferLoop::Percent(7, 5), 100u);
    EXPECT_EQ(CTransferLoop::Percent(1, 3), 33u);
    EXPECT_EQ(CTransferLoop::Percent(0xFFFFFFFFull * 3, 0xFFFFFFFFull * 4), 75u) << "no overflow";
}

TEST_F(TransferFilesTest, ALongLoopFeedsTheWatchdogEveryFiveSecondsAndNeverInDebugMode) {
    CTransferLoop::SetRecordPause(5);
    const std::vector<BYTE> frame{0xFE, 0x01, 0x01, 0xFE};
    for (int debug : {0, 1}) {
        g_MachineConfig.DEBUGMODE = debug;
        CTransferLoop loop(nullptr);
        loop.Begin(false);
        const uint64_t start = ClockNowMs();
        for (int i = 0; i < 2500; ++i) {  // 12.5 s of pauses
            loop.FeedWhenDue();
            loop.Pause();
        }
        EXPECT_GE(ClockNowMs() - start, 12500u);
        const std::vector<BYTE> sent = ControllerBytes();
        if (debug) {
            EXPECT_TRUE(sent.empty());
        } else {
            EXPECT_EQ(sent, (std::vector<BYTE>{frame[0], frame[1], frame[2], frame[3], frame[0], frame[1], frame[2],
                                               frame[3]}));
        }
    }
}

}  // namespace
