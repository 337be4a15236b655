#include "core/FpLibraries.h"

#include "core/ProcessExit.h"

#include "core/AppDir.h"
#include "core/AppMessageBox.h"
#include "core/DebugPrint.h"
#include "platform/base/modules.h"

FpLibraryTable g_FpLib;

namespace {

HMODULE LoadFromAppDir(const char16_t* name) {
    CString appDir;
    GetAppDir(appDir);
    return LoadLibraryW(appDir + name);
}

template <class Proc>
bool Resolve(HMODULE module, Proc& proc, const char* name) {
    proc = ProcAs<Proc>(GetProcAddress(module, name));
    return proc != nullptr;
}

int VersionOf(FpIntProc version, const char16_t* name) {
    if (version) return version();
    DebugPrint(u"%s is missing: taken as version 0", name);
    return 0;
}

}  // namespace

int LoadFpControlDll() {
    FpLibraryTable& t = g_FpLib;
    t.VeltoInitFpAndCamera = nullptr;
    t.VeltoFpEnable = t.VeltoCamEnable = t.VeltoFpReset = t.VeltoFpState = nullptr;
    t.VeltoGetFpRawData = t.VeltoGetFpData = t.VeltoCamSnap = t.VeltoGetFpFullData = nullptr;
    t.VeltoOpenFPLight = t.VeltoCloseFpLight = t.VeltoStopFp = t.SMCVersion = nullptr;
    t.VeltoGetFpHandle = nullptr;
    t.VeltoSet_Fp_i2c_reg = nullptr;
    t.VeltoFpShow = nullptr;
    t.control = LoadFromAppDir(u"SMControl_WinCE.dll");
    const HMODULE m = t.control;
    if (!m) return 0;
    const bool chained = Resolve(m, t.VeltoInitFpAndCamera, "VeltoInitFpAndCamera") &&
                         Resolve(m, t.VeltoFpEnable, "VeltoFpEnable") && Resolve(m, t.VeltoCamEnable, "VeltoCamEnable") &&
                         Resolve(m, t.VeltoFpReset, "VeltoFpReset") && Resolve(m, t.VeltoFpState, "VeltoFpState") &&
                         Resolve(m, t.VeltoGetFpRawData, "VeltoGetFpRawData") &&
                         Resolve(m, t.VeltoGetFpData, "VeltoGetFpData") &&
                         Resolve(m, t.VeltoOpenFPLight, "VeltoOpenFPLight") &&
                         Resolve(m, t.VeltoCloseFpLight, "VeltoCloseFpLight") &&
                         Resolve(m, t.VeltoCamSnap, "VeltoCamSnap") &&
                         Resolve(m, t.VeltoGetFpHandle, "VeltoGetFpHandle") &&
                         Resolve(m, t.VeltoSet_Fp_i2c_reg, "VeltoSet_Fp_i2c_reg") &&
                         Resolve(m, t.VeltoFpShow, "VeltoFpShow") && Resolve(m, t.VeltoStopFp, "VeltoStopFp") &&
                         Resolve(m, t.VeltoGetFpFullData, "VeltoGetFpFullData") &&
                         Resolve(m, t.SMCVersion, "SMCVersion");
    if (!chained) return 0;
    Resolve(m, t.VeltoFPPowerDown, "VeltoFPPowerDown");
    Resolve(m, t.VeltoFPModuleReset, "VeltoFPModuleReset");
    // Each one resolved, so that every missing one is reported.
    bool exposure = Resolve(m, t.VeltoGetFpSize, "VeltoGetFpSize");
    exposure &= Resolve(m, t.VeltoGetFpExposure, "VeltoGetFpExposure");
    exposure &= Resolve(m, t.VeltoSetFpExposure, "VeltoSetFpExposure");
    exposure &= Resolve(m, t.VeltoFpBrightness, "VeltoFpBrightness");
    return t.SMCVersion() >= 8 && !exposure ? 0 : 1;
}

int LoadFpMatchDll() {
    FpLibraryTable& t = g_FpLib;
    t.match = LoadFromAppDir(u"SMApi_WinCE.dll");
    t.VeltoMatchN = nullptr;
    t.VeltoMatch = nullptr;
    t.VeltoTempToFPRECORD = nullptr;
    t.SMAVersion = nullptr;
    t.VeltoMatch2N = nullptr;
    t.VeltoAutoUpFP = nullptr;
    t.VeltoMatchNViews = nullptr;
    t.VeltoMatch2NViews = nullptr;
    const HMODULE m = t.match;
    if (!m) return 0;
    Resolve(m, t.VeltoMatchNViews, "VeltoMatchNViews");
    Resolve(m, t.VeltoMatch2NViews, "VeltoMatch2NViews");
    bool all = Resolve(m, t.VeltoMatchN, "VeltoMatchN");
    all &= Resolve(m, t.VeltoMatch, "VeltoMatch");
    all &= Resolve(m, t.VeltoTempToFPRECORD, "VeltoTempToFPRECORD");
    all &= Resolve(m, t.SMAVersion, "SMAVersion");
    all &= Resolve(m, t.VeltoMatch2N, "VeltoMatch2N");
    all &= Resolve(m, t.VeltoAutoUpFP, "VeltoAutoUpFP");
    return all ? 1 : 0;
}

int LoadFpProcessDll() {
    FpLibraryTable& t = g_FpLib;
    t.process = LoadFromAppDir(u"SMProcess_WinCE.dll");
    t.VeltoProcess = nullptr;
    t.VeltoCheckFp = nullptr;
    t.SMPVersion = nullptr;
    const HMODULE m = t.process;
    if (!m) return 0;
    bool all = Resolve(m, t.VeltoProcess, "VeltoProcess");
    all &= Resolve(m, t.VeltoCheckFp, "VeltoCheckFp");
    all &= Resolve(m, t.SMPVersion, "SMPVersion");
    return all ? 1 : 0;
}

int GetSensorVersion() { return VersionOf(g_FpLib.SMCVersion, u"SMCVersion"); }

int GetProcessVersion() { return VersionOf(g_FpLib.SMPVersion, u"SMPVersion"); }

int CheckFpProcessVersion() {
    if (GetSensorVersion() < 7) return 0;
    if (GetProcessVersion() >= 2) return 0;
    AfxMessageBox(u"Please upgrade \"SMProcess_WinCE.dll\" file to ver 2.0!");
    // The terminal cannot work with these libraries: not a normal end.
    EndProcess(kExitStartFailed);
}

void SetFpSensorExposure(unsigned value) {
    if (!g_FpLib.VeltoSet_Fp_i2c_reg) return;
    g_FpLib.VeltoSet_Fp_i2c_reg(0x10, static_cast<int>((value >> 2) & 0xFF));
    g_FpLib.VeltoSet_Fp_i2c_reg(0x04, static_cast<int>(value & 3));
}

void FlipFpImage(const BYTE* src, BYTE* dst) {
    for (int r = 0; r < kFpFlipHeight; ++r)
        for (int c = 0; c < kFpFlipWidth; ++c)
            dst[r * kFpFlipWidth + c] = src[(kFpFlipHeight - 1 - r) * kFpFlipWidth + (kFpFlipWidth - 1 - c)];
}
