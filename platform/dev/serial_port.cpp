#include "platform/dev/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/base/lasterror.h"

namespace {

using Clock = std::chrono::steady_clock;

// Without write time-outs the platform would wait for ever on a stalled
// port; a port that takes no byte for this long is treated as gone.
constexpr int kWriteStallLimitMs = 1000;

struct BaudEntry {
    DWORD rate;
    speed_t speed;
};
constexpr BaudEntry kBaudRates[] = {
    {110, B110},     {300, B300},     {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},   {9600, B9600},   {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

std::optional<speed_t> SpeedOf(DWORD rate) {
    for (const BaudEntry& entry : kBaudRates) {
        if (entry.rate == rate) return entry.speed;
    }
    return std::nullopt;
}

DWORD RateOf(speed_t speed) {
    for (const BaudEntry& entry : kBaudRates) {
        if (entry.speed == speed) return entry.rate;
    }
    return CBR_9600;
}

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

SerialPort* SerialPort::Open(const std::string& hostPath) {
    int fd = ::open(hostPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : ErrorFromErrno(errno));
        return nullptr;
    }
    // A serial port has one owner at a time, also across processes.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Raw bytes both ways: no echo, no line editing, no character mapping.
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
    return new SerialPort(fd);
}

SerialPort::SerialPort(int fd) : m_fd(fd) {
    termios tio{};
    ::tcgetattr(fd, &tio);
    m_dcb.DCBlength = sizeof(DCB);
    m_dcb.BaudRate = RateOf(::cfgetospeed(&tio));
    m_dcb.fBinary = 1;
    m_dcb.ByteSize = 8;
    m_dcb.Parity = NOPARITY;
    m_dcb.StopBits = ONESTOPBIT;
    m_dcb.fDtrControl = DTR_CONTROL_ENABLE;
    m_dcb.fRtsControl = RTS_CONTROL_ENABLE;
}

SerialPort::~SerialPort() {
    ::close(m_fd);
}

BOOL SerialPort::Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool SerialPort::WaitReady(short events, int timeoutMs) {
    pollfd pfd{m_fd, events, 0};
    int rc;
    do {
        rc = ::poll(&pfd, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (rc <= 0) return false;
    if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) {
        // Bytes already received can still be read after a hang-up.
        if ((events & POLLIN) && (pfd.revents & POLLIN)) return true;
        m_gone = true;
        return false;
    }
    return true;
}

BOOL SerialPort::Read(void* buffer, DWORD size, DWORD* done) {
    if (done) *done = 0;
    COMMTIMEOUTS t;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        t = m_timeouts;
    }
    if (size == 0) return TRUE;
    auto* bytes = static_cast<BYTE*>(buffer);

    // MAXDWORD as interval: return with what has arrived, waiting at most the
    // total time (none at all when both total values are 0) for the first byte.
    const bool returnOnFirstBytes = t.ReadIntervalTimeout == MAXDWORD;
    const DWORD multiplier = t.ReadTotalTimeoutMultiplier == MAXDWORD ? 0 : t.ReadTotalTimeoutMultiplier;
    const bool hasTotal = multiplier != 0 || t.ReadTotalTimeoutConstant != 0 || returnOnFirstBytes;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<uint64_t>(multiplier) * size + t.ReadTotalTimeoutConstant);
    const bool hasInterval = t.ReadIntervalTimeout != 0 && !returnOnFirstBytes;

    DWORD got = 0;
    auto lastByte = Clock::now();
    while (got < size) {
        int wait = -1;
        if (hasTotal) wait = MsLeft(deadline);
        if (hasInterval && got > 0) {
            int interval = MsLeft(lastByte + std::chrono::milliseconds(t.ReadIntervalTimeout));
            wait = wait < 0 ? interval : std::min(wait, interval);
        }
        if (!WaitReady(POLLIN, wait)) break;
        ssize_t n = ::read(m_fd, bytes + got, size - got);
        if (n > 0) {
            got += static_cast<DWORD>(n);
            lastByte = Clock::now();
            if (returnOnFirstBytes) break;
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            m_gone = true;
            break;
        }
    }
    if (done) *done = got;
    if (got == 0 && m_gone) return Fail(ERROR_IO_DEVICE);
    return TRUE;
}

BOOL SerialPort::Write(const void* buffer, DWORD size, DWORD* done) {
    if (done) *done = 0;
    COMMTIMEOUTS t;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        t = m_timeouts;
    }
    if (m_gone) return Fail(ERROR_IO_DEVICE);
    const bool hasTotal = t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<uint64_t>(t.WriteTotalTimeoutMultiplier) * size +
                                                                   t.WriteTotalTimeoutConstant);
    const auto* bytes = static_cast<const BYTE*>(buffer);
    DWORD sent = 0;
    while (sent < size) {
        int wait = hasTotal ? MsLeft(deadline) : kWriteStallLimitMs;
        if (!WaitReady(POLLOUT, wait)) {
            if (m_gone) break;
            if (hasTotal) {
                if (done) *done = sent;
                return TRUE;
            }
            if (done) *done = sent;
            return Fail(ERROR_TIMEOUT);
        }
        ssize_t n = ::write(m_fd, bytes + sent, size - sent);
        if (n > 0) {
            sent += static_cast<DWORD>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_gone = true;
            break;
        }
    }
    if (done) *done = sent;
    if (m_gone) return Fail(ERROR_IO_DEVICE);
    return TRUE;
}

