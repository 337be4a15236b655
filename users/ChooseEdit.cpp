#include "users/ChooseEdit.h"

#include "core/ShowMessage.h"
#include "core/UserPhoto.h"
#include "data/DataGlobals.h"
#include "data/UserStorage.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/UserRows.h"

namespace {

enum : int {
    IDC_CHOOSE_ID_CAPTION = 1345,
    IDC_CHOOSE_NAME_CAPTION = 1346,
    IDC_CHOOSE_DEPT_CAPTION = 1347,
    IDC_CHOOSE_ADMIN_CAPTION = 1348,
    IDC_CHOOSE_ID = 1349,
    IDC_CHOOSE_NAME = 1350,
    IDC_CHOOSE_DEPT = 1351,
    IDC_CHOOSE_ADMIN = 1352,
    IDC_CHOOSE_EDIT_HINT = 1353,
    IDC_CHOOSE_DELETE_HINT = 1354,
    IDC_CHOOSE_FINGER_CAPTION = 1357,
};

constexpr int kRow = 16;

// The card lies in the middle of the screen; it takes the size of its
// background picture when it is made.
const DialogTemplate kChooseTemplate{
    CChooseEdit::IDD,
    WS_POPUP,
    55,
    39,
    210,
    162,
    u"",
    {
        {IDC_CHOOSE_ID_CAPTION, u"STATIC", u"", 0, 8, 10, 40, kRow},
        {IDC_CHOOSE_ID, u"STATIC", u"", 0, 50, 10, 70, kRow},
        {IDC_CHOOSE_NAME_CAPTION, u"STATIC", u"", 0, 8, 30, 40, kRow},
        {IDC_CHOOSE_NAME, u"STATIC", u"", 0, 50, 30, 70, kRow},
        {IDC_CHOOSE_DEPT_CAPTION, u"STATIC", u"", 0, 8, 50, 40, kRow},
        {IDC_CHOOSE_DEPT, u"STATIC", u"", 0, 50, 50, 70, kRow},
        {IDC_CHOOSE_ADMIN_CAPTION, u"STATIC", u"", 0, 8, 70, 40, kRow},
        {IDC_CHOOSE_ADMIN, u"STATIC", u"", 0, 50, 70, 70, kRow},
        {IDC_CHOOSE_FINGER_CAPTION, u"STATIC", u"", 0, 138, 83, 60, kRow},
        {IDC_CHOOSE_EDIT_HINT, u"STATIC", u"", WS_TABSTOP, 23, 125, 70, 30},
        {IDC_CHOOSE_DELETE_HINT, u"STATIC", u"", WS_TABSTOP, 117, 125, 70, 30},
    },
};
const DialogTemplateEntry kChooseEntry(kChooseTemplate);

const CRect kPhotoRect(124, 8, 194, 69);
const CPoint kFingerIconAt(118, 83);

bool IsKeyUp(UINT message) { return message == WM_KEYUP || message == WM_SYSKEYUP; }

}  // namespace

CChooseEdit::CChooseEdit(CWnd* parent, int mode)
    : CDialog(IDD, parent),
      m_background(SkinPath(u"Dialog\\SearchInfo.png"), CXIMAGE_FORMAT_PNG),
      m_fingerIcon(SkinPath(u"Dialog\\CE_finger.png"), CXIMAGE_FORMAT_PNG),
      m_mode(mode) {}

void CChooseEdit::PreSubclassWindow() {
    SetWindowPos(nullptr, 0, 0, static_cast<int>(m_background.GetWidth()), static_cast<int>(m_background.GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER);
    CDialog::PreSubclassWindow();
}

void CChooseEdit::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CHOOSE_ID, m_idValue);
    DDX_Control(dx, IDC_CHOOSE_NAME, m_nameValue);
    DDX_Control(dx, IDC_CHOOSE_DEPT, m_deptValue);
    DDX_Control(dx, IDC_CHOOSE_ADMIN, m_adminValue);
    DDX_Control(dx, IDC_CHOOSE_FINGER_CAPTION, m_fingerCaption);
    DDX_Control(dx, IDC_CHOOSE_ID_CAPTION, m_idCaption);
    DDX_Control(dx, IDC_CHOOSE_NAME_CAPTION, m_nameCaption);
    DDX_Control(dx, IDC_CHOOSE_DEPT_CAPTION, m_deptCaption);
    DDX_Control(dx, IDC_CHOOSE_ADMIN_CAPTION, m_adminCaption);
    DDX_Control(dx, IDC_CHOOSE_EDIT_HINT, m_editHint);
    DDX_Control(dx, IDC_CHOOSE_DELETE_HINT, m_deleteHint);
}

template <class F>
void CChooseEdit::ForEachWidget(F f) {
    for (CFontStatic* label : {&m_idValue, &m_nameValue, &m_deptValue, &m_adminValue, &m_fingerCaption, &m_idCaption,
                               &m_nameCaption, &m_deptCaption, &m_adminCaption})
        f(*label);
    f(m_editHint);
    f(m_deleteHint);
}

