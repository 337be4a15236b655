// The main window of the terminal: the main screen with the unit name, the
// clock and the date, and the bottom task bar. It brings up the sensor and
// the template store, starts the communication thread, releases the splash
// and installs the keyboard hook.
#pragma once

#include "main/BottomTaskBar.h"
#include "platform/ui/afxwin.h"
#include "platform/ui/image.h"

class CQuillonDlg : public CDialog {
public:
    static constexpr UINT IDD = 102;

    explicit CQuillonDlg(CWnd* parent);
    ~CQuillonDlg() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnTimer(UINT_PTR id) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnOK() override {}
    void OnCancel() override {}

    // The clock text shown, as drawn last.
    const CString& ClockText() const { return m_clockText; }
    CBottomTaskBar& TaskBar() { return m_taskBar; }

private:
    LRESULT OnTaskBarHint(WPARAM wParam, LPARAM lParam);
    void RefreshClock();
    void CheckMemoryAtNight();
    void DrawMainScreen(CDC& dc);

    CxImage m_background;
    CFont m_unitFont;
    CFont m_clockFont;
    CFont m_dateFont;
    CBottomTaskBar m_taskBar;
    CString m_clockText;
    CString m_dateText;
};

// Passes every key on to the next hook.
LRESULT KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
// Empties the template store and fills it from the database.
void LoadTemplateCache();
