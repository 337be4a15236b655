// A serial port of the terminal ("COMn:"), opened with its line settings and
// read and written whole frames at a time. The destructor does not close the
// port: its owner closes it.
#pragma once

#include "platform/base/types.h"

class CSerialPort {
public:
    static constexpr int kModePlain = 0;
    static constexpr int kModeRs485 = 1;  // the direction line is raised while writing

    CSerialPort() = default;
    ~CSerialPort() = default;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // 1 when "COM<port>:" opened with the settings. `unused` is not read.
    // A read waits at most `kReadTimeoutMs` for its first byte.
    int OpenPort(int port, DWORD baudRate, DWORD unused, BYTE byteSize, BYTE stopBits, int mode);
    void ClosePort();
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    // Bytes read (0 when none came or on failure); buffer[0] is 0 first.
    int Read(BYTE* buffer, int count);
    // 1 when the whole buffer went out, repeating after a partial or refused
    // write with a 10 ms pause. Callers hold the I/O controller's lock while
    // they write, so a port that keeps refusing is given up (0) once
    // WriteGiveUpMs(count) have passed on the terminal's clock, or once that
    // many 10 ms pauses have been made when the clock stands still.
    int Write(const BYTE* buffer, int count);
    // The time a write of `count` bytes may take: the time the bytes need on
    // the line plus kWriteSlackMs.
    DWORD WriteGiveUpMs(int count) const;

    static constexpr DWORD kReadTimeoutMs = 50;
    static constexpr DWORD kWriteSlackMs = 1000;
    static constexpr DWORD kWritePauseMs = 10;

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    int m_mode = kModePlain;
    DWORD m_baudRate = 0;
};
