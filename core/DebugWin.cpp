#include "core/DebugWin.h"

#include <atomic>

#include "core/CardInput.h"
#include "core/DebugPrint.h"
#include "core/MachineConfig.h"
#include "core/ProcessExit.h"
#include "core/RegisteredMessages.h"
#include "panel/McuCommands.h"
#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/localtime.h"
#include "platform/base/threads.h"
#include "platform/ui/ddx.h"

namespace {

enum : int {
    kNoFpProcess = 1315,
    kFpSave = 1316,
    kChannelLog = 1317,
    kChannelWindow = 1318,
    kChannelCom1 = 1319,
    kChannelCom2 = 1322,
    kMemoryLeak = 1028,
    kTestReset = 1321,
    kTestCard = 1027,
};

constexpr UINT kPostedLineMessage = WM_USER + 2398;

const DialogTemplate kDebugWinTemplate = {
    CDebugWin::IDD,
    WS_POPUP | WS_CAPTION,
    0,
    0,
    446,
    239,
    u"Debug WINDOW",
    {
        {CDebugWin::kListId, WC_LISTVIEW, u"", LVS_REPORT, 0, 1, 213, 57},
        {kNoFpProcess, WC_BUTTON, u"NO FP Process", BS_AUTOCHECKBOX | WS_TABSTOP, 3, 61, 63, 10},
        {kFpSave, WC_BUTTON, u"FP Save", BS_AUTOCHECKBOX | WS_TABSTOP, 3, 80, 42, 10},
        {kChannelLog, WC_BUTTON, u"log", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 74, 66, 25, 10},
        {kChannelWindow, WC_BUTTON, u"debugwin", BS_AUTORADIOBUTTON, 107, 62, 47, 10},
        {kChannelCom1, WC_BUTTON, u"COM1(rm5600 GPRS or COM) (zeta42 485)", BS_AUTORADIOBUTTON, 52, 80, 113, 18},
        {kChannelCom2, WC_BUTTON, u"COM2((rm5600 485) (zeta42 com))", BS_AUTORADIOBUTTON, 153, 61, 87, 18},
        {kMemoryLeak, WC_BUTTON, u"Memory leak", BS_PUSHBUTTON | WS_TABSTOP, 0, 104, 44, 14},
        {kTestReset, WC_BUTTON, u"test reset", BS_PUSHBUTTON | WS_TABSTOP, 58, 104, 41, 14},
        {kTestCard, WC_BUTTON, u"Test Card", BS_PUSHBUTTON | WS_TABSTOP, 109, 106, 44, 14},
        {IDCANCEL, WC_BUTTON, u"CLOSE", BS_PUSHBUTTON | WS_TABSTOP, 167, 106, 41, 14},
    },
};
const DialogTemplateEntry kDebugWinEntry(kDebugWinTemplate);

std::atomic<CDebugWin*> g_debugWindow{nullptr};
CDebugWin* g_openedDebugWindow = nullptr;

}  // namespace

void SetDebugWindow(CDebugWin* window) { g_debugWindow = window; }
CDebugWin* GetDebugWindow() { return g_debugWindow.load(); }

