#include "users/CPTreeDeptManage.h"

#include "core/ShowMessage.h"
#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/SqlHelpers.h"
#include "platform/ui/ddx.h"
#include "platform/ui/dialog.h"
#include "users/UserRows.h"

namespace {

const char16_t* const kSection = u"CCPTreeDeptManage";

enum : int {
    IDC_DEPT_SELECTED_LABEL = 1035,
    IDC_DEPT_TREE = 1070,
    IDC_DEPT_SELECTED = 1071,
    IDC_DEPT_NEW_LABEL = 1072,
    IDC_DEPT_NEW = 1073,
    IDC_DEPT_ADD = 1074,
    IDC_DEPT_RENAME = 1075,
    IDC_DEPT_DELETE = 1076,
    IDC_DEPT_SAVE = 1077,
    IDC_DEPT_CANCEL = 1078,
    IDC_DEPT_HELP = 1154,
};

constexpr int kFirstButton = IDC_DEPT_ADD;
constexpr int kFolderClosed = 0;
constexpr int kFolderOpen = 1;

const DialogTemplate kDeptTemplate{
    CCPTreeDeptManage::IDD,
    WS_CHILD,
    0,
    0,
    320,
    232,
    u"",
    {
        {IDC_DEPT_TREE, u"SysTreeView32", u"", WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES, 10, 10, 150, 190},
        {IDC_DEPT_SELECTED_LABEL, u"STATIC", u"", 0, 160, 13, 88, 23},
        {IDC_DEPT_SELECTED, u"EDIT", u"", WS_BORDER | ES_READONLY, 249, 10, 66, 23},
        {IDC_DEPT_NEW_LABEL, u"STATIC", u"", 0, 160, 43, 88, 23},
        {IDC_DEPT_NEW, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 249, 40, 66, 23},
        {IDC_DEPT_HELP, u"STATIC", u"", 0, 165, 80, 150, 110},
        {IDC_DEPT_ADD, u"BUTTON", u"", WS_TABSTOP, 4, 205, 59, 23},
        {IDC_DEPT_RENAME, u"BUTTON", u"", WS_TABSTOP, 67, 205, 59, 23},
        {IDC_DEPT_DELETE, u"BUTTON", u"", WS_TABSTOP, 130, 205, 59, 23},
        {IDC_DEPT_SAVE, u"BUTTON", u"", WS_TABSTOP, 193, 205, 59, 23},
        {IDC_DEPT_CANCEL, u"BUTTON", u"", WS_TABSTOP, 256, 205, 59, 23},
    },
};
const DialogTemplateEntry kDeptEntry(kDeptTemplate);

// Per step, the state of Add, Rename, Delete, Save, Cancel: 'E' enabled,
// 'D' disabled, '-' unchanged.
const char* const kButtonSteps[] = {"-----", "DDDEE", "DDDEE", "EE---", "EEEDD", "EEED-", "EEE--", "DDD--"};

void Say(LPCWSTR key, LPCWSTR defaultText) { ShowMessage(PageText(kSection, key, defaultText), 0); }

// The head office is the department whose parent is 0.
bool IsHeadOffice(int deptId) {
    CString sql;
    sql.Format(u"select * from Dept where Deptid='%d'", deptId);
    StatementPtr row(g_pDatabase->Statement(sql));
    return row->NextRow() && row->ValueInt(2) == 0;
}

void RecountDepartments() {
    if (g_pDeptStorage != nullptr) g_pDeptStorage->LoadCount();
}

}  // namespace

CCPTreeDeptManage::CCPTreeDeptManage() : CCPTreeBase(IDD, nullptr) {}

void CCPTreeDeptManage::DoDataExchange(CDataExchange* dx) {
    CCPTreeBase::DoDataExchange(dx);
    DDX_Control(dx, IDC_DEPT_TREE, m_tree);
    DDX_Control(dx, IDC_DEPT_SELECTED_LABEL, m_selectedLabel);
    DDX_Control(dx, IDC_DEPT_SELECTED, m_selectedName);
    DDX_Control(dx, IDC_DEPT_NEW_LABEL, m_newLabel);
    DDX_Control(dx, IDC_DEPT_NEW, m_newName);
    DDX_Control(dx, IDC_DEPT_HELP, m_help);
    for (int i = 0; i < 5; ++i) DDX_Control(dx, kFirstButton + i, m_buttons[i]);
}

