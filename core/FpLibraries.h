// The three fingerprint libraries, loaded from the application folder and
// reached only through this table of function pointers. A pointer is null
// when its library or function is missing; callers test it.
#pragma once

#include "platform/base/types.h"

typedef int (*FpIntProc)();
typedef int (*FpImageProc)(BYTE* image);
typedef int (*FpRegisterProc)(int reg, int value);
typedef int (*FpValueProc)(int value);
typedef int (*FpSizeProc)(int* width, int* height);
typedef void* (*FpHandleProc)();
typedef int (*FpProcessProc)(const BYTE* image, BYTE* tmpl, BYTE* work, int a, int b);
typedef int (*FpCheckProc)(const BYTE* image);
typedef int (*FpMatchProc)(const BYTE* a, const BYTE* b, int level);
typedef int (*FpMatchNProc)(const BYTE* tmpl, const BYTE* slots, int count, int level);
typedef int (*FpMatch2NProc)(const BYTE* tmpl, const BYTE* records, int count, int* score, int* press, int level);
typedef int (*FpMatchNViewsProc)(const BYTE* press, int length, const BYTE* slots, int count, int level);
typedef int (*FpMatch2NViewsProc)(const BYTE* press, int length, const BYTE* records, int count, int* score, int* which,
                                  int level);
typedef int (*FpToRecordProc)(const BYTE* stored, BYTE* record);
typedef int (*FpAutoUpProc)(const BYTE* live, const BYTE* record, BYTE* merged, BYTE* stored);

struct FpLibraryTable {
    HMODULE control = nullptr;
    HMODULE match = nullptr;
    HMODULE process = nullptr;

    // Sensor and camera ("SMControl_WinCE.dll"), in lookup order.
    FpIntProc VeltoInitFpAndCamera = nullptr;
    FpIntProc VeltoFpEnable = nullptr;
    FpIntProc VeltoCamEnable = nullptr;
    FpIntProc VeltoFpReset = nullptr;
    FpIntProc VeltoFpState = nullptr;
    FpImageProc VeltoGetFpRawData = nullptr;
    FpImageProc VeltoGetFpData = nullptr;
    FpIntProc VeltoOpenFPLight = nullptr;
    FpIntProc VeltoCloseFpLight = nullptr;
    FpImageProc VeltoCamSnap = nullptr;
    FpHandleProc VeltoGetFpHandle = nullptr;
    FpRegisterProc VeltoSet_Fp_i2c_reg = nullptr;
    FpValueProc VeltoFpShow = nullptr;
    FpIntProc VeltoStopFp = nullptr;
    FpImageProc VeltoGetFpFullData = nullptr;
    FpIntProc SMCVersion = nullptr;
    FpIntProc VeltoFPPowerDown = nullptr;
    FpIntProc VeltoFPModuleReset = nullptr;
    FpSizeProc VeltoGetFpSize = nullptr;
    FpIntProc VeltoGetFpExposure = nullptr;
    FpValueProc VeltoSetFpExposure = nullptr;
    FpValueProc VeltoFpBrightness = nullptr;

    // Matching ("SMApi_WinCE.dll").
    FpMatchNProc VeltoMatchN = nullptr;
    FpMatchProc VeltoMatch = nullptr;
    FpToRecordProc VeltoTempToFPRECORD = nullptr;
    FpIntProc SMAVersion = nullptr;
    FpMatch2NProc VeltoMatch2N = nullptr;
    FpAutoUpProc VeltoAutoUpFP = nullptr;
    // The searches with a live press's further views (platform/fp/fpapi.h);
    // a library without them leaves the press to its template alone.
    FpMatchNViewsProc VeltoMatchNViews = nullptr;
    FpMatch2NViewsProc VeltoMatch2NViews = nullptr;

    // Image processing ("SMProcess_WinCE.dll").
    FpProcessProc VeltoProcess = nullptr;
    FpCheckProc VeltoCheckFp = nullptr;
    FpIntProc SMPVersion = nullptr;
};

extern FpLibraryTable g_FpLib;

// 1 when the library loaded with every function it must have, else 0.
int LoadFpControlDll();
int LoadFpMatchDll();
int LoadFpProcessDll();

// The versions; a missing library or function counts as version 0.
int GetSensorVersion();
int GetProcessVersion();

// 0 when acceptable; with a sensor of version 7 or later and an
// image-processing library below 2 it shows the upgrade message and ends
// the process.
int CheckFpProcessVersion();

// Writes the exposure's bits 9..2 to register 0x10 and its low two bits to
// register 0x04 of the sensor (0x1FF: 0x7F and 3).
void SetFpSensorExposure(unsigned value);

constexpr int kFpFlipWidth = 248;
constexpr int kFpFlipHeight = 280;
// Turns a 248 x 280 image by half a turn into `dst`.
void FlipFpImage(const BYTE* src, BYTE* dst);
