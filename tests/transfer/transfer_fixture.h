// The control panel over a factory device root with the data objects of a
// running terminal, the I/O controller's line on a pty (to see watchdog
// frames) and no pause per record unless a test asks for one.
#pragma once

#include <string>
#include <vector>

#include "data/FPTemplateStore.h"
#include "platform/dev/pty.h"
#include "tests/page_support/panel_fixture.h"

class TransferTest : public PanelTest {
protected:
    TransferTest();
    ~TransferTest() override;

    // A Userinfo row with every column.
    struct UserRow {
        std::u16string userid, CardNo, Name, sex, pwd;
        int Deptid = 0, ACFlag = 6;
        std::u16string IconPath;
        int AdminFlag = 0;
        std::u16string Birthday;
        int GroupNO = 0, FPFlag = 0;
    };
    void PutUser(const UserRow& row);
    void PutTemplate(const std::u16string& userid, int finger, const std::vector<BYTE>& blob);
    // Columns 1-11 of the user, as texts; empty when there is no such user.
    std::vector<std::u16string> UserColumns(const std::u16string& userid);
    int Count(const char16_t* sql);

    // Host path of a device path.
    std::string Host(const CString& devicePath) const;
    std::string ReadHostFile(const CString& devicePath) const;
    void WriteHostFile(const CString& devicePath, const std::string& bytes) const;
    // What was written to the I/O controller since the last call.
    std::vector<BYTE> ControllerBytes();
    // The removable medium's folder made (present) on the device.
    void InsertMedium(int location);

    // Opens the panel at `node` and runs `lines` on the page, then leaves
    // the panel. Scripts may say "progress" (note the shown page's bar) and
    // "progress N" (set it, as a transfer in progress leaves it).
    void OnPage(UINT node, std::vector<std::string> lines);
    // The texts of the message boxes shown since the test began.
    std::vector<std::u16string> Messages() const;

    std::vector<UINT> progress;
    uint64_t journalStart = 0;

    CFPTemplateStore store;
    PtyPair pty;
};

// A template blob whose bytes follow from a seed.
std::vector<BYTE> SeededBlob(int size, int seed);