BOOL CCPTreeDeptManage::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    m_selectedLabel.SetWindowText(PageText(kSection, u"M0002", u"当前选择的选择部门"));
    m_newLabel.SetWindowText(PageText(kSection, u"M0003", u"请输入新部门名称 "));
    m_help.SetTextFormat(0, 12);
    m_help.SetWindowText(PageText(kSection, u"M0009",
                                  u"增加时，新的部门名称不\t能与已有的部门重复；                           \t删除部门时，"
                                  u"只有当前的\t部门没有下属部门才可以\t删除"));
    static const struct {
        const char16_t* key;
        const char16_t* text;
    } kButtons[] = {{u"M0004", u"增加"}, {u"M0005", u"修改"}, {u"M0006", u"删除"}, {u"M0008", u"保存"}, {u"M0007", u"取消"}};
    for (int i = 0; i < 5; ++i) m_buttons[i].SetWindowText(PageText(kSection, kButtons[i].key, kButtons[i].text));
    return TRUE;
}

BOOL CCPTreeDeptManage::EnterPage() {
    BuildTree();
    for (CFontStatic* label : {&m_selectedLabel, &m_newLabel, &m_help}) label->SetNeedCapture(TRUE);
    const BOOL entered = CCPTreeBase::EnterPage();
    m_tree.SetFocus();
    return entered;
}

void CCPTreeDeptManage::BuildTree() {
    m_buttons[3].EnableWindow(FALSE);
    m_buttons[4].EnableWindow(FALSE);
    for (int i = 0; i < 3; ++i) m_buttons[i].EnableWindow(TRUE);
    m_tree.DeleteAllItems();
    CString sql;
    sql.Format(u"Select * from dept where supdeptid = %s", u"0");
    StatementPtr root(g_pDatabase->Statement(sql));
    if (root->NextRow()) {
        const HTREEITEM item = m_tree.InsertItem(root->ValueString(1), kFolderClosed, kFolderOpen);
        m_tree.SetItemData(item, static_cast<DWORD_PTR>(root->ValueInt(0)));
        sql.Format(u"select * from dept where supdeptid <>%s order by SupDeptid,Deptid ", u"0");
        StatementPtr rows(g_pDatabase->Statement(sql));
        while (rows->NextRow()) {
            // A department whose parent is not in the tree is not shown.
            const HTREEITEM parent = FindItem(item, rows->ValueInt(2));
            if (parent == nullptr) continue;
            const HTREEITEM child = m_tree.InsertItem(rows->ValueString(1), kFolderClosed, kFolderOpen, parent);
            m_tree.SetItemData(child, static_cast<DWORD_PTR>(rows->ValueInt(0)));
        }
        m_selectedName.SetWindowText(m_tree.GetItemText(item));
    }
    m_pending = false;
    m_newName.SetReadOnly(TRUE);
    m_mode = kNone;
}

// Depth first: an item's children before its next siblings.
HTREEITEM CCPTreeDeptManage::FindItem(HTREEITEM from, int deptId) const {
    for (HTREEITEM item = from; item != nullptr; item = m_tree.GetNextSiblingItem(item)) {
        if (DeptIdOf(item) == deptId) return item;
        if (const HTREEITEM found = FindItem(m_tree.GetChildItem(item), deptId)) return found;
    }
    return nullptr;
}

void CCPTreeDeptManage::SetButtons(int step) {
    for (int i = 0; i < 5; ++i) {
        const char state = kButtonSteps[step][i];
        if (state != '-') m_buttons[i].EnableWindow(state == 'E');
    }
}

bool CCPTreeDeptManage::IsEnabled(int id) const { return m_buttons[id - kFirstButton].IsWindowEnabled() != FALSE; }

