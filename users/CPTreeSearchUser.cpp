#include "users/CPTreeSearchUser.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/LangLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "core/UserPhoto.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "panel/ControlPanel.h"
#include "platform/base/files.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/CPTreeEditUser.h"
#include "users/ChooseEdit.h"
#include "users/UserDeletion.h"
#include "users/UserRows.h"
#include "widgets/ColumnTitleLine.h"
#include "widgets/MemoryDC.h"

namespace {

const char16_t* const kSection = u"CCPTreeSearchUser";
constexpr int kAllDepartments = 65535;

enum : int {
    IDC_SEARCH_ID = 1031,
    IDC_SEARCH_ID_LABEL = 1033,
    IDC_SEARCH_LAST = 1034,
    IDC_SEARCH_DEPT_LABEL = 1035,
    IDC_SEARCH_DELETE = 1036,
    IDC_SEARCH_FIND = 1037,
    IDC_SEARCH_FIRST = 1063,
    IDC_SEARCH_PREVIOUS = 1064,
    IDC_SEARCH_NEXT = 1065,
    IDC_SEARCH_LIST = 1066,
    IDC_SEARCH_EDIT = 1067,
    IDC_SEARCH_DEPT = 1143,
    IDC_SEARCH_NAME_LABEL = 1200,
    IDC_SEARCH_NAME = 1201,
    IDC_SEARCH_PAGE_LABEL = 1260,
    IDC_SEARCH_TITLE_LINE = 1344,
};

constexpr DWORD kEdit = WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

// The name row has no place of its own in the page's layout: it sits
// under the ID (the two fields share a border line), with its label at its
// right, between the department label's letters and the title line. The first, last, edit and delete buttons are worked by their keys
// (F4, F5, F2, F3) and are not shown.
const DialogTemplate kSearchTemplate{
    CCPTreeSearchUser::IDD,
    WS_CHILD,
    0,
    0,
    320,
    194,
    u"",
    {
        {IDC_SEARCH_ID_LABEL, u"STATIC", u"", 0, 5, 12, 30, 23},
        {IDC_SEARCH_ID, u"EDIT", u"", kEdit, 20, 16, 65, 13},
        {IDC_SEARCH_NAME_LABEL, u"STATIC", u"", 0, 88, 27, 44, 12},
        {IDC_SEARCH_NAME, u"EDIT", u"", kEdit, 20, 28, 65, 11},
        {IDC_SEARCH_DEPT_LABEL, u"STATIC", u"", 0, 92, 12, 65, 23},
        {IDC_SEARCH_DEPT, u"STATIC", u"", WS_TABSTOP, 133, 14, 90, 23},
        {IDC_SEARCH_FIND, u"STATIC", u"", WS_TABSTOP, 228, 14, 90, 23},
        {IDC_SEARCH_TITLE_LINE, u"STATIC", u"", 0, 13, 39, 297, 24},
        {IDC_SEARCH_LIST, u"SysListView32", u"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 14, 59,
         293, 111},
        {IDC_SEARCH_PAGE_LABEL, u"STATIC", u"", 0, 15, 175, 100, 23},
        {IDC_SEARCH_PREVIOUS, u"STATIC", u"", WS_TABSTOP, 125, 175, 90, 25},
        {IDC_SEARCH_NEXT, u"STATIC", u"", WS_TABSTOP, 225, 175, 90, 25},
        {IDC_SEARCH_FIRST, u"BUTTON", u"|<", 0, 0, 0, 0, 0, 0, true},
        {IDC_SEARCH_LAST, u"BUTTON", u">|", 0, 0, 0, 0, 0, 0, true},
        {IDC_SEARCH_EDIT, u"BUTTON", u"", 0, 0, 0, 0, 0, 0, true},
        {IDC_SEARCH_DELETE, u"BUTTON", u"", 0, 0, 0, 0, 0, 0, true},
    },
};
const DialogTemplateEntry kSearchEntry(kSearchTemplate);

struct Column {
    const char16_t* key;
    const char16_t* title;
    int width;
};
const Column kColumns[] = {{u"SU0004", u"ID", 60},    {u"SU0018", u"FP", 40},   {u"SU0019", u"Code", 44},
                           {u"SU0020", u"Card", 44},  {u"SU0021", u"Pic", 56},  {u"SU0022", u"Admin", 47}};
const char16_t* const kMark = u"\u25CF";

CString Text(LPCWSTR key, LPCWSTR defaultText) { return PageText(kSection, key, defaultText); }

void Say(LPCWSTR key, LPCWSTR defaultText) { ShowMessage(Text(key, defaultText), 0); }

// The filter's conditions, every typed text a parameter.
CString Conditions(const CString& id, const CString& name, int dept) {
    std::vector<CString> parts;
    if (!id.IsEmpty()) parts.push_back(u"UserInfo.Userid =?");
    if (dept != kAllDepartments) {
        CString part;
        part.Format(u"Userinfo.Deptid='%d'", dept);
        parts.push_back(part);
    }
    if (!name.IsEmpty()) parts.push_back(u"Userinfo.Name = ?");
    CString text;
    for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? CString(u" where ") : CString(u" and ")) + parts[i];
    return text;
}

