#include "panel/AdminVerifyDlg.h"

#include <vector>

#include "core/LangText.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "main/FingerCapture.h"
#include "panel/FingerIdentify.h"

namespace {

enum : int { kPromptId = 1001, kIdLabelId = 1002, kIdEditId = 1003, kPasswordLabelId = 1004,
             kPasswordEditId = 1005 };
constexpr int kIdLimit = 20;
constexpr int kPasswordLimit = 20;
constexpr UINT_PTR kFingerTimer = 1;
constexpr UINT kFingerPollMs = 200;

const DialogTemplate kVerifyTemplate{
    CAdminVerifyDlg::IDD,
    WS_POPUP,
    0,
    0,
    320,
    240,
    u"",
    {
        {kPromptId, u"STATIC", u"", 0, 20, 44, 280, 40},
        {kIdLabelId, u"STATIC", u"", 0, 30, 98, 90, 22},
        {kIdEditId, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 125, 98, 160, 22},
        {kPasswordLabelId, u"STATIC", u"", 0, 30, 132, 90, 22},
        {kPasswordEditId, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_PASSWORD, 125, 132, 160, 22},
    }};
const DialogTemplateEntry kVerifyEntry(kVerifyTemplate);

CString Text(const char16_t* key, const char16_t* chinese) {
    CString text;
    GetLangText(u"CAdminVerifyDlg", key, chinese, text);
    return text;
}

CString WindowText(const CWnd& window) {
    CString text;
    window.GetWindowText(text);
    return text;
}

}  // namespace

bool AnyAdministratorEnrolled() {
    return g_pDatabase != nullptr && QueryInt(*g_pDatabase, u"Select count(*) from userinfo where AdminFlag = 1") > 0;
}

bool IsAdministrator(const CString& userId) {
    return g_pDatabase != nullptr &&
           QueryInt(*g_pDatabase, u"Select count(*) from userinfo where userid = ? and AdminFlag = 1", {userId}) > 0;
}

// Typed texts are bound, never formatted into the statement.
bool IsAdministratorPassword(const CString& userId, const CString& password) {
    if (g_pDatabase == nullptr || userId.IsEmpty() || password.IsEmpty()) return false;
    return QueryInt(*g_pDatabase, u"Select count(*) from userinfo where userid = ? and pwd = ? and AdminFlag = 1",
                    {userId, password}) > 0;
}

CAdminVerifyDlg::CAdminVerifyDlg(CWnd* parent) : CPanelScreen(IDD, parent) {}

BOOL CAdminVerifyDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetUpScreen();
    ShowTitle(Text(u"AV0001", u"管理员验证"));
    const struct {
        CFontStatic& label;
        int id;
        CString text;
    } labels[] = {
        {m_prompt, kPromptId, Text(u"AV0002", u"请按手指，或输入工号和密码")},
        {m_idLabel, kIdLabelId, Text(u"AV0003", u"工号")},
        {m_passwordLabel, kPasswordLabelId, Text(u"AV0004", u"密码")},
    };
    for (const auto& entry : labels) {
        entry.label.SubclassDlgItem(entry.id, this);
        entry.label.SetWindowText(entry.text);
        entry.label.SetNeedCapture(TRUE);
    }
    m_prompt.SetTextFormat(DT_CENTER | DT_WORDBREAK, 20);
    m_id.SubclassDlgItem(kIdEditId, this);
    m_id.SetLimitText(kIdLimit);
    m_password.SubclassDlgItem(kPasswordEditId, this);
    m_password.SetLimitText(kPasswordLimit);
    m_id.SetFocus();
    SetTimer(kFingerTimer, kFingerPollMs);
    return FALSE;
}

BOOL CAdminVerifyDlg::OnEraseBkgnd(CDC* dc) {
    PaintBackground(dc);
    for (CFontStatic* label : {&m_prompt, &m_idLabel, &m_passwordLabel}) label->CaptureBackground(this, dc);
    return TRUE;
}

// Enter moves from the ID to the password and then checks; ESC gives up.
// Both act when the key comes up.
BOOL CAdminVerifyDlg::PreTranslateMessage(MSG* msg) {
    const bool keyDown = msg->message == WM_KEYDOWN;
    if ((keyDown || msg->message == WM_KEYUP) && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        if (keyDown) return TRUE;
        if (msg->wParam == VK_ESCAPE)
            EndDialog(IDCANCEL);
        else if (CWnd::GetFocus() == &m_id)
            m_password.SetFocus();
        else
            CheckPassword();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

// A finger the libraries cannot read is waited out: the person presses
// again. A finger they can read decides.
void CAdminVerifyDlg::OnTimer(UINT_PTR id) {
    if (id != kFingerTimer) {
        CDialog::OnTimer(id);
        return;
    }
    std::vector<BYTE> image(kCaptureBufferBytes);
    if (!CaptureFingerImage(image.data())) return;
    CString userId;
    const FingerResult result = IdentifyFinger(image.data(), userId);
    if (result == FingerResult::Unusable) return;
    KillTimer(kFingerTimer);
    EndDialog(result == FingerResult::Known && IsAdministrator(userId) ? IDOK : kRefused);
}

void CAdminVerifyDlg::CheckPassword() {
    EndDialog(IsAdministratorPassword(WindowText(m_id), WindowText(m_password)) ? IDOK : kRefused);
}
