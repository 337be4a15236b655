// The terminal program on a factory device root: the menu key opens the
// panel, and with an administrator enrolled only the right password does.
#if defined(QUILLON_PROGRAM)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/DbSqlite.h"
#include "platform/ui/imagefile.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"

namespace {

class PanelProgramTest : public ::testing::Test {
protected:
    PanelProgramTest() {
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    }
    // Runs the program with the script; its exit code.
    int Run(const std::string& script) {
        const std::string scriptPath = root.HostPath("test.script");
        std::ofstream(scriptPath) << script;
        const std::string command = std::string(QUILLON_PROGRAM) + " --root " + root.Host() +
                                    " --headless --script " + scriptPath + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Surface Shot(const std::string& name) {
        std::vector<uint8_t> png;
        Surface shot;
        EXPECT_TRUE(ReadHostFile(root.HostPath(name), png) && DecodePng(png, shot)) << name;
        return shot;
    }
    std::string ShotLine(const std::string& name) { return "shot " + root.HostPath(name) + "\n"; }
    static bool SamePicture(const Surface& a, const Surface& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y)
            if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
        return true;
    }

    ScopedDeviceRoot root;
};

TEST_F(PanelProgramTest, TheMenuKeyOpensThePanelOfANewTerminal) {
    ASSERT_EQ(Run("wait 500\n" + ShotLine("main.png") + "key MENU\nkey RIGHT\n" + ShotLine("menu.png") +
                  "key ESC\n" + ShotLine("after.png") + "quit\n"),
              0);
    EXPECT_TRUE(MatchesGolden(Shot("menu.png"), "panel_grid"));
    EXPECT_TRUE(SamePicture(Shot("main.png"), Shot("after.png"))) << "ESC on the top menu closes it";
}

TEST_F(PanelProgramTest, AnAdministratorMustGiveTheRightPassword) {
    {
        CDbSqlite db;
        ASSERT_TRUE(db.Open(u"\\NandFlash\\zeta42\\DB\\KD4700.DB"));
        ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Userinfo VALUES ('7','','','0','2468',0,6,'',1,'',0,0)"));
    }
    ASSERT_EQ(Run("wait 500\nkey MENU\nkey 7\nkey ENTER\nkey 1\nkey 1\nkey ENTER\nkey ENTER\nkey RIGHT\n" +
                  ShotLine("refused.png") +
                  "key MENU\nkey 7\nkey ENTER\nkey 2\nkey 4\nkey 6\nkey 8\nkey ENTER\nkey RIGHT\n" +
                  ShotLine("opened.png") + "quit\n"),
              0);
    EXPECT_TRUE(MatchesGolden(Shot("opened.png"), "panel_grid"));
    EXPECT_FALSE(SamePicture(Shot("refused.png"), Shot("opened.png")));
}

}  // namespace
#endif
