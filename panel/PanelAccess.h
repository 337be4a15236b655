// The ways into the control panel from the main window.
//
// The menu key asks who is there (CAdminVerifyDlg) unless no administrator
// is enrolled yet; an administrator gets "ControlPanel" posted to the main
// window, anyone else a refusal. The main window answers "ControlPanel"
// (wParam: a node to go to, 0 for the top menu) with RunControlPanel.
//
// Scripts reach a node with "goto NODE": the open panel goes there, or the
// main window gets "ControlPanel" for that node (no one is asked).
#pragma once

#include "platform/ui/afxwin.h"

// For the main window's PreTranslateMessage: true when `msg` is the menu
// key, which it then handles (on the key coming up).
bool TakeMenuKey(CWnd* mainWindow, const MSG& msg);
void RequestControlPanel(CWnd* mainWindow);
