#include "transfer/CPTreeRecord.h"

#include <vector>

#include "core/LangLibraries.h"
#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/dialog.h"
#include "widgets/ColumnTitleLine.h"
#include "widgets/WidgetRules.h"

namespace {

constexpr const char16_t* kSection = u"CCPTreeRecord";
constexpr int kAllDepartments = 65535;
constexpr int kLongestId = 12;

// The list's given height holds a page of rows: the rows share it rather
// than take the height our font would ask for.
constexpr int kListHeight = 88;

const DialogTemplate kTemplate{
    CCPTreeRecord::IDD,
    WS_CHILD,
    0,
    0,
    320,
    194,
    u"",
    {
        {1033, u"STATIC", u"", 0, 15, 7, 30, 23},
        {CCPTreeRecord::IDC_USERID, u"EDIT", u"", WS_TABSTOP, 60, 10, 90, 13},
        {1035, u"STATIC", u"", 0, 15, 34, 65, 23},
        {CCPTreeRecord::IDC_DEPT, u"STATIC", u"", WS_TABSTOP, 60, 35, 90, 23},
        {1057, u"STATIC", u"", 0, 189, 7, 65, 23},
        {CCPTreeRecord::IDC_START, u"STATIC", u"", WS_TABSTOP, 232, 9, 78, 17},
        {1060, u"STATIC", u"", 0, 189, 32, 65, 23},
        {CCPTreeRecord::IDC_END, u"STATIC", u"", WS_TABSTOP, 232, 35, 78, 17},
        {CCPTreeRecord::IDC_TITLES, u"STATIC", u"", 0, 13, 57, 297, 24},
        {CCPTreeRecord::IDC_LIST, WC_LISTVIEW, u"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER,
         14, 77, 293, kListHeight},
        {CCPTreeRecord::IDC_PAGE_LABEL, u"STATIC", u"", 0, 15, 175, 90, 23},
        {CCPTreeRecord::IDC_PREV, u"STATIC", u"", WS_TABSTOP, 125, 175, 90, 25},
        {CCPTreeRecord::IDC_NEXT, u"STATIC", u"", WS_TABSTOP, 225, 175, 90, 25},
        // Off the page's face: the first and last page keys of the template
        // and the control whose click searches.
        {CCPTreeRecord::IDC_FIRST, u"BUTTON", u"|<", BS_PUSHBUTTON, 330, 0, 20, 20, 0, true},
        {CCPTreeRecord::IDC_LAST, u"BUTTON", u">|", BS_PUSHBUTTON, 330, 30, 20, 20, 0, true},
        {CCPTreeRecord::IDC_SEARCH, u"BUTTON", u"", BS_PUSHBUTTON, 330, 60, 20, 20, 0, true},
    }};
const DialogTemplateEntry kTemplateEntry(kTemplate);

CString Text(const char16_t* key, const char16_t* fallback) {
    CString text;
    GetLangText(kSection, key, fallback, text);
    return text;
}

struct Column {
    const char16_t* key;
    const char16_t* fallback;
    int width;
};
const Column kColumns[] = {
    {u"RE0005", u"ID", 50}, {u"RE0011", u"姓名", 70}, {u"RE0012", u"考勤时间", 125}, {u"RE0013", u"考勤类型", 45}};

}  // namespace

CCPTreeRecord::CCPTreeRecord() : CCPTreeBase(IDD, nullptr) {}

