// What the main window does with WM_TASKBARHINT (widgets/WidgetRules.h):
// the hint of the page or field in use on the bottom task bar, with one
// level of history, and the open control panel kept clear of the bar.
#pragma once

#include "main/BottomTaskBar.h"

// The control panel's window while it is open, null once it has closed.
void SetControlPanelWindow(CWnd* panel);
CWnd* GetControlPanelWindow();

// The open control panel becomes 320 x (240 - the bar's height) where it
// stands; then mode -1 brings the previous hint back and any other mode
// shows `text` (null: an empty text); the bar is repainted at once.
// Returns 1.
LRESULT ApplyTaskBarHint(CBottomTaskBar& bar, const CString* text, int mode);
