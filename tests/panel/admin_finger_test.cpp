// The menu key with administrators enrolled: a finger on the sensor decides
// who may open the panel.
#include <vector>

#include "data/FPTemplateStore.h"
#include "tests/page_support/finger_sensor.h"
#include "tests/page_support/panel_fixture.h"

namespace {

class AdminFingerTest : public PanelTest {
protected:
    AdminFingerTest() {
        store.Reset();
        g_pFPTemplateStore = &store;
        AddUser(u"1", u"1234", 1);
        AddUser(u"2", u"5555", 0);
        Enrol(u"1", "user1_finger0_press1.bmp");
        Enrol(u"2", "user2_finger0_press1.bmp");
    }
    ~AdminFingerTest() override { g_pFPTemplateStore = nullptr; }
    // Stores the template of the sample's finger as the user's finger 0.
    void Enrol(const char16_t* userId, const std::string& sample) {
        const std::vector<BYTE> blob = sensor.Template(sample);
        ASSERT_FALSE(blob.empty());
        ASSERT_EQ(store.Add(blob.data(), userId, 0, FALSE, OldStoredTemplateSize), 1);
    }
    // Presses the menu key with the finger on the sensor; what opened.
    void PressMenuWith(const std::string& sample) {
        ASSERT_TRUE(sensor.Place(sample));
        session.RunWhenIdle({"wait 600", "note", "key ESC"});
        session.Run("key MENU");
    }

    TestFingerSensor sensor{root};
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
