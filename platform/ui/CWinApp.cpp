#include "platform/ui/CWinApp.h"

#include <string>

#include "platform/base/debug.h"
#include "platform/base/system.h"

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(LPCTSTR appName) : m_pszAppName(appName) { g_app = this; }

void CWinApp::SetRegistryKey(LPCTSTR company) {
    m_pszRegistryKey = company;
    JournalWrite(kJournalSystem, std::u16string(u"SetRegistryKey ") + (company ? company : u""));
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return m_exitCode; }

BOOL CWinApp::PreTranslateMessage(MSG* msg) { return CWnd::WalkPreTranslateTree(HwndOf(m_pMainWnd), msg); }

BOOL CWinApp::OnIdle(LONG) { return FALSE; }

BOOL CWinApp::PumpMessage() {
    MSG msg;
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        m_exitCode = static_cast<int>(msg.wParam);
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int CWinApp::Run() {
    for (;;) {
        MSG peek;
        LONG idleCount = 0;
        while (!::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        if (!PumpMessage()) return ExitInstance();
    }
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return g_app != nullptr ? g_app->m_hInstance : nullptr; }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

namespace {
HINSTANCE g_resourceHandle = nullptr;
}

HINSTANCE AfxGetResourceHandle() { return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resources) { g_resourceHandle = resources; }
