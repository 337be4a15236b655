// The panel as a person reaches it: the menu key on the main window, the
// administrator check, the grid walked with keys and touches, and "goto".
#include "tests/page_support/panel_fixture.h"

namespace {

class PanelScriptTest : public PanelTest {
protected:
    // Runs `lines` inside the loops that the menu key starts.
    void PressMenuThen(std::vector<std::string> lines) {
        session.RunWhenIdle(std::move(lines));
        session.Run("key MENU");
    }
    static std::vector<std::string> Typing(const std::string& digits) {
        std::vector<std::string> keys;
        for (char digit : digits) keys.push_back(std::string("key ") + digit);
        return keys;
    }
    // Asks for the panel with an ID and a password, notes what opened and
    // closes whatever did (the panel, or the refusal's message box).
    void TryPassword(const std::string& id, const std::string& password) {
        std::vector<std::string> lines = Typing(id);
        lines.push_back("key ENTER");
        for (const std::string& key : Typing(password)) lines.push_back(key);
        lines.insert(lines.end(), {"key ENTER", "note", "key ESC"});
        PressMenuThen(lines);
    }
};

TEST_F(PanelScriptTest, TheMenuKeyOpensThePanelOnANewTerminal) {
    PressMenuThen({"note", "key ESC"});
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(notes[0].open);
    EXPECT_EQ(notes[0].current, kMenuRoot);
    EXPECT_EQ(notes[0].title, u"Menu");
    EXPECT_EQ(notes[0].state, ControlPanelShowsMenu);
    EXPECT_EQ(CControlPanel::Open(), nullptr) << "ESC on the top menu closes the panel";
}

TEST_F(PanelScriptTest, OnlyAnAdministratorsPasswordOpensThePanel) {
    AddUser(u"1", u"1234", 1);
    AddUser(u"2", u"5555", 0);
    TryPassword("1", "9999");
    TryPassword("2", "5555");
    TryPassword("1", "");
    TryPassword("1", "1234");
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_FALSE(notes[0].open) << "a wrong password";
    EXPECT_FALSE(notes[1].open) << "a user who is no administrator";
    EXPECT_FALSE(notes[2].open) << "an empty password";
    EXPECT_TRUE(notes[3].open);
    EXPECT_EQ(main.panelRequests, 1);
    EXPECT_EQ(CControlPanel::Open(), nullptr);
}

TEST_F(PanelScriptTest, EscapeFromTheCheckOpensNothing) {
    AddUser(u"1", u"1234", 1);
    // A panel opened by mistake would note itself and end.
    PressMenuThen({"key 1", "key ESC", "note", "quit"});
    EXPECT_EQ(main.panelRequests, 0);
    EXPECT_TRUE(notes.empty());
}

TEST_F(PanelScriptTest, ArrowsEnterAndEscWalkTheGrid) {
    AddTestPage(121);
    AddTestPage(122);
    AddTestPage(131);
    // The top menu holds the entries 11 to 16: 11 to 14 in the first row.
    PressMenuThen({"key RIGHT", "note", "key RIGHT", "note", "key LEFT", "key LEFT", "key LEFT", "note", "key RIGHT",
                   "key DOWN", "note", "key UP", "note", "key RIGHT", "key ENTER", "note", "key RIGHT", "key ENTER",
                   "note", "key ESC", "note", "key ESC", "note", "key ESC"});
    ASSERT_EQ(notes.size(), 9u);
    EXPECT_EQ(notes[0].selected, 12u);
    EXPECT_EQ(notes[1].selected, 13u);
    EXPECT_EQ(notes[2].selected, 16u) << "left from the first entry wraps to the last";
    EXPECT_EQ(notes[3].selected, 15u) << "down from the first row's 11 is 15";
    EXPECT_EQ(notes[4].selected, 11u);
    EXPECT_EQ(notes[5].current, 12u);
    EXPECT_EQ(notes[5].title, u"Users");
    EXPECT_EQ(notes[5].selected, 121u);
    EXPECT_NE(notes[6].page, nullptr);
    EXPECT_EQ(notes[6].selected, 122u);
    EXPECT_EQ(notes[6].title, u"Edit User");
    EXPECT_EQ(notes[6].state, ControlPanelShowsPage);
    EXPECT_EQ(notes[7].page, nullptr);
    EXPECT_EQ(notes[7].title, u"Users");
    EXPECT_EQ(notes[7].selected, 122u);
    EXPECT_EQ(notes[8].current, kMenuRoot);
    EXPECT_EQ(notes[8].selected, 12u) << "back up, the entry come from stays chosen";
    EXPECT_EQ(CControlPanel::Open(), nullptr);
}

TEST_F(PanelScriptTest, ATouchOpensTheEntryUnderIt) {
    AddTestPage(131);
    // The third icon of the first row: x 163..235, y 46..110.
    PressMenuThen({"tap 199 78", "note", "tap 43 78", "note", "key ESC", "key ESC", "key ESC"});
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].current, 13u);
    EXPECT_EQ(notes[0].title, u"Data");
    EXPECT_NE(notes[1].page, nullptr);
    EXPECT_EQ(notes[1].title, u"Records");
}

TEST_F(PanelScriptTest, GotoReachesANode) {
    AddTestPage(122);
    AddTestPage(131);
    session.RunWhenIdle({"note", "goto 13", "note", "goto 131", "note", "key ESC", "key ESC", "key ESC"});
    session.Run("goto 122");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_NE(notes[0].page, nullptr);
    EXPECT_EQ(notes[0].title, u"Edit User");
    EXPECT_EQ(notes[0].current, 12u);
    EXPECT_EQ(notes[1].page, nullptr);
    EXPECT_EQ(notes[1].current, 13u);
    EXPECT_EQ(notes[2].title, u"Records");
    EXPECT_EQ(notes[2].current, 13u);
    EXPECT_EQ(CControlPanel::Open(), nullptr);

    ScriptDriver driver;
    std::string error;
    EXPECT_FALSE(driver.Execute("goto 143", &error)) << "no page for 143";
    EXPECT_FALSE(driver.Execute("goto 99", &error));
    EXPECT_FALSE(driver.Execute("goto x", &error));
}

TEST_F(PanelScriptTest, GridGolden) {
    AddTestPage(121);
    PressMenuThen({"key RIGHT", "golden panel_grid", "key ESC"});
    EXPECT_TRUE(golden);
}

TEST_F(PanelScriptTest, PageWithTheTaskBarsHintGolden) {
    AddTestPage(121);
    session.RunWhenIdle({"golden panel_page_hint", "key ESC", "key ESC", "key ESC"});
    session.Run("goto 121");
    EXPECT_TRUE(golden);
}

}  // namespace
