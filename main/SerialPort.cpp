#include "main/SerialPort.h"

#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/format.h"
#include "platform/base/handle.h"
#include "platform/dev/serial.h"

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
    m_baudRate = baudRate;
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

DWORD CSerialPort::WriteGiveUpMs(int count) const {
    // Ten bits a byte on the line: start, eight data bits, stop.
    const uint64_t lineMs = m_baudRate ? static_cast<uint64_t>(count) * 10 * 1000 / m_baudRate : 0;
    return static_cast<DWORD>(lineMs) + kWriteSlackMs;
}

int CSerialPort::Write(const BYTE* buffer, int count) {
    if (!buffer || m_handle == INVALID_HANDLE_VALUE || count < 0) return 0;
    if (m_mode == kModeRs485) EscapeCommFunction(m_handle, SETRTS);
    const DWORD giveUpMs = WriteGiveUpMs(count);
    const DWORD pauses = (giveUpMs + kWritePauseMs - 1) / kWritePauseMs;
    const DWORD start = GetTickCount();
    int sent = 0;
    for (DWORD pause = 0; sent < count; ++pause) {
        DWORD done = 0;
        WriteFile(m_handle, buffer + sent, static_cast<DWORD>(count - sent), &done, nullptr);
        sent += static_cast<int>(done);
        if (sent == count || pause == pauses || GetTickCount() - start >= giveUpMs) break;
        Sleep(kWritePauseMs);
    }
    if (m_mode == kModeRs485) EscapeCommFunction(m_handle, CLRRTS);
    return sent == count ? 1 : 0;
}
