#include "users/UserDeleteDlg.h"

#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/ChooseEdit.h"
#include "users/UserDeletion.h"
#include "users/UserRows.h"
#include "widgets/MemoryDC.h"

namespace {

enum : int { IDC_DELETE_ID = 1031, IDC_DELETE_ID_LABEL = 1033 };

const DialogTemplate kUserDeleteTemplate{
    CUserDeleteDlg::IDD,
    WS_CHILD,
    0,
    0,
    320,
    194,
    u"",
    {
        {IDC_DELETE_ID_LABEL, u"STATIC", u"ID", 0, 86, 72, 26, 15},
        {IDC_DELETE_ID, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 112, 72, 117, 15},
    },
};
const DialogTemplateEntry kUserDeleteEntry(kUserDeleteTemplate);

}  // namespace

CUserDeleteDlg::CUserDeleteDlg() : CCPTreeBase(IDD, nullptr) {}

void CUserDeleteDlg::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_DELETE_ID_LABEL, m_idLabel);
    DDX_Control(dx, IDC_DELETE_ID, m_editId);
}

BOOL CUserDeleteDlg::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    m_editId.EnableKeyHint(false);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    m_editId.SetFocus();
    return TRUE;
}

// The label is hidden until the page's background is painted: that paint
// copies the background under it and shows it. A label still shown from
// the last visit would be covered by the background painted again there.
BOOL CUserDeleteDlg::EnterPage() {
    m_idLabel.ShowWindow(SW_HIDE);
    m_idLabel.SetNeedCapture(TRUE);
    m_editId.SetWindowText(u"");
    m_idLabel.MoveWindow(86, 72, 26, 15, FALSE);
    m_editId.MoveWindow(112, 72, 117, 15, FALSE);
    // The focus left with the page: without it here, typed digits would
    // go nowhere on a second visit.
    m_editId.SetFocus();
    return CCPTreeBase::EnterPage();
}

BOOL CUserDeleteDlg::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    {
        CMemoryDC memory(dc, client);
        m_background.Draw(memory.GetSafeHdc(), 0, 0);
    }
    m_idLabel.CaptureBackgroundEx(this, dc, 1);
    return TRUE;
}

void CUserDeleteDlg::OnPaint() { CPaintDC dc(this); }

LRESULT CUserDeleteDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        OnEditEnter(static_cast<int>(wParam));
        return 1;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

void CUserDeleteDlg::OnEditEnter(int controlId) {
    if (controlId == IDC_DELETE_ID)
        ShowChosenUser();
    else
        NextDlgCtrl();
}

// The ID as typed: "0007" is not user 7. It is bound, never written into a
// statement.
CString CUserDeleteDlg::TypedUserId() const {
    CString typed;
    m_editId.GetWindowText(typed);
    return typed;
}

void CUserDeleteDlg::ShowChosenUser() {
    const CString id = TypedUserId();
    if (id.IsEmpty()) return;
    CChooseEdit card(this, CChooseEdit::kDeleteOnly);
    card.SetUserID(id);
    if (card.DoModal() == IDCANCEL) m_editId.SetWindowText(u"");
    m_editId.SetFocus();
}

// Only an existing user is asked about and deleted: an ID that names no
// user gets the card's not-found text. A delete the database refused keeps
// the ID, to try again.
void CUserDeleteDlg::DeleteTypedUser() {
    const CString id = TypedUserId();
    if (id.IsEmpty()) return;
    bool refused = false;
    if (!UserRowExists(*g_pDatabase, id))
        ShowMessage(PageText(u"CCPTreeEditUser", u"E0007", u"ID不存在,请重新输入"), 0);
    else
        refused = AskAndDeleteUser(id) == UserDeletion::Refused;
    if (!refused) m_editId.SetWindowText(u"");
    m_editId.SetFocus();
}

// Only key messages: a typed 'r' has F3's code.
BOOL CUserDeleteDlg::PreTranslateMessage(MSG* msg) {
    if (msg->wParam != VK_F3 || !IsKeyMessage(msg->message)) return CCPTreeBase::PreTranslateMessage(msg);
    if (msg->message == WM_KEYUP) DeleteTypedUser();
    return TRUE;
}
