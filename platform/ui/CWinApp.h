// CWinApp: the application object, its main window and its message loop.
#pragma once

#include "platform/ui/CWnd.h"

class CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)

public:
    // The application object is a single global; constructing it makes it
    // the one AfxGetApp returns.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Runs messages until WM_QUIT; returns ExitInstance's code.
    virtual int Run();
    virtual int ExitInstance();
    // Offered every message before it is dispatched: walks from the target
    // window up to the main window (see CWnd::WalkPreTranslateTree).
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called when the queue is empty; TRUE asks for another call.
    virtual BOOL OnIdle(LONG count);
    // Retrieves, translates and dispatches one message; FALSE on WM_QUIT.
    BOOL PumpMessage();
    // Names the registry key of the application's profile; the terminal
    // keeps no profile there, so the name is only kept and journalled.
    void SetRegistryKey(LPCTSTR company);

    LPCTSTR m_pszRegistryKey = nullptr;

    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;

private:
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module resources are looked up in (the program itself until set).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// The program's entry: InitInstance, then Run when it succeeded, else
// ExitInstance. Returns the exit code.
int AfxWinMain();
