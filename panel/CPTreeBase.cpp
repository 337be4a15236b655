#include "panel/CPTreeBase.h"

#include "widgets/WidgetRules.h"

IMPLEMENT_DYNAMIC(CCPTreeBase, CDialog)

int g_nControlPanelState = 0;

namespace {

bool IsKeyUp(UINT message) { return message == WM_KEYUP || message == WM_SYSKEYUP; }

}  // namespace

CCPTreeBase::CCPTreeBase(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

BOOL CCPTreeBase::Create(CWnd* parent) {
    const DialogTemplate* found = FindDialogTemplate(m_nIDTemplate);
    if (found == nullptr) return FALSE;
    m_childTemplate = *found;
    m_childTemplate.style = (m_childTemplate.style & ~(WS_POPUP | WS_VISIBLE)) | WS_CHILD;
    return CreateIndirect(&m_childTemplate, parent);
}

BOOL CCPTreeBase::EnterPage() {
    g_nControlPanelState = ControlPanelShowsPage;
    m_bHidden = 0;
    ShowWindow(SW_SHOW);
    m_bRedraw = 0;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

BOOL CCPTreeBase::LeavePage() {
    if (m_bLocked) return FALSE;
    g_nControlPanelState = ControlPanelShowsMenu;
    m_bHidden = 1;
    ShowWindow(SW_HIDE);
    if (CWnd* panel = GetParent()) panel->SendMessage(WM_PAGELEAVE, reinterpret_cast<WPARAM>(this), 0);
    SendTaskBarHint(CString(), 1);
    return TRUE;
}

// Only key messages are filters: a character message carries a character
// code, and '(' or '&' typed into a field must not move the focus.
BOOL CCPTreeBase::PreTranslateMessage(MSG* msg) {
    if (!IsKeyMessage(msg->message)) return CDialog::PreTranslateMessage(msg);
    switch (msg->wParam) {
        case VK_F12:
            return TRUE;
        case VK_ESCAPE:
            if (IsKeyUp(msg->message)) LeavePage();
            return TRUE;
        case VK_DOWN:
            if (msg->message == WM_KEYUP) NextDlgCtrl();
            return TRUE;
        case VK_UP:
            if (msg->message == WM_KEYUP) PrevDlgCtrl();
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(msg);
    }
}
