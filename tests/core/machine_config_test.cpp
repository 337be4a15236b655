// The settings object: load from the registry and config.xml, the keys the
// load writes when missing, the factory defaults, and the registry wrapper.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <filesystem>
#include <string>
#include <thread>

#include "core/AdapterRebind.h"
#include "core/ConfigXml.h"
#include "core/MachineConfig.h"
#include "core/NetPort.h"
#include "core/RegistryKey.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "tests/support/device_root.h"

namespace machine_config_test {
namespace {

constexpr const char* kConfigHost = "NandFlash/zeta42/config/config.xml";

class Settings : public ::testing::Test {
protected:
    void LoadConfig(const std::string& text) {
        m_root.PutFile(kConfigHost, text);
        ASSERT_TRUE(g_ConfigDoc.ReadFromFile(GetConfigFilePath()));
    }
    void TearDown() override { g_ConfigDoc.ParseText(u""); }

    // The registry values the load cannot do without.
    void PutRegistry() {
        g_MachineConfig.WriteRegString(u"UnitName", u"ACME");
        g_MachineConfig.WriteRegString(u"LanguageName", u"English");
        g_MachineConfig.WriteRegDWORD(u"LANGUAGEFLAG", 1);
        g_MachineConfig.WriteRegDWORD(u"DateType", 2);
        g_MachineConfig.WriteRegDWORD(u"TimeType", 1);
        g_MachineConfig.WriteRegDWORD(u"CodePage", 950);
        g_MachineConfig.WriteRegDWORD(u"RJWIFI", 1);
    }

    CString Key(const char16_t* key) {
        CString value;
        return GetConfigValue(key, value) ? value : CString(u"(missing)");
    }

