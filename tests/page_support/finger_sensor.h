// The fingerprint sensor of a page test: a sensor folder under the test's
// device root, the fingerprint libraries loaded, and samples of the factory
// image laid on it.
#pragma once

#include <string>
#include <vector>

#include "platform/base/types.h"
#include "tests/support/device_root.h"

class TestFingerSensor {
public:
    explicit TestFingerSensor(const ScopedDeviceRoot& root);
    ~TestFingerSensor();
    TestFingerSensor(const TestFingerSensor&) = delete;
    TestFingerSensor& operator=(const TestFingerSensor&) = delete;

    // A sample image of the factory image ("user1_finger0_press1.bmp") on
    // the sensor, and the finger lifted.
    bool Place(const std::string& sample);
    void Lift();
    // The stored template (256 bytes) of the sample's finger, captured and
    // extracted as enrolment does; empty when that fails.
    std::vector<BYTE> Template(const std::string& sample);

private:
    const ScopedDeviceRoot& m_root;
    const std::string m_folder;
};