void PostDebugWindowLine(const CString& text) {
    CDebugWin* window = GetDebugWindow();
    if (!window) return;
    const HWND hwnd = window->GetSafeHwnd();
    if (window->OwnerThread() == GetCurrentThreadId()) {
        window->AddLine(text);
        return;
    }
    auto* copy = new CString(text);
    if (!PostMessageW(hwnd, kPostedLineMessage, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

CDebugWin* OpenDebugWindow(CWnd* parent) {
    if (g_openedDebugWindow) {
        SetDebugWindow(nullptr);
        if (g_openedDebugWindow->GetSafeHwnd()) g_openedDebugWindow->DestroyWindow();
        delete g_openedDebugWindow;
    }
    g_openedDebugWindow = new CDebugWin;
    g_openedDebugWindow->Create(CDebugWin::IDD, parent);
    g_openedDebugWindow->SetWindowPos(nullptr, 0, 0, 315, 230, SWP_NOZORDER);
    g_openedDebugWindow->ShowWindow(SW_SHOW);
    SetDebugWindow(g_openedDebugWindow);
    return g_openedDebugWindow;
}

CString GetMemoryStatusText() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (now.wYear < 1900) now = SYSTEMTIME{};
    CString text;
    text.Format(u"%02d-%02d\t%02d:%02d:%02d\tMemory Load:%ld, TotalPhys:%ld, AvailPhys:%ld, TotalVirtual:%ld, "
                u"AvailVirtual:%ld \r\n",
                now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, status.dwMemoryLoad, status.dwTotalPhys,
                status.dwAvailPhys, status.dwTotalVirtual, status.dwAvailVirtual);
    return text;
}

int CDebugWin::AddLine(const CString& text) {
    if (text.IsEmpty()) return 0;
    CString tick;
    tick.Format(u"%u", GetTickCount());
    m_list.InsertItem(0, tick);
    m_list.SetItemText(0, 1, text);
    return 1;
}

std::vector<CDebugWin::Row> CDebugWin::Rows() const {
    std::vector<Row> rows;
    for (int i = 0; i < m_list.GetItemCount(); ++i) rows.push_back(Row{m_list.GetItemText(i, 0), m_list.GetItemText(i, 1)});
    return rows;
}

void CDebugWin::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kListId, m_list);
}

BOOL CDebugWin::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.InsertColumn(0, u"序号", LVCFMT_LEFT, 60);
    m_list.InsertColumn(1, u"信息", LVCFMT_LEFT, 460);
    m_threadId = GetCurrentThreadId();
    CheckDlgButton(kNoFpProcess, g_MachineConfig.DebugSensorCapture ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(kFpSave, g_MachineConfig.DebugSaveImages ? BST_CHECKED : BST_UNCHECKED);
    m_channel = g_MachineConfig.DebugChannel;
    static constexpr int kChannels[] = {kChannelLog, kChannelWindow, kChannelCom1, kChannelCom2};
    if (m_channel >= 0 && m_channel <= 3) CheckRadioButton(kChannelLog, kChannelCom2, kChannels[m_channel]);
    return TRUE;
}

LRESULT CDebugWin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CARDNO) {
        AddLine(g_strLastCardNo.Get());
        RestoreCardTarget();
        return 1;
    }
    if (message == kAddTextMessage) {
        if (wParam) AddLine(CString(reinterpret_cast<const char16_t*>(wParam)));
        return 1;
    }
    if (message == kPostedLineMessage) {
        auto* text = reinterpret_cast<CString*>(lParam);
        AddLine(*text);
        delete text;
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CDebugWin::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kTestCard:
        SetCardTarget(this);
        return TRUE;
    case kMemoryLeak:
        SetTimer(1, 10000);
        return TRUE;
    case kNoFpProcess:
        g_MachineConfig.DebugSensorCapture = IsDlgButtonChecked(kNoFpProcess) ? 0 : 1;
        return TRUE;
    case kFpSave:
        g_MachineConfig.DebugSaveImages = IsDlgButtonChecked(kFpSave) ? 1 : 0;
        return TRUE;
    case kChannelLog:
    case kChannelWindow:
    case kChannelCom1:
    case kChannelCom2: {
        const int id = LOWORD(wParam);
        m_channel = id == kChannelLog ? 0 : id == kChannelWindow ? 1 : id == kChannelCom1 ? 2 : 3;
        g_MachineConfig.DebugChannel = m_channel;
        return TRUE;
    }
    case kTestReset:
        SendMcuCommandOn();
        Sleep(100);
        EndProcess(0);
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CDebugWin::OnTimer(UINT_PTR /*id*/) {
    OutputDebugStringW(u"\r\n////////////////////////////////////////////////////////////////////////////////////////////\r\n");
    DebugPrint(u"%s", GetMemoryStatusText());
}

void CDebugWin::OnCancel() {
    SetDebugWindow(nullptr);
    DestroyWindow();
}