void CCPTreeDeptManage::RunButton(int id) {
    switch (id) {
        case IDC_DEPT_ADD: OnAdd(); break;
        case IDC_DEPT_RENAME: OnRename(); break;
        case IDC_DEPT_DELETE: OnDelete(); break;
        case IDC_DEPT_SAVE: OnSave(); break;
        case IDC_DEPT_CANCEL: OnCancelEdit(); break;
        default: break;
    }
}

// A new department needs a parent, and the table holds at most 100.
void CCPTreeDeptManage::OnAdd() {
    if (m_tree.GetSelectedItem() == nullptr) {
        Say(u"M0015", u"请先选择上级部门!");
        m_tree.SetFocus();
        return;
    }
    if (QueryInt(*g_pDatabase, u"Select count(*) from dept") >= DeptLimit) {
        Say(u"M0016", u"部门数已满!");
        m_tree.SetFocus();
        return;
    }
    StartEditing(kAdding);
}

void CCPTreeDeptManage::OnRename() { StartEditing(kRenaming); }

void CCPTreeDeptManage::StartEditing(EditMode mode) {
    m_mode = mode;
    m_newName.EnableWindow(TRUE);
    m_newName.SetReadOnly(FALSE);
    m_newName.SetFocus();
    m_pending = true;
    SetButtons(mode);
}

void CCPTreeDeptManage::OnSave() {
    CString name;
    m_newName.GetWindowText(name);
    if (name.IsEmpty()) {
        Say(u"M0003", u"请输入新部门名称 ");
        return;
    }
    if (m_mode == kAdding && !SaveNewDept(name)) return;
    if (m_mode == kRenaming && !SaveRename(name)) return;
    m_pending = false;
    EndEditing();
    SetButtons(4);
    m_tree.SetFocus();
}

bool CCPTreeDeptManage::SaveNewDept(const CString& name) {
    const HTREEITEM parent = m_tree.GetSelectedItem();
    if (parent == nullptr) return false;
    const int newId = QueryInt(*g_pDatabase, u"Select max(deptid) from dept") + 1;
    CString sql;
    sql.Format(u"Insert into Dept(Deptid,DeptName,SupDeptid,DeptGroup) values('%d',?,'%d','%s')", newId,
               DeptIdOf(parent), u"1");
    CWriteFailureBox failure;
    if (!failure.Run([&] { return ExecuteBound(*g_pDatabase, sql, {name}); })) {
        failure.Show();
        return true;
    }
    RecountDepartments();
    const HTREEITEM item = m_tree.InsertItem(name, kFolderClosed, kFolderOpen, parent);
    m_tree.SetItemData(item, static_cast<DWORD_PTR>(newId));
    return true;
}

bool CCPTreeDeptManage::SaveRename(const CString& name) {
    const HTREEITEM item = m_tree.GetSelectedItem();
    if (item == nullptr) return true;
    if (IsHeadOffice(DeptIdOf(item))) {
        Say(u"M0013", u"总公司不能改名!");
        return false;
    }
    CString sql;
    sql.Format(u"update Dept set DeptName=? where Deptid='%d'", DeptIdOf(item));
    CWriteFailureBox failure;
    if (failure.Run([&] { return ExecuteBound(*g_pDatabase, sql, {name}); })) {
        m_tree.SetItemText(item, name);
        m_selectedName.SetWindowText(name);
    } else {
        failure.Show();
    }
    return true;
}

void CCPTreeDeptManage::EndEditing() {
    m_newName.SetWindowText(u"");
    m_newName.SetReadOnly(TRUE);
    m_mode = kNone;
}

void CCPTreeDeptManage::OnCancelEdit() {
    m_pending = false;
    EndEditing();
    SetButtons(5);
    m_tree.SetFocus();
}

