// Loading every setting at start-up, and the factory defaults.
#include "core/AppDir.h"
#include "core/AutoStart.h"
#include "core/ConfigChange.h"
#include "core/ConfigXml.h"
#include "comm/LinkRestart.h"
#include "core/MachineConfig.h"
#include "core/VolumeLevel.h"
#include "platform/base/numparse.h"
#include "platform/base/registry.h"

namespace {

constexpr const char16_t* kDefaultAdapter = u"DM9CE1";
constexpr const char16_t* kDefaultSkin = u"FLOWER";
constexpr const char16_t* kDefaultGprsServer = u"192.168.1.100";

// As the file holds it: each reader gives the number its meaning, and the
// few that would carry an unusable one into arithmetic or onto the wire
// bound it there.
int ConfigInt(const char16_t* key) {
    int value = 0;
    GetConfigInt(key, value);
    return value;
}

// A missing text key leaves the field as it was.
void LoadText(const char16_t* key, SharedText& field) {
    CString value = field;
    GetConfigValue(key, value);
    field = value;
}

enum class DefaultWhen { Empty, Missing };

// Reads a key as text; when the condition holds the default is taken and
// written back to the file, which is saved.
CString TextWithDefault(const char16_t* key, DefaultWhen when, const char16_t* fallback) {
    CString value;
    const bool found = GetConfigValue(key, value) != 0;
    if (when == DefaultWhen::Missing ? !found : value.IsEmpty()) {
        value = fallback;
        SetConfigValue(key, value, TRUE);
    }
    return value;
}

int NumberWithDefault(const char16_t* key, DefaultWhen when, const char16_t* fallback) {
    return _wtol(TextWithDefault(key, when, fallback));
}

}  // namespace

int CMachineConfig::Load() {
    if (!LoadSettings())
        return 0;
    LoadRealtimeSettings();
    LoadDoorSettings();
    return 1;
}

int CMachineConfig::LoadSettings() {
    FP = (FP & ~0xFFu) | 0x20u;
    if (!ReadRegDWORD(u"FP", FP))
        FP = (FP & ~0xFFu) | 0x20u;

    CString text;
    if (!ReadRegString(u"UnitName", text))
        return 0;
    UnitName = text;
    if (!ReadRegString(u"LanguageName", text))
        return 0;
    LanguageName = text;
    struct RegistryNumber {
        const char16_t* name;
        int& field;
    };
    const RegistryNumber numbers[] = {
        {u"LANGUAGEFLAG", LANGUAGEFLAG}, {u"DateType", DateType}, {u"TimeType", TimeType},
        {u"CodePage", CodePage},         {u"RJWIFI", RJWIFI},
    };
    for (const RegistryNumber& number : numbers) {
        DWORD value = 0;
        if (!ReadRegDWORD(number.name, value))
            return 0;
        number.field = static_cast<int>(value);
    }

    AutoStart = IsAutoStartSelf();

    DefaultGateway = GetTcpipValue(kDefaultAdapter, u"DefaultGateway");
    IpAddress = GetTcpipValue(kDefaultAdapter, u"IpAddress");
    Subnetmask = GetTcpipValue(kDefaultAdapter, u"Subnetmask");
    DNS = GetTcpipValue(kDefaultAdapter, u"DNS");

    LoadText(u"PASSWORD", PASSWORD);
    LoadText(u"PLAYNAME", PLAYNAME);
    TCPMODE = ConfigInt(u"TCPMODE");
    NETWORK = ConfigInt(u"NETWORK");
    LoadText(u"SERVERIP", SERVERIP);
    BAUDRATE = ConfigInt(u"BAUDRATE");
    FPCOUNT = ConfigInt(u"FPCOUNT");
    FPLEVEL = ConfigInt(u"FPLEVEL");
    SLEEPCLOCK = ConfigInt(u"SLEEPCLOCK");
    BACKADMINICLOCK = ConfigInt(u"BACKADMINICLOCK");
    PROOFTIME = ConfigInt(u"PROOFTIME");
    PLAYMEDIA = ConfigInt(u"PLAYMEDIA");
    NETTIME = ConfigInt(u"NETTIME");
    WEATHER = ConfigInt(u"WEATHER");
    RING = ConfigInt(u"RING");
    UPDATE = ConfigInt(u"UPDATE");
    SNAPTYPE = ConfigInt(u"SNAPTYPE");
    PHOTOSAVEDIR = ConfigInt(u"PHOTOSAVEDIR");
    PHOTOMAXNUMBER = ConfigInt(u"PHOTOMAXNUMBER");
    SHOWICONTYPE = ConfigInt(u"SHOWICONTYPE");
    VERTIFYTYPE = ConfigInt(u"VERTIFYTYPE");

    CString skin;
    GetConfigValue(u"SKIN", skin);
    if (skin.IsEmpty())
        skin = kDefaultSkin;
    CString appDir;
    GetAppDir(appDir);
    SkinDir = appDir + u"Skin\\" + skin + u"\\";

    WORKCODE = ConfigInt(u"WORKCODE");
    COMMUNICATIONTYPE = ConfigInt(u"COMMUNICATIONTYPE");
    DEBUGMODE = ConfigInt(u"DEBUGMODE");
    PANELCOLOR = ConfigInt(u"PANELCOLOR");
    WuRenTestMode = ConfigInt(u"WuRenTestMode");

    FCCHECKALARM = NumberWithDefault(u"FCCHECKALARM", DefaultWhen::Empty, u"1");
    MCCHECKALARM = NumberWithDefault(u"MCCHECKALARM", DefaultWhen::Empty, u"0");
    NETPORT = NumberWithDefault(u"NETPORT", DefaultWhen::Empty, u"5010");
    ScreenType = NumberWithDefault(u"ScreenType", DefaultWhen::Missing, u"0");
    TextWithDefault(u"InterfaceWaitTime", DefaultWhen::Missing, u"10");
    WuRenTestMode = 0;
    InterfaceWaitTime = 2;
    ScreenInterval = NumberWithDefault(u"ScreenInterval", DefaultWhen::Missing, u"5");
    PRINT = NumberWithDefault(u"PRINT", DefaultWhen::Missing, u"0");
    MachineID = TextWithDefault(u"MachineID", DefaultWhen::Missing, u"1");
    GprsApn = TextWithDefault(u"GprsApn", DefaultWhen::Missing, u"CMNET");
    GprsPwd = TextWithDefault(u"GprsPwd", DefaultWhen::Missing, u"");
    GprsUser = TextWithDefault(u"GprsUser", DefaultWhen::Missing, u"");
    GprsServerIP = TextWithDefault(u"GprsServerIP", DefaultWhen::Missing, kDefaultGprsServer);
    GprsPort = NumberWithDefault(u"GprsPort", DefaultWhen::Missing, u"5010");
    return 1;
}

