#include "core/WelcomDlg.h"

#include "core/AppDir.h"
#include "core/InstallCheck.h"
#include "platform/base/clock.h"
#include "platform/ui/taskbar.h"

CRITICAL_SECTION g_csSplash;
int g_nSplashDone = -1;

namespace {

const DialogTemplate kWelcomTemplate = {CWelcomDlg::IDD, WS_POPUP, 0, 0, 320, 240, u"", {}};
const DialogTemplateEntry kWelcomEntry(kWelcomTemplate);

constexpr DWORD kFrameMs = 100;

}  // namespace

CWelcomDlg::CWelcomDlg(CWnd* parent) : CDialog(IDD, parent) {
    InitializeCriticalSection(&g_csSplash);
    g_nSplashDone = -1;
}

CWelcomDlg::~CWelcomDlg() {
    m_background.Destroy();
    m_marker.Destroy();
}

bool CWelcomDlg::LoadImages() {
    CString skin;
    GetAppDir(skin);
    skin += u"SKIN\\";
    if (!FileExistsReport(skin + u"loading.bmp")) return false;
    if (!FileExistsReport(skin + u"loading.png")) return false;
    m_background.Load(skin + u"loading.bmp", CXIMAGE_FORMAT_BMP);
    m_marker.Load(skin + u"loading.png", CXIMAGE_FORMAT_PNG);
    return true;
}

void HideShellUi() {
    if (const HWND taskBar = FindWindowW(u"HHTaskBar", nullptr)) {
        EnableWindow(taskBar, FALSE);
        ShowWindow(taskBar, SW_HIDE);
    }
    ShowCursor(FALSE);
    SipShowIM(SIPF_OFF);
}

void CWelcomDlg::MakeFullScreen() {
    if (const HWND taskBar = FindWindowW(u"HHTaskBar", nullptr)) ::ShowWindow(taskBar, SW_HIDE);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    HideShellUi();
}

void CWelcomDlg::DrawFrame(HDC dc, int p) const {
    m_background.Draw(dc, 0, 0);
    m_marker.Draw(dc, SplashMarkerX(p), 201);
}

BOOL CWelcomDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}

// The window itself shows the frame the animation is at: before the
// animation's first frame, and at once where a box over it closes, rather
// than black until the thread's next frame.
BOOL CWelcomDlg::OnEraseBkgnd(CDC* dc) {
    DrawFrame(dc->GetSafeHdc(), ShownPosition());
    return TRUE;
}

LRESULT CWelcomDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCloseMessage) {
        DestroyWindow();
        Sleep(200);
        delete this;
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void ReleaseSplash() {
    EnterCriticalSection(&g_csSplash);
    g_nSplashDone = 1;
    LeaveCriticalSection(&g_csSplash);
}

int NextSplashPosition(int p, bool& down) {
    if (p >= 19)
        down = true;
    else if (p < 1)
        down = false;
    return down ? p - 1 : p + 1;
}

CWinThread* StartSplashThread(CWelcomDlg* splash) {
    return AfxBeginThread(SplashThread, splash, THREAD_PRIORITY_HIGHEST);
}

UINT SplashThread(LPVOID parameter) {
    auto* splash = static_cast<CWelcomDlg*>(parameter);
    const HWND window = splash->GetSafeHwnd();
    int p = 0;
    bool down = false;
    for (;;) {
        const HDC windowDc = GetDC(window);
        const HDC memory = CreateCompatibleDC(windowDc);
        const HBITMAP bitmap = CreateCompatibleBitmap(windowDc, 320, 240);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        int shown = p;
        p = NextSplashPosition(p, down);
        splash->SetShownPosition(shown);
        // The turn is decided before drawing, so the frame shows the
        // position the counter had.
        splash->DrawFrame(memory, shown);
        BitBlt(windowDc, 0, 0, 320, 240, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
        EnterCriticalSection(&g_csSplash);
        const int done = g_nSplashDone;
        LeaveCriticalSection(&g_csSplash);
        ReleaseDC(window, windowDc);
        if (done > 0) break;
        Sleep(kFrameMs);
    }
    DeleteCriticalSection(&g_csSplash);
    Sleep(200);
    PostMessageW(window, CWelcomDlg::kCloseMessage, 0, 0);
    return 1;
}
