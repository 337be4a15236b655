// The splash screen shown while the terminal starts: a background picture
// with a marker that sweeps to and fro, drawn by its own thread until the
// main window reports ready.
#pragma once

#include <atomic>

#include "platform/base/sync.h"
#include "platform/base/threads.h"
#include "platform/ui/afxwin.h"
#include "platform/ui/image.h"

class CWelcomDlg : public CDialog {
public:
    static constexpr UINT IDD = 168;
    static constexpr UINT kCloseMessage = WM_USER + 100;

    explicit CWelcomDlg(CWnd* parent);
    ~CWelcomDlg() override;

    // False when "loading.bmp" or "loading.png" is missing from the skin root.
    bool LoadImages();
    void MakeFullScreen();
    void HideSplash() { ShowWindow(SW_HIDE); }

    // One frame of the animation with the marker at position `p` (0..19).
    void DrawFrame(HDC dc, int p) const;
    // The position of the frame the animation shows now.
    int ShownPosition() const { return m_shown.load(); }
    void SetShownPosition(int p) { m_shown = p; }

    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CxImage m_background;
    CxImage m_marker;
    std::atomic<int> m_shown{0};
};

// The hand-over between the main window and the splash thread.
extern CRITICAL_SECTION g_csSplash;
extern int g_nSplashDone;

// Marks the splash as done (the main window, at the end of its start).
void ReleaseSplash();
UINT SplashThread(LPVOID splash);
// Starts SplashThread for `splash` at the highest priority, so that the
// animation runs while the rest of the start keeps the processor busy.
CWinThread* StartSplashThread(CWelcomDlg* splash);
// The marker's x at position p.
constexpr int SplashMarkerX(int p) { return p * 8 + 87; }
// The position after p moving in direction `down` (which turns at 19 and 0).
int NextSplashPosition(int p, bool& down);

// Hides and disables the shell's task bar, hides the cursor and closes the
// input panel.
void HideShellUi();
