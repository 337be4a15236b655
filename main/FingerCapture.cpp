#include "main/FingerCapture.h"

#include "core/AppDir.h"
#include "core/FpLibraries.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataLocks.h"
#include "platform/base/files.h"
#include "platform/base/handle.h"

std::atomic<int> g_captureControl{kCaptureRun};
HMODULE g_hUsbFpDll = nullptr;
std::atomic<int> g_cameraMode{0};

namespace {

bool UsbSensorAttached() { return IsDriverActive(u"LDM") == 1; }

bool ReadTestImage(BYTE* buffer) {
    CString path;
    GetAppDir(path);
    const HANDLE file = CreateFileW(path + u"loadImage.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const BOOL read = ReadFile(file, buffer, kCaptureBufferBytes, &done, nullptr);
    CloseHandle(file);
    return read && done == kCaptureBufferBytes;
}

// Moves the shared sensor to `camera` mode; the capture lock keeps a capture
// from running across the switch.
void SwitchSensor(int camera, FpIntProc enable) {
    if (UsbSensorAttached()) return;
    CLockGuard lock(g_csCapture);
    if (g_cameraMode == camera) return;
    g_cameraMode = camera;
    if (enable) enable();
}

}  // namespace

int CaptureFingerImage(BYTE* buffer) {
    if (!buffer) return 0;
    CLockGuard lock(g_csCapture);
    if (g_MachineConfig.DEBUGMODE == 1 && g_MachineConfig.DebugSensorCapture == 0) return ReadTestImage(buffer) ? 1 : 0;
    if (g_cameraMode == 1 || !g_FpLib.VeltoGetFpData) return 0;
    return g_FpLib.VeltoGetFpData(buffer) ? 1 : 0;
}

void SwitchSensorToCamera() { SwitchSensor(1, g_FpLib.VeltoCamEnable); }

void SwitchSensorToFingerprint() { SwitchSensor(0, g_FpLib.VeltoFpEnable); }

void CheckUsbSensorRemoved() { SwitchSensorToFingerprint(); }