    ScopedDeviceRoot m_root;
};

}  // namespace

TEST_F(Settings, LoadFillsFieldsAndWritesMissingKeys) {
    LoadConfig("<ROOT><CONFIG>\r\n<PASSWORD>1234</PASSWORD>\r\n<FPLEVEL>4 levels</FPLEVEL>\r\n"
               "<FCCHECKALARM></FCCHECKALARM>\r\n<WuRenTestMode>2</WuRenTestMode>\r\n"
               "<InterfaceWaitTime>30</InterfaceWaitTime>\r\n<MachineID>7</MachineID>\r\n</CONFIG></ROOT>");
    PutRegistry();
    g_MachineConfig.FP = 0x12345678;
    ASSERT_EQ(g_MachineConfig.Load(), 1);

    EXPECT_EQ(g_MachineConfig.UnitName.Get(), CString(u"ACME"));
    EXPECT_EQ(g_MachineConfig.DateType, 2);
    EXPECT_EQ(g_MachineConfig.TimeType, 1);
    EXPECT_EQ(g_MachineConfig.CodePage, 950);
    EXPECT_EQ(g_MachineConfig.RJWIFI, 1);
    EXPECT_EQ(g_MachineConfig.FP & 0xFF, 0x20u);  // no FP value: a blank
    EXPECT_EQ(g_MachineConfig.PASSWORD.Get(), CString(u"1234"));
    EXPECT_EQ(g_MachineConfig.FPLEVEL, 4);
    EXPECT_EQ(g_MachineConfig.TCPMODE, 0);
    EXPECT_EQ(g_MachineConfig.SkinDir.Get(), CString(u"\\NandFlash\\zeta42\\Skin\\FLOWER\\"));
    EXPECT_EQ(g_MachineConfig.WuRenTestMode, 0);
    EXPECT_EQ(g_MachineConfig.InterfaceWaitTime, 2);
    EXPECT_EQ(g_MachineConfig.MachineID.Get(), CString(u"7"));
    EXPECT_EQ(g_MachineConfig.FCCHECKALARM, 1);
    EXPECT_EQ(g_MachineConfig.NETPORT, 5010);
    EXPECT_EQ(g_MachineConfig.ScreenInterval, 5);
    EXPECT_EQ(g_MachineConfig.GprsApn.Get(), CString(u"CMNET"));
    EXPECT_EQ(g_MachineConfig.GprsPort, 5010);

    // The keys the load writes reach the file.
    CXmlDoc saved;
    ASSERT_TRUE(saved.ReadFromFile(GetConfigFilePath()));
    const CString file = saved.GetDoc();
    for (const char16_t* written : {u"<FCCHECKALARM>1</FCCHECKALARM>", u"<MCCHECKALARM>0</MCCHECKALARM>",
                                    u"<NETPORT>5010</NETPORT>", u"<ScreenType>0</ScreenType>",
                                    u"<ScreenInterval>5</ScreenInterval>", u"<PRINT>0</PRINT>",
                                    u"<GprsApn>CMNET</GprsApn>", u"<GprsPwd/>", u"<GprsUser/>",
                                    u"<GprsPort>5010</GprsPort>", u"<InterfaceWaitTime>30</InterfaceWaitTime>",
                                    u"<MachineID>7</MachineID>"})
        EXPECT_GE(file.Find(written), 0) << CString(written).GetLength();
    EXPECT_LT(file.Find(u"<MachineID>1</MachineID>"), 0);
}

// Every number is read as the file holds it, also beyond what the pages
// offer: the readers give it its meaning (a switch tested for 1 or for not
// 0, a choice by its table), and the file is not rewritten.
TEST_F(Settings, NumbersAreReadAsTheFileHoldsThem) {
    LoadConfig("<ROOT><CONFIG>\r\n<FPLEVEL>1073741824</FPLEVEL>\r\n<LOCKDELAY>99</LOCKDELAY>\r\n"
               "<RING>-3</RING>\r\n<WARNINGNUM>2147483647</WARNINGNUM>\r\n<REATTIMEGAP>250</REATTIMEGAP>\r\n"
               "<PANELCOLOR>4294967295</PANELCOLOR>\r\n<WIEGANDHEAD>255</WIEGANDHEAD>\r\n"
               "<COMMUNICATIONTYPE>7</COMMUNICATIONTYPE>\r\n<PHOTOMAXNUMBER>300</PHOTOMAXNUMBER>\r\n"
               "<VERTIFYTYPE>457</VERTIFYTYPE>\r\n<GprsPort>99999</GprsPort>\r\n<DEBUGMODE>2</DEBUGMODE>\r\n"
               "<FCCHECKALARM>2</FCCHECKALARM>\r\n<MCCHECKALARM>-1</MCCHECKALARM>\r\n<UPDATE>2</UPDATE>\r\n"
               "<PHOTOSAVEDIR>-1</PHOTOSAVEDIR>\r\n<ALLTIMESMONITOR>-1</ALLTIMESMONITOR>\r\n"
               "<WORKCODE>2</WORKCODE>\r\n<ScreenType>9</ScreenType>\r\n<SLEEPCLOCK>90000</SLEEPCLOCK>\r\n"
               "</CONFIG></ROOT>");
    PutRegistry();
    ASSERT_EQ(g_MachineConfig.Load(), 1);
    const CMachineConfig& c = g_MachineConfig;
    const std::pair<int, int> numbers[] = {
        {c.FPLEVEL, 1073741824}, {c.LOCKDELAY, 99},       {c.RING, -3},           {c.WARNINGNUM, 2147483647},
        {c.REATTIMEGAP, 250},    {c.PANELCOLOR, INT_MAX}, {c.WIEGANDHEAD, 255},   {c.COMMUNICATIONTYPE, 7},
        {c.PHOTOMAXNUMBER, 300}, {c.VERTIFYTYPE, 457},    {c.GprsPort, 99999},    {c.DEBUGMODE, 2},
        {c.FCCHECKALARM, 2},     {c.MCCHECKALARM, -1},    {c.UPDATE, 2},          {c.PHOTOSAVEDIR, -1},
        {c.ALLTIMESMONITOR, -1}, {c.WORKCODE, 2},         {c.ScreenType, 9},      {c.SLEEPCLOCK, 90000},
    };
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(numbers[i].first, numbers[i].second) << "field " << i;
    EXPECT_EQ(Key(u"FPLEVEL"), CString(u"1073741824"));
    EXPECT_EQ(Key(u"FCCHECKALARM"), CString(u"2"));

    LoadConfig("<ROOT><CONFIG><FPLEVEL>2147483647</FPLEVEL><LOCKDELAY>-2147483648</LOCKDELAY></CONFIG></ROOT>");
    ASSERT_EQ(g_MachineConfig.Load(), 1);
    EXPECT_EQ(c.FPLEVEL, INT_MAX);
    EXPECT_EQ(c.LOCKDELAY, INT_MIN);
}

TEST_F(Settings, MissingRegistryValueFailsTheLoadAndStopsThere) {
    LoadConfig("<ROOT><CONFIG><FPLEVEL>3</FPLEVEL></CONFIG></ROOT>");
    PutRegistry();
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\VELTO\\Quillon", 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
    RegDeleteValueW(raw, u"TimeType");
    RegCloseKey(raw);

    g_MachineConfig.CodePage = -1;
    g_MachineConfig.RJWIFI = -1;
    g_MachineConfig.FPLEVEL = -1;
    EXPECT_EQ(g_MachineConfig.Load(), 0);
    EXPECT_EQ(g_MachineConfig.CodePage, -1);
    EXPECT_EQ(g_MachineConfig.RJWIFI, -1);
    EXPECT_EQ(g_MachineConfig.FPLEVEL, -1);
}

TEST_F(Settings, LongRegistryTextsAreReadWhole) {
    LoadConfig("<ROOT><CONFIG/></ROOT>");
    PutRegistry();
    const CString longName(u'N', 300);
    g_MachineConfig.WriteRegString(u"UnitName", longName);
    ASSERT_EQ(g_MachineConfig.Load(), 1);
    EXPECT_EQ(g_MachineConfig.UnitName.Get(), longName);
}

TEST_F(Settings, FactoryResetThenLoadGivesTheFactoryValues) {
    LoadConfig("<ROOT>\r\n<CONFIG>\r\n</CONFIG>\r\n</ROOT>");
    g_MachineConfig.COMMUNICATIONTYPE = 0;
    g_MachineConfig.WriteRegistryDefaults();
    g_MachineConfig.RestoreDefaults();

    EXPECT_EQ(Key(u"FPLEVEL"), CString(u"1"));
    EXPECT_EQ(Key(u"FPCOUNT"), CString(u"5000"));
    EXPECT_EQ(Key(u"WARNINGNUM"), CString(u"1000"));
    EXPECT_EQ(Key(u"REATTIMEGAP"), CString(u"0"));
    // The saving writes put everything on disk.
    CXmlDoc saved;
    ASSERT_TRUE(saved.ReadFromFile(GetConfigFilePath()));
    EXPECT_EQ(saved.GetDoc(), g_ConfigDoc.GetDoc());

    ASSERT_EQ(g_MachineConfig.Load(), 1);
    const CMachineConfig& c = g_MachineConfig;
    EXPECT_EQ(c.UnitName.Get(), CString(u"VELTO"));
    EXPECT_EQ(c.LanguageName.Get(), CString(u"English"));
    EXPECT_EQ(c.PLAYNAME.Get(), CString(u" "));
    EXPECT_EQ(c.PASSWORD.Get(), CString(u"80516"));
    EXPECT_EQ(c.SkinDir.Get(), CString(u"\\NandFlash\\zeta42\\Skin\\flower\\"));
    EXPECT_EQ(c.MachineID.Get(), CString(u"1"));
    EXPECT_EQ(c.GprsServerIP.Get().IsEmpty(), false);
    const std::pair<int, int> numbers[] = {
        {c.TCPMODE, 1},          {c.NETWORK, 0},           {c.FPCOUNT, 5000},       {c.FPLEVEL, 1},
        {c.SLEEPCLOCK, 60},      {c.BACKADMINICLOCK, 180}, {c.PROOFTIME, 1},        {c.PLAYMEDIA, 60},
        {c.SNAPTYPE, 0},         {c.PHOTOSAVEDIR, 0},      {c.PHOTOMAXNUMBER, 100}, {c.SHOWICONTYPE, 1},
        {c.VERTIFYTYPE, 201},    {c.ScreenType, 0},        {c.ScreenInterval, 5},   {c.DateType, 1},
        {c.TimeType, 0},         {c.NETTIME, 0},           {c.WEATHER, 0},          {c.CodePage, 936},
        {c.UPDATE, 0},           {c.RING, 0},              {c.LANGUAGEFLAG, 1},     {c.AutoStart, 1},
        {c.WORKCODE, 0},         {c.RJWIFI, 0},            {c.FCCHECKALARM, 1},     {c.MCCHECKALARM, 0},
        {c.BAUDRATE, 1},         {c.PRINT, 0},             {c.PANELCOLOR, 16763292}, {c.DEBUGMODE, 0},
        {c.NETPORT, 5010},       {c.REATTIMEGAP, 0},       {c.ALLTIMESMONITOR, 0},  {c.LOCKDELAY, 10},
        {c.WIEGANDMODE, 0},      {c.OPENDOOR, 0},          {c.WIEGANDHEAD, 0},      {c.WARNINGNUM, 1000},
    };
    for (size_t i = 0; i < std::size(numbers); ++i)
        EXPECT_EQ(numbers[i].first, numbers[i].second) << "field " << i;
}

// Factory settings that cannot be saved (a folder in config.xml's place, as
// on a full flash) are told, and the document keeps the stored settings: a
// load then runs on what the file holds, not on defaults it never took.
TEST_F(Settings, FactorySettingsThatCannotBeSavedAreToldAndNotLoaded) {
    LoadConfig("<ROOT>\r\n<CONFIG>\r\n<FPLEVEL>4</FPLEVEL>\r\n<WARNINGNUM>300</WARNINGNUM>\r\n</CONFIG>\r\n</ROOT>");
    const CString stored = g_ConfigDoc.GetDoc();
    std::filesystem::remove(m_root.HostPath(kConfigHost));
    std::filesystem::create_directories(m_root.HostPath(kConfigHost) + "/keep");
    g_MachineConfig.COMMUNICATIONTYPE = 0;
    const uint64_t before = JournalLastSequence();
    g_MachineConfig.RestoreDefaults();
    // The adapter's key is missing here too, which has its own message.
    std::vector<std::u16string> shown;
    for (const JournalEntry& entry : JournalRead(kJournalMessageBox, before)) shown.push_back(entry.text);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), u"*设置未能保存（存储空间可能已满），仍使用原来的设置！"), 1)
        << "told once (no language file is loaded here)";
    EXPECT_EQ(g_ConfigDoc.GetDoc(), stored);
    EXPECT_EQ(Key(u"FPLEVEL"), CString(u"4"));
    EXPECT_EQ(Key(u"WARNINGNUM"), CString(u"300"));
}