StatementPtr PrepareFiltered(const CString& sql, const CString& id, const CString& name) {
    if (!id.IsEmpty() && !name.IsEmpty()) return PrepareBound(*g_pDatabase, sql, {id, name});
    if (!id.IsEmpty()) return PrepareBound(*g_pDatabase, sql, {id});
    if (!name.IsEmpty()) return PrepareBound(*g_pDatabase, sql, {name});
    return PrepareBound(*g_pDatabase, sql);
}

bool HasPhotoFile(const CString& userId) {
    CString path;
    return UserPhotoPath(userId, path) && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

CCPTreeSearchUser::CCPTreeSearchUser() : CCPTreeBase(IDD, nullptr) {}

void CCPTreeSearchUser::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_SEARCH_ID, m_editId);
    DDX_Control(dx, IDC_SEARCH_NAME, m_editName);
    DDX_Control(dx, IDC_SEARCH_ID_LABEL, m_labelId);
    DDX_Control(dx, IDC_SEARCH_NAME_LABEL, m_labelName);
    DDX_Control(dx, IDC_SEARCH_DEPT_LABEL, m_labelDept);
    DDX_Control(dx, IDC_SEARCH_PAGE_LABEL, m_labelPage);
    DDX_Control(dx, IDC_SEARCH_FIND, m_btnSearch);
    DDX_Control(dx, IDC_SEARCH_PREVIOUS, m_btnPrevious);
    DDX_Control(dx, IDC_SEARCH_NEXT, m_btnNext);
    DDX_Control(dx, IDC_SEARCH_TITLE_LINE, m_titleLine);
    DDX_Control(dx, IDC_SEARCH_LIST, m_list);
    DDX_Control(dx, IDC_SEARCH_DEPT, m_boxDept);
    DDX_Control(dx, IDC_SEARCH_FIRST, m_btnFirst);
    DDX_Control(dx, IDC_SEARCH_LAST, m_btnLast);
    DDX_Control(dx, IDC_SEARCH_EDIT, m_btnEdit);
    DDX_Control(dx, IDC_SEARCH_DELETE, m_btnDelete);
}

template <class F>
void CCPTreeSearchUser::ForEachCanvas(F f) {
    for (CSelectButton* button : {&m_btnSearch, &m_btnPrevious, &m_btnNext, &m_titleLine}) f(*button);
    f(m_boxDept);
    for (CFontStatic* label : {&m_labelId, &m_labelName, &m_labelDept, &m_labelPage}) f(*label);
}

