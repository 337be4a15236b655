// Settings loaded from config.xml as the file holds them, acting through
// their readers as each reader tests them: a switch read as on only at 1
// stays off at 2, one read as on when not 0 is on at 2 or -1, a choice
// outside its table does what the table's other values do. The lock time
// alone is bounded, where it goes onto the wire.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "comm/CommLink.h"
#include "comm/TcpServerLink.h"
#include "core/ConfigXml.h"
#include "core/Folders.h"
#include "core/FpLibraries.h"
#include "core/MachineConfig.h"
#include "core/RealtimeFrame.h"
#include "core/RegistryKey.h"
#include "data/RecordStore.h"
#include "main/AlarmChecks.h"
#include "main/FingerCapture.h"
#include "tests/core_startup/IoLineTestSupport.h"
#include "transfer/Watchdog.h"

namespace stored_settings_test {
namespace {

using Bytes = std::vector<BYTE>;

constexpr BYTE kSensorMark = 0x5A;
int SensorImage(BYTE* image) {
    std::fill_n(image, kCaptureBufferBytes, kSensorMark);
    return 1;
}

class StoredSettings : public IoLineTest {
protected:
    void TearDown() override {
        g_ConfigDoc.ParseText(u"");
        CMachineConfig& c = g_MachineConfig;
        for (int* field : {&c.DEBUGMODE, &c.FCCHECKALARM, &c.MCCHECKALARM, &c.UPDATE, &c.PHOTOSAVEDIR,
                           &c.ALLTIMESMONITOR, &c.COMMUNICATIONTYPE, &c.RING, &c.LOCKDELAY})
            *field = 0;
        IoLineTest::TearDown();
    }

