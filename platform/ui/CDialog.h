// CDialog: modal dialogs (DoModal runs a nested message loop with the owner
// disabled) and modeless ones (Create, the control panel's pages).
#pragma once

#include "platform/ui/CWnd.h"
#include "platform/ui/dialog.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(const DialogTemplate* dialog, CWnd* parent = nullptr);

    // Makes the dialog (PreSubclassWindow, then its controls, then
    // OnInitDialog), shows it, and runs messages until EndDialog. The owner
    // is the given parent's top-level window, or the main window, through
    // its last active pop-up; it is disabled meanwhile and gets the focus
    // back afterwards. Returns the EndDialog value, or -1 when the dialog
    // could not be made or WM_QUIT arrived.
    virtual INT_PTR DoModal();
    // A modeless dialog from the template with that id.
    using CWnd::Create;
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate* dialog, CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    // Keys go through IsDialogMessage (Enter, Esc, tab and arrow moves).
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // IDOK and IDCANCEL run OnOK and OnCancel.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* control) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(HwndOf(control)), 1); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }

    UINT m_nIDTemplate = 0;
    const DialogTemplate* m_lpDialogTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;
    INT_PTR m_nModalResult = -1;

private:
    BOOL CreateFromTemplate(const DialogTemplate* dialog, HWND parent);
    INT_PTR RunModalLoop();
    bool m_modal = false;
};