BOOL CCPTreeSearchUser::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    // The list's top rows lie over the title line's foot, and the ID and name
    // edits and the department box over the ends of their labels: a label's
    // background would otherwise cover the edits' borders and the box's
    // left arrow.
    for (CJHCanvas* decoration : std::initializer_list<CJHCanvas*>{&m_titleLine, &m_labelId, &m_labelDept})
        PlaceUnderSiblings(*decoration);
    m_editId.EnableKeyHint(false);
    m_list.SetBkColor(RGB(171, 217, 230));
    m_list.SetTextBkColor(RGB(171, 217, 230));
    m_list.SetTextColor(RGB(6, 41, 73));
    m_listFont.CreateFont(IsFtLanguage() ? 16 : 14, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 6, 0x20,
                          IsFtLanguage() ? u"Microsoft JhengHei" : u"微软雅黑");
    m_list.SetFont(&m_listFont);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_list.ModifyStyle(0, LVS_NOCOLUMNHEADER);
    for (int i = 0; i < 6; ++i) m_list.InsertColumn(i, Text(kColumns[i].key, kColumns[i].title), LVCFMT_LEFT, kColumns[i].width);
    m_titleLine.SetTextFormat(DT_SINGLELINE | DT_LEFT | DT_VCENTER);
    m_labelId.SetWindowText(Text(u"SU0004", u"ID"));
    m_labelName.SetWindowText(Text(u"SU0005", u"姓名"));
    // Its letters fill the narrow band it has: centred, not hung from the top.
    m_labelName.SetTextFormat(DT_SINGLELINE | DT_VCENTER, 0);
    m_labelDept.SetWindowText(Text(u"SU0006", u"部门"));
    // Past 99 pages the page numbers make the label wider than its box.
    m_labelPage.FitText(true);
    m_btnSearch.SetText(Text(u"SU0009", u"查找(F1)"));
    m_btnEdit.SetWindowText(Text(u"SU0016", u"修改(F2)"));
    m_btnDelete.SetWindowText(Text(u"SU0017", u"删除(F3)"));
    m_btnPrevious.SetText(Text(u"SU0023", u"上一页(<)"));
    m_btnNext.SetText(Text(u"SU0024", u"下一页(>)"));
    m_boxDept.SetColors(TRUE, g_MachineConfig.PANELCOLOR, g_MachineConfig.PANELCOLOR);
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    for (CWnd* button : {static_cast<CWnd*>(&m_btnLast), static_cast<CWnd*>(&m_btnNext),
                         static_cast<CWnd*>(&m_btnPrevious), static_cast<CWnd*>(&m_btnFirst)})
        button->EnableWindow(FALSE);
    return TRUE;
}

