// The terminal program end to end: an administrator adds a user with every
// field, a card from the simulated I/O controller, two fingers and a photo,
// all by script; afterwards the user's other press opens the control panel.
#if defined(QUILLON_PROGRAM)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/DbSqlite.h"
#include "data/SqlHelpers.h"
#include "platform/fp/synthfinger.h"
#include "platform/ui/imagefile.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"

namespace {

class UsersProgramTest : public ::testing::Test {
protected:
    UsersProgramTest() {
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
    }
    int Run(const std::string& script) {
        const std::string scriptPath = root.HostPath("test.script");
        std::ofstream(scriptPath) << script;
        const std::string command = std::string(QUILLON_PROGRAM) + " --root " + root.Host() +
                                    " --headless --simulate-io --script " + scriptPath + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Finger(int seed, int press) {
        const std::string path = root.HostPath("f" + std::to_string(seed) + "_" + std::to_string(press) + ".bmp");
        EXPECT_TRUE(WriteGreyBmp(path, SynthesizeFinger(static_cast<uint32_t>(seed), static_cast<uint32_t>(press),
                                                        248, 280)));
        return "finger " + path + "\n";
    }
    // On the add-user page: Enroll FP, the next finger with two presses of
    // `seed`, saved; the enrolment page hands the user back.
    std::string EnrolFinger(int seed) {
        return "tap 47 188\nkey ENTER\nkey ENTER\nwait 300\n" + Finger(seed, 1) + "wait 300\nlift\nwait 700\n" +
               Finger(seed, 2) + "wait 300\nlift\nanswer ok\nkey ENTER\n";
    }
    Surface Shot(const std::string& name) {
        std::vector<uint8_t> png;
        Surface shot;
        EXPECT_TRUE(ReadHostFile(root.HostPath(name), png) && DecodePng(png, shot)) << name;
        return shot;
    }

    ScopedDeviceRoot root;
};

TEST_F(UsersProgramTest, AnAdministratorWithEveryFieldTwoFingersAndAPhoto) {
    {
        CDbSqlite db;
        ASSERT_TRUE(db.Open(u"\\NandFlash\\zeta42\\DB\\KD4700.DB"));
        ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Dept VALUES (2,'Sales',1,0)"));
    }
    const std::string script =
        "wait 500\nkey MENU\ngoto 121\nkey 3\nkey ENTER\nkey 1\nkey 2\nkey ENTER\nkey 5\nkey 5\n"
        "card 00ABCDEF\nwait 1500\n"
        // Department, administrator, group 2.
        "key DOWN\nkey RIGHT\nkey DOWN\nkey RIGHT\nkey DOWN\nkey RIGHT\nkey RIGHT\n"
        // The verify mode: individual, 3, 1, 1.
        "tap 188 188\nkey RIGHT\nkey DOWN\nkey RIGHT\nkey RIGHT\nkey RIGHT\nkey DOWN\nkey RIGHT\nkey DOWN\nkey RIGHT\n"
        "key ESC\n" +
        EnrolFinger(601) + EnrolFinger(602) +
        "tap 118 188\nwait 500\ntap 118 188\nwait 200\nanswer ok\nkey MENU\nkey ESC\nkey ESC\nquit\n";
    ASSERT_EQ(Run(script), 0);

    {
        CDbSqlite db;
        ASSERT_TRUE(db.Open(u"\\NandFlash\\zeta42\\DB\\KD4700.DB"));
        StatementPtr row(db.Statement(u"SELECT * FROM Userinfo"));
        ASSERT_TRUE(row->NextRow());
        EXPECT_EQ(CString(row->ValueString(0)), u"3");
        EXPECT_EQ(CString(row->ValueString(1)), u"11259375") << "the card's last eight hexadecimal digits";
        EXPECT_EQ(CString(row->ValueString(2)), u"12");
        EXPECT_EQ(CString(row->ValueString(4)), u"55");
        EXPECT_EQ(row->ValueInt(5), 2);
        EXPECT_EQ(row->ValueInt(6), 201);
        EXPECT_EQ(row->ValueInt(8), 1);
        EXPECT_EQ(row->ValueInt(10), 2);
        EXPECT_EQ(row->ValueInt(11), 3) << "fingers 0 and 1";
        EXPECT_FALSE(row->NextRow());
        EXPECT_EQ(QueryInt(db, u"SELECT count(*) FROM FPinfo WHERE userid = '3' AND length(FPTemplate) = 338"), 2);
    }
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("NandFlash/zeta42/ICON/3.jpg")));

    // A third press of the first finger: the administrator is let in.
    ASSERT_EQ(Run("wait 500\n" + Finger(601, 3) + "key MENU\nwait 600\nkey RIGHT\nshot " +
                  root.HostPath("opened.png") + "\nquit\n"),
              0);
    EXPECT_TRUE(MatchesGolden(Shot("opened.png"), "panel_grid"));
}

}  // namespace
#endif
