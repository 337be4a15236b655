// CCPTreeDeptManage: the department tree of table Dept, with a department
// added under the selected one, renamed or deleted (one without
// sub-departments). No menu entry opens it.
#pragma once

#include "panel/CPTreeBase.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/afxcmn.h"
#include "platform/ui/stdctrls.h"
#include "widgets/FontStatic.h"
#include "widgets/JHKeyEdit.h"

class CCPTreeDeptManage : public CCPTreeBase {
public:
    static constexpr UINT IDD = 149;

    CCPTreeDeptManage();

    BOOL EnterPage() override;
    BOOL LeavePage() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The Deptid an item of the tree stands for.
    int DeptIdOf(HTREEITEM item) const { return static_cast<int>(m_tree.GetItemData(item)); }
    const CTreeCtrl& Tree() const { return m_tree; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum EditMode { kNone = 0, kAdding = 1, kRenaming = 2 };

    void BuildTree();
    HTREEITEM FindItem(HTREEITEM from, int deptId) const;
    void RunButton(int id);
    void OnAdd();
    void OnRename();
    void StartEditing(EditMode mode);
    void OnSave();
    bool SaveNewDept(const CString& name);
    bool SaveRename(const CString& name);
    void OnCancelEdit();
    void OnDelete();
    // The enabled buttons of each step of the page (1 adding ... 7 the tree
    // lost the focus).
    void SetButtons(int step);
    void EndEditing();
    bool IsEnabled(int id) const;

    CTreeCtrl m_tree;
    CFontStatic m_selectedLabel, m_newLabel, m_help;
    CEdit m_selectedName;
    CJHKeyEdit m_newName;
    CButton m_buttons[5];
    EditMode m_mode = kNone;
    bool m_pending = false;
};
