// The fingerprint capture, the sensor's two modes and the fingerprint frame.
#include <filesystem>
#include <fstream>
#include <set>

#include "main/JHFPShow.h"
#include "platform/dev/drivers.h"
#include "tests/main/sensor_page.h"
#include "tests/support/pipe_reader.h"

namespace {

const CRect kFrameRect(100, 50, 224, 190);  // half the 248 x 280 image
const char16_t* const kFinger = u"\\samples\\user1_finger0_press1.bmp";

class CaptureTest : public SensorPageTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(frame, 1039, kFrameRect.left, kFrameRect.top, kFrameRect.Width(), kFrameRect.Height());
        }));
        session.Pump();
    }
    void TearDown() override {
        UnplugDriver(u"LDM1:");
        g_MachineConfig.DEBUGMODE = 0;
        g_MachineConfig.DebugSensorCapture = 1;
    }
    bool PlaceFinger() { return PlaceFingerOnSensor(sensorFolder, root.HostPath("samples/user1_finger0_press1.bmp")); }

    CJHFPShow frame;
    BYTE image[kCaptureBufferBytes] = {};
};

TEST_F(CaptureTest, TheFrameShowsTheImageOnTheSensor) {
    EXPECT_EQ(CaptureFingerImage(image), 0);  // nothing lies there yet
    ASSERT_TRUE(PlaceFinger());
    ASSERT_NE(CaptureFingerImage(image), 0);
    // This sensor is mounted upside down: the image is turned for showing.
    BYTE upright[kFpFlipWidth * kFpFlipHeight];
    FlipFpImage(image, upright);
    frame.m_pImage = upright;
    frame.m_nImageWidth = kFpFlipWidth;
    frame.m_nImageHeight = kFpFlipHeight;
    frame.m_nMode = CJHFPShow::kModeFingerprint;
    frame.SetHidden(FALSE);
    frame.Invalidate();
    session.Pump();

    CxImage finger(kFinger, CXIMAGE_FORMAT_BMP);
    ASSERT_EQ(finger.GetWidth(), static_cast<DWORD>(kFpFlipWidth));
    auto grey = [&](int x, int y) { return static_cast<int>(finger.Pixels().At(x, y) & 0xFF); };
    EXPECT_EQ(PixelsNotFrom(kFrameRect, grey, 2, 2), 0);
    std::set<BYTE> levels(upright, upright + sizeof upright);
    EXPECT_GT(levels.size(), 16u);  // ridges, not a blank image

    frame.SetHidden(TRUE);
    EXPECT_EQ(frame.m_nMode, CJHFPShow::kModeNothing);
    EXPECT_FALSE(frame.IsWindowVisible());
}

TEST_F(CaptureTest, AGeometryLargerThanACaptureShowsNothing) {
    ASSERT_TRUE(PlaceFinger());
    ASSERT_NE(CaptureFingerImage(image), 0);
    frame.m_pImage = image;
    frame.m_nImageWidth = 300;
    frame.m_nImageHeight = 300;
    frame.m_nMode = CJHFPShow::kModeFingerprint;
    frame.Invalidate();
    session.Pump();
    EXPECT_TRUE(ScreenShows(kFrameRect, [](CDC&) {}));
}

TEST_F(CaptureTest, TheCameraHoldsTheSensorUntilItIsSwitchedBack) {
    ASSERT_TRUE(PlaceFinger());
    SwitchSensorToCamera();
    EXPECT_EQ(g_cameraMode, 1);
    EXPECT_EQ(CaptureFingerImage(image), 0);
    CheckUsbSensorRemoved();
    EXPECT_EQ(g_cameraMode, 0);
    EXPECT_NE(CaptureFingerImage(image), 0);
    // A USB sensor has a sensor of its own: the camera never takes the board's.
    ASSERT_TRUE(PlugInDriver(u"LDM1:"));
    SwitchSensorToCamera();
    EXPECT_EQ(g_cameraMode, 0);
    EXPECT_NE(CaptureFingerImage(image), 0);
}

TEST_F(CaptureTest, DebugModeCanTakeTheTestImageInstead) {
    g_MachineConfig.DEBUGMODE = 1;
    g_MachineConfig.DebugSensorCapture = 0;
    std::string test(kCaptureBufferBytes, '\0');
    for (size_t i = 0; i < test.size(); ++i) test[i] = static_cast<char>(i * 7);
    root.PutFile("NandFlash/zeta42/loadImage.dat", test);
    ASSERT_NE(CaptureFingerImage(image), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), sizeof image), test);
    root.PutFile("NandFlash/zeta42/loadImage.dat", test.substr(0, 1000));
    EXPECT_EQ(CaptureFingerImage(image), 0);
    // Kept elsewhere and linked in, it is taken; a pipe is not waited on.
    root.PutFile("owner/loadImage.dat", test);
    std::filesystem::remove(root.HostPath("NandFlash/zeta42/loadImage.dat"));
    std::filesystem::create_symlink(root.HostPath("owner/loadImage.dat"),
                                    root.HostPath("NandFlash/zeta42/loadImage.dat"));
    EXPECT_NE(CaptureFingerImage(image), 0);
    std::filesystem::remove(root.HostPath("NandFlash/zeta42/loadImage.dat"));
    int captured = -1;
    EXPECT_TRUE(ReturnsWithoutAWriter(root.HostPath("NandFlash/zeta42/loadImage.dat"),
                                      [&] { captured = CaptureFingerImage(image); }));
    EXPECT_EQ(captured, 0);
}

}  // namespace
