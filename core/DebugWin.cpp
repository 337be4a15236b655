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
#include "platform/ui/windowdc.h"

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
constexpr RECT kListRect = {0, 1, 213, 58};

const DialogTemplate kDebugWinTemplate = {
    CDebugWin::IDD,
    WS_POPUP | WS_CAPTION,
    0,
    0,
    446,
    239,
    u"Debug WINDOW",
    {
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
    m_rows.insert(m_rows.begin(), Row{tick, text});
    if (GetSafeHwnd()) ::InvalidateRect(GetSafeHwnd(), &kListRect, TRUE);
    return 1;
}

BOOL CDebugWin::OnInitDialog() {
    CDialog::OnInitDialog();
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

void CDebugWin::OnPaint() {
    CPaintDC dc(this);
    PaintList(dc);
}

// The list: tick column 60 pixels, then the text, newest row on top.
void CDebugWin::PaintList(CDC& dc) {
    RECT area = kListRect;
    dc.FillSolidRect(&area, RGB(0xFF, 0xFF, 0xFF));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    constexpr int kRowHeight = 14;
    int y = area.top;
    for (const Row& row : m_rows) {
        if (y + kRowHeight > area.bottom) break;
        RECT tick = {area.left + 2, y, area.left + 60, y + kRowHeight};
        RECT text = {area.left + 62, y, area.right, y + kRowHeight};
        dc.DrawText(row.tick, &tick, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        dc.DrawText(row.text, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        y += kRowHeight;
    }
}