TEST_F(Settings, AdapterValues) {
    LoadConfig("<ROOT><CONFIG/></ROOT>");
    EXPECT_EQ(g_MachineConfig.GetTcpipValue(u"", u"IpAddress"), CString());
    EXPECT_EQ(CMachineConfig::GetAdapterKeyPath(u""), CString(u"Comm\\DM9CE1\\Parms\\TCPIP"));
    int dhcp = 5;
    EXPECT_EQ(g_MachineConfig.GetDhcp(u"DM9CE1", dhcp), 1);  // the key exists now
    EXPECT_EQ(dhcp, 0);

    ASSERT_EQ(g_MachineConfig.SetIpAddress(u"DM9CE1", u"10.0.0.7"), 1);
    EXPECT_EQ(g_MachineConfig.GetTcpipValue(u"DM9CE1", u"IpAddress"), CString(u"10.0.0.7"));
    // A REG_MULTI_SZ list ends with two terminators.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Comm\\DM9CE1\\Parms\\TCPIP", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key, u"IpAddress", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(size, (8u + 2u) * 2u);

    ASSERT_EQ(g_MachineConfig.SetDhcp(u"DM9CE1", 1), 1);
    EXPECT_EQ(g_MachineConfig.GetDhcp(u"DM9CE1", dhcp), 1);
    EXPECT_EQ(dhcp, 1);
    EXPECT_EQ(g_MachineConfig.GetMacAddress(), 0u);
    ASSERT_EQ(g_MachineConfig.SetMacAddress(0xA1B2C3), 1);
    EXPECT_EQ(g_MachineConfig.GetMacAddress(), 0xA1B2C3u);
}

