// A pseudo-terminal pair: the simulators hold the controller side and the
// terminal opens the other side as its serial port.
#pragma once

#include <string>

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Creates the pair in raw mode; false when the host has no pty left.
    bool Open();
    // Closes the controller side: the terminal's port then reads as gone.
    void CloseController();

    int ControllerFd() const { return m_master; }
    const std::string& TerminalPath() const { return m_slavePath; }

private:
    int m_master = -1;
    // Kept open so that the line stays up while the terminal has not opened
    // its side yet and between its opens.
    int m_slaveKeeper = -1;
    std::string m_slavePath;
};
