#include "tests/page_support/finger_sensor.h"

#include <filesystem>

#include "core/FpLibraries.h"
#include "data/FPTemplateStore.h"
#include "main/FingerCapture.h"
#include "platform/fp/sensorslot.h"

TestFingerSensor::TestFingerSensor(const ScopedDeviceRoot& root) : m_root(root), m_folder(root.HostPath("sensor")) {
    std::filesystem::create_directories(m_folder);
    SetSensorFolder(m_folder);
    g_cameraMode = 0;
    LoadFpControlDll();
    LoadFpProcessDll();
    LoadFpMatchDll();
}

TestFingerSensor::~TestFingerSensor() { Lift(); }

bool TestFingerSensor::Place(const std::string& sample) {
    return PlaceFingerOnSensor(m_folder, m_root.HostPath("samples/" + sample));
}

void TestFingerSensor::Lift() { LiftFingerFromSensor(m_folder); }

std::vector<BYTE> TestFingerSensor::Template(const std::string& sample) {
    std::vector<BYTE> image(kCaptureBufferBytes), work(kCaptureBufferBytes), blob(OldStoredTemplateSize);
    const bool made = Place(sample) && CaptureFingerImage(image.data()) != 0 &&
                      g_FpLib.VeltoProcess && g_FpLib.VeltoProcess(image.data(), blob.data(), work.data(), 0, 0) == 0;
    Lift();
    return made ? blob : std::vector<BYTE>();
}
