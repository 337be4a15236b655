// An administrator's enrolled finger exported, both tables emptied, and the
// files imported again: the menu key's check knows the finger once more.
#include <filesystem>
#include <vector>

#include "core/FpLibraries.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "main/FingerCapture.h"
#include "platform/fp/sensorslot.h"
#include "tests/transfer/transfer_fixture.h"

namespace {

class AdminRoundTripTest : public TransferTest {
protected:
    AdminRoundTripTest() : sensorFolder(root.HostPath("sensor")) {
        std::filesystem::create_directories(sensorFolder);
        SetSensorFolder(sensorFolder);
        g_cameraMode = 0;
        EXPECT_EQ(LoadFpControlDll(), 1);
        EXPECT_EQ(LoadFpProcessDll(), 1);
        EXPECT_EQ(LoadFpMatchDll(), 1);
        store.Reset();
    }
    ~AdminRoundTripTest() override { LiftFingerFromSensor(sensorFolder); }
    bool Place(const std::string& sample) { return PlaceFingerOnSensor(sensorFolder, root.HostPath("samples/" + sample)); }
    // The sample's template as the user's finger 0, in FPinfo and the store.
    void Enrol(const char16_t* userId, const std::string& sample) {
        ASSERT_TRUE(Place(sample));
        std::vector<BYTE> image(kCaptureBufferBytes), work(kCaptureBufferBytes);
        ASSERT_NE(CaptureFingerImage(image.data()), 0);
        std::vector<BYTE> blob(OldStoredTemplateSize);
        ASSERT_EQ(g_FpLib.VeltoProcess(image.data(), blob.data(), work.data(), 0, 0), 0);
        PutTemplate(userId, 0, blob);
        ASSERT_EQ(store.Add(blob.data(), userId, 0, FALSE, OldStoredTemplateSize), 1);
        LiftFingerFromSensor(sensorFolder);
    }
    // Whether the menu key with the sample on the sensor opens the panel.
    bool MenuOpensWith(const std::string& sample) {
        notes.clear();
        EXPECT_TRUE(Place(sample));
        session.RunWhenIdle({"wait 600", "note", "key ESC", "quit"});
        session.Run("key MENU");
        LiftFingerFromSensor(sensorFolder);
        return !notes.empty() && notes[0].open;
    }

    const std::string sensorFolder;
};

TEST_F(AdminRoundTripTest, AnImportedAdministratorsFingerOpensThePanel) {
    PutUser({u"1", u"", u"Admin", u"", u"1234", 0, 6, u"", 1, u"", 0, 1});
    Enrol(u"1", "user1_finger0_press1.bmp");
    OnPage(1331, {"key DOWN", "answer yes", "answer ok", "key ENTER"});
    g_pDatabase->DirectStatement(u"delete from Userinfo");
    g_pDatabase->DirectStatement(u"delete from FPinfo");
    g_pUserStorage->LoadCount();
    store.Reset();
    ASSERT_TRUE(MenuOpensWith("user1_finger0_press2.bmp")) << "a terminal without administrators opens for anyone";
    OnPage(132, {"key DOWN", "answer yes", "answer ok", "key ENTER", "progress"});
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_TRUE(MenuOpensWith("user1_finger0_press2.bmp"));
    EXPECT_FALSE(MenuOpensWith("user2_finger0_press2.bmp"));
}

}  // namespace
