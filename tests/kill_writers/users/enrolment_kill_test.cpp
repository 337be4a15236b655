// The power fails while fingers are enrolled on the enrolment page: a
// template is stored with its finger's bit in the user's mask or not at
// all, the enrolments before the cut are all there, and the terminal
// starts and loads what is stored.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fp/greyimage.h"
#include "platform/fp/synthfinger.h"
#include "tests/kill/ScriptedKill.h"

namespace {

constexpr int kUsers = 6;

class EnrolmentKillTest : public ::testing::Test {
protected:
    EnrolmentKillTest() { std::filesystem::create_directories(m_fingers); }
    ~EnrolmentKillTest() override { std::filesystem::remove_all(m_fingers); }

    // Two presses of a finger of its own for user k.
    std::string PressesOf(int user) {
        std::string lines;
        for (int press = 1; press <= 2; ++press) {
            const std::string path = m_fingers + "/" + std::to_string(user) + "_" + std::to_string(press) + ".bmp";
            EXPECT_TRUE(WriteGreyBmp(path, SynthesizeFinger(3500 + user, press, 248, 280)));
            lines += "wait 300\nfinger " + path + "\nwait 300\nlift\n" + (press == 1 ? "wait 700\n" : "");
        }
        return lines;
    }

    TerminalFolder folder;

private:
    std::string m_fingers = folder.Host() + ".fingers";
};

TEST_F(EnrolmentKillTest, ATemplateIsStoredWithItsFingerOrNotAtAll) {
    // User k by his ID, the first finger, two presses, Enter saves.
    std::string script = "goto 11\n";
    for (int user = 1; user <= kUsers; ++user)
        script += TypeDigits(std::to_string(user)) + "key ENTER\nkey ENTER\n" + PressesOf(user) + "answer ok\nkey ENTER\n";
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35011, 8, [&](int) {
        folder.LayFactoryImage();
        ExecOnTerminal(folder, "INSERT INTO Userinfo WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
                               "WHERE n < " + std::to_string(kUsers) +
                                   ") SELECT n, '', 'U' || n, '', '', 1, 6, '', 0, '', 0, 0 FROM s;"
                                   "update BasePara set UserCount = " + std::to_string(kUsers));
    });
    int enrolled = 0;
    plan.check = [&](const KillRound& round) {
        const int templates = folder.Query("select count(*) from FPinfo");
        EXPECT_EQ(folder.Query("select count(*) from FPinfo where fingerNO = 0 and length(FPTemplate) = 338"), templates);
        EXPECT_EQ(folder.Query("select count(*) from Userinfo u where FPFlag != "
                               "(select count(*) from FPinfo f where f.userid = u.userid)"),
                  0)
            << "a template without its finger's bit or a bit without its template, killed after "
            << round.delay.count() << " us";
        const std::string later = "select count(*) from FPinfo where cast(userid as integer) > " + std::to_string(templates);
        EXPECT_EQ(folder.Query(later.c_str()), 0)
            << "an enrolment is missing before a later one";
        if (!round.killed) {
            EXPECT_EQ(templates, kUsers);
        }
        enrolled += templates;
    };
    RunFittedKills("enrolment", plan);
    std::printf("enrolment: %d templates found after the kills\n", enrolled);
}

}  // namespace
