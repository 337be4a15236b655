// The menu key with administrators enrolled: a finger on the sensor decides
// who may open the panel.
#include <filesystem>
#include <vector>

#include "core/FpLibraries.h"
#include "data/FPTemplateStore.h"
#include "main/FingerCapture.h"
#include "platform/fp/sensorslot.h"
#include "tests/page_support/panel_fixture.h"

namespace {

class AdminFingerTest : public PanelTest {
protected:
    AdminFingerTest() : sensorFolder(root.HostPath("sensor")) {
        std::filesystem::create_directories(sensorFolder);
        SetSensorFolder(sensorFolder);
        g_cameraMode = 0;
        EXPECT_EQ(LoadFpControlDll(), 1);
        EXPECT_EQ(LoadFpProcessDll(), 1);
        EXPECT_EQ(LoadFpMatchDll(), 1);
        store.Reset();
        g_pFPTemplateStore = &store;
        AddUser(u"1", u"1234", 1);
        AddUser(u"2", u"5555", 0);
        Enrol(u"1", "user1_finger0_press1.bmp");
        Enrol(u"2", "user2_finger0_press1.bmp");
    }
    ~AdminFingerTest() override {
        LiftFingerFromSensor(sensorFolder);
        g_pFPTemplateStore = nullptr;
    }
    bool Place(const std::string& sample) {
        return PlaceFingerOnSensor(sensorFolder, root.HostPath("samples/" + sample));
    }
    // Stores the template of the sample's finger as the user's finger 0.
    void Enrol(const char16_t* userId, const std::string& sample) {
        ASSERT_TRUE(Place(sample));
        std::vector<BYTE> image(kCaptureBufferBytes);
        ASSERT_NE(CaptureFingerImage(image.data()), 0);
        std::vector<BYTE> work(kCaptureBufferBytes);
        BYTE blob[OldStoredTemplateSize] = {};
        ASSERT_EQ(g_FpLib.VeltoProcess(image.data(), blob, work.data(), 0, 0), 0);
        ASSERT_EQ(store.Add(blob, userId, 0, FALSE, OldStoredTemplateSize), 1);
        LiftFingerFromSensor(sensorFolder);
    }
    // Presses the menu key with the finger on the sensor; what opened.
    void PressMenuWith(const std::string& sample) {
        ASSERT_TRUE(Place(sample));
        session.RunWhenIdle({"wait 600", "note", "key ESC"});
        session.Run("key MENU");
    }

    const std::string sensorFolder;
    CFPTemplateStore store;
};

TEST_F(AdminFingerTest, AnAdministratorsFingerOpensThePanel) {
    PressMenuWith("user1_finger0_press2.bmp");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].open);
    EXPECT_EQ(main.panelRequests, 1);
}

TEST_F(AdminFingerTest, AnotherUsersFingerIsRefused) {
    PressMenuWith("user2_finger0_press2.bmp");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_FALSE(notes[0].open) << "the refusal's message box noted, then closed";
    EXPECT_EQ(main.panelRequests, 0);
}

TEST_F(AdminFingerTest, AnUnknownFingerIsRefused) {
    PressMenuWith("user3_finger0_press2.bmp");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_FALSE(notes[0].open);
    EXPECT_EQ(main.panelRequests, 0);
}

}  // namespace
