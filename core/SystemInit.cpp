#include "core/SystemInit.h"


#include "core/AccessTables.h"
#include "core/AppDir.h"
#include "core/AppMessageBox.h"
#include "core/AppServices.h"
#include "core/CardInput.h"
#include "core/CodePageText.h"
#include "core/ConfigXml.h"
#include "core/DatabaseOpen.h"
#include "core/DebugLog.h"
#include "core/DebugPrint.h"
#include "core/Folders.h"
#include "core/FontResources.h"
#include "core/FpLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/NetPort.h"
#include "core/ProcessExit.h"
#include "core/ShowMessage.h"
#include "core/SystemLocks.h"
#include "core/UnreadableFile.h"
#include "core/UserDataReset.h"
#include "core/UserPhoto.h"
#include "data/BusyTimeout.h"
#include "data/DataGlobals.h"
#include "data/DataStoreServices.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "main/GpioPin.h"
#include "transfer/ExportLeftovers.h"
#include "transfer/MaintenanceFiles.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/registry.h"
#include "platform/base/system.h"

namespace {

CString g_logPath;

[[noreturn]] void EndWithDatabaseMessage(const char16_t* text) {
    AfxMessageBox(text);
    RestoreShellTaskBar();
    ShowDesktop(1);
    EndProcess(kExitStartFailed);
}

// A database the terminal may not write, one another program holds, or
// one on a flash without room for the index of its log fails the check as
// a damaged one does: the person learns which it is.
CString DatabaseCheckFailureText() {
    CString text;
    switch (g_pDatabase->LastFailure()) {
    case DatabaseFailure::ReadOnly:
        GetLangText(u"CJHTool", u"JT0004", u"数据库或其文件夹为只读,请联系管理员!", text);
        return text;
    case DatabaseFailure::InUse:
        GetLangText(u"CJHTool", u"JT0005", u"数据库正被其他程序使用,请关闭该程序后重新启动!", text);
        return text;
    case DatabaseFailure::Full:
        GetLangText(u"CJHTool", u"JT0006", u"存储空间已满,请清理出空间后重新启动!", text);
        return text;
    default:
        return u"Database has been damaged, please contact the administrator!";
    }
}

// After a confirmed settings reset: the records, users and their
// fingerprints are emptied, then the terminal stops; when the database
// refuses, it says why and that nothing was cleared, and stops with an error.
[[noreturn]] void FinishSettingsReset() {
    ShowDesktop(1);
    CString text;
    GetLangText(u"CJHTool", u"JT0002", u"初始化时间比价长,请按\"确认\" 键后等候10分钟!", text);
    AfxMessageBox(text);
    const DatabaseFailure failure = EmptyUserData();
    if (failure == DatabaseFailure::None)
        GetLangText(u"CJHTool", u"JT0003", u"初始化成功!请按\"确认\" 键后退出!", text);
    else
        text = DataNotClearedText(failure);
    AfxMessageBox(text);
    RestoreShellTaskBar();
    EndProcess(failure == DatabaseFailure::None ? kExitNormal : kExitStartFailed);
}

// Start-up cannot go on without this file: the box names it.
int StopForFile(const CString& devicePath) {
    ShowMessage(StopForFileText(devicePath), 0);
    return 0;
}

void ShowDataMessageBox(LPCWSTR text, LPCWSTR /*caption*/) { AfxMessageBox(text); }
void ShowDataMessage(LPCWSTR text) { ShowMessage(text, 0); }
CString DataStoreLangText(LPCWSTR section, LPCWSTR key, LPCWSTR defaultText) {
    CString text;
    GetLangText(section, key, defaultText, text);
    return text;
}
CString DataStoreLangFormat(LPCWSTR section, LPCWSTR key, LPCWSTR defaultFormat) {
    CString format;
    GetLangFormat(section, key, defaultFormat, format);
    return format;
}
int DeviceVerifyMode() { return g_MachineConfig.VERTIFYTYPE; }
int SensorVersion() { return GetSensorVersion(); }
int TemplatesToRecord(const BYTE* templates, BYTE* record) {
    return g_FpLib.VeltoTempToFPRECORD ? g_FpLib.VeltoTempToFPRECORD(templates, record) : 0;
}
int AutoUpdateTemplate(const BYTE* live, const BYTE* stored, BYTE* merged, BYTE* storable) {
    return g_FpLib.VeltoAutoUpFP ? g_FpLib.VeltoAutoUpFP(live, stored, merged, storable) : 0;
}

}  // namespace