BOOL CCPTreeRecord::OnInitDialog() {
    CDialog::OnInitDialog();
    m_userId.SubclassDlgItem(IDC_USERID, this);
    m_userId.EnableKeyHint(false);
    m_dept.SubclassDlgItem(IDC_DEPT, this);
    m_start.SubclassDlgItem(IDC_START, this);
    m_end.SubclassDlgItem(IDC_END, this);
    m_idLabel.SubclassDlgItem(1033, this);
    m_deptLabel.SubclassDlgItem(1035, this);
    m_startLabel.SubclassDlgItem(1057, this);
    m_endLabel.SubclassDlgItem(1060, this);
    m_pageLabel.SubclassDlgItem(IDC_PAGE_LABEL, this);
    m_prev.SubclassDlgItem(IDC_PREV, this);
    m_next.SubclassDlgItem(IDC_NEXT, this);
    m_titles.SubclassDlgItem(IDC_TITLES, this);
    m_list.SubclassDlgItem(IDC_LIST, this);
    // The list's top rows lie over the title line's foot, and each field
    // over the end of its label.
    for (CJHCanvas* decoration : {static_cast<CJHCanvas*>(&m_titles), static_cast<CJHCanvas*>(&m_idLabel),
                                  static_cast<CJHCanvas*>(&m_deptLabel), static_cast<CJHCanvas*>(&m_startLabel),
                                  static_cast<CJHCanvas*>(&m_endLabel)})
        PlaceUnderSiblings(*decoration);

    m_idLabel.SetWindowText(Text(u"RE0005", u"ID"));
    m_deptLabel.SetWindowText(Text(u"RE0006", u"部门"));
    m_startLabel.SetWindowText(Text(u"RE0007", u"开始"));
    m_endLabel.SetWindowText(Text(u"RE0008", u"结束"));
    m_prev.SetText(u"Prev (<)");
    m_next.SetText(u"Next (>)");

    m_list.SetBkColor(RGB(0xAB, 0xD9, 0xE6));
    m_list.SetTextBkColor(RGB(0xAB, 0xD9, 0xE6));
    m_list.SetTextColor(RGB(0x06, 0x29, 0x49));
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    MakeWidgetFont(m_listFont, {u"Microsoft JhengHei", 13, 400, 1, 6}, {u"微软雅黑", 11, 400, 1, 6});
    m_list.SetFont(&m_listFont);
    for (int i = 0; i < 4; ++i)
        m_list.InsertColumn(i, Text(kColumns[i].key, kColumns[i].fallback), LVCFMT_LEFT, kColumns[i].width);
    m_titles.SetTextFormat(DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    m_look.LoadBackground();
    EnablePaging(FALSE);
    return TRUE;
}

void CCPTreeRecord::LayoutControls() {
    static const struct {
        int id, x, y, cx, cy;
    } kPlaces[] = {{1033, 15, 7, 30, 23},        {1035, 15, 34, 65, 23},         {IDC_USERID, 60, 10, 90, 13},
                   {IDC_DEPT, 60, 35, 90, 23},   {1057, 189, 7, 65, 23},         {1060, 189, 32, 65, 23},
                   {IDC_START, 232, 9, 78, 17},  {IDC_END, 232, 35, 78, 17},     {IDC_TITLES, 13, 57, 297, 24},
                   {IDC_LIST, 14, 77, 293, kListHeight},  {IDC_PAGE_LABEL, 15, 175, 90, 23}, {IDC_PREV, 125, 175, 90, 25},
                   {IDC_NEXT, 225, 175, 90, 25}};
    for (const auto& place : kPlaces) GetDlgItem(place.id)->MoveWindow(place.x, place.y, place.cx, place.cy);
    std::vector<CString> titles;
    for (const Column& column : kColumns) titles.push_back(Text(column.key, column.fallback));
    m_titles.SetText(AlignedTitleLine(m_titles, m_list, titles));
    // The title line reaches 4 pixels into the list, where its titles end:
    // the list's first row lies over it.
    m_titles.SetWindowPos(&m_list, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CCPTreeRecord::FillDepartments() {
    m_dept.ResetContent();
    m_dept.AddItem(Text(u"RE0004", u"所有部门"), kAllDepartments);
    StatementPtr query = PrepareBound(*GetDatabase(), u"Select DeptId,DeptName from Dept");
    while (query->NextRow()) m_dept.AddItem(query->ValueString(1), query->ValueInt(0));
    m_dept.SetCurSelByValue(kAllDepartments);
}

BOOL CCPTreeRecord::EnterPage() {
    LayoutControls();
    FillDepartments();
    SendTaskBarHint(Text(u"RE0009", u"查找"), 1);
    m_rowsPerPage = kRowsPerPage;
    m_count = 0;
    m_page = 0;
    PrepareCaptures({&m_idLabel, &m_deptLabel, &m_startLabel, &m_endLabel, &m_pageLabel, &m_dept, &m_start, &m_end,
                     &m_prev, &m_next, &m_titles});
    const BOOL entered = CCPTreeBase::EnterPage();
    m_userId.SetFocus();
    return entered;
}

BOOL CCPTreeRecord::LeavePage() {
    m_userId.SetWindowText(u"");
    m_list.DeleteAllItems();
    m_pageLabel.SetWindowText(u"");
    EnablePaging(TRUE);
    m_rowsPerPage = kRowsPerPage;
    SendTaskBarHint(u"", 1);
    return CCPTreeBase::LeavePage();
}

BOOL CCPTreeRecord::OnEraseBkgnd(CDC* dc) {
    m_look.Paint(this, dc, {&m_idLabel, &m_deptLabel, &m_startLabel, &m_endLabel, &m_pageLabel, &m_dept, &m_start,
                            &m_end, &m_prev, &m_next, &m_titles});
    return TRUE;
}

HBRUSH CCPTreeRecord::OnCtlColor(CDC* dc, CWnd*, UINT) { return m_look.PanelBrush(dc); }

BOOL CCPTreeRecord::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_SEARCH:
            Search();
            return TRUE;
        case IDC_LAST:
            LastPage();
            return TRUE;
        case IDC_FIRST:
            FirstPage();
            return TRUE;
        default:
            break;
        }
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

LRESULT CCPTreeRecord::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        if (wParam == IDC_PREV) PrevPage();
        if (wParam == IDC_NEXT) NextPage();
        return 1;
    }
    if (message == WM_MEASUREITEM && wParam == IDC_LIST) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kListHeight / kRowsPerPage;
        return TRUE;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

BOOL CCPTreeRecord::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYUP) {
        const bool inList = GetFocus() == &m_list;
        const bool inDept = GetFocus() == &m_dept;
        switch (msg->wParam) {
        case VK_UP:
            if (inList && MoveSelection(-1)) return FALSE;
            break;
        case VK_DOWN:
            if (inList && MoveSelection(1)) return FALSE;
            break;
        case VK_LEFT:
            if (m_prev.IsWindowEnabled() && !inDept) PrevPage();
            break;
        case VK_RIGHT:
            if (m_next.IsWindowEnabled() && !inDept) NextPage();
            break;
        case VK_F1:
            Search();
            break;
        default:
            break;
        }
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}

