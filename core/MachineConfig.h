// The device's whole configuration in memory, loaded once at start-up from
// the registry key software\VELTO\Quillon, the network adapter's TCP/IP key
// and config\config.xml, plus the run-time state of the verification in
// progress and the in-memory access tables. Numeric fields are single words
// read and written directly; text fields are SharedText, so a thread never
// reads a text while another replaces it.
#pragma once

#include <array>

#include "core/AccessTable.h"
#include "core/SharedText.h"
#include "data/Records.h"
#include "platform/base/CString.h"

// The real-time record settings, loaded and defaulted as one block.
struct RealtimeSettings {
    int REATTIMEGAP = 0;      // minutes within which another punch counts as repeated
    int ALLTIMESMONITOR = 0;  // real-time record frames sent to the link
};

// The door settings, loaded and defaulted as one block.
struct DoorSettings {
    int LOCKDELAY = 0;
    int WIEGANDMODE = 0;
    int OPENDOOR = 0;
    int WIEGANDHEAD = 0;
    int WARNINGNUM = 0;
};

// One bell time of the RingZone table.
struct BellEntry {
    BYTE RowId = 0;
    BYTE Week = 0;  // weekday mask
    BYTE Hour = 0;
    BYTE Minute = 0;
};

// The verification in progress.
struct VerifyContextData {
    int Purpose = 0;     // 0 a punch, 1 an administrator login, 2 a power-down confirmation
    int FirstStep = 0;   // the two step words of a two-factor verification
    int SecondStep = 0;  // password step adds 2, finger step 1; passed at 2 and 3
    int StatusCode = 0;  // 0 IN, 1 OUT, 2 OUT, 3 BACK, 4-9 F1-F6
    SharedText StatusName;
    int FirstCredential = 0;  // 1 finger, 2 card, 3 typed user ID
    SharedText EnteredUserId;
    SharedText EnteredPassword;
    SharedText CardNumber;
    SharedText MatchedUserId;
    int CaptureControl = 0;  // read by the capture thread, set by the verification handlers
    UserInfoRecord CurrentUser;
    CheckinoutRecord PassRecord;
    BYTE IoControllerState = 0;
    int PassedState = 0;
};

class CMachineConfig : public RealtimeSettings, public DoorSettings {
public:
    static constexpr int kBellEntries = 30;

    CMachineConfig() = default;
    CMachineConfig(const CMachineConfig&) = delete;
    CMachineConfig& operator=(const CMachineConfig&) = delete;

    // Load and defaults (MachineConfigLoad.cpp).
    int Load();
    int LoadSettings();
    int LoadRealtimeSettings();
    int LoadDoorSettings();
    void WriteRegistryDefaults();
    void WriteFactoryDefaults();
    void WriteRealtimeDefaults();
    void WriteDoorDefaults();
    void RestoreDefaults();

    // The application's registry key (MachineConfigRegistry.cpp). The
    // writers create the key when it is missing and report their result.
    int WriteRegString(const CString& name, const CString& text);
    int ReadRegString(const CString& name, CString& text);
    int WriteRegDWORD(const CString& name, DWORD value);
    int ReadRegDWORD(const CString& name, DWORD& value);

    // The network adapter's TCP/IP values (MachineConfigAdapter.cpp); an
    // empty adapter name means "DM9CE1".
    static CString GetAdapterKeyPath(const CString& adapter);
    CString GetTcpipValue(const CString& adapter, const CString& name);
    int GetDhcp(const CString& adapter, int& enabled);
    int SetDhcp(const CString& adapter, int enable);
    int SetIpAddress(const CString& adapter, const CString& text);
    int SetSubnetMask(const CString& adapter, const CString& text);
    int SetDefaultGateway(const CString& adapter, const CString& text);
    int SetDns(const CString& adapter, const CString& text);
    DWORD GetMacAddress();
    int SetMacAddress(DWORD value);
    void RebindAdapter(const CString& adapter);

    SharedText UnitName;
    SharedText PLAYNAME;
    int TCPMODE = 0;
    SharedText SERVERIP;
    int NETWORK = 0;
    SharedText IpAddress;
    SharedText DNS;
    SharedText DefaultGateway;
    SharedText Subnetmask;
    int FPCOUNT = 0;
    int FPLEVEL = 0;
    int SLEEPCLOCK = 0;
    int BACKADMINICLOCK = 0;
    int PROOFTIME = 0;
    int PLAYMEDIA = 0;
    int SNAPTYPE = 0;
    int PHOTOSAVEDIR = 0;
    int PHOTOMAXNUMBER = 0;
    int SHOWICONTYPE = 0;
    int VERTIFYTYPE = 0;
    int ScreenType = 0;
    int ScreenInterval = 0;
    SharedText LanguageName;
    SharedText SkinDir;  // application directory + "Skin\" + skin + "\"
    int DateType = 0;    // 0 YYYY-MM-DD, 1 MM-DD-YYYY, 2 DD-MM-YYYY
    int TimeType = 0;
    int NETTIME = 0;
    int WEATHER = 0;
    int CodePage = 0;
    int UPDATE = 0;
    int RING = 0;  // 0 lock, 1 bell, 2 lock, 3 bell and lock
    int LANGUAGEFLAG = 0;
    int AutoStart = 0;
    int WORKCODE = 0;
    int COMMUNICATIONTYPE = 0;  // 0 RS232, 1 RS485, 2 TCP server, 3 TCP client, 4 GPRS
    int RJWIFI = 0;
    int FCCHECKALARM = 0;
    int MCCHECKALARM = 0;
    int BAUDRATE = 0;
    int PRINT = 0;
    SharedText MachineID;
    SharedText PASSWORD;
    SharedText IconvCharset;
    DWORD FP = 0;  // sensor exposure in its first byte; a blank means none
    int InterfaceWaitTime = 0;
    int PANELCOLOR = 0;
    int DEBUGMODE = 0;
    int NETPORT = 0;
    int WuRenTestMode = 0;
    SharedText GprsApn;
    SharedText GprsPwd;
    SharedText GprsUser;
    SharedText GprsServerIP;
    int GprsPort = 0;

    VerifyContextData VerifyContext;
    std::array<BellEntry, kBellEntries> BellTable{};
    CAccessZoneTable AccessZoneTable;
    CAccessGroupTable AccessGroupTable;

    int DebugSensorCapture = 0;
    int DebugSaveImages = 0;
    int DebugChannel = 0;  // 0 log only, 1 on-screen list, 2 COM1, 3 COM2
    int RightToLeft = 0;   // the bidirectional-text library is loaded

private:
    int WriteAdapterText(const CString& adapter, const char16_t* name, const CString& text);
};

extern CMachineConfig g_MachineConfig;
