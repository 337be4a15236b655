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
