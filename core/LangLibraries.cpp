#include "core/LangLibraries.h"

#include <cstdio>

#include "core/AppDir.h"
#include "core/BidiText.h"
#include "core/CodePageText.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/RegistryKey.h"
#include "core/UserPhoto.h"
#include "data/DataGlobals.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "platform/base/files.h"
#include "platform/base/modules.h"
#include "platform/base/utf.h"
#include "platform/base/handle.h"
#include "platform/dev/shell.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/winuser.h"

namespace {

CString AppPath(const char16_t* name) {
    CString appDir;
    GetAppDir(appDir);
    return appDir + name;
}

int LanguageSwitchOn(const char16_t* key) {
    CString text;
    return GetLanguageSwitch(key, text) && text == u"1" ? 1 : 0;
}

// Deletes every file the pattern (a folder + "*.*") finds in `folder`.
void DeleteFilesIn(const CString& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(folder + u"*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(folder + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

int LoadIconvDll() {
    CString name;
    // A missing key reads as empty: the language then needs no character set.
    if (GetLanguageSwitch(u"libiconv", name)) {
        g_MachineConfig.IconvCharset = name;
        if (name.IsEmpty()) return 1;
        if (const HMODULE library = LoadLibraryW(AppPath(u"libiconv_arm4i.dll"))) {
            g_pfnIconvOpen = ProcAs<IconvOpenProc>(GetProcAddress(library, "iconv_open"));
            g_pfnIconv = ProcAs<IconvProc>(GetProcAddress(library, "iconv"));
            g_pfnIconvClose = ProcAs<IconvCloseProc>(GetProcAddress(library, "iconv_close"));
        }
    } else {
        g_MachineConfig.IconvCharset = u"";
    }
    return 1;
}

void LoadBidiDll() {
    const HMODULE library = LoadLibraryW(AppPath(u"freebidi.dll"));
    if (library) g_pfnFriBidiRtoL = ProcAs<FriBidiRtoLProc>(GetProcAddress(library, "friBidiRtoL"));
    g_MachineConfig.RightToLeft = library && g_pfnFriBidiRtoL ? 1 : 0;
}

void LoadResourceDll() {
    if (const HMODULE resources = LoadLibraryW(AppPath(u"AResource.dll"))) AfxSetResourceHandle(resources);
}

int IsBidiLanguage() { return LanguageSwitchOn(u"bidi"); }
int IsFtLanguage() { return LanguageSwitchOn(u"ft"); }
int IsOrderLanguage() { return LanguageSwitchOn(u"order"); }

int ParseDateTime(CString text, int* year, int* month, int* day, int* hour, int* minute, int* second) {
    if (g_pRecordStore == nullptr) {
        *year = *month = *day = *hour = *minute = *second = 0;
        return 0;
    }
    CRecordStore::ParseCheckTime(text, *year, *month, *day, *hour, *minute, *second);
    return 1;
}

// The same count as the packed record's, so the real-time frame and a record
// read back later carry one time even for a text like "2014-02-30 00:00:00".
long long DateTimeToSecondsSigned(const CString& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    ParseDateTime(text, &year, &month, &day, &hour, &minute, &second);
    return SecondsSince2000(year, month, day, hour, minute, second);
}

unsigned DateTimeToSeconds(CString text) { return static_cast<unsigned>(DateTimeToSecondsSigned(text)); }

bool IsSafeFileNamePart(const CString& part) {
    return !part.IsEmpty() && part.Find(u'\\') < 0 && part.Find(u'/') < 0 && part.Find(u':') < 0 &&
           part.Find(u"..") < 0;
}

int DeleteUserPhoto(CString userId) {
    CString path;
    if (!FindUserPhoto(userId, path)) return 0;
    return DeleteFileW(path) ? 1 : 0;
}

int DeleteUserPhotos() {
    DeleteFilesIn(UserPhotoFolder());
    return 1;
}

int DeleteSnapshots() {
    DeleteFilesIn(AppPath(u"SNAP\\"));
    return 1;
}

int IsDriverActive(CString prefix) {
    for (int n = 1; n <= 100; ++n) {
        CString key;
        key.Format(u"Drivers\\Active\\%02d", n);
        CRegistryKey driver(HKEY_LOCAL_MACHINE, key);
        if (!driver.IsOpen()) continue;
        WCHAR name[100] = {};
        driver.QueryStringValue(u"Name", name, sizeof name);
        if (CString(name).Left(3) == prefix.Left(3) && prefix.GetLength() >= 3) return 1;
    }
    return 0;
}

int SetSDCardDetect() {
    CRegistryKey key(HKEY_LOCAL_MACHINE, u"Drivers\\BuiltIn\\SDHC_SMDK2440");
    if (!key.IsOpen()) return 0;
    key.SetDWORDValue(u"CardDetectPullupFlag", 256);
    key.SetDWORDValue(u"CardDetectFlag", 0);
    key.SetStringValue(u"CardDetectGPIO", u"H");
    return 1;
}

BOOL StartProgram(const char16_t* path) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = path;
    info.nShow = SW_SHOW;
    const BOOL started = ShellExecuteEx(&info);
    if (info.hProcess) CloseHandle(info.hProcess);
    std::fprintf(stderr, "shell: open %s\n", Utf16ToUtf8(path).c_str());
    return started;
}