bool CCPTreeRecord::MoveSelection(int step) {
    const int selected = m_list.GetSelectedItem();
    const int target = selected + step;
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    if (selected >= 0 && target >= 0 && target < m_list.GetItemCount()) {
        m_list.SetItemState(selected, 0, both);
        m_list.SetItemState(target, both, both);
        return true;
    }
    // At either end the focus moves on, with no row left selected.
    for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetItemState(row, 0, both);
    return false;
}

unsigned CCPTreeRecord::LastPageOf(unsigned count) {
    unsigned last = count / kRowsPerPage;
    if (count % kRowsPerPage == 0) --last;
    return last;
}

void CCPTreeRecord::EnablePaging(BOOL enable) {
    for (int id : {IDC_FIRST, IDC_LAST}) GetDlgItem(id)->EnableWindow(enable);
    m_prev.EnableWindow(enable);
    m_next.EnableWindow(enable);
}

void CCPTreeRecord::BuildRange() {
    m_from.Format(u"%04d-%02d-%02d 00:00:00", m_start.GetYear(), m_start.GetMonth(), m_start.GetDay());
    m_to.Format(u"%04d-%02d-%02d 23:59:59", m_end.GetYear(), m_end.GetMonth(), m_end.GetDay());
}

void CCPTreeRecord::Search() {
    m_page = 0;
    CString id;
    m_userId.GetWindowText(id);
    if (id.GetLength() > kLongestId) {
        ShowMessage(Text(u"RE0016", u"ID设置过长,最长在12位"), 0);
        m_userId.SetWindowText(u"");
        return;
    }
    m_list.DeleteAllItems();
    EnablePaging(TRUE);
    BuildRange();
    if (m_from.Compare(m_to) > 0) {
        ShowMessage(Text(u"RE0015", u"设置查询时间不正确，请重新设置"), 0);
        return;
    }
    int count = 0;
    g_pRecordStore->CountRecords(m_dept.GetCurSelValue(), id, count, m_from, m_to);
    m_count = static_cast<unsigned>(count);
    m_lastPage = LastPageOf(m_count);
    m_page = 0;
    FillPage(0);
    if (m_count > 8) {
        FocusFirstRow();
    } else {
        m_userId.SetFocus();
    }
}

