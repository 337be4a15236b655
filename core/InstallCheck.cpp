#include "core/InstallCheck.h"

#include <vector>

#include "core/DebugPrint.h"
#include "core/Folders.h"
#include "platform/base/files.h"
#include "platform/base/modules.h"

namespace {

void ReportMissing(const CString& path, const char16_t* phrase) { DebugPrint(u"%s%s", path, phrase); }

constexpr const char16_t* kNotFound = u" can not be found!";

// Tests every name under `base`; 1 when all exist.
int CheckAll(const CString& base, std::initializer_list<const char16_t*> names) {
    int ok = 1;
    for (const char16_t* name : names) ok &= FileExistsReport(base + name);
    return ok;
}

// "prefix" + n + "suffix" for n from `first` to `last`.
std::vector<CString> Numbered(const char16_t* prefix, int first, int last, const char16_t* suffix) {
    std::vector<CString> names;
    for (int n = first; n <= last; ++n) {
        CString name;
        name.Format(u"%s%d%s", prefix, n, suffix);
        names.push_back(name);
    }
    return names;
}

int CheckNames(const CString& base, const std::vector<CString>& names) {
    int ok = 1;
    for (const CString& name : names) ok &= FileExistsReport(base + name);
    return ok;
}

}  // namespace

int FileExistsReport(const CString& path) {
    if (FileExists(path)) return 1;
    ReportMissing(path, kNotFound);
    return 0;
}

int CheckFolderReport(const CString& path) {
    if (DirExists(path)) return 1;
    ReportMissing(path, kNotFound);
    return 0;
}

int CheckInstallation() {
    WCHAR program[261] = {};
    GetModuleFileNameW(nullptr, program, 260);
    CString folder(program);
    folder = folder.Left(folder.ReverseFind(u'\\'));
    const int programs = CheckProgramFiles(folder);
    const int folders = CheckFolders(folder);
    return programs && folders ? 1 : 0;
}

int CheckProgramFiles(const CString& folder) {
    int ok = CheckAll(folder, {u"\\ATL90.DLL", u"\\cximagecrtd.dll", u"\\MFC90U.DLL", u"\\msvcr90.dll",
                               u"\\SMApi_WinCE.dll", u"\\SMControl_WinCE.dll", u"\\SMProcess_WinCE.dll",
                               u"\\Quillon.exe", u"\\wceSQLite3.dll", u"\\CONFIG\\CONFIG.XML", u"\\DB\\KD4700.DB",
                               u"\\DB\\back\\KD4700.bak", u"\\FONTS\\GOTHIC.TTF", u"\\wav\\not_passed.wav",
                               u"\\wav\\passed.wav", u"\\wav\\FCCheckAlarm.wav", u"\\wav\\MCCheckAlarm.wav",
                               u"\\wav\\place_your_finger_again.wav", u"\\wav\\place_your_finger.wav",
                               u"\\wav\\you_are_passed.wav"});
    ok &= CheckLanguageFiles(folder);
    return ok;
}

