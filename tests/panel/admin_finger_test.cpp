// The menu key with administrators enrolled: a finger on the sensor decides
// who may open the panel.
#include <vector>

#include "core/FpLibraries.h"
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

// The search at the terminal is given the whole live press, so that the
// further views of it that the processing library wrote are tried where
// its template names nobody.
struct ViewSearches {
    static inline FpMatchNViewsProc library = nullptr;
    static inline std::vector<int> lengths;
    static int Search(const BYTE* press, int length, const BYTE* slots, int count, int level) {
        lengths.push_back(length);
        return library(press, length, slots, count, level);
    }
};

TEST_F(AdminFingerTest, TheSearchIsGivenTheWholeLivePress) {
    ASSERT_EQ(store.GetTemplateSize(), OldStoredTemplateSize);
    ASSERT_NE(g_FpLib.VeltoMatchNViews, nullptr);
    ViewSearches::library = g_FpLib.VeltoMatchNViews;
    ViewSearches::lengths.clear();
    g_FpLib.VeltoMatchNViews = &ViewSearches::Search;
    PressMenuWith("user1_finger0_press2.bmp");
    g_FpLib.VeltoMatchNViews = ViewSearches::library;
    EXPECT_EQ(ViewSearches::lengths, std::vector<int>{LivePressSize});
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].open);
}

}  // namespace
