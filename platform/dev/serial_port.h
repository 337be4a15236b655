// The kernel object behind a "COMn:" handle: a host tty or pty under termios.
#pragma once

#include <mutex>
#include <string>

#include "platform/base/files.h"
#include "platform/dev/serial.h"

class SerialPort : public StreamObject {
public:
    // Opens and locks the host device; nullptr with the last error set when it
    // is missing (ERROR_FILE_NOT_FOUND) or held by another open (ERROR_ACCESS_DENIED).
    static SerialPort* Open(const std::string& hostPath);
    ~SerialPort() override;

    BOOL Read(void* buffer, DWORD size, DWORD* done) override;
    BOOL Write(const void* buffer, DWORD size, DWORD* done) override;

    BOOL GetState(DCB* dcb);
    BOOL SetState(const DCB& dcb);
    BOOL GetTimeouts(COMMTIMEOUTS* timeouts);
    BOOL SetTimeouts(const COMMTIMEOUTS& timeouts);
    BOOL Purge(DWORD flags);
    BOOL QueueStatus(COMSTAT* status);
    BOOL Escape(DWORD function);

private:
    explicit SerialPort(int fd);
    // Waits until the descriptor is ready for `events` or `timeoutMs` passes
    // (negative: no limit); false on time-out; sets m_gone when the other end
    // has disappeared.
    bool WaitReady(short events, int timeoutMs);
    BOOL Fail(DWORD error);

    int m_fd;
    std::mutex m_lock;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    bool m_gone = false;
};
