#include "main/QuillonDlg.h"

#include "comm/CommThread.h"
#include "core/CardInput.h"
#include "core/DateTexts.h"
#include "core/DebugPrint.h"
#include "core/DebugWin.h"
#include "core/FpLibraries.h"
#include "core/KeyboardHook.h"
#include "core/MachineConfig.h"
#include "core/RegisteredMessages.h"
#include "core/ThreadNotStarted.h"
#include "core/WelcomDlg.h"
#include "data/DataGlobals.h"
#include "data/FPTemplateStore.h"
#include "main/AlarmChecks.h"
#include "main/GpioPin.h"
#include "main/MainWindowTimers.h"
#include "main/RestartCommand.h"
#include "main/ScreenFile.h"
#include "main/TaskBarHint.h"
#include "panel/ControlPanel.h"
#include "panel/PanelAccess.h"
#include "platform/base/debug.h"
#include "platform/base/localtime.h"
#include "platform/base/threads.h"
#include "platform/ui/windowdc.h"

namespace {

// Posted to itself: the box that says the link is not running comes once the
// main screen is up.
constexpr UINT kCommNotRunning = WM_APP + 1;

constexpr COLORREF kLightText = RGB(0xDF, 0xDF, 0xDF);
constexpr COLORREF kScreenColour = RGB(0xFF, 0xC9, 0x9C);
constexpr DWORD kLowMemoryBytes = 512 * 1024;

const DialogTemplate kMainTemplate = {CQuillonDlg::IDD, WS_POPUP, 0, 0, 320, 240, u"", {}};
const DialogTemplateEntry kMainEntry(kMainTemplate);

void DrawCentred(CDC& dc, CFont& font, const CString& text, int top, int height) {
    CFont* old = dc.SelectObject(&font);
    RECT rect = {0, top, 320, top + height};
    dc.DrawText(text, &rect, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(old);
}

void MakeFont(CFont& font, int height, int weight) {
    font.CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, u"tohamo");
}

}  // namespace

LRESULT KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return g_pfnCallNextHookEx ? g_pfnCallNextHookEx(g_hKeyboardHook, code, wParam, lParam) : 0;
}

void LoadTemplateCache() {
    if (g_pFPTemplateStore && g_pDatabase) FillTemplateStore(*g_pFPTemplateStore, *g_pDatabase);
}

CQuillonDlg::CQuillonDlg(CWnd* parent) : CDialog(IDD, parent) {
    MakeFont(m_unitFont, 22, FW_BOLD);
    MakeFont(m_clockFont, 56, FW_BOLD);
    MakeFont(m_dateFont, 20, FW_NORMAL);
}

CQuillonDlg::~CQuillonDlg() { RemoveKeyboardHook(); }

BOOL CQuillonDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SwitchWirelessModule(g_MachineConfig.RJWIFI, g_MachineConfig.COMMUNICATIONTYPE);
    g_gpioPortF0.Set();
    if (g_FpLib.VeltoInitFpAndCamera) g_FpLib.VeltoInitFpAndCamera();
    SetFpSensorExposure(g_MachineConfig.FP & 0xFF);
    SendStoredAlarmChecks();
    LoadTemplateCache();

    const CString skinDir = g_MachineConfig.SkinDir;
    m_background.Load(skinDir + u"BackGround.bmp", CXIMAGE_FORMAT_BMP);
    m_taskBar.Create(this, skinDir);
    CString unit = g_MachineConfig.UnitName;
    m_taskBar.SetHint(unit, 0);
    RefreshClock();

    SetPowerDownTarget(this);
    SetCardTarget(this);
    if (!AfxBeginThread(CommThread, this, THREAD_PRIORITY_NORMAL)) {
        // Attendance and access go on without the link; the administrator
        // must know that the management software cannot reach the terminal.
        ReportThreadNotStarted("communication thread", "the terminal works without its link; restart it");
        PostMessage(kCommNotRunning);
    }

    SetMainWindowTimers(*this);
    ReleaseSplash();
    HideShellUi();
    InstallKeyboardHook(AfxGetInstanceHandle(), KeyboardHookProc);
    DebugPrint(u"main window ready");
    return TRUE;
}

LRESULT CQuillonDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TASKBARHINT) return OnTaskBarHint(wParam, lParam);
    if (message == kCommNotRunning) {
        ShowThreadNotStarted(u"CQuillonDlg", u"FPM0011", u"通讯无法启动，本机暂时不能联网，请重新启动！");
        return 1;
    }
    if (message == WM_DEBUGWIN) {
        OpenDebugWindow(this);
        return 1;
    }
    if (message == WM_CONTROLPANEL) {
        RunControlPanel(this, static_cast<UINT>(wParam));
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CQuillonDlg::PreTranslateMessage(MSG* msg) {
    return TakeMenuKey(this, *msg) || CDialog::PreTranslateMessage(msg);
}

LRESULT CQuillonDlg::OnTaskBarHint(WPARAM wParam, LPARAM lParam) {
    return ApplyTaskBarHint(m_taskBar, reinterpret_cast<const CString*>(wParam), static_cast<int>(lParam));
}

void CQuillonDlg::OnTimer(UINT_PTR id) {
    if (id == kClockTimer) {
        RefreshClock();
        // The file must hold the minute the screen is about to show, not the
        // one it showed before: painted now rather than when the loop idles.
        UpdateWindow();
        ScreenFile::WriteWhenChanged();
    } else if (id == kMemoryTimer) {
        CheckMemoryAtNight();
    }
}

// The time and date shown change once a minute; the screen is redrawn only
// then.
void CQuillonDlg::RefreshClock() {
    const COleDateTime now = COleDateTime::GetCurrentTime();
    CString clock;
    clock.Format(u"%02d:%02d", now.GetHour(), now.GetMinute());
    const CString date = FormatDate(now);
    if (clock == m_clockText && date == m_dateText) return;
    m_clockText = clock;
    m_dateText = date;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CQuillonDlg::CheckMemoryAtNight() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    if (status.dwAvailPhys <= kLowMemoryBytes && now.wHour == 2 && now.wMinute == 22)
        SendRestartCommand();
}

BOOL CQuillonDlg::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }

void CQuillonDlg::OnPaint() {
    CPaintDC dc(this);
    DrawMainScreen(dc);
}

void CQuillonDlg::DrawMainScreen(CDC& dc) {
    RECT screen = {0, 0, 320, 240};
    if (m_background.IsValid())
        m_background.Draw(dc.GetSafeHdc(), 0, 0, 320, 240);
    else
        dc.FillSolidRect(&screen, kScreenColour);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kLightText);
    DrawCentred(dc, m_unitFont, g_MachineConfig.UnitName.Get(), 18, 30);
    DrawCentred(dc, m_clockFont, m_clockText, 70, 64);
    DrawCentred(dc, m_dateFont, m_dateText, 138, 26);
}
