#include "platform/ui/CDialog.h"

#include "platform/ui/CWinApp.h"
#include "platform/ui/input.h"
#include "platform/ui/window.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The owner a dialog gets: the last active pop-up of the top-level window
// of its parent (of the main window when it has none).
HWND SafeOwner(CWnd* parent) {
    HWND hwnd = HwndOf(parent);
    if (hwnd == nullptr) hwnd = HwndOf(AfxGetMainWnd());
    while (hwnd != nullptr && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = ::GetParent(hwnd);
    return hwnd != nullptr ? ::GetLastActivePopup(hwnd) : nullptr;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::CDialog(const DialogTemplate* dialog, CWnd* parent) : m_lpDialogTemplate(dialog), m_pParentWnd(parent) {}

BOOL CDialog::CreateFromTemplate(const DialogTemplate* dialog, HWND parent) {
    if (dialog == nullptr) return FALSE;
    SetCreationHook(AttachCreatedWindow, this);
    HWND hwnd = ::CreateDialogIndirectParamW(nullptr, dialog, parent, nullptr, 0);
    SetCreationHook(nullptr, nullptr);
    return hwnd != nullptr ? TRUE : FALSE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDTemplate = templateId;
    return CreateIndirect(FindDialogTemplate(templateId), parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate* dialog, CWnd* parent) {
    m_lpDialogTemplate = dialog;
    if (parent != nullptr) m_pParentWnd = parent;
    HWND owner = HwndOf(m_pParentWnd);
    if (owner == nullptr && (dialog == nullptr || (dialog->style & WS_CHILD) == 0)) owner = HwndOf(AfxGetMainWnd());
    return CreateFromTemplate(dialog, owner);
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* dialog = m_lpDialogTemplate ? m_lpDialogTemplate : FindDialogTemplate(m_nIDTemplate);
    if (dialog == nullptr) return -1;
    HWND owner = SafeOwner(m_pParentWnd);
    bool enableOwner = false;
    if (owner != nullptr && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }
    m_modal = true;
    m_nModalResult = -1;
    DialogTemplate hidden = *dialog;
    hidden.style &= ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD);
    if (CreateFromTemplate(&hidden, owner)) RunModalLoop();
    m_modal = false;
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        DestroyWindow();
    }
    return m_nModalResult;
}

INT_PTR CDialog::RunModalLoop() {
    // Shown only now, after OnInitDialog: a snapshot of the screen taken
    // there does not contain the dialog.
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    MSG msg;
    while (!::DialogEnded(m_hWnd, &m_nModalResult)) {
        // What the dialog posted to itself comes before input already
        // queued: a dialog that closes itself on a key-down is gone before
        // that key's key-up, which then reaches the window below.
        if (!::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE) && !::GetMessageW(&msg, nullptr, 0, 0)) {
            // Leave the quit for the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!CWnd::WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // A dialog that ends in answer to a key's press took the key: its
        // repeats and its release are not for the window below (a second
        // box would close on the release of the key that closed the first).
        // One that lets the press through and closes afterwards, by a
        // message it posts, leaves the release to the window below.
        const bool press = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        if (press && ::DialogEnded(m_hWnd, nullptr)) DropEndsOfTakenPress(static_cast<BYTE>(msg.wParam));
    }
    return m_nModalResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED) return CWnd::OnCommand(wParam, lParam);
    if (LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}
