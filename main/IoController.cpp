#include "main/IoController.h"

#include <atomic>

#include "core/AppServices.h"
#include "core/CardInput.h"
#include "core/DebugPrint.h"
#include "core/SystemLocks.h"
#include "data/DataLocks.h"
#include "platform/base/clock.h"
#include "platform/base/sync.h"
#include "platform/dev/serial.h"
#include "platform/ui/winuser.h"

CSerialPort g_ioControllerPort;

namespace {

constexpr int kPort = 3;
constexpr int kOpenTries = 20;
constexpr DWORD kIdlePauseMs = 20;

HANDLE SystemReadyEvent() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

std::atomic<bool> g_stopReader{false};

bool OpenControllerPort() {
    for (int attempt = 0; attempt < kOpenTries && !g_stopReader; ++attempt) {
        if (g_ioControllerPort.OpenPort(kPort, CBR_9600, 0, 8, ONESTOPBIT, CSerialPort::kModePlain)) return true;
        Sleep(1000);
    }
    return false;
}

// Asks the version; whatever else arrives meanwhile stays in the reader.
std::vector<IoFrame> AskVersion(IoFrameReader& reader) {
    CLockGuard lock(g_csIoController);
    BYTE frame[kIoFrameSize];
    MakeIoFrame(kIoVersionRequest, 0, 0, frame);
    g_ioControllerPort.Write(frame, kIoFrameSize);
    Sleep(30);
    BYTE reply[10];
    const int n = g_ioControllerPort.Read(reply, sizeof reply);
    return reader.Feed(reply, static_cast<size_t>(n));
}

BYTE RelayArgument(BYTE lockDelay) { return static_cast<BYTE>(lockDelay / 2 + 1); }

}  // namespace

void IoControllerExchange(CSerialPort* port, BYTE code, BYTE a, BYTE b) {
    BYTE frame[4];
    MakeIoFrame(code, a, b, frame);
    CLockGuard lock(g_csIoController);
    port->Write(frame, 4);
    Sleep(30);
    BYTE reply[10];
    port->Read(reply, sizeof reply);
}

void SendLockCommand(CSerialPort* port, BYTE lockDelay) {
    const BYTE x = RelayArgument(lockDelay);
    IoControllerExchange(port, kIoDoorLock, x, x);
}

void SendBellCommand(CSerialPort* port, BYTE lockDelay) {
    const BYTE x = RelayArgument(lockDelay);
    IoControllerExchange(port, kIoBell, x, x);
}

void DispatchIoFrame(const IoFrame& frame) {
    switch (frame.code) {
    case kIoDoorSensor:
        PlayFCCheckAlarm();
        break;
    case kIoTamper:
        PlayMCCheckAlarm();
        break;
    case kIoAlarmInput:
        SetLockOutput(frame.arg1 == 1 ? 2 : 1);
        break;
    case kIoCard:
        PostCardNumber(frame.card.data(), static_cast<int>(frame.card.size()));
        break;
    case kIoPowerKey:
        PostPowerDown();
        break;
    case kIoVersion:
        DebugPrint(u"I/O controller version %d.%d", frame.arg1, frame.arg2);
        break;
    case kIoKey:
        keybd_event(frame.arg1, 0, frame.arg2 ? 0 : KEYEVENTF_KEYUP, 0);
        break;
    default:
        // Acknowledgements of the terminal's own commands.
        break;
    }
}

UINT IoControllerThread(LPVOID /*application*/) {
    if (!OpenControllerPort()) {
        DebugPrint(u"I/O controller port COM%d: cannot be opened", kPort);
        return 0;
    }
    IoFrameReader reader;
    const std::vector<IoFrame> early = AskVersion(reader);
    WaitForSingleObject(SystemReadyEvent(), INFINITE);
    for (const IoFrame& frame : early) DispatchIoFrame(frame);
    while (!g_stopReader) {
        BYTE buffer[64];
        int n;
        {
            CLockGuard lock(g_csIoController);
            n = g_ioControllerPort.Read(buffer, sizeof buffer);
            for (const IoFrame& frame : reader.Feed(buffer, static_cast<size_t>(n))) DispatchIoFrame(frame);
        }
        if (n == 0) Sleep(kIdlePauseMs);
    }
    g_ioControllerPort.ClosePort();
    // Stopped: a reader started afterwards opens the port and waits for its
    // release again.
    g_stopReader = false;
    ResetEvent(SystemReadyEvent());
    return 0;
}

void ReleaseIoControllerThread() { SetEvent(SystemReadyEvent()); }

void StopIoControllerThread() {
    g_stopReader = true;
    SetEvent(SystemReadyEvent());
}