void CCPTreeSearchUser::LayOut() {
    m_labelId.MoveWindow(5, 12, 30, 23, FALSE);
    m_editId.MoveWindow(20, 16, 65, 13, FALSE);
    m_labelDept.MoveWindow(92, 12, 65, 23, FALSE);
    m_boxDept.MoveWindow(133, 14, 90, 23, FALSE);
    m_btnSearch.MoveWindow(228, 14, 90, 23, FALSE);
    m_titleLine.MoveWindow(13, 39, 297, 24, FALSE);
    m_list.MoveWindow(14, 59, 293, 111, FALSE);
    m_labelPage.MoveWindow(15, 175, 100, 23, FALSE);
    m_btnPrevious.MoveWindow(125, 175, 90, 25, FALSE);
    m_btnNext.MoveWindow(225, 175, 90, 25, FALSE);
    std::vector<CString> titles;
    for (const Column& column : kColumns) titles.push_back(Text(column.key, column.title));
    m_titleLine.SetText(AlignedTitleLine(m_titleLine, m_list, titles));
    // The title line reaches 4 pixels into the list, below its titles: the
    // list's first row lies over it.
    m_titleLine.SetWindowPos(&m_list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CCPTreeSearchUser::FillDepartmentBox() {
    m_boxDept.ResetContent();
    m_boxDept.AddItem(Text(u"SU0007", u"所有部门"), kAllDepartments);
    for (const DepartmentItem& dept : ReadDepartments(*g_pDatabase, u"Select DeptId,DeptName from Dept"))
        m_boxDept.AddItem(dept.name, dept.id);
    m_boxDept.SetCurSelByValue(kAllDepartments);
}

BOOL CCPTreeSearchUser::EnterPage() {
    if (!m_bEnteredFromMenu) {
        // Back from the edit page: the page kept its rows, and shows again
        // with them and the row that was selected.
        m_bEnteredFromMenu = 1;
        const int row = SelectedRow();
        const BOOL shown = CCPTreeBase::EnterPage();
        // The bar shows this page's own (empty) hint, not the edit page's.
        SendTaskBarHint(CString(), 1);
        m_list.SetFocus();
        m_list.SetItemState(0, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0) SelectRow(row);
        return shown;
    }
    LayOut();
    FillDepartmentBox();
    m_rowsPerPage = kRowsPerPage;
    m_matches = m_page = m_rowsShown = m_lastPage = 0;
    ForEachCanvas([](CJHCanvas& widget) {
        widget.SetNeedCapture(TRUE);
        widget.ShowWindow(SW_HIDE);
    });
    const BOOL entered = CCPTreeBase::EnterPage();
    m_editId.SetFocus();
    return entered;
}

BOOL CCPTreeSearchUser::LeavePage() {
    m_list.DeleteAllItems();
    m_editId.SetWindowText(u"");
    m_editName.SetWindowText(u"");
    m_rowsShown = m_page = 0;
    for (CButton* button : {&m_btnFirst, &m_btnLast}) button->EnableWindow(FALSE);
    m_btnPrevious.EnableWindow(FALSE);
    m_btnNext.EnableWindow(FALSE);
    m_labelPage.SetWindowText(u"");
    return CCPTreeBase::LeavePage();
}

BOOL CCPTreeSearchUser::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    {
        CMemoryDC memory(dc, client);
        m_background.Draw(memory.GetSafeHdc(), 0, 0);
    }
    for (CSelectButton* button : {&m_btnSearch, &m_btnPrevious, &m_btnNext}) button->CaptureBackground(this, dc, 1);
    m_boxDept.CaptureBackground(this, dc, 1);
    m_titleLine.CaptureBackground(this, dc, 1);
    for (CFontStatic* label : {&m_labelId, &m_labelName, &m_labelDept, &m_labelPage})
        label->CaptureBackgroundEx(this, dc, 1);
    return TRUE;
}

void CCPTreeSearchUser::OnPaint() {
    CPaintDC dc(this);
    ForEachCanvas([](CJHCanvas& widget) { widget.ShowWindow(SW_SHOW); });
}

// The ID as the pages store it, written back into its field.
CCPTreeSearchUser::Filter CCPTreeSearchUser::ReadFilter() {
    CString typed;
    m_editId.GetWindowText(typed);
    Filter filter;
    filter.id = NormalizeUserId(typed);
    if (filter.id != typed) m_editId.SetWindowText(filter.id);
    m_editName.GetWindowText(filter.name);
    filter.dept = m_boxDept.GetCurSelValue();
    return filter;
}

UINT CCPTreeSearchUser::LastPageOf(UINT matches) {
    return matches / kRowsPerPage - (matches % kRowsPerPage == 0 ? 1u : 0u);
}

UINT CCPTreeSearchUser::CountMatches(const Filter& filter) {
    const CString sql = u"SELECT Count(*) FROM UserInfo left join Dept ON Dept.Deptid=UserInfo.Deptid" +
                        Conditions(filter.id, filter.name, filter.dept);
    StatementPtr row = PrepareFiltered(sql, filter.id, filter.name);
    return row->NextRow() ? static_cast<UINT>(row->ValueInt(0)) : 0u;
}

void CCPTreeSearchUser::LoadPage(const Filter& filter, UINT offset, UINT rows) {
    ShowPageLabel();
    CString limit;
    limit.Format(u" limit %d,%d", offset, rows);
    const CString sql = u"SELECT  Userid,(select Count(*) from FPinfo where Userid=Userinfo.Userid) as FP,Pwd,CardNO,"
                        u"AdminFlag FROM Userinfo" +
                        Conditions(filter.id, filter.name, filter.dept) + limit;
    StatementPtr row = PrepareFiltered(sql, filter.id, filter.name);
    m_rowsShown = 0;
    while (row->NextRow()) {
        const CString id(row->ValueString(0));
        const int n = m_list.InsertItem(m_list.GetItemCount(), id);
        CString fingers;
        fingers.Format(u"%d", row->ValueInt(1));
        m_list.SetItemText(n, 1, fingers);
        m_list.SetItemText(n, 2, CString(row->ValueString(2)).IsEmpty() ? u"" : kMark);
        m_list.SetItemText(n, 3, CString(row->ValueString(3)).IsEmpty() ? u"" : kMark);
        m_list.SetItemText(n, 4, HasPhotoFile(id) ? kMark : u"");
        m_list.SetItemText(n, 5, row->ValueInt(4) == 1 ? kMark : u"");
        ++m_rowsShown;
    }
}

void CCPTreeSearchUser::ShowPageLabel() {
    m_btnPrevious.EnableWindow(TRUE);
    m_btnNext.EnableWindow(TRUE);
    UINT shown = m_page + 1;
    if (m_page >= m_lastPage) {
        shown = m_lastPage + 1;
        m_btnNext.EnableWindow(FALSE);
    }
    if (m_page == 0) {
        shown = 1;
        m_btnPrevious.EnableWindow(FALSE);
    }
    CString text;
    text.Format(u"F4|<  %d/%d >|F5", shown, m_lastPage + 1);
    m_labelPage.SetWindowText(text);
    m_labelPage.Invalidate();
}

void CCPTreeSearchUser::OnFind() {
    const Filter filter = ReadFilter();
    m_page = 0;
    if (filter.id.GetLength() > kUserIdMaxLength) {
        Say(u"SU0014", u"用户ID过长,最长在12位!");
        return;
    }
    m_list.DeleteAllItems();
    m_matches = CountMatches(filter);
    for (CButton* button : {&m_btnFirst, &m_btnLast}) button->EnableWindow(TRUE);
    m_btnPrevious.EnableWindow(TRUE);
    m_btnNext.EnableWindow(TRUE);
    m_lastPage = LastPageOf(m_matches);
    LoadPage(filter, 0, m_rowsPerPage);
    const int users = QueryInt(*g_pDatabase, u"select UserCount from BasePara");
    if (g_pUserStorage != nullptr) g_pUserStorage->SetCount(users);
    if (users > 8)
        m_list.SetFocus();
    else
        m_editId.SetFocus();
}

void CCPTreeSearchUser::OnNextPage() {
    ++m_page;
    if (m_page > m_lastPage) {
        Say(u"SU0003", u"已经是最后一页");
        --m_page;
        return;
    }
    const Filter filter = ReadFilter();
    m_list.DeleteAllItems();
    LoadPage(filter, m_page * m_rowsPerPage, m_rowsPerPage);
    if (m_rowsShown == 0) {
        Say(u"SU0003", u"已经是最后一页");
        --m_page;
    }
    if (m_page >= m_lastPage) PrevDlgCtrl();
}

void CCPTreeSearchUser::OnPreviousPage() {
    if (m_page == 0) {
        Say(u"SU0015", u"已经是第一页");
        return;
    }
    --m_page;
    const Filter filter = ReadFilter();
    m_list.DeleteAllItems();
    LoadPage(filter, m_page * m_rowsPerPage, m_rowsPerPage);
    if (m_page == 0) {
        NextDlgCtrl();
        if (static_cast<int>(m_lastPage) <= 0) NextDlgCtrl();
    }
}

void CCPTreeSearchUser::OnFirstPage() {
    m_page = 0;
    const Filter filter = ReadFilter();
    m_list.DeleteAllItems();
    LoadPage(filter, 0, m_rowsPerPage);
}

void CCPTreeSearchUser::OnLastPage() {
    const Filter filter = ReadFilter();
    m_list.DeleteAllItems();
    m_page = LastPageOf(CountMatches(filter));
    LoadPage(filter, m_page * m_rowsPerPage, m_rowsPerPage);
}

void CCPTreeSearchUser::OnEdit() {
    const int row = SelectedRow();
    if (row < 0) return;
    const CString id = m_list.GetItemText(row, 0);
    CControlPanel* panel = CControlPanel::Open();
    if (panel == nullptr) return;
    if (auto* page = static_cast<CCPTreeEditUser*>(panel->GotoNode(CCPTreeEditUser::kNode, FALSE)))
        page->OpenForUser(id, kNode, this);
}

void CCPTreeSearchUser::OnDelete() {
    const int row = SelectedRow();
    if (row >= 0) {
        AskAndDeleteUser(m_list.GetItemText(row, 0));
    }
    const Filter filter = ReadFilter();
    m_list.DeleteAllItems();
    LoadPage(filter, m_page * m_rowsPerPage, m_rowsPerPage);
    m_list.SetFocus();
    // The question gave the focus back to the list before it was loaded
    // again, so taking the focus selects nothing: the row asked about, or
    // the one now in its place, is chosen again for Enter, F2 and F3.
    if (row >= 0 && m_list.GetItemCount() > 0) SelectRow(std::min(row, m_list.GetItemCount() - 1));
}

void CCPTreeSearchUser::ShowChosenUser() {
    const int row = SelectedRow();
    if (row < 0) return;
    CChooseEdit card(this, CChooseEdit::kEditAndDelete);
    card.SetUserID(m_list.GetItemText(row, 0));
    card.DoModal();
    m_list.SetFocus();
    m_list.SetItemState(0, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SelectRow(row);
    // The card's hints promise this page's own keys, for the user it showed.
    if (card.ClosingKey() == VK_F2) OnEdit();
    else if (card.ClosingKey() == VK_F3) OnDelete();
}

int CCPTreeSearchUser::SelectedRow() const { return m_list.GetNextItem(-1, LVNI_SELECTED); }

void CCPTreeSearchUser::SelectRow(int row) {
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// The edit and delete buttons, once disabled, stay so; F2 and F3 still act.
void CCPTreeSearchUser::ClearSelection() {
    for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_btnEdit.EnableWindow(FALSE);
    m_btnDelete.EnableWindow(FALSE);
}

// Up and Down in the list move the selection one row; at an edge they
// leave the list for the control before or after it.
bool CCPTreeSearchUser::HandleListArrow(MSG* msg) {
    const int row = SelectedRow();
    const int neighbour = msg->wParam == VK_UP ? row - 1 : row + 1;
    if (row >= 0 && neighbour >= 0 && neighbour < m_list.GetItemCount()) {
        m_list.SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED);
        SelectRow(neighbour);
        return true;
    }
    ClearSelection();
    return CCPTreeBase::PreTranslateMessage(msg) != FALSE;
}

void CCPTreeSearchUser::OnEditEnter(int controlId) {
    switch (controlId) {
        case IDC_SEARCH_NEXT: OnNextPage(); break;
        case IDC_SEARCH_EDIT: OnEdit(); break;
        case IDC_SEARCH_PREVIOUS: OnPreviousPage(); break;
        case IDC_SEARCH_LAST: OnLastPage(); break;
        case IDC_SEARCH_DELETE: OnDelete(); break;
        case IDC_SEARCH_FIRST: OnFirstPage(); break;
        default: OnFind(); break;
    }
}

BOOL CCPTreeSearchUser::PreTranslateMessage(MSG* msg) {
    CWnd* focus = CWnd::GetFocus();
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
            case VK_F1: OnFind(); return TRUE;
            case VK_F2: OnEdit(); return TRUE;
            case VK_F3: OnDelete(); return TRUE;
            case VK_F4: OnFirstPage(); return TRUE;
            case VK_F5: OnLastPage(); return TRUE;
            case VK_LEFT:
            case VK_RIGHT: {
                CSelectButton& button = msg->wParam == VK_LEFT ? m_btnPrevious : m_btnNext;
                if (!button.IsWindowEnabled() || focus == &m_boxDept) break;
                msg->wParam == VK_LEFT ? OnPreviousPage() : OnNextPage();
                // One row is selected at most: the first takes the place of
                // any other, and edit and delete stay as they were.
                m_list.SetFocus();
                if (m_list.GetItemCount() > 0) SelectRow(0);
                return TRUE;
            }
            case VK_UP:
            case VK_DOWN:
                if (focus == &m_list) return HandleListArrow(msg) ? TRUE : FALSE;
                break;
            case VK_RETURN:
                if (focus == &m_btnSearch) OnFind();
                else if (focus == &m_btnEdit) OnEdit();
                else if (focus == &m_btnDelete) OnDelete();
                else if (focus == &m_list && SelectedRow() >= 0) ShowChosenUser();
                else break;
                return TRUE;
            default:
                break;
        }
    }
    // The key-up of an arrow whose key-down moved the selection within the
    // list: the focus stays, or the row would show unselected and Enter
    // would open nothing. At an edge the key-down cleared the selection and
    // the key-up moves the focus on.
    if (msg->message == WM_KEYUP && (msg->wParam == VK_UP || msg->wParam == VK_DOWN) && focus == &m_list &&
        SelectedRow() >= 0)
        return TRUE;
    if (msg->message == WM_KEYUP && msg->wParam == VK_ESCAPE && focus == &m_list && m_keyboardClosedByEsc) {
        m_keyboardClosedByEsc = 0;
        return FALSE;
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}

LRESULT CCPTreeSearchUser::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        OnEditEnter(static_cast<int>(wParam));
        return 1;
    }
    if (message == kKeyboardClosedByEsc) {
        m_keyboardClosedByEsc = 1;
        return 0;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

BOOL CCPTreeSearchUser::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDC_SEARCH_LAST: OnLastPage(); return TRUE;
            case IDC_SEARCH_FIRST: OnFirstPage(); return TRUE;
            case IDC_SEARCH_EDIT: OnEdit(); return TRUE;
            case IDC_SEARCH_DELETE: OnDelete(); return TRUE;
            default: break;
        }
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

BOOL CCPTreeSearchUser::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_SEARCH_LIST && header->code == static_cast<UINT>(NM_SETFOCUS)) {
        if (m_list.GetItemCount() > 0) SelectRow(0);
        *result = 0;
        return TRUE;
    }
    return CCPTreeBase::OnNotify(wParam, lParam, result);
}
