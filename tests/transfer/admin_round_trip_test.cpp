// An administrator's enrolled finger exported, both tables emptied, and the
// files imported again: the menu key's check knows the finger once more.
#include <vector>

#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "tests/page_support/finger_sensor.h"
#include "tests/transfer/transfer_fixture.h"

namespace {

class AdminRoundTripTest : public TransferTest {
protected:
    AdminRoundTripTest() { store.Reset(); }
    // The sample's template as the user's finger 0, in FPinfo and the store.
    void Enrol(const char16_t* userId, const std::string& sample) {
        const std::vector<BYTE> blob = sensor.Template(sample);
        ASSERT_FALSE(blob.empty());
        PutTemplate(userId, 0, blob);
        ASSERT_EQ(store.Add(blob.data(), userId, 0, FALSE, OldStoredTemplateSize), 1);
    }
    // Whether the menu key with the sample on the sensor opens the panel.
    bool MenuOpensWith(const std::string& sample) {
        notes.clear();
        EXPECT_TRUE(sensor.Place(sample));
        session.RunWhenIdle({"wait 600", "note", "key ESC", "quit"});
        session.Run("key MENU");
        sensor.Lift();
        return !notes.empty() && notes[0].open;
    }

    TestFingerSensor sensor{root};
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
