#include "users/CPTreeDelUser.h"

#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/UserRows.h"

namespace {

const char16_t* const kSection = u"CCPTreeDelUser";

enum : int {
    IDC_DEL_ID = 1031,
    IDC_DEL_NAME = 1032,
    IDC_DEL_ID_LABEL = 1033,
    IDC_DEL_NAME_LABEL = 1034,
    IDC_DEL_BUTTON = 1047,
    IDC_DEL_TITLE_SIDE = 1153,
    IDC_DEL_HELP_SIDE = 1154,
    IDC_DEL_TITLE = 1165,
    IDC_DEL_HELP = 1166,
};

constexpr DWORD kEdit = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

const DialogTemplate kDelUserTemplate{
    CCPTreeDelUser::IDD,
    WS_CHILD,
    0,
    0,
    320,
    194,
    u"",
    {
        {IDC_DEL_TITLE, u"STATIC", u"", 0, 10, 6, 140, 16},
        {IDC_DEL_ID_LABEL, u"STATIC", u"ID", 0, 10, 32, 40, 16},
        {IDC_DEL_ID, u"EDIT", u"", kEdit, 55, 32, 100, 16},
        {IDC_DEL_NAME_LABEL, u"STATIC", u"NAME", 0, 10, 56, 40, 16},
        {IDC_DEL_NAME, u"EDIT", u"", kEdit, 55, 56, 100, 16},
        {IDC_DEL_BUTTON, u"BUTTON", u"", WS_TABSTOP, 55, 84, 100, 24},
        {IDC_DEL_TITLE_SIDE, u"STATIC", u"", 0, 170, 6, 140, 16},
        {IDC_DEL_HELP, u"STATIC", u"", SS_NOTIFY, 170, 28, 140, 130},
        {IDC_DEL_HELP_SIDE, u"STATIC", u"", 0, 10, 120, 150, 40},
    },
};
const DialogTemplateEntry kDelUserEntry(kDelUserTemplate);

}  // namespace

CCPTreeDelUser::CCPTreeDelUser() : CCPTreeBase(IDD, nullptr) {}

void CCPTreeDelUser::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_DEL_ID, m_editId);
    DDX_Control(dx, IDC_DEL_NAME, m_editName);
}

BOOL CCPTreeDelUser::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    const CString title = PageText(kSection, u"D0001", u"删除用户");
    SetDlgItemText(IDC_DEL_TITLE, title);
    SetDlgItemText(IDC_DEL_TITLE_SIDE, title);
    SetDlgItemText(IDC_DEL_BUTTON, title);
    SetDlgItemText(IDC_DEL_HELP, PageText(kSection, u"D0002",
                                          u"项目说明：\t\t请输入用户ID及用户名\t\t然后单击删除按狃，系统就把该用户给删除"
                                          u"\t\t也可以只输入用户名，或者只输入ID\t\t系统就把该用户给删除"));
    m_notFound = PageText(kSection, u"D0004", u"没有记录");
    return TRUE;
}

LRESULT CCPTreeDelUser::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        OnEditEnter();
        return 1;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

void CCPTreeDelUser::OnEditEnter() {
    CString id;
    m_editId.GetWindowText(id);
    StatementPtr row = PrepareBound(*g_pDatabase, u"SELECT * FROM Userinfo WHERE Userinfo.userid = ?", {id});
    if (row->NextRow())
        m_editName.SetWindowText(row->ValueString(2));
    else
        ShowMessage(m_notFound, 0);
}

BOOL CCPTreeDelUser::LeavePage() {
    m_editId.SetWindowText(u"");
    m_editName.SetWindowText(u"");
    return CCPTreeBase::LeavePage();
}
