#include "tools/gallery/controls_page.h"

#include <iterator>

namespace {

constexpr UINT kControlsTemplate = 9003;
constexpr COLORREF kPageColor = RGB(0xAB, 0xD9, 0xE6);

const DialogTemplate kControls{
    kControlsTemplate,
    WS_POPUP,
    0,
    0,
    320,
    240,
    u"Controls",
    {
        {kControlsTitle, WC_STATIC, u"Controls 列表与树", SS_CENTER, 0, 2, 320, 18},
        {kControlsIdLabel, WC_STATIC, u"ID", SS_LEFT, 8, 26, 24, 18},
        {kControlsId, WC_EDIT, u"", WS_BORDER | WS_TABSTOP | ES_NUMBER, 34, 24, 112, 22},
        {kControlsPasswordLabel, WC_STATIC, u"密码", SS_LEFT, 156, 26, 32, 18},
        {kControlsPassword, WC_EDIT, u"", WS_BORDER | WS_TABSTOP | ES_PASSWORD, 190, 24, 122, 22},
        {kControlsList, WC_LISTVIEW, u"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 8, 52, 304, 98},
        {kControlsTree, WC_TREEVIEW, u"", TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP, 8, 156,
         150, 80},
        {kControlsRowStatus, WC_STATIC, u"Row: -", SS_LEFT, 166, 160, 146, 18},
        {kControlsDeptStatus, WC_STATIC, u"Dept: -", SS_LEFT, 166, 182, 146, 18},
    },
};
const DialogTemplateEntry kControlsEntry(kControls);

struct Person {
    const char16_t* id;
    const char16_t* name;
    const char16_t* dept;
};

constexpr Person kPeople[] = {
    {u"1001", u"张伟", u"Sales"},
    {u"1002", u"Anna Berg", u"Works"},
    {u"1003", u"李娜", u"Assembly"},
    {u"1004", u"Omar Haddad", u"Sales"},
    {u"1005", u"王芳", u"Works"},
};

}  // namespace

CControlsPage::CControlsPage() : CGalleryPageBase(kControlsTemplate) {}

void CControlsPage::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, kControlsId, m_id);
    DDX_Control(dx, kControlsPassword, m_password);
    DDX_Control(dx, kControlsList, m_list);
    DDX_Control(dx, kControlsTree, m_tree);
}

BOOL CControlsPage::OnInitDialog() {
    CGalleryPageBase::OnInitDialog();
    m_id.LimitText(8);
    m_id.SetWindowText(u"1024");
    m_password.SetWindowText(u"secret");
    FillList();
    FillTree();
    m_id.SetFocus();
    m_id.SetSel(4, 4);
    return FALSE;  // the focus is set
}

void CControlsPage::FillList() {
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_list.InsertColumn(0, u"ID", LVCFMT_LEFT, 60);
    m_list.InsertColumn(1, u"Name", LVCFMT_LEFT, 130);
    m_list.InsertColumn(2, u"Dept", LVCFMT_RIGHT, 110);
    for (int row = 0; row < static_cast<int>(std::size(kPeople)); ++row) {
        m_list.InsertItem(row, kPeople[row].id);
        m_list.SetItemText(row, 1, kPeople[row].name);
        m_list.SetItemText(row, 2, kPeople[row].dept);
    }
    m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CControlsPage::FillTree() {
    HTREEITEM head = m_tree.InsertItem(u"Head office 总公司");
    m_tree.SetItemData(head, 1);
    HTREEITEM sales = m_tree.InsertItem(u"Sales", head);
    m_tree.SetItemData(sales, 2);
    HTREEITEM works = m_tree.InsertItem(u"Works", head);
    m_tree.SetItemData(works, 3);
    m_tree.SetItemData(m_tree.InsertItem(u"Assembly", works), 4);
    m_tree.Expand(head, TVE_EXPAND);
    m_tree.SelectItem(works);
}

BOOL CControlsPage::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(client);
    dc->FillSolidRect(client, kPageColor);
    return TRUE;
}

BOOL CControlsPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (static_cast<int>(wParam) == kControlsList && header->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if (change->uNewState & LVIS_SELECTED) SetLabel(kControlsRowStatus, CString(u"Row: ") + m_list.GetItemText(change->iItem, 1));
    }
    if (static_cast<int>(wParam) == kControlsTree && header->code == TVN_SELCHANGED) {
        auto* change = reinterpret_cast<NMTREEVIEW*>(lParam);
        SetLabel(kControlsDeptStatus, CString(u"Dept: ") + m_tree.GetItemText(change->itemNew.hItem));
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
