// The photo frame: live preview, snapshot into the photo folder, a stored
// photo shown again by user ID.
#include <cstdlib>

#include "core/UserPhoto.h"
#include "main/PhoneShow.h"
#include "platform/base/utf.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/greyimage.h"
#include "tests/main/sensor_page.h"

namespace {

const CRect kPhotoRect(200, 13, 320, 133);
const char16_t* const kCameraPicture = u"\\sensor\\camera.bmp";

class PhoneShowTest : public SensorPageTest {
protected:
    void SetUp() override {
        // A picture with a gradient across and blocks down, so that a
        // mirrored, shifted or grey-flattened copy shows.
        GreyImage picture(kCameraWidth, kCameraHeight);
        for (int y = 0; y < kCameraHeight; ++y)
            for (int x = 0; x < kCameraWidth; ++x) picture.At(x, y) = static_cast<uint8_t>(x * 200 / kCameraWidth + (y / 60) * 15);
        ASSERT_TRUE(WriteGreyBmp(sensorFolder + "/camera.bmp", picture));
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(photo, 1326, kPhotoRect.left, kPhotoRect.top, kPhotoRect.Width(), kPhotoRect.Height());
        }));
        session.Pump();
    }
    void Repaint() {
        photo.Invalidate();
        session.Pump();
    }
    void ShowStoredPhotoOf(const char16_t* userId) {
        photo.SetMode(CPhoneShow::kModeStoredPhoto);
        photo.SetImageSource(1);
        photo.SetShownFlag(TRUE);
        photo.SetUserId(userId);
        Repaint();
    }
    void TakeSnapshot(const CString& path) {
        photo.EnablePreview(FALSE);
        photo.SetMode(CPhoneShow::kModeSnapshot);
        photo.SetImageSource(1);
        photo.SetShownFlag(TRUE);
        photo.SetPhotoPath(path);
        Repaint();
    }
    // The image as the frame shows it: stretched over the whole frame.
    ::testing::AssertionResult FrameShows(const CxImage& image) {
        return ScreenShows(kPhotoRect, [&](CDC& dc) {
            image.Draw(dc.GetSafeHdc(), CRect(0, 0, kPhotoRect.Width(), kPhotoRect.Height()));
        });
    }

    CPhoneShow photo;
};

TEST_F(PhoneShowTest, ASnapshotIsAJpegOfTheCameraPictureShownAgainByUserId) {
    SwitchSensorToCamera();
    photo.EnablePreview(TRUE);
    session.Run("wait 200");
    const CxImage camera(kCameraPicture, CXIMAGE_FORMAT_BMP);
    EXPECT_TRUE(FrameShows(camera));  // the live picture

    CString path;
    ASSERT_TRUE(UserPhotoPath(u"1001", path));
    EXPECT_EQ(path, CString(u"\\NandFlash\\zeta42\\ICON\\1001.jpg"));
    TakeSnapshot(path);
    SwitchSensorToFingerprint();

    const std::string file = root.ReadFile("NandFlash/zeta42/ICON/1001.jpg");
    ASSERT_GT(file.size(), 2u);
    EXPECT_EQ(static_cast<uint8_t>(file[0]), 0xFF);  // a JPEG stream's start marker
    EXPECT_EQ(static_cast<uint8_t>(file[1]), 0xD8);
    CxImage stored;
    ASSERT_TRUE(stored.Load(path, CXIMAGE_FORMAT_JPG));
    ASSERT_EQ(stored.GetWidth(), static_cast<DWORD>(kCameraWidth));
    ASSERT_EQ(stored.GetHeight(), static_cast<DWORD>(kCameraHeight));
    long long error = 0;
    for (int y = 0; y < kCameraHeight; ++y)
        for (int x = 0; x < kCameraWidth; ++x)
            error += std::abs(static_cast<int>(stored.Pixels().At(x, y) & 0xFF) -
                              static_cast<int>(camera.Pixels().At(x, y) & 0xFF));
    EXPECT_LT(error / (kCameraWidth * kCameraHeight), 3);  // the camera's picture, up to JPEG's loss
    EXPECT_TRUE(FrameShows(stored));

    photo.ResetFields();
    Repaint();
    EXPECT_TRUE(ScreenShows(kPhotoRect, [](CDC&) {}));
    ShowStoredPhotoOf(u"1001");
    EXPECT_TRUE(FrameShows(stored));
    ShowStoredPhotoOf(u"1002");  // no photo
    EXPECT_TRUE(ScreenShows(kPhotoRect, [](CDC&) {}));
}

