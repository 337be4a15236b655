#include "core/NetPort.h"

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"

namespace {

constexpr int kHighestPort = 65535;

}  // namespace

void KeepNetPortInRange() {
    const int port = g_MachineConfig.NETPORT;
    if (port >= 1 && port <= kHighestPort) return;
    g_MachineConfig.NETPORT = kDefaultNetPort;
    CString format;
    GetLangFormat(u"CMachineConfig", u"MCF0002", u"网络端口%d无效（应为1-65535），使用端口%d！", format);
    CString text;
    text.Format(format, port, kDefaultNetPort);
    ShowMessage(text, 0);
}