// The row goes first: the tree loses the item only when the table did.
void CCPTreeDeptManage::OnDelete() {
    const HTREEITEM item = m_tree.GetSelectedItem();
    if (item == nullptr) return;
    const int deptId = DeptIdOf(item);
    CString sql;
    sql.Format(u"Select count(*) from dept where SupDeptid = %d", deptId);
    if (QueryInt(*g_pDatabase, sql) > 0 || IsHeadOffice(deptId)) {
        Say(u"M0010", u"总公司不能删除!");
        m_tree.SetFocus();
        return;
    }
    if (ShowMessage(PageText(kSection, u"M0014", u"确定删除该部门吗?"), 1) != IDYES) {
        m_tree.SetFocus();
        return;
    }
    sql.Format(u"Delete from Dept where Deptid =%d ", deptId);
    CWriteFailureBox failure;
    if (!failure.Run([&] { return g_pDatabase->DirectStatement(sql); })) {
        failure.Show();
        m_tree.SetFocus();
        return;
    }
    RecountDepartments();
    m_tree.DeleteItem(item);
    SetButtons(3);
    m_tree.SetFocus();
    if (m_tree.GetSelectedItem() == nullptr && m_tree.GetRootItem() != nullptr) m_tree.SelectItem(m_tree.GetRootItem());
}

BOOL CCPTreeDeptManage::LeavePage() {
    if (m_pending) {
        if (m_mode == kAdding) Say(u"M0011", u"增加部门不成功:输入新部门后,点击保存!");
        if (m_mode == kRenaming) Say(u"M0012", u"修改部门不成功:输入新部门后,点击保存!");
        m_pending = false;
    }
    m_selectedName.SetWindowText(u"");
    EndEditing();
    return CCPTreeBase::LeavePage();
}

BOOL CCPTreeDeptManage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= IDC_DEPT_ADD && id <= IDC_DEPT_CANCEL) {
        RunButton(id);
        return TRUE;
    }
    return CCPTreeBase::OnCommand(wParam, lParam);
}

BOOL CCPTreeDeptManage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom != IDC_DEPT_TREE) return CCPTreeBase::OnNotify(wParam, lParam, result);
    if (header->code == TVN_SELCHANGED) {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        if (change->itemNew.hItem != nullptr) m_selectedName.SetWindowText(m_tree.GetItemText(change->itemNew.hItem));
    } else if (header->code == static_cast<UINT>(NM_SETFOCUS)) {
        SetButtons(6);
    } else if (header->code == static_cast<UINT>(NM_KILLFOCUS)) {
        SetButtons(7);
    } else if (header->code == TVN_ITEMEXPANDED) {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        const int image = (change->itemNew.state & TVIS_EXPANDED) ? kFolderOpen : kFolderClosed;
        m_tree.SetItemImage(change->itemNew.hItem, image, image);
    }
    *result = 0;
    return TRUE;
}

LRESULT CCPTreeDeptManage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) {
        RunButton(static_cast<int>(wParam));
        return 1;
    }
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

BOOL CCPTreeDeptManage::PreTranslateMessage(MSG* msg) {
    const bool inTree = CWnd::GetFocus() == &m_tree;
    // The tree walks its items on the arrows' key-downs.
    if (inTree && msg->message == WM_KEYDOWN && (msg->wParam == VK_UP || msg->wParam == VK_DOWN))
        return CDialog::PreTranslateMessage(msg);
    if (msg->message != WM_KEYUP || msg->wParam == VK_ESCAPE) return CCPTreeBase::PreTranslateMessage(msg);
    switch (msg->wParam) {
        case VK_F1:
        case VK_F2:
        case VK_F3:
            if (!inTree) break;
            RunButton(static_cast<int>(kFirstButton + (msg->wParam - VK_F1)));
            return TRUE;
        case VK_F4:
            if (IsEnabled(IDC_DEPT_SAVE)) OnSave();
            if (inTree) return TRUE;
            break;
        case VK_F5:
            if (IsEnabled(IDC_DEPT_CANCEL)) OnCancelEdit();
            if (inTree) return TRUE;
            break;
        case VK_UP:
            if (inTree && m_tree.GetSelectedItem() == m_tree.GetRootItem()) {
                PrevDlgCtrl();
                return TRUE;
            }
            if (inTree) return CDialog::PreTranslateMessage(msg);
            break;
        case VK_DOWN:
            if (inTree && m_tree.GetSelectedItem() == m_tree.GetLastVisibleItem()) {
                NextDlgCtrl();
                return TRUE;
            }
            if (inTree) return CDialog::PreTranslateMessage(msg);
            break;
        default:
            if (inTree) return CDialog::PreTranslateMessage(msg);
            break;
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}
