// The maintenance pages over a terminal whose data objects are made as
// start-up makes them, with the I/O controller simulated on COM3.
#pragma once

#include <string>
#include <vector>

#include "tests/maintenance/MaintenanceTest.h"
#include "tools/iosim/iocontroller_sim.h"

class DatabasePageTest : public MaintenanceTest {
protected:
    DatabasePageTest();
    ~DatabasePageTest() override;

    // The whole content of a host file below the device root.
    std::string FileBytes(const std::string& relative) const;
    static constexpr UINT kBackupNode = 134;
    static constexpr UINT kRestoreNode = 135;

    static const char* LiveDatabase() { return "NandFlash/zeta42/DB/KD4700.DB"; }
    // On the backup or restore page: the storage choice (0 USB disk, 1
    // flash, 2 SD card), the focus down to the button, then `then`.
    static std::vector<std::string> Choose(int place, std::vector<std::string> then);
    // The frames the controller answered, as its journal tells them
    // ("F8 01 01 F8: ..."), with the clock time of each.
    std::vector<std::pair<std::string, uint64_t>> ControllerFrames() const;

    IoControllerSim controller;

private:
    uint64_t m_journalStart = 0;
};