int CMachineConfig::LoadRealtimeSettings() {
    REATTIMEGAP = ConfigInt(u"REATTIMEGAP");
    ALLTIMESMONITOR = ConfigInt(u"ALLTIMESMONITOR");
    return 1;
}

int CMachineConfig::LoadDoorSettings() {
    LOCKDELAY = ConfigInt(u"LOCKDELAY");
    OPENDOOR = ConfigInt(u"OPENDOOR");
    WIEGANDMODE = ConfigInt(u"WIEGANDMODE");
    WIEGANDHEAD = ConfigInt(u"WIEGANDHEAD");
    WARNINGNUM = ConfigInt(u"WARNINGNUM");
    return 1;
}

void CMachineConfig::WriteRegistryDefaults() {
    RegistryBatch batch;
    WriteRegString(u"ID", u"80516");
    WriteRegString(u"UnitName", u"VELTO");
    WriteRegString(u"LanguageName", u"English");
    WriteRegDWORD(u"LANGUAGEFLAG", 1);
    WriteRegDWORD(u"DateType", 1);
    WriteRegDWORD(u"CodePage", 936);
    WriteRegDWORD(u"RJWIFI", 0);
    CConfigChange change;
    WriteFactoryDefaults();
    change.Save();
}

// The fields of the object are left as they are; FPLEVEL is written twice
// and ends as "1". The settings change in memory only: the callers write
// the file once, so that a power cut leaves all the old settings or all the
// factory ones. The registry values go in one save likewise.
void CMachineConfig::WriteFactoryDefaults() {
    RegistryBatch batch;
    struct Key {
        const char16_t* name;
        const char16_t* value;
    };
    static constexpr Key keys[] = {
        {u"PASSWORD", u"80516"},      {u"PLAYNAME", u" "},          {u"TCPMODE", u"1"},
        {u"BAUDRATE", u"1"},          {u"FPCOUNT", u"5000"},        {u"FPLEVEL", u"3"},
        {u"SLEEPCLOCK", u"60"},       {u"BACKADMINICLOCK", u"180"}, {u"PROOFTIME", u"1"},
        {u"PLAYMEDIA", u"60"},        {u"NETTIME", u"0"},           {u"WEATHER", u"0"},
        {u"SNAPTYPE", u"0"},          {u"PHOTOSAVEDIR", u"0"},      {u"PHOTOMAXNUMBER", u"100"},
        {u"SHOWICONTYPE", u"1"},      {u"SKIN", u"flower"},         {u"DEBUGMODE", u"0"},
        {u"PANELCOLOR", u"16763292"}, {u"VERTIFYTYPE", u"201"},     {u"UPDATE", u"0"},
        {u"WORKCODE", u"0"},          {u"ALLTIMESMONITOR", u"0"},   {u"RING", u"0"},
        {u"ScreenType", u"0"},        {u"ScreenInterval", u"5"},    {u"DEBUGMODE", u"0"},
        {u"FPLEVEL", u"1"},           {u"NETWORK", u"0"},           {u"NETPORT", u"5010"},
        {u"FCCHECKALARM", u"1"},      {u"MCCHECKALARM", u"0"},
    };
    for (const Key& key : keys)
        SetConfigValue(key.name, key.value, FALSE);

    SetDhcp(kDefaultAdapter, 0);
    WriteRegDWORD(u"TimeType", 0);
    WriteRegDWORD(u"RJWIFI", 0);
    RebindAdapter(kDefaultAdapter);

    SetAutoStart(1);
    SetVolumeLevel(5);
}

void CMachineConfig::WriteRealtimeDefaults() {
    SetConfigValue(u"ALLTIMESMONITOR", u"0", FALSE);
    SetConfigValue(u"REATTIMEGAP", u"0", FALSE);
}

void CMachineConfig::WriteDoorDefaults() {
    SetConfigInt(u"WARNINGNUM", 1000, FALSE);
    SetConfigInt(u"LOCKDELAY", 10, FALSE);
    SetConfigInt(u"OPENDOOR", 0, FALSE);
    SetConfigInt(u"WIEGANDMODE", 0, FALSE);
    SetConfigInt(u"WIEGANDHEAD", 0, FALSE);
}

void CMachineConfig::RestoreDefaults() {
    // Not saved, the settings document keeps the stored settings, so that a
    // load after this one does not run on defaults the file does not hold.
    CConfigChange change;
    WriteFactoryDefaults();
    WriteRealtimeDefaults();
    WriteDoorDefaults();
    change.Save();
    if (COMMUNICATIONTYPE >= 2 && COMMUNICATIONTYPE <= 4)
        RequestLinkRestart(nullptr);
}
