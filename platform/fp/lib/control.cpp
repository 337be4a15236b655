// The fingerprint sensor and camera board: captures read the image that lies
// on the simulated sensor (see sensorslot.h).
#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/fp/camera.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/greyimage.h"
#include "platform/fp/lib/export.h"
#include "platform/fp/sensorslot.h"

#ifndef FP_SENSOR_VERSION
#define FP_SENSOR_VERSION 8
#endif

FP_EXPORT int SMCVersion();

namespace {

std::mutex g_lock;
bool g_ready = false;
bool g_cameraMode = false;
bool g_light = false;
uint32_t g_frames = 0;
uint8_t g_registers[256] = {};

std::string Slot() {
    return SensorFolder(FolderOfLibrary(reinterpret_cast<const void*>(&SMCVersion)));
}

// The image on the sensor in this generation's geometry; false when no
// finger lies there or the camera has the sensor.
bool Capture(BYTE* image) {
    if (!image) return false;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_cameraMode) return false;
    GreyImage pressed;
    if (!ReadGreyBmp(Slot() + "/" + kFingerFileName, &pressed)) return false;
    int width, height;
    FpImageSize(FP_SENSOR_VERSION, &width, &height);
    GreyImage frame = FitToFrame(pressed, width, height);
    if (FP_SENSOR_VERSION >= 8) std::reverse(frame.pixels.begin(), frame.pixels.end());
    std::memcpy(image, frame.pixels.data(), frame.pixels.size());
    return true;
}

}  // namespace

FP_EXPORT int SMCVersion() {
    return FP_SENSOR_VERSION;
}

FP_EXPORT int VeltoInitFpAndCamera() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_ready = true;
    g_cameraMode = false;
    return 1;
}

FP_EXPORT int VeltoFpEnable() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_cameraMode = false;
    return 1;
}

FP_EXPORT int VeltoCamEnable() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_cameraMode = true;
    return 1;
}

FP_EXPORT int VeltoFpReset() {
    return 1;
}

FP_EXPORT int VeltoStopFp() {
    return 1;
}

FP_EXPORT int VeltoFpState() {
    GreyImage pressed;
    return ReadGreyBmp(Slot() + "/" + kFingerFileName, &pressed) ? 1 : 0;
}

FP_EXPORT int VeltoGetFpRawData(BYTE* image) {
    return Capture(image) ? 1 : 0;
}

FP_EXPORT int VeltoGetFpData(BYTE* image) {
    return Capture(image) ? 1 : 0;
}

FP_EXPORT int VeltoGetFpFullData(BYTE* image) {
    return Capture(image) ? 1 : 0;
}

FP_EXPORT int VeltoOpenFPLight() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_light = true;
    return 1;
}

FP_EXPORT int VeltoCloseFpLight() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_light = false;
    return 1;
}

FP_EXPORT int VeltoCamSnap(BYTE* frame) {
    if (!frame) return 0;
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_cameraMode) return 0;
    CameraFrame(Slot() + "/" + kCameraFileName, g_frames++, kCameraWidth, kCameraHeight, frame);
    return 1;
}

FP_EXPORT void* VeltoGetFpHandle() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_ready ? static_cast<void*>(&g_ready) : nullptr;
}

FP_EXPORT int VeltoSet_Fp_i2c_reg(int reg, int value) {
    if (reg < 0 || reg > 255) return 0;
    std::lock_guard<std::mutex> lock(g_lock);
    g_registers[reg] = static_cast<uint8_t>(value);
    return 1;
}

FP_EXPORT int VeltoFpShow(int) {
    return 1;
}

FP_EXPORT int VeltoFPPowerDown() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_ready = false;
    return 1;
}

FP_EXPORT int VeltoFPModuleReset() {
    return 1;
}

#ifndef FP_WITHOUT_GENERATION8_EXPORTS
FP_EXPORT int VeltoGetFpSize(int* width, int* height) {
    if (!width || !height) return 0;
    FpImageSize(FP_SENSOR_VERSION, width, height);
    return 1;
}

FP_EXPORT int VeltoGetFpExposure() {
    std::lock_guard<std::mutex> lock(g_lock);
    return (g_registers[0x10] << 2) | (g_registers[0x04] & 3);
}

FP_EXPORT int VeltoSetFpExposure(int value) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_registers[0x10] = static_cast<uint8_t>((value & 0x3FF) >> 2);
    g_registers[0x04] = static_cast<uint8_t>(value & 3);
    return 1;
}

FP_EXPORT int VeltoFpBrightness(int) {
    // The simulated sensor's images do not depend on the lamp.
    return 1;
}
#endif
