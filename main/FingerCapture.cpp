#include "main/FingerCapture.h"

#include <algorithm>
#include <vector>

#include "core/AppDir.h"
#include "core/FpLibraries.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/SystemLocks.h"
#include "data/DataLocks.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"

std::atomic<int> g_captureControl{kCaptureRun};
HMODULE g_hUsbFpDll = nullptr;
std::atomic<int> g_cameraMode{0};

namespace {

bool UsbSensorAttached() { return IsDriverActive(u"LDM") == 1; }

// The image of the debug mode begins the file; a pipe in its place is not
// waited on, nor is a file beyond any image read whole.
bool ReadTestImage(BYTE* buffer) {
    constexpr size_t kMaxTestImageFileBytes = 16u << 20;
    CString path;
    GetAppDir(path);
    std::vector<uint8_t> image;
    if (ReadPlainHostFile(DeviceToHostPath((path + u"loadImage.dat").str()), image, kMaxTestImageFileBytes) !=
            HostRead::Read ||
        image.size() < kCaptureBufferBytes)
        return false;
    std::copy_n(image.begin(), kCaptureBufferBytes, buffer);
    return true;
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