    // config.xml holding `keys` (the CONFIG element's content), loaded as
    // start-up loads it.
    void Load(const std::string& keys) {
        root.PutFile(std::string(kAppFolder) + "config/config.xml", "<ROOT><CONFIG>" + keys + "</CONFIG></ROOT>");
        ASSERT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
        CMachineConfig& c = g_MachineConfig;
        c.WriteRegString(u"UnitName", u"ACME");
        c.WriteRegString(u"LanguageName", u"English");
        for (const char16_t* name : {u"LANGUAGEFLAG", u"DateType", u"TimeType", u"RJWIFI"}) c.WriteRegDWORD(name, 1);
        c.WriteRegDWORD(u"CodePage", 936);
        ASSERT_EQ(c.Load(), 1);
    }
};

// Debug mode is DEBUGMODE 1: at 2 the watchdog is fed during a transfer
// (a real controller resets a terminal it does not hear from) and the
// capture reads the sensor, not the test image.
TEST_F(StoredSettings, DebugModeTwoIsNotDebugMode) {
    Load("<DEBUGMODE>2</DEBUGMODE>");
    EXPECT_EQ(g_MachineConfig.DEBUGMODE, 2);
    FeedWatchdog();
    EXPECT_EQ(Sent(), (Bytes{0xFE, 0x01, 0x01, 0xFE}));

    PutAppFile("loadImage.dat", std::string(kCaptureBufferBytes, '\x11'));
    g_MachineConfig.DebugSensorCapture = 0;
    const FpImageProc saved = g_FpLib.VeltoGetFpData;
    g_FpLib.VeltoGetFpData = SensorImage;
    std::vector<BYTE> image(kCaptureBufferBytes);
    EXPECT_EQ(CaptureFingerImage(image.data()), 1);
    EXPECT_EQ(image.front(), kSensorMark) << "the sensor's image, not loadImage.dat";
    g_FpLib.VeltoGetFpData = saved;

    Load("<DEBUGMODE>1</DEBUGMODE>");
    FeedWatchdog();
    EXPECT_TRUE(Sent().empty()) << "debug mode itself still feeds nothing";
}

// The alarm prompts play at 1 only; the checks the controller is told of are
// on at anything but 0.
TEST_F(StoredSettings, AlarmSwitchesAtTwoCheckWithoutSounding) {
    Load("<FCCHECKALARM>2</FCCHECKALARM><MCCHECKALARM>-1</MCCHECKALARM>");
    DispatchIoFrame(IoFrame{kIoDoorSensor, 1, 1, {}});
    DispatchIoFrame(IoFrame{kIoTamper, 1, 1, {}});
    EXPECT_TRUE(Journal(kJournalSound).empty());
    SendStoredAlarmChecks();
    EXPECT_EQ(Sent(), (Bytes{0xF5, 0x01, 0x01, 0xF5, 0xF4, 0x01, 0x01, 0xF4}));
}

// Template self-update is UPDATE 1; nothing reads it yet, so the load is
// what keeps 2 from being taken for 1.
TEST_F(StoredSettings, SelfUpdateTwoStaysTwo) {
    Load("<UPDATE>2</UPDATE>");
    EXPECT_EQ(g_MachineConfig.UPDATE, 2);
}

// Photos go to the storage card whenever PHOTOSAVEDIR is not 0.
TEST_F(StoredSettings, APhotoFolderOfMinusOneIsOnTheStorageCard) {
    ASSERT_TRUE(CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\SDMemory", u""));
    ASSERT_TRUE(CRegistryKey(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\SDMemory")
                    .SetStringValue(u"Folder", u"Storage Card"));
    std::filesystem::create_directories(root.HostPath("Storage Card"));
    Load("<PHOTOSAVEDIR>-1</PHOTOSAVEDIR>");
    CString folder;
    ASSERT_EQ(GetSnapFolder(folder), 1);
    EXPECT_EQ(folder, CString(u"\\Storage Card\\Snap"));
    EXPECT_EQ(GetIconFolder(), CString(u"\\Storage Card\\ICON"));
}

// Real-time frames stop at ALLTIMESMONITOR 0 only.
TEST_F(StoredSettings, RealtimeMonitoringOfMinusOneSendsToTheLink) {
    OpenFactoryDatabase();
    const auto store = std::make_unique<CRecordStore>(*g_pDatabase, 100000);
    g_pRecordStore = store.get();
    Load("<ALLTIMESMONITOR>-1</ALLTIMESMONITOR>");
    CTcpServerLink link(0);
    g_pLink = &link;
    CheckinoutRecord record;
    record.Userid = u"70000";
    record.CheckTime = u"2000-01-02 00:01:40";
    EXPECT_EQ(PostRealtimeRecordLink(record), 1);
    EXPECT_EQ(link.PendingCount(), 1u);
    g_pLink = nullptr;
    g_pRecordStore = nullptr;
}

// The link is rebuilt after a settings reset for types 2, 3 and 4 only: a
// type the table does not list has no link to rebuild, as 0 and 1.
TEST_F(StoredSettings, ALinkTypeOfSevenIsNoNetworkLink) {
    CTcpServerLink link(0);
    g_pLink = &link;
    Load("<COMMUNICATIONTYPE>7</COMMUNICATIONTYPE>");
    g_MachineConfig.RestoreDefaults();
    EXPECT_EQ(link.m_stop.load(), 0) << "not taken for 4, GPRS";
    Load("<COMMUNICATIONTYPE>4</COMMUNICATIONTYPE>");
    g_MachineConfig.RestoreDefaults();
    EXPECT_EQ(link.m_stop.load(), 1);
    g_pLink = nullptr;
}

// The lock time is sent as x = time / 2 + 1 in one byte: a stored time is
// sent as it stands, a longer one than the byte holds as the longest and a
// negative one as none, never wrapped round.
TEST_F(StoredSettings, ALockTimeIsSentAsStoredWithinItsByte) {
    const std::pair<const char*, BYTE> cases[] = {{"99", 50}, {"255", 128}, {"256", 128}, {"300", 128},
                                                  {"-1", 1},  {"0", 1},     {"2147483647", 128}};
    for (const auto& [stored, x] : cases) {
        Load(std::string("<RING>0</RING><LOCKDELAY>") + stored + "</LOCKDELAY>");
        DispatchIoFrame(IoFrame{kIoAlarmInput, 1, 0, {}});
        EXPECT_EQ(Sent(), (Bytes{0xF3, x, x, 0xF3})) << stored;
    }
}

}  // namespace
}  // namespace stored_settings_test