TEST_F(Settings, RegistryKeyWrapper) {
    CRegistryKey key;
    EXPECT_FALSE(key.Close());
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, u"No\\Such\\Key"));
    EXPECT_NE(key.LastError(), 0u);
    DWORD value = 0;
    EXPECT_FALSE(key.QueryDWORDValue(u"x", value));
    EXPECT_FALSE(key.SetDWORDValue(u"x", 1));

    ASSERT_TRUE(CRegistryKey::CreateKey(HKEY_LOCAL_MACHINE, u"Test\\Lists", nullptr));
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, u"Test\\Lists"));
    key.SetStringValue(u"two", u"a;b");
    key.SetStringValue(u"trailing", u"a;b;");
    key.SetStringValue(u"empty", u"");
    for (const char16_t* name : {u"two", u"trailing"}) {
        WCHAR** list = key.QueryStringList(name);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(CString(list[0]), CString(u"a"));
        EXPECT_EQ(CString(list[1]), CString(u"b"));
        EXPECT_EQ(list[2], nullptr);
        CRegistryKey::FreeStringList(list);
    }
    EXPECT_EQ(key.QueryStringList(u"empty"), nullptr);
    EXPECT_EQ(key.QueryStringList(u"missing"), nullptr);

    // A fixed room is always terminated, even when the value does not fit.
    WCHAR room[4] = {u'x', u'x', u'x', u'x'};
    key.SetStringValue(u"long", u"abcdefgh");
    EXPECT_FALSE(key.QueryStringValue(u"long", room, sizeof room));
    EXPECT_EQ(room[3], 0);
    EXPECT_TRUE(key.Close());
    EXPECT_TRUE(CRegistryKey::DeleteKey(HKEY_LOCAL_MACHINE, u"Test\\Lists"));
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, u"Test\\Lists"));
}

