#include "core/DebugPrint.h"

#include <cstring>

#include "core/CodePageText.h"
#include "core/DebugLog.h"
#include "core/DebugWin.h"
#include "core/MachineConfig.h"
#include "main/SerialPort.h"
#include "platform/base/debug.h"
#include "platform/dev/serial.h"

namespace {

// Each line opens the port, writes the text in the device code page and
// closes it again; a port that cannot be opened skips the line.
void SendToSerialPort(const CString& text, int port, int mode) {
    CSerialPort serial;
    if (!serial.OpenPort(port, CBR_115200, 0, 8, ONESTOPBIT, mode)) return;
    char bytes[kDebugPrintRoom] = {};
    TextToMultiByte(text, bytes, kDebugPrintRoom);
    serial.Write(reinterpret_cast<const BYTE*>(bytes), static_cast<int>(strnlen(bytes, kDebugPrintRoom)));
    serial.ClosePort();
}

}  // namespace

void DebugPrintText(const CString& text) {
    if (g_MachineConfig.DEBUGMODE == 1) {
        OutputDebugStringW(text);
        OutputDebugStringW(u"\r\n");
    }
    GetLogger().LogW(u"%s", text);
    switch (g_MachineConfig.DebugChannel) {
    case 1:
        PostDebugWindowLine(text);
        break;
    case 2:
        SendToSerialPort(text, 1, CSerialPort::kModeRs485);
        break;
    case 3:
        SendToSerialPort(text, 2, CSerialPort::kModePlain);
        break;
    default:
        break;
    }
}
