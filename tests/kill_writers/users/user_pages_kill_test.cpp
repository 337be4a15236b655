// The power fails while users are added, edited and deleted through their
// pages: every user row is as it was before its save or as the save left
// it, the saves that went before the cut are all there, a user goes with
// his templates, and the terminal starts on what is left.
#include <gtest/gtest.h>

#include <string>

#include "tests/kill/PreparedFolder.h"
#include "tests/kill/ScriptedKill.h"

namespace user_pages_kill_test {
namespace {

constexpr int kUsers = 20;

std::string Id(int user) { return std::to_string(user); }

// How many users the condition finds, checking that they are users 1 to
// that number: no save is missing before a later one.
int ExpectFirstUsers(const TerminalFolder& folder, const std::string& condition) {
    const std::string count = "select count(*) from Userinfo where " + condition;
    const int users = folder.Query(count.c_str());
    const std::string beyond = count + " and cast(userid as integer) > " + std::to_string(users);
    EXPECT_EQ(folder.Query(beyond.c_str()), 0) << "a save is missing before a later one";
    return users;
}

void ExpectCountKept(const TerminalFolder& folder) {
    EXPECT_EQ(folder.Query("select UserCount from BasePara"), folder.Query("select count(*) from Userinfo"));
}

TEST(UserPagesKillTest, AddedUsersAreWholeAndInTheOrderOfTheirSaves) {
    TerminalFolder folder;
    // User k: his ID accepted (the row is made then), the name "8k" and
    // the password "k" typed, Menu saves.
    std::string script = "goto 121\n";
    for (int user = 1; user <= kUsers; ++user)
        script += TypeDigits(Id(user)) + "key ENTER\n" + TypeDigits("8" + Id(user)) + "key ENTER\n" +
                  TypeDigits(Id(user)) + "answer ok\nkey MENU\n";
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35121, 8, [&](int) { folder.LayFactoryImage(); });
    int added = 0;
    plan.check = [&](const KillRound& round) {
        ExpectCountKept(folder);
        const int users = ExpectFirstUsers(folder, "1");
        const int saved = ExpectFirstUsers(folder, "Name = '8' || userid and pwd = userid");
        EXPECT_EQ(folder.Query("select count(*) from Userinfo where Name = '' and pwd = ''"), users - saved)
            << "a row is as its ID made it or as its save left it, killed after " << round.delay.count() << " us";
        EXPECT_LE(users - saved, 1) << "only the user being typed is not saved yet";
        if (!round.killed) {
            EXPECT_EQ(saved, kUsers);
        }
        added += saved;
    };
    RunFittedKills("add user", plan);
    std::printf("add user: %d saves found after the kills\n", added);
}

TEST(UserPagesKillTest, EditedUsersAreWholeAndInTheOrderOfTheirSaves) {
    PreparedFolder prepared(kUsers, {});
    TerminalFolder& folder = prepared.folder;
    // User k loaded by his ID, the name "9k" and the password "k" typed
    // over his own, Menu saves.
    std::string script = "goto 122\n";
    for (int user = 1; user <= kUsers; ++user)
        script += TypeDigits(Id(user)) + "key ENTER\n" + TypeDigits("9" + Id(user)) + "key ENTER\n" +
                  TypeDigits(Id(user)) + "answer ok\nkey MENU\n";
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35122, 8, [&](int) { prepared.Lay(); });
    int edited = 0;
    plan.check = [&](const KillRound& round) {
        ExpectCountKept(folder);
        EXPECT_EQ(ExpectFirstUsers(folder, "1"), kUsers);
        const int saved = ExpectFirstUsers(folder, "Name = '9' || userid and pwd = userid");
        // As the transfer writer made them: name "用户k", password "0k".
        EXPECT_EQ(folder.Query("select count(*) from Userinfo where Name = '用户' || userid and pwd = '0' || userid"),
                  kUsers - saved)
            << "a row is as it was or as its save left it, killed after " << round.delay.count() << " us";
        EXPECT_EQ(folder.Query("select count(*) from FPinfo"), kUsers) << "an edit keeps the templates";
        if (!round.killed) {
            EXPECT_EQ(saved, kUsers);
        }
        edited += saved;
    };
    RunFittedKills("edit user", plan);
    std::printf("edit user: %d saves found after the kills\n", edited);
}

TEST(UserPagesKillTest, DeletedUsersGoWithTheirTemplatesAndInOrder) {
    PreparedFolder prepared(kUsers, {});
    TerminalFolder& folder = prepared.folder;
    // User k shown by his ID; F3 asks, yes deletes him.
    std::string script = "goto 123\n";
    for (int user = 1; user <= kUsers; ++user) script += TypeDigits(Id(user)) + "key ENTER\nanswer yes\nkey F3\n";
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35123, 8, [&](int) { prepared.Lay(); });
    int deleted = 0;
    plan.check = [&](const KillRound& round) {
        ExpectCountKept(folder);
        const int users = folder.Query("select count(*) from Userinfo");
        EXPECT_EQ(folder.Query("select min(cast(userid as integer)) from Userinfo"), users > 0 ? kUsers - users + 1 : 0)
            << "the users deleted are the first ones, killed after " << round.delay.count() << " us";
        EXPECT_EQ(folder.Query("select count(*) from FPinfo f left join Userinfo u on u.userid = f.userid "
                               "where u.userid is null"),
                  0)
            << "a deleted user's templates went with him";
        EXPECT_EQ(folder.Query("select count(*) from FPinfo"), users) << "the others keep theirs";
        if (!round.killed) {
            EXPECT_EQ(users, 0);
        }
        deleted += kUsers - users;
    };
    RunFittedKills("delete user", plan);
    std::printf("delete user: %d deletes found after the kills\n", deleted);
}

}  // namespace

}  // namespace user_pages_kill_test