TEST_F(PhoneShowTest, NothingIsWrittenOrShownOutsideThePhotoFolder) {
    SwitchSensorToCamera();
    photo.EnablePreview(TRUE);
    session.Run("wait 200");
    for (const char16_t* path : {u"\\NandFlash\\zeta42\\DB\\x.jpg", u"\\NandFlash\\zeta42\\ICON\\..\\x.jpg",
                                 u"\\NandFlash\\zeta42\\ICON\\sub\\x.jpg", u"\\NandFlash\\zeta42\\ICON\\"}) {
        TakeSnapshot(path);
        EXPECT_TRUE(ScreenShows(kPhotoRect, [](CDC&) {})) << Utf16ToUtf8(path);
    }
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/DB/x.jpg")));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/x.jpg")));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/ICON/sub")));

    root.PutFile("NandFlash/zeta42/DB/7.bmp", root.ReadFile("sensor/camera.bmp"));
    for (const char16_t* userId : {u"..\\DB\\7", u"../DB/7", u"\\NandFlash\\zeta42\\DB\\7", u"C:7", u""}) {
        ShowStoredPhotoOf(userId);
        EXPECT_TRUE(ScreenShows(kPhotoRect, [](CDC&) {})) << Utf16ToUtf8(userId);
    }
}

TEST_F(PhoneShowTest, StoredPhotosAreLookedUpByExtensionOrder) {
    root.PutFile("NandFlash/zeta42/ICON/5.png", "not an image");
    CString path;
    ASSERT_TRUE(FindUserPhoto(u"5", path));
    EXPECT_EQ(path, CString(u"\\NandFlash\\zeta42\\ICON\\5.png"));
    root.PutFile("NandFlash/zeta42/ICON/5.jpg", "");
    ASSERT_TRUE(FindUserPhoto(u"5", path));
    EXPECT_EQ(path, CString(u"\\NandFlash\\zeta42\\ICON\\5.jpg"));
    root.PutFile("NandFlash/zeta42/ICON/5.bmp", root.ReadFile("sensor/camera.bmp"));
    ShowStoredPhotoOf(u"5");
    EXPECT_TRUE(FrameShows(CxImage(u"\\NandFlash\\zeta42\\ICON\\5.bmp", CXIMAGE_FORMAT_BMP)));
    EXPECT_FALSE(FindUserPhoto(u"6", path));
}

TEST_F(PhoneShowTest, AStoredPhotoOnTheStorageCardComesFirst) {
    root.PutFile("NandFlash/zeta42/ICON/7.jpg", "");
    CString path;
    ASSERT_TRUE(FindShownUserPhoto(u"7", path));
    EXPECT_EQ(path, CString(u"\\NandFlash\\zeta42\\ICON\\7.jpg")) << "the user pages' folder without a card photo";
    root.PutFile("Storage Card/ICON/7.bmp", root.ReadFile("sensor/camera.bmp"));
    ASSERT_TRUE(FindShownUserPhoto(u"7", path));
    EXPECT_EQ(path, CString(u"\\Storage Card\\ICON\\7.bmp"));
    ShowStoredPhotoOf(u"7");
    EXPECT_TRUE(FrameShows(CxImage(path, CXIMAGE_FORMAT_BMP)));
    EXPECT_FALSE(FindShownUserPhoto(u"..", path));
}

}  // namespace
