#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/AppServices.h"
#include "core/CardInput.h"
#include "core/ConfigXml.h"
#include "core/DateTexts.h"
#include "core/FontResources.h"
#include "core/FpLibraries.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/RegisteredMessages.h"
#include "core/RegistryKey.h"
#include "core/VolumeLevel.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "platform/ui/CWnd.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/ui_session.h"

namespace {

CString CardText(const char* digits) {
    PostCardNumber(reinterpret_cast<const BYTE*>(digits), static_cast<int>(std::strlen(digits)));
    return g_strLastCardNo.Get();
}

TEST(CardNumber, IsTheValueOfTheLastEightHexDigits) {
    SetCardTarget(nullptr);
    EXPECT_EQ(CardText("0000ABCDEF12"), CString(u"2882400018"));
    EXPECT_EQ(CardText("FFFFFFFF"), CString(u"4294967295"));
    EXPECT_EQ(CardText("1FFFFFFFF"), CString(u"4294967295"));
    EXPECT_EQ(CardText("abcdef12"), CString(u"2882400018"));
    EXPECT_EQ(CardText("12G4"), CString(u"4612"));
    EXPECT_EQ(CardText(""), CString(u"0"));
    // Longer than any work buffer: folded straight over the input.
    EXPECT_EQ(CardText((std::string(300, '7') + "0000ABCDEF12").c_str()), CString(u"2882400018"));
}

TEST(CardNumber, ReachesTheCurrentReceiverWhichCanBeGivenBack) {
    UiSession session;
    CWnd first, second;
    ASSERT_TRUE(first.CreateEx(0, WC_STATIC, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(second.CreateEx(0, WC_STATIC, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    SetCardTarget(&first);
    SetCardTarget(&second);
    EXPECT_EQ(GetCardTarget(), second.GetSafeHwnd());
    CardText("1A");
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, second.GetSafeHwnd(), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_CARDNO);
    RestoreCardTarget();
    EXPECT_EQ(GetCardTarget(), first.GetSafeHwnd());
    RestoreCardTarget();
    EXPECT_EQ(GetCardTarget(), first.GetSafeHwnd());
    SetCardTarget(nullptr);
    first.DestroyWindow();
    second.DestroyWindow();
}

TEST(DateTexts, FollowTheConfiguredOrder) {
    const COleDateTime when(2014, 3, 5, 14, 7, 9);
    const int saved = g_MachineConfig.DateType;
    g_MachineConfig.DateType = 2;
    EXPECT_EQ(FormatDateTime(when), CString(u"05-03-2014 14:07:09"));
    g_MachineConfig.DateType = 1;
    EXPECT_EQ(FormatDateTime(when), CString(u"03-05-2014 14:07:09"));
    EXPECT_EQ(FormatDate(when), CString(u"03-05-2014"));
    g_MachineConfig.DateType = 0;
    EXPECT_EQ(FormatDateTimeCompact(when), CString(u"20140305140709"));
    g_MachineConfig.DateType = 3;
    EXPECT_EQ(FormatDate(when), CString(u"######################"));
    EXPECT_EQ(FormatDateTimeIso(when), CString(u"2014-03-05 14:07:09"));
    g_MachineConfig.DateType = saved;
}

TEST(VerifyType, SplitsIntoThreeFields) {
    EXPECT_EQ(GetVerifyTypeHigh(0xC5), 3);
    EXPECT_EQ(GetVerifyTypeMid(0xC5), 0);
    EXPECT_EQ(GetVerifyTypeLow(0xC5), 5);
}

using SecondsTest = StartupTest;

TEST_F(SecondsTest, CountFromTheSecondOfJanuary2000OnceTheRecordStoreExists) {
    int year = 9, month = 9, day = 9, hour = 9, minute = 9, second = 9;
    EXPECT_EQ(ParseDateTime(u"2014-03-05 14:07:09", &year, &month, &day, &hour, &minute, &second), 0);
    EXPECT_EQ(year + month + day + hour + minute + second, 0) << "no record store: nothing parsed";

    OpenFactoryDatabase();
    CRecordStore store(*g_pDatabase, 100000);
    g_pRecordStore = &store;
    EXPECT_EQ(ParseDateTime(u"2014-3-5 14:7:09", &year, &month, &day, &hour, &minute, &second), 1);
    EXPECT_EQ((std::vector<int>{year, month, day, hour, minute, second}), (std::vector<int>{2014, 3, 5, 14, 7, 9}));
    EXPECT_EQ(DateTimeToSeconds(u"2000-01-02 00:01:40"), 100u);
    EXPECT_EQ(DateTimeToSecondsSigned(u"2000-01-01 23:59:59"), -1);
    // A day past the month's end counts on, as in the packed record.
    EXPECT_EQ(DateTimeToSecondsSigned(u"2014-02-30 00:00:00"), DateTimeToSecondsSigned(u"2014-03-02 00:00:00"));
    EXPECT_EQ(DateTimeToSecondsSigned(u"2014-02-30 00:00:00"), SecondsSince2000(2014, 2, 30, 0, 0, 0));
    g_pRecordStore = nullptr;
}

TEST(FlipFpImage, TurnsByHalfATurn) {
    std::vector<BYTE> src(kFpFlipWidth * kFpFlipHeight), dst(src.size());
    for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<BYTE>(i * 7);
    FlipFpImage(src.data(), dst.data());
    EXPECT_EQ(dst[0], src[src.size() - 1]);
    EXPECT_EQ(dst[5 * kFpFlipWidth + 9], src[(279 - 5) * kFpFlipWidth + (247 - 9)]);
}

// Every top-level window hears of each font file registered, as the
// system's font table changes under it.
class FontListener : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        fontChanges += message == WM_FONTCHANGE ? 1 : 0;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int fontChanges = 0;
};

TEST(FontResources, EachRegisteredFileIsAnnouncedToEveryTopLevelWindow) {
    UiSession session;
    FontListener shown, hidden;
    ASSERT_TRUE(shown.CreateEx(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(hidden.CreateEx(0, WC_STATIC, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    g_ConfigDoc.ParseText(u"<ROOT><CONFIG/><FontResourceList><FileName>font\\a.ttf</FileName>"
                          u"<FileName>font\\b.ttf</FileName></FontResourceList></ROOT>");
    EXPECT_EQ(LoadFontResources(), 1);
    EXPECT_EQ(shown.fontChanges, 2);
    EXPECT_EQ(hidden.fontChanges, 2);
    UnloadFontResources();
    EXPECT_EQ(shown.fontChanges, 2) << "removing the fonts announces nothing";
    g_ConfigDoc.ParseText(u"");
}

using PhotoTest = StartupTest;

TEST_F(PhotoTest, DeletesOnlyTheFirstPhotoOfTheUser) {
    PutAppFile("ICON/42.jpg");
    PutAppFile("ICON/42.png");
    EXPECT_EQ(DeleteUserPhoto(u"42"), 1);
    EXPECT_FALSE(std::filesystem::exists(AppFile("ICON/42.jpg")));
    EXPECT_TRUE(std::filesystem::exists(AppFile("ICON/42.png")));
}

TEST_F(PhotoTest, UserIdsThatLeaveThePhotoFolderAreRefused) {
    PutAppFile("DB/x.bmp");
    EXPECT_EQ(DeleteUserPhoto(u"..\\DB\\x"), 0);
    EXPECT_EQ(DeleteUserPhoto(u"../DB/x"), 0);
    EXPECT_EQ(DeleteUserPhoto(u"\\NandFlash\\zeta42\\DB\\x"), 0);
    EXPECT_EQ(DeleteUserPhoto(u""), 0);
    EXPECT_TRUE(std::filesystem::exists(AppFile("DB/x.bmp")));
}

TEST_F(PhotoTest, ActiveDriversAreFoundByPrefix) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Drivers\\Active\\07", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    const char16_t name[] = u"LDM1:";
    RegSetValueExW(key, u"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
    RegCloseKey(key);
    EXPECT_EQ(IsDriverActive(u"LDM"), 1);
    EXPECT_EQ(IsDriverActive(u"USB"), 0);
}

}  // namespace

namespace {

using VolumeTest = StartupTest;

TEST_F(VolumeTest, LevelsReadBackAndUnknownLevelsAreSilence) {
    CRegistryKey::CreateKey(HKEY_CURRENT_USER, u"ControlPanel\\Volume", nullptr);
    int level = -1;
    SetVolumeLevel(3);
    GetVolumeLevel(level);
    EXPECT_EQ(level, 3);
    SetVolumeLevel(9);
    GetVolumeLevel(level);
    EXPECT_EQ(level, 0);
}

}  // namespace

namespace {

class RecentRecordTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        OpenFactoryDatabase();
        m_savedGap = g_MachineConfig.REATTIMEGAP;
        g_MachineConfig.REATTIMEGAP = 5;
        g_pDatabase->DirectStatement(
            u"insert into Checkinout (Userid, CheckTime) values ('O''Neil', '2014-09-01 08:00:00')");
        g_pDatabase->DirectStatement(u"insert into Checkinout (Userid, CheckTime) values ('7', '2014-09-01 08:00:00')");
    }
    void TearDown() override {
        g_MachineConfig.REATTIMEGAP = m_savedGap;
        StartupTest::TearDown();
    }

    const COleDateTime soon{2014, 9, 1, 8, 4, 0};

private:
    int m_savedGap = 0;
};

TEST_F(RecentRecordTest, CountsOnlyTheUsersOwnRecordsWithinTheGap) {
    EXPECT_EQ(HasRecentRecord(u"7", soon), 1);
    EXPECT_EQ(HasRecentRecord(u"7", COleDateTime(2014, 9, 1, 8, 6, 0)), 0);
    EXPECT_EQ(HasRecentRecord(u"8", soon), 0);
    g_MachineConfig.REATTIMEGAP = 0;
    EXPECT_EQ(HasRecentRecord(u"7", soon), 0);
}

TEST_F(RecentRecordTest, AUserIdWithQuotesIsDataNotSql) {
    EXPECT_EQ(HasRecentRecord(u"O'Neil", soon), 1);
    EXPECT_EQ(HasRecentRecord(u"x' or '1'='1", soon), 0);
    EXPECT_EQ(HasRecentRecord(u"1'; delete from Checkinout; --", soon), 0);
    EXPECT_EQ(Int(u"select count(*) from Checkinout"), 2);
}

}  // namespace
