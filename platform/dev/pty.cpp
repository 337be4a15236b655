#include "platform/dev/pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::~PtyPair() {
    CloseController();
}

bool PtyPair::Open() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) return false;
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        CloseController();
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        CloseController();
        return false;
    }
    m_slavePath = name;
    m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeeper >= 0) {
        termios tio{};
        ::tcgetattr(m_slaveKeeper, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    }
    return true;
}

void PtyPair::CloseController() {
    if (m_slaveKeeper >= 0) ::close(m_slaveKeeper);
    if (m_master >= 0) ::close(m_master);
    m_slaveKeeper = -1;
    m_master = -1;
}