int CheckLanguageFiles(const CString& folder) {
    int ok = 1;
    const CString langFolder = folder + u"\\LANG";
    if (!DirExists(langFolder)) {
        ReportMissing(langFolder, kNotFound);
        ok = 0;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(langFolder + u"\\*.LAN", &found);
    if (search == INVALID_HANDLE_VALUE) {
        ReportMissing(langFolder, u" no language file");
        ok = 0;
    } else {
        FindClose(search);
    }
    return ok;
}

int CheckFolders(const CString& folder) {
    int ok = 1;
    for (const char16_t* name : {u"\\CONFIG", u"\\DB", u"\\DB\\back", u"\\FONTS", u"\\ICON", u"\\log", u"\\snap",
                                 u"\\wav"})
        ok &= CheckFolderReport(folder + name);
    ok &= CheckSkins(folder);
    return ok;
}

int CheckSkins(const CString& folder) {
    const CString skinRoot = folder + u"\\SKIN";
    if (!DirExists(skinRoot)) {
        ReportMissing(skinRoot, kNotFound);
        return 0;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(skinRoot + u"\\*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return 1;
    int ok = 1;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !CheckSkinFiles(skinRoot, found.cFileName)) ok = 0;
    } while (ok && FindNextFileW(search, &found));
    FindClose(search);
    return ok;
}

int CheckSkinFiles(const CString& skinRoot, const CString& skin) {
    const CString skinFolder = skinRoot + u"\\" + skin;
    int ok = CheckAll(skinRoot + u"\\", {u"loading.bmp", u"loading.png"});
    ok &= CheckAll(skinFolder + u"\\",
                   {u"232_1.png", u"232_2.png", u"485_1.png", u"485_2.png", u"BackGround.bmp", u"door_1.png",
                    u"door_2.png", u"Finger.png", u"FP.PNG", u"ICONBK.PNG", u"Information.png", u"input.png",
                    u"Input_user1.png", u"Input_user2.png", u"Input_user3.png", u"l_cn.png", u"l_en.png", u"logo.png",
                    u"msg.png", u"reged.png", u"TaskPlate.png", u"tcpip_1.png", u"tcpip_2.png", u"Top_bg.png",
                    u"Top_info_bg_c.png", u"Top_info_bg_l.png", u"Top_info_bg_r.png", u"USER.PNG", u"wifi_1.png",
                    u"wifi_2.png"});
    const CString clock = skinFolder + u"\\CLOCK\\IPHONE\\";
    ok &= CheckNames(clock, Numbered(u"", 0, 9, u".png"));
    ok &= CheckAll(clock, {u"C.png", u"Clock.png", u"S.PNG"});
    ok &= CheckNames(clock, Numbered(u"S_", 0, 9, u".PNG"));
    ok &= CheckAll(clock, {u"T_AM.png", u"T_PM.png"});
    ok &= CheckNames(clock, Numbered(u"w", 0, 9, u".png"));
    ok &= CheckAll(clock, {u"wC.png"});
    ok &= CheckAll(skinFolder + u"\\ControlPanel\\", {u"LOGO.PNG"});
    const CString icons = skinFolder + u"\\ControlPanel\\ICON\\";
    ok &= CheckAll(icons, {u"11.PNG", u"12.PNG", u"13.PNG", u"14.PNG", u"15.PNG", u"16.PNG", u"121.PNG", u"121.PNG",
                           u"123.PNG", u"124.PNG", u"131.PNG", u"132.PNG", u"133.PNG", u"134.PNG", u"135.png",
                           u"136.png", u"141.PNG", u"142.PNG", u"143.png", u"144.PNG"});
    ok &= CheckNames(icons, Numbered(u"", 151, 156, u".PNG"));
    ok &= CheckNames(icons, Numbered(u"", 161, 166, u".PNG"));
    ok &= CheckAll(icons, {u"1331.PNG", u"1332.PNG", u"bg.png", u"Enroll FP.png", u"Enroll.png", u"Identify mode.png",
                           u"Identify.png", u"picture.png", u"sbg.png"});
    ok &= CheckAll(skinFolder + u"\\Dialog\\",
                   {u"abc_1.png", u"abc_2.png", u"BigInput.png", u"button_center.png", u"button_left.png",
                    u"button_right.png", u"CE_finger.png", u"DialogBG.bmp", u"EnrollFP_l.png", u"EnrollFP_r.png",
                    u"Finger.png", u"finger_bg.png", u"Finger_r.png", u"Finger_red.png", u"finger-reg.png",
                    u"input_dl.png", u"input_dr.png", u"input_l.png", u"input_l_h.png", u"input_r.png",
                    u"input_r_h.png", u"l_cn.png", u"l_en.png", u"messages.png", u"PogressBar_bg.png",
                    u"PogressBar_center.png", u"PogressBar_left.png", u"PogressBar_right.png", u"SearchInfo.png",
                    u"select_bg.png", u"select_gb.png", u"Shift_1.png", u"Shift_1_cl.png", u"Shift_2.png",
                    u"SmallInput.png"});
    ok &= CheckAll(skinFolder + u"\\FPFrame\\",
                   {u"default_Card.png", u"default_Finger.png", u"default_ID.png", u"error.png", u"ICONBK.PNG",
                    u"OK.png", u"Photo_no.png", u"PhotoFrame1.png", u"PhotoFrame.png"});
    return ok;
}
