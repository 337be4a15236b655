// The application object: everything between process start and the modal
// run of the main window.
#pragma once

#include "platform/ui/afxwin.h"

class CWelcomDlg;

class CQuillonApp : public CWinApp {
public:
    CQuillonApp() = default;

    // Always FALSE: the process ends after the main window closes.
    BOOL InitInstance() override;
    // The exit status: kExitStartFailed when start-up stopped short of
    // the main window with an error message.
    int ExitInstance() override;

    CWelcomDlg* m_pSplash = nullptr;
    HANDLE m_hMutex = nullptr;

private:
    // Start-up stops short of the main window: the desktop comes back and
    // the exit status says so. Always FALSE.
    BOOL StopStartUp();

    bool m_startFailed = false;
};

// The name of the single-instance mutex.
extern const char16_t kQuillonMutexName[];
// The marker folder on the USB disk that sends the terminal to the desktop.
extern const char16_t kMaintenanceMarker[];

void CheckMaintenanceDisk();
void SetLaunchEntry();
// Waits until the display clips the cursor to a 320 x 240 screen.
void WaitForDisplay();