void CChooseEdit::ShowWidgets(bool show) {
    ForEachWidget([show](CWnd& widget) { widget.ShowWindow(show ? SW_SHOW : SW_HIDE); });
}

BOOL CChooseEdit::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowWidgets(false);
    CRect window;
    GetWindowRect(&window);
    m_snapshot = std::make_unique<CScreenSnapshot>(this);
    m_snapshot->Capture(&window);

    m_idCaption.SetWindowText(PageText(u"CCPTreeRegFP", u"R0019", u"ID"));
    m_nameCaption.SetWindowText(PageText(u"CCPTreeRegFP", u"R0020", u"Name"));
    m_deptCaption.SetWindowText(PageText(u"CCPTreeEditUser", u"E0018", u"Dept."));
    m_adminCaption.SetWindowText(PageText(u"CCPTreeEditUser", u"E0032", u"Admin"));
    m_editHint.SetText(PageText(u"CCPTreeSearchUser", u"SU0016", u"修改(F2)"));
    m_deleteHint.SetText(PageText(u"CCPTreeSearchUser", u"SU0017", u"删除(F3)"));
    m_fingerCaption.MoveWindow(138, 83, 60, kRow, FALSE);
    m_editHint.MoveWindow(23, 125, 70, 30, FALSE);
    m_deleteHint.MoveWindow(m_mode == kEditAndDelete ? 117 : 67, 125, 70, 30, FALSE);

    if (!m_userId.IsEmpty()) {
        UserInfoRecord user;
        if (g_pUserStorage == nullptr || !g_pUserStorage->GetUser(m_userId, &user)) {
            ShowMessage(PageText(u"CCPTreeEditUser", u"E0007", u"ID不存在,请重新输入"), 0);
            EndDialog(IDCANCEL);
            return FALSE;
        }
        m_idValue.SetWindowText(user.userid);
        m_nameValue.SetWindowText(user.Name);
        m_deptValue.SetWindowText(user.DeptName);
        m_adminValue.SetWindowText(user.AdminFlag != 0 ? PageText(u"CCPTreeEditUser", u"E0034", u"Yes")
                                                       : PageText(u"CCPTreeEditUser", u"E0033", u"No"));
    }
    m_editHint.SetFocus();
    return TRUE;
}

BOOL CChooseEdit::OnEraseBkgnd(CDC*) { return TRUE; }

void CChooseEdit::OnPaint() {
    CPaintDC dc(this);
    if (!m_snapshot) return;
    CRect client;
    GetClientRect(&client);
    // The card's rounded edge blends over the page as it was behind it.
    m_snapshot->Show(&dc, client);
    m_background.Draw(dc.GetSafeHdc(), client);
    CString photoPath;
    CxImage photo;
    if (FindUserPhoto(m_userId, photoPath) && LoadPhotoFile(photoPath, photo)) photo.Draw(dc.GetSafeHdc(), kPhotoRect);
    m_fingerIcon.Draw(dc.GetSafeHdc(), kFingerIconAt.x, kFingerIconAt.y);
    for (CFontStatic* label : {&m_idValue, &m_nameValue, &m_deptValue, &m_adminValue})
        label->CaptureBackgroundEx(this, &dc, 1);
    if (m_mode == kEditAndDelete) m_editHint.CaptureBackground(this, &dc, 1);
    m_deleteHint.CaptureBackground(this, &dc, 1);
    for (CFontStatic* label : {&m_fingerCaption, &m_idCaption, &m_nameCaption, &m_deptCaption, &m_adminCaption})
        label->CaptureBackgroundEx(this, &dc, 1);
}

// The card takes the page's keys only to close itself: the key's release
// reaches the page below once the card is gone.
BOOL CChooseEdit::PreTranslateMessage(MSG* msg) {
    switch (msg->wParam) {
    case VK_ESCAPE:
        if (IsKeyUp(msg->message)) CloseOnKey(VK_ESCAPE);
        return TRUE;
    case VK_F2:
        if (m_mode != kEditAndDelete) return TRUE;
        CloseOnKey(VK_F2);
        return FALSE;
    case VK_F3:
        CloseOnKey(VK_F3);
        return FALSE;
    case VK_DOWN:
    case VK_UP:
        if (IsKeyUp(msg->message)) msg->wParam == VK_UP ? PrevDlgCtrl() : NextDlgCtrl();
        return TRUE;
    default:
        return CDialog::PreTranslateMessage(msg);
    }
}

LRESULT CChooseEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCloseRequest) {
        OnCloseRequest();
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// The first key to close the card is the one the page acts on.
void CChooseEdit::CloseOnKey(UINT key) {
    if (m_closingKey == 0) m_closingKey = key;
    PostMessage(kCloseRequest);
}

void CChooseEdit::OnCloseRequest() {
    ShowWidgets(false);
    if (m_snapshot) m_snapshot->Restore();
    EndDialog(IDOK);
}
