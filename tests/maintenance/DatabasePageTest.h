// The maintenance pages over a terminal whose data objects are made as
// start-up makes them, with the I/O controller simulated on COM3.
#pragma once

#include <string>

#include "tests/maintenance/MaintenanceTest.h"
#include "tools/iosim/iocontroller_sim.h"

class DatabasePageTest : public MaintenanceTest {
protected:
    DatabasePageTest();
    ~DatabasePageTest() override;

    // The whole content of a host file below the device root.
    std::string FileBytes(const std::string& relative) const;
    static const char* LiveDatabase() { return "NandFlash/zeta42/DB/KD4700.DB"; }
    // The frames the controller answered, as its journal tells them
    // ("F8 01 01 F8: ..."), with the clock time of each.
    std::vector<std::pair<std::string, uint64_t>> ControllerFrames() const;

    IoControllerSim controller;

private:
    uint64_t m_journalStart = 0;
};
