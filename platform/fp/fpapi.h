// The functions of the three fingerprint libraries ("SMControl_WinCE.dll",
// "SMProcess_WinCE.dll", "SMApi_WinCE.dll"), as the terminal finds them by
// name, and the sizes they work with. Every function returns int unless
// said otherwise.
//
// Sensor and camera ("SMControl_WinCE.dll"):
//   VeltoInitFpAndCamera()          1 when the sensor board answers
//   VeltoFpEnable(), VeltoCamEnable()  switch the shared sensor's mode; 1
//   VeltoFpReset(), VeltoStopFp(), VeltoFPPowerDown(), VeltoFPModuleReset()  1
//   VeltoFpState()                  1 when a finger lies on the sensor
//   VeltoGetFpData(BYTE* image), VeltoGetFpFullData(BYTE* image),
//   VeltoGetFpRawData(BYTE* image)  1 and the sensor's image (width x height
//                                   of the generation, one byte a pixel, at
//                                   most kFpImageBytes) when a finger lies
//                                   there; 0 and nothing written otherwise.
//                                   Generation 8 delivers the image turned by
//                                   half a turn, as its sensor is mounted.
//   VeltoOpenFPLight(), VeltoCloseFpLight()  1
//   VeltoCamSnap(BYTE* frame)       1 and a kCameraWidth x kCameraHeight
//                                   frame, 3 bytes a pixel (blue, green, red),
//                                   rows top to bottom; 0 in fingerprint mode
//   void* VeltoGetFpHandle()        the sensor's handle, null before init
//   VeltoSet_Fp_i2c_reg(int reg, int value)  1; registers 0x10 and 0x04 hold
//                                   the exposure (high and low bits)
//   VeltoFpShow(int show)           1
//   SMCVersion()                    the sensor generation (6, 7, 8)
//   VeltoGetFpSize(int* w, int* h)  1 (generation 8)
//   VeltoGetFpExposure(), VeltoSetFpExposure(int), VeltoFpBrightness(int)
//                                   exposure as one value 0..1023 (generation 8)
// Image processing ("SMProcess_WinCE.dll"):
//   VeltoProcess(const BYTE* image, BYTE* tmpl, BYTE* work, int, int views)
//                                   0 and a kFpTemplateBytes template, or the
//                                   reason the image holds no usable finger
//                                   (1 no finger, 2 no core, 3 too far off);
//                                   the image has the sensor generation's size.
//                                   With `views` non-zero (a press to search
//                                   for, never to store), tmpl holds
//                                   kFpLivePressBytes: the template, its last
//                                   byte the number of further views of the
//                                   press that follow it, each measured from
//                                   another place its core may lie; the 1:N
//                                   searches with views try them where the
//                                   template names nobody
//   VeltoCheckFp(const BYTE* image) 1 when a finger lies on the image
//   SMPVersion()                    2 (1 for the old library)
// Matching ("SMApi_WinCE.dll"):
//   VeltoMatch(const BYTE* a, const BYTE* b, int level)  0 when the two
//                                   templates are of one finger, else 1
//   VeltoMatchN(const BYTE* tmpl, const BYTE* slots, int count, int level)
//                                   index of the best matching 256-byte slot
//                                   (a template in its first bytes), or -1
//   VeltoMatch2N(const BYTE* tmpl, const BYTE* records, int count, int* score,
//                int* press, int level)  the same over kFpRecordBytes records;
//                                   `score` and `press` (0 or 1) tell about it
//   Both read the template alone, kFpTemplateBytes, whatever its last byte.
//   VeltoMatchNViews(const BYTE* press, int length, const BYTE* slots,
//                    int count, int level)
//   VeltoMatch2NViews(const BYTE* press, int length, const BYTE* records,
//                     int count, int* score, int* which, int level)
//                                   the same with a live press `length`
//                                   bytes long (kFpLivePressBytes from
//                                   VeltoProcess): the further views it holds
//                                   are read no further than that; -1 when
//                                   it is shorter than a template
//   VeltoTempToFPRECORD(const BYTE* stored, BYTE* record)  1 when the
//                                   kFpStoredBytes held a template
//   VeltoAutoUpFP(const BYTE* live, const BYTE* record, BYTE* merged,
//                 BYTE* stored)     non-zero when the live press is better
//                                   than the weaker stored one: `stored` gets
//                                   the better old press and the live one,
//                                   `merged` their record
//   SMAVersion()                    the library's version
// Security levels run from 1 (lenient) to 9 (strict); others count as the
// nearest.
#pragma once

typedef unsigned char BYTE;

constexpr int kFpImageBytes = 280 * 280;
constexpr int kFpTemplateBytes = 169;
constexpr int kFpLivePressBytes = 4 * kFpTemplateBytes;
constexpr int kFpStoredBytes = 338;
constexpr int kFpRecordBytes = 1024;
constexpr int kFpSlotBytes = 256;
constexpr int kCameraWidth = 320;
constexpr int kCameraHeight = 240;

typedef int (*FpVoidFn)();
typedef int (*FpImageFn)(BYTE* image);
typedef int (*FpRegisterFn)(int reg, int value);
typedef int (*FpValueFn)(int value);
typedef int (*FpSizeFn)(int* width, int* height);
typedef void* (*FpHandleFn)();
typedef int (*FpProcessFn)(const BYTE* image, BYTE* tmpl, BYTE* work, int a, int b);
typedef int (*FpCheckFn)(const BYTE* image);
typedef int (*FpMatchFn)(const BYTE* a, const BYTE* b, int level);
typedef int (*FpMatchNFn)(const BYTE* tmpl, const BYTE* slots, int count, int level);
typedef int (*FpMatch2NFn)(const BYTE* tmpl, const BYTE* records, int count, int* score, int* press, int level);
typedef int (*FpMatchNViewsFn)(const BYTE* press, int length, const BYTE* slots, int count, int level);
typedef int (*FpMatch2NViewsFn)(const BYTE* press, int length, const BYTE* records, int count, int* score, int* which,
                                int level);
typedef int (*FpToRecordFn)(const BYTE* stored, BYTE* record);
typedef int (*FpAutoUpdateFn)(const BYTE* live, const BYTE* record, BYTE* merged, BYTE* stored);

// Image geometry of a sensor generation.
inline void FpImageSize(int version, int* width, int* height) {
    if (version >= 8) {
        *width = 248;
        *height = 280;
    } else if (version == 7) {
        *width = 256;
        *height = 296;
    } else {
        *width = 280;
        *height = 280;
    }
}
