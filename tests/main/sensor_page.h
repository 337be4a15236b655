// A widget test page on the factory image with the sensor library loaded
// and the simulated sensor's folder inside the test's root.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/FpLibraries.h"
#include "core/SystemLocks.h"
#include "main/FingerCapture.h"
#include "platform/fp/sensorslot.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"

class SensorPageTest : public WidgetTest {
protected:
    SensorPageTest() : sensorFolder(root.HostPath("sensor")) {
        InitSystemLocks();
        std::filesystem::create_directories(sensorFolder);
        SetSensorFolder(sensorFolder);
        g_cameraMode = 0;
        EXPECT_EQ(LoadFpControlDll(), 1);
    }

    // Counts the pixels of `area` on the screen that are not grey or not
    // one of the source pixels they stand for, the source being shrunk by
    // whole steps: screen pixel (x, y) stands for the stepX x stepY block
    // at (x * stepX, y * stepY) of `grey`.
    static int PixelsNotFrom(const CRect& area, const std::function<int(int x, int y)>& grey, int stepX, int stepY);

    const std::string sensorFolder;
};
