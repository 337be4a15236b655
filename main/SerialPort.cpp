#include "main/SerialPort.h"

#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/format.h"
#include "platform/base/handle.h"
#include "platform/dev/serial.h"

namespace {

// A port that refuses this many writes in a row is taken as gone.
constexpr int kWriteAttempts = 20;

}  // namespace

int CSerialPort::OpenPort(int port, DWORD baudRate, DWORD /*unused*/, BYTE byteSize, BYTE stopBits, int mode) {
    ClosePort();
    char16_t name[16];
    swprintf(name, 16, u"COM%d:", port);
    const HANDLE handle = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(handle, &dcb);
    dcb.BaudRate = baudRate;
    dcb.ByteSize = byteSize;
    dcb.StopBits = stopBits;
    dcb.Parity = NOPARITY;
    dcb.fBinary = 1;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 10;
    timeouts.ReadTotalTimeoutConstant = kReadTimeoutMs;
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (!SetCommState(handle, &dcb) || !SetCommTimeouts(handle, &timeouts)) {
        CloseHandle(handle);
        return 0;
    }
    m_handle = handle;
    m_mode = mode;
    return 1;
}

void CSerialPort::ClosePort() {
    if (m_handle == INVALID_HANDLE_VALUE) return;
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

int CSerialPort::Read(BYTE* buffer, int count) {
    if (!buffer || m_handle == INVALID_HANDLE_VALUE || count <= 0) return 0;
    buffer[0] = 0;
    DWORD done = 0;
    if (!ReadFile(m_handle, buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<int>(done);
}

int CSerialPort::Write(const BYTE* buffer, int count) {
    if (!buffer || m_handle == INVALID_HANDLE_VALUE) return 0;
    if (m_mode == kModeRs485) EscapeCommFunction(m_handle, SETRTS);
    int sent = 0;
    int refusals = 0;
    while (sent < count && refusals < kWriteAttempts) {
        DWORD done = 0;
        const BOOL ok = WriteFile(m_handle, buffer + sent, static_cast<DWORD>(count - sent), &done, nullptr);
        sent += static_cast<int>(done);
        refusals = ok && done > 0 ? 0 : refusals + 1;
        if (sent < count) Sleep(10);
    }
    if (m_mode == kModeRs485) EscapeCommFunction(m_handle, CLRRTS);
    return sent == count ? 1 : 0;
}