namespace {

// A network driver stand-in that keeps what the rebind request carried.
std::u16string g_reboundName;

class RecordingAdapterDriver : public StreamObject {
public:
    BOOL Read(void*, DWORD, DWORD* done) override { *done = 0; return TRUE; }
    BOOL Write(const void*, DWORD count, DWORD* done) override { *done = count; return TRUE; }
    BOOL IoControl(DWORD code, const void* in, DWORD inSize, void*, DWORD, DWORD*) override {
        if (code != IOCTL_NDIS_REBIND_ADAPTER)
            return FALSE;
        g_reboundName.assign(static_cast<const char16_t*>(in), inSize / sizeof(char16_t));
        return TRUE;
    }
};

}  // namespace

TEST_F(Settings, RebindCarriesTheWholeAdapterName) {
    RegisterStreamDevice(u"NDS", [](std::u16string_view, DWORD) -> StreamObject* { return new RecordingAdapterDriver; });
    const uint64_t before = JournalLastSequence();
    g_MachineConfig.RebindAdapter(u"ETHERNET_ADAPTER_1");
    EXPECT_EQ(g_reboundName, std::u16string(u"ETHERNET_ADAPTER_1", 19));
    const std::vector<JournalEntry> debug = JournalRead(kJournalDebug, before);
    ASSERT_EQ(debug.size(), 1u);
    EXPECT_EQ(debug[0].text, u"Adapter rebound\r\n");
    g_MachineConfig.RebindAdapter(u"");
    EXPECT_EQ(g_reboundName, std::u16string(u"DM9CE1", 7));
}

TEST(SharedTextField, ReadersSeeWholeTextsWhileAWriterReplacesThem) {
    SharedText field;
    const CString shortText(u's', 3);
    const CString longText(u'L', 200);
    field = shortText;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const CString seen = field;
            if (seen != shortText && seen != longText)
                ++torn;
        }
    });
    for (int i = 0; i < 20000; ++i)
        field = (i % 2) ? shortText : longText;
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

// A port the socket would cut to 16 bits (70000 listened on 4464) or none
// at all is told and replaced by the default; a real port stays.
TEST_F(Settings, ANetworkPortOutOfRangeIsToldAndTheDefaultUsed) {
    for (const int port : {70000, 65536, 0, -1, 1, 65535}) {
        g_MachineConfig.NETPORT = port;
        const uint64_t before = JournalLastSequence();
        KeepNetPortInRange();
        const std::vector<JournalEntry> shown = JournalRead(kJournalMessageBox, before);
        if (port >= 1 && port <= 65535) {
            EXPECT_EQ(g_MachineConfig.NETPORT, port);
            EXPECT_TRUE(shown.empty()) << port;
            continue;
        }
        EXPECT_EQ(g_MachineConfig.NETPORT, 5010) << port;
        ASSERT_EQ(shown.size(), 1u) << port;
        const CString text(shown[0].text);
        EXPECT_NE(text.Find(CString(std::to_string(port).c_str())), -1) << port;
        EXPECT_NE(text.Find(u"5010"), -1) << port;
    }
}

}  // namespace machine_config_test
