#include "core/QuillonApp.h"

#include <cstdio>

#include "core/AppMessageBox.h"
#include "core/AppServices.h"
#include "core/FpLibraries.h"
#include "core/Folders.h"
#include "core/LangLibraries.h"
#include "core/ProcessExit.h"
#include "platform/base/system.h"
#include "core/RegistryKey.h"
#include "core/SystemInit.h"
#include "core/SystemLocks.h"
#include "core/ThreadNotStarted.h"
#include "core/WelcomDlg.h"
#include "main/IoController.h"
#include "main/QuillonDlg.h"
#include "platform/base/clock.h"
#include "platform/base/lasterror.h"
#include "platform/base/threads.h"

const char16_t kQuillonMutexName[] =
    u"0xf73f6b66, 0xfcf9, 0x4e26, 0xa3, 0x7e, 0xe6, 0x4, 0x1a, 0x9d, 0x61, 0x96";
const char16_t kMaintenanceMarker[] = u"velto4720396158273";

void CheckMaintenanceDisk() {
    if (!DirExists(GetUSBDiskFolder() + u"\\" + kMaintenanceMarker)) return;
    ShowDesktop(0);
    Sleep(2000);
    if (CWnd* main = AfxGetMainWnd()) main->SetWindowText(u"");
    StartProgram(u"\\NandFlash\\windows\\zetawatch.exe");
    EndProcess(0);
}

void SetLaunchEntry() {
    CRegistryKey key(HKEY_LOCAL_MACHINE, u"init\\");
    if (key.IsOpen()) key.SetStringValue(u"Launch50", u"launch.exe");
}

void WaitForDisplay() {
    POINT cursor{};
    do {
        SetCursorPos(320, 240);
        GetCursorPos(&cursor);
    } while (cursor.x != 319 || cursor.y != 239);
}

BOOL CQuillonApp::InitInstance() {
    CheckMaintenanceDisk();
    SetLaunchEntry();
    SetSystemMemoryDivision(514);
    WaitForDisplay();
    m_hMutex = CreateMutexW(nullptr, FALSE, kQuillonMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fputs("quillon: the terminal is already running; this second start ends\n", stderr);
        return FALSE;
    }

    LoadFpControlDll();
    LoadFpMatchDll();
    LoadFpProcessDll();
    CheckFpProcessVersion();

    m_pSplash = new CWelcomDlg(nullptr);
    if (!m_pSplash->LoadImages()) {
        delete m_pSplash;
        m_pSplash = nullptr;
        AfxMessageBox(u"file can not be found");
        RestoreShellTaskBar();
        EndProcess(kExitStartFailed);
    }
    m_pSplash->Create(CWelcomDlg::IDD, nullptr);
    ::SetWindowPos(m_pSplash->GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
    m_pSplash->ShowWindow(SW_SHOW);
    m_pSplash->MakeFullScreen();
    if (!StartSplashThread(m_pSplash)) {
        // Nothing would ever close it: it goes now, unanimated start-up or not.
        ReportThreadNotStarted("splash thread", "start-up goes on without the splash");
        m_pSplash->PostMessage(CWelcomDlg::kCloseMessage);
    }
    SetRegistryKey(u"Local AppWizard-Generated Applications");

    // The I/O-controller thread takes these locks; they exist before it starts.
    InitSystemLocks();
    const bool controllerRunning = AfxBeginThread(IoControllerThread, this, THREAD_PRIORITY_NORMAL) != nullptr;
    if (!controllerRunning)
        ReportThreadNotStarted("I/O controller thread", "no card, key or door works without it; the terminal stops");
    // Without its configuration the terminal cannot run: the desktop
    // comes back instead of a main window over half-made services.
    if (!InitTool()) return StopStartUp();
    if (!controllerRunning) {
        // A terminal that reads no card and opens no door would only look
        // as if it worked. The box waits for the language file.
        ReleaseSplash();
        ShowThreadNotStarted(u"CQuillonApp", u"QA0001", u"I/O控制器无法启动，程序将退出！");
        return StopStartUp();
    }
    ReleaseIoControllerThread();
    LoadIconvDll();
    if (IsBidiLanguage()) LoadBidiDll();
    if (IsOrderLanguage()) LoadResourceDll();

    CQuillonDlg dialog(nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

BOOL CQuillonApp::StopStartUp() {
    ReleaseSplash();
    RestoreShellTaskBar();
    m_startFailed = true;
    return FALSE;
}

int CQuillonApp::ExitInstance() {
    if (m_hMutex) {
        CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    const int code = CWinApp::ExitInstance();
    return m_startFailed ? static_cast<int>(kExitStartFailed) : code;
}
