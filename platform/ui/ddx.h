// Dialog data exchange: binding controls to objects and moving values
// between controls and members (UpdateData / DoDataExchange).
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/winuser.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control with that id in the dialog (nullptr when there is none).
    HWND PrepareCtrl(int id) const;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds `control` to the dialog's control `id` the first time (subclassing
// it, so its PreSubclassWindow runs then); later calls change nothing.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
// The check state of a check box.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked button in the radio group that starts at `id`
// (-1 when none is checked).
void DDX_Radio(CDataExchange* dx, int id, int& value);