void ConnectDataStoreServices() {
    g_DataStoreServices.messageBox = ShowDataMessageBox;
    g_DataStoreServices.showMessage = ShowDataMessage;
    g_DataStoreServices.langText = DataStoreLangText;
    g_DataStoreServices.langFormat = DataStoreLangFormat;
    g_DataStoreServices.textToMultiByte = TextToMultiByte;
    g_DataStoreServices.deviceVerifyMode = DeviceVerifyMode;
    g_DataStoreServices.SMCVersion = SensorVersion;
    g_DataStoreServices.VeltoTempToFPRECORD = TemplatesToRecord;
    g_DataStoreServices.VeltoAutoUpFP = AutoUpdateTemplate;
}

int InitTool() {
    CString appDir;
    GetAppDir(appDir);
    g_gpioPortG4.Init(0x56000060, 0x56000064, 4, 1);
    g_gpioPortF0.Init(0x56000050, 0x56000054, 0, 1);
    g_strLastCardNo = u"";
    g_logPath = appDir + u"log\\KD4700.log";
    g_pszLogPath = g_logPath.GetString();
    const CString configPath = appDir + u"config\\config.xml";
    DebugPrint(u"Brisant run.......");
    CoInitializeEx(nullptr, 0);
    InitSystemLocks();

    // An empty registry in place of one that cannot be read would run the
    // terminal on default settings and drop the stored ones at the first save.
    if (!RegistryFileReadable()) {
        ExplainUnreadableRegistryFile();
        return StopForFile(u"\\registry.reg");
    }
    bool loaded;
    {
        XmlDocLock lock(g_ConfigDoc);
        // A save cut by a power failure leaves its temporary file behind.
        RemoveStaleTemporaries(DeviceToHostPath(configPath.str()));
        loaded = g_ConfigDoc.ReadFromFile(configPath);
    }
    // So does a photo saved as the power failed.
    RemoveStaleTemporariesIn(DeviceToHostPath(UserPhotoFolder().str()));
    if (!loaded) {
        ExplainUnreadableConfigFile(configPath);
        return StopForFile(configPath);
    }

    bool reset = false;
    const bool settingsLoaded = g_MachineConfig.Load() != 0;
    if (!settingsLoaded) {
        ShowDesktop(1);
        if (AfxMessageBox(u"If loading config file fail, reset or not? ", MB_YESNO | MB_ICONQUESTION) == IDYES) {
            g_MachineConfig.WriteRegistryDefaults();
            g_MachineConfig.RestoreDefaults();
            reset = true;
        }
    }
    if (!ReadLanguageFile()) ExplainUnreadableLanguageFile(GetLanguageFilePath());
    LoadFontResources();
    LoadWeatherIcon();
    // Settings that did not load hold no port of their own to tell about.
    if (settingsLoaded) KeepNetPortInRange();

    ConnectDataStoreServices();
    RemoveMaintenanceLeftovers();
    RemoveExportLeftovers();
    {
        // Start-up's statements wait for another program that holds the
        // database once in all; past that wait start-up stops, saying so.
        CWaitOnceForOtherPrograms waitOnce;
        if (!OpenDatabase()) EndWithDatabaseMessage(u"Open DataBase failure!");
        if (!CheckDatabase() || IsDatabaseInUseElsewhere()) EndWithDatabaseMessage(DatabaseCheckFailureText());
        EnsureAutoFnTable();

        g_pFPTemplateStore = new CFPTemplateStore;
        g_pRecordStore = new CRecordStore(*g_pDatabase, RecordRingCapacity);
        g_pUserStorage = new CUserStorage(*g_pDatabase, UserLimit);
        g_pDeptStorage = new CDeptStorage(*g_pDatabase, DeptLimit);
    }

    LoadBellTable();
    LoadAccessGroups();
    LoadAccessTimeZones();
    if (reset) FinishSettingsReset();
    return 1;
}
