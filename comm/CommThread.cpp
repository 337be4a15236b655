#include "comm/CommThread.h"

#include <atomic>
#include <memory>

#include "comm/CommLink.h"
#include "comm/LinkRestart.h"
#include "comm/TcpServerLink.h"
#include "core/DebugPrint.h"
#include "core/MachineConfig.h"
#include "platform/base/clock.h"

namespace {

constexpr int kTcpServer = 2;
constexpr DWORD kRebuildPauseMs = 4000;

std::atomic<bool> g_stopComm{false};

std::unique_ptr<CCommLink> BuildLink() {
    if (g_MachineConfig.COMMUNICATIONTYPE == kTcpServer)
        return std::make_unique<CTcpServerLink>(g_MachineConfig.NETPORT);
    return nullptr;
}

void RunLink(CCommLink& link) {
    {
        std::lock_guard<std::recursive_mutex> guard(LinkLock());
        g_pLink = &link;
    }
    BYTE buffer[1024];
    while (!link.m_stop && !g_stopComm) {
        link.Read(buffer, sizeof buffer);
        link.SendPending();
    }
    std::lock_guard<std::recursive_mutex> guard(LinkLock());
    g_pLink = nullptr;
}

}  // namespace

UINT CommThread(LPVOID /*mainWindow*/) {
    while (!g_stopComm) {
        std::unique_ptr<CCommLink> link = BuildLink();
        if (!link) {
            DebugPrint(u"Communication type %d has no link in this build", g_MachineConfig.COMMUNICATIONTYPE);
            return 0;
        }
        if (link->Open()) {
            RunLink(*link);
            link->Close();
        }
        if (!g_stopComm) Sleep(kRebuildPauseMs);
    }
    return 0;
}

void StopCommThread() {
    g_stopComm = true;
    RequestLinkRestart(nullptr);
}
