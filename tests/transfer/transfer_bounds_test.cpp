// The transfer files' fields at their bounds: the header past 16 bits, the
// longest password, the last finger, the administrator byte's two bits,
// and an import's finger mask replacing a stored one, even by zero.

#include "data/DataGlobals.h"
#include "tests/transfer/file_decoder.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"

namespace {

class TransferBoundsTest : public TransferTest {
protected:
    CString Folder() { return GetTransferFolder(StorageDeviceFlash); }
    static std::string Header(unsigned count) {
        BYTE bytes[TransferCountSize];
        PutTransferCount(bytes, count);
        return std::string(reinterpret_cast<char*>(bytes), TransferCountSize);
    }
};

TEST_F(TransferBoundsTest, TheCountKeepsItsLow24Bits) {
    EXPECT_EQ(Header(65535), std::string("\x00\xFF\xFF", 3));
    EXPECT_EQ(Header(65536), std::string("\x01\x00\x00", 3));
    EXPECT_EQ(Header(70000), std::string("\x01\x11\x70", 3));
    EXPECT_EQ(Header(16777215), std::string("\xFF\xFF\xFF", 3));
    EXPECT_EQ(Header(16777216), std::string("\x00\x00\x00", 3));
    EXPECT_EQ(Header(16777217 + 65536), std::string("\x01\x00\x01", 3));
}

TEST_F(TransferBoundsTest, AFileOf65536RecordsSaysSoInItsHeader) {
    ASSERT_TRUE(EnsureTransferFolder(Folder()));
    const CString path = TransferFilePath(Folder(), kUserFile28);
    CTransferFileWriter writer;
    const BYTE record[PackedUser28Size] = {0, 0, 0, 0, 1};
    for (int i = 0; i < 65536; ++i) writer.Append(record, PackedUser28Size);
    ASSERT_TRUE(writer.Commit(path));
    const std::string bytes = ReadHostFile(path);
    EXPECT_EQ(bytes.size(), 3u + 65536u * PackedUser28Size);
    EXPECT_EQ(bytes.substr(0, 3), std::string("\x01\x00\x00", 3));
    const DecodedFile<DecodedUser> file = DecodeUserFile(bytes);
    EXPECT_TRUE(file.ok);
    EXPECT_EQ(file.count, 65536u);
}

TEST_F(TransferBoundsTest, FifteenPasswordDigitsAndTheTenthFingerComeBack) {
    BYTE field[3];
    EncodeTransferPassword(u"000000001048574", field);
    EXPECT_EQ(field[0], 0xFF) << "15 digits, the value's top bits all set";
    EXPECT_EQ(DecodeTransferPassword(field), u"000000001048574");
    EncodeTransferPassword(u"0000000000000007", field);
    EXPECT_EQ(field[0] >> 4, 15) << "sixteen digits are counted as fifteen";

    BYTE record[PackedFingerprintSize] = {0, 0, 0, 0, 9, 10};
    TransferFingerprint fingerprint;
    ASSERT_TRUE(DecodeFingerprint(record, fingerprint));
    EXPECT_EQ(fingerprint.finger, 9);
    record[5] = 1;
    ASSERT_TRUE(DecodeFingerprint(record, fingerprint));
    EXPECT_EQ(fingerprint.finger, 0);
}

TEST_F(TransferBoundsTest, OnlyBothHighBitsMakeAnAdministratorInEitherLayout) {
    struct Case {
        BYTE flags;
        int admin;
    };
    for (const Case c : {Case{0xC0, 1}, Case{0xFF, 1}, Case{0x80, 0}, Case{0x40, 0}, Case{0x3F, 0}}) {
        BYTE large[PackedUser28Size] = {0, 0, 0, 0, 1};
        BYTE small[PackedUser27Size] = {0, 0, 0, 0, 1};
        large[27] = c.flags;
        small[26] = c.flags;
        TransferUser user;
        DecodeUser28(large, user);
        EXPECT_EQ(user.AdminFlag, c.admin) << std::hex << int(c.flags);
        DecodeUser27(small, user);
        EXPECT_EQ(user.AdminFlag, c.admin) << std::hex << int(c.flags);
    }
}

TEST_F(TransferBoundsTest, TheLargeFilesFingerMaskReplacesTheStoredOneEvenWhenItIsZero) {
    // The file is the terminal's own export of the two users with masks 0
    // and 0x8001; the stored masks then change before the import.
    PutUser({u"42", u"", u"Ann", u"", u"", 1, 6, u"", 0, u"", 0, 0});
    PutUser({u"43", u"", u"Bob", u"", u"", 1, 6, u"", 0, u"", 0, 0x8001});
    OnPage(1331, {"key DOWN", "answer yes", "answer ok", "key ENTER"});
    ASSERT_EQ(DecodeUserFile(ReadHostFile(TransferFilePath(Folder(), kUserFile28))).count, 2u);
    g_pDatabase->DirectStatement(u"update Userinfo set FPFlag = 5 where userid = '42'");
    g_pDatabase->DirectStatement(u"update Userinfo set FPFlag = 2 where userid = '43'");
    OnPage(132, {"key DOWN", "answer no", "answer ok", "key ENTER"});
    EXPECT_EQ(Count(u"select FPFlag from Userinfo where userid = '42'"), 0);
    EXPECT_EQ(Count(u"select FPFlag from Userinfo where userid = '43'"), 0x8001);
    EXPECT_EQ(Messages().back(), u"Import done");
}

}  // namespace
