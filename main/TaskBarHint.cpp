#include "main/TaskBarHint.h"

namespace {

CWnd* g_controlPanelWindow = nullptr;

}  // namespace

void SetControlPanelWindow(CWnd* panel) { g_controlPanelWindow = panel; }

CWnd* GetControlPanelWindow() { return g_controlPanelWindow; }

LRESULT ApplyTaskBarHint(CBottomTaskBar& bar, const CString* text, int mode) {
    if (g_controlPanelWindow && g_controlPanelWindow->GetSafeHwnd())
        g_controlPanelWindow->SetWindowPos(nullptr, 0, 0, 320, 240 - bar.Height(),
                                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar.SetHint(text ? *text : CString(), mode);
    bar.Invalidate();
    bar.UpdateWindow();
    return 1;
}