CString CCPTreeRecord::PageLabel() const {
    CString label;
    m_pageLabel.GetWindowText(label);
    return label;
}

int CCPTreeRecord::FillPage(unsigned page) {
    m_prev.EnableWindow(TRUE);
    m_next.EnableWindow(TRUE);
    // Shown as the signed numbers they are: no match gives "1/0".
    const int pages = static_cast<int>(m_lastPage + 1);
    CString label;
    label.Format(u"%d/%d", static_cast<int>(page + 1), pages);
    if (page >= m_lastPage) {
        label.Format(u"%d/%d", pages, pages);
        m_next.EnableWindow(FALSE);
    }
    if (page == 0) {
        label.Format(u"%d/%d", 1, pages);
        m_prev.EnableWindow(FALSE);
    }
    m_pageLabel.SetWindowText(label);
    m_pageLabel.Invalidate();

    CString id;
    m_userId.GetWindowText(id);
    BuildRange();
    int rows = 0;
    CRecordStore& store = *g_pRecordStore;
    store.QueryRecordPage(static_cast<int>(page * m_rowsPerPage), static_cast<int>(m_rowsPerPage),
                          m_dept.GetCurSelValue(), id, rows, m_from, m_to);
    if (rows <= 0) return 0;
    m_list.DeleteAllItems();
    for (int row = 0; row < rows; ++row) {
        m_list.InsertItem(row, ShowUserId(store.PageText(row, 0)));
        m_list.SetItemText(row, 1, store.PageText(row, 1));
        m_list.SetItemText(row, 2, ShowCheckTime(store.PageText(row, 2), g_MachineConfig.DateType));
        m_list.SetItemText(row, 3, store.PageText(row, 3));
    }
    return rows;
}

void CCPTreeRecord::FocusFirstRow() {
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetFocus();
}

void CCPTreeRecord::NextPage() {
    // A search that matched nothing leaves nothing to page to. Entering the
    // page again clears the count but keeps the last search's pages.
    if (m_lastPage == LastPageOf(0) || m_page + 1 > m_lastPage) return;
    ++m_page;
    if (FillPage(m_page) == 0) --m_page;
    FocusFirstRow();
}

void CCPTreeRecord::PrevPage() {
    if (m_page == 0) return;
    --m_page;
    FillPage(m_page);
    FocusFirstRow();
}

void CCPTreeRecord::FirstPage() {
    m_page = 0;
    FillPage(0);
}

void CCPTreeRecord::LastPage() {
    CString id;
    m_userId.GetWindowText(id);
    BuildRange();
    int count = 0;
    g_pRecordStore->CountRecords(m_dept.GetCurSelValue(), id, count, m_from, m_to);
    // Without a match there is no last page to show.
    if (count <= 0) return;
    m_list.DeleteAllItems();
    m_page = LastPageOf(static_cast<unsigned>(count));
    FillPage(m_page);
}

CString CCPTreeRecord::ShowUserId(CString id) {
    if (id.GetLength() > 6) id.Insert(5, u'.');
    return id;
}

CString CCPTreeRecord::ShowCheckTime(const CString& checkTime, int dateType) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    ParseDateTime(checkTime, &year, &month, &day, &hour, &minute, &second);
    CString text;
    switch (dateType) {
    case 0:
        text.Format(u"%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
        return text.Mid(2);
    case 1:
    case 2:
        // The year is cut to its last two digits.
        text.Format(u"%02d-%02d-%04d %02d:%02d:%02d", dateType == 1 ? month : day, dateType == 1 ? day : month,
                    year, hour, minute, second);
        text.Delete(6, 2);
        return text;
    default:
        return CString(u'#', 22);
    }
}
