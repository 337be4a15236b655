// A device folder made once for the rounds of a power-cut test and laid
// anew for each: the factory image with the transfer files of a number of
// users (their templates made from the sample finger), as the transfer
// writer prepares it ("empty": the users gone again, the import's start;
// "ring": the record ring full, as on a terminal in use).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/kill/TerminalKillSupport.h"

class PreparedFolder {
public:
    PreparedFolder(int users, const std::vector<std::string>& options) {
        folder.LayFactoryImage();
        std::string command = std::string(TRANSFER_WRITER) + " '" + folder.Host() + "' prepare " + std::to_string(users);
        for (const std::string& option : options) command += " " + option;
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::filesystem::copy(folder.Host(), m_prepared, std::filesystem::copy_options::recursive);
    }
    ~PreparedFolder() { std::filesystem::remove_all(m_prepared); }
    void Lay() const {
        std::filesystem::remove_all(folder.Host());
        std::filesystem::copy(m_prepared, folder.Host(), std::filesystem::copy_options::recursive);
    }

    TerminalFolder folder;

private:
    std::string m_prepared = folder.Host() + ".prepared";
};

// The user count, with the checks that every row is whole: the count in
// BasePara agrees, no user lacks his fields, every template belongs to a
// user whose mask has its finger.
inline int ExpectWholeRecords(const TerminalFolder& folder) {
    const int users = folder.Query("select count(*) from Userinfo");
    EXPECT_EQ(folder.Query("select UserCount from BasePara"), users);
    EXPECT_EQ(folder.Query("select count(*) from Userinfo where Name not like '用户%' or CardNo = ''"), 0)
        << "no user row without its fields";
    EXPECT_EQ(folder.Query("select count(*) from FPinfo f left join Userinfo u on u.userid = f.userid "
                           "where u.userid is null or (u.FPFlag >> f.fingerNO) & 1 = 0 or length(f.FPTemplate) != 338"),
              0)
        << "every template belongs to a user whose mask has its finger";
    return users;
}