BOOL SerialPort::GetState(DCB* dcb) {
    if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> lock(m_lock);
    *dcb = m_dcb;
    return TRUE;
}

BOOL SerialPort::SetState(const DCB& dcb) {
    std::optional<speed_t> speed = SpeedOf(dcb.BaudRate);
    if (!speed || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    std::lock_guard<std::mutex> lock(m_lock);
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return Fail(ERROR_IO_DEVICE);
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= kSizes[dcb.ByteSize - 5];
    switch (dcb.Parity) {
        case ODDPARITY: tio.c_cflag |= PARENB | PARODD; break;
        case EVENPARITY: tio.c_cflag |= PARENB; break;
        case MARKPARITY: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
        case SPACEPARITY: tio.c_cflag |= PARENB | CMSPAR; break;
        default: break;
    }
    if (dcb.StopBits != ONESTOPBIT) tio.c_cflag |= CSTOPB;
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF);
    if (dcb.fOutX) tio.c_iflag |= IXON;
    if (dcb.fInX) tio.c_iflag |= IXOFF;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) return Fail(ERROR_INVALID_PARAMETER);
    m_dcb = dcb;
    m_dcb.DCBlength = sizeof(DCB);
    return TRUE;
}

BOOL SerialPort::GetTimeouts(COMMTIMEOUTS* timeouts) {
    if (!timeouts) return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> lock(m_lock);
    *timeouts = m_timeouts;
    return TRUE;
}

BOOL SerialPort::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_timeouts = timeouts;
    return TRUE;
}

BOOL SerialPort::Purge(DWORD flags) {
    int queue = -1;
    const bool rx = flags & (PURGE_RXABORT | PURGE_RXCLEAR);
    const bool tx = flags & (PURGE_TXABORT | PURGE_TXCLEAR);
    if (rx && tx) queue = TCIOFLUSH;
    else if (rx) queue = TCIFLUSH;
    else if (tx) queue = TCOFLUSH;
    if (queue >= 0) ::tcflush(m_fd, queue);
    return TRUE;
}

BOOL SerialPort::QueueStatus(COMSTAT* status) {
    if (!status) return TRUE;
    *status = COMSTAT{};
    int in = 0;
    int out = 0;
    if (::ioctl(m_fd, FIONREAD, &in) == 0 && in > 0) status->cbInQue = static_cast<DWORD>(in);
    if (::ioctl(m_fd, TIOCOUTQ, &out) == 0 && out > 0) status->cbOutQue = static_cast<DWORD>(out);
    return TRUE;
}

BOOL SerialPort::Escape(DWORD function) {
    int line = 0;
    bool set = false;
    switch (function) {
        case SETRTS: line = TIOCM_RTS; set = true; break;
        case CLRRTS: line = TIOCM_RTS; break;
        case SETDTR: line = TIOCM_DTR; set = true; break;
        case CLRDTR: line = TIOCM_DTR; break;
        case SETBREAK: ::ioctl(m_fd, TIOCSBRK); return TRUE;
        case CLRBREAK: ::ioctl(m_fd, TIOCCBRK); return TRUE;
        case SETXOFF: ::tcflow(m_fd, TCIOFF); return TRUE;
        case SETXON: ::tcflow(m_fd, TCION); return TRUE;
        default: return Fail(ERROR_INVALID_PARAMETER);
    }
    // A pty has no modem lines; the request is accepted all the same.
    ::ioctl(m_fd, set ? TIOCMBIS : TIOCMBIC, &line);
    return TRUE;
}
