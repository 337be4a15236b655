// The gallery's second page: the edit, list-view and tree-view controls.
//
// An ID field (focused, with its caret), a password field, a report-view
// list with a header and a chosen row, and a department tree. The status
// lines show the chosen row and department as the list and tree report them.
#pragma once

#include "platform/ui/afxcmn.h"
#include "platform/ui/afxwin.h"
#include "tools/gallery/gallery_pages.h"

enum ControlsPageIds : int {
    kControlsTitle = 1100,
    kControlsIdLabel,
    kControlsId,
    kControlsPasswordLabel,
    kControlsPassword,
    kControlsList,
    kControlsTree,
    kControlsRowStatus,
    kControlsDeptStatus,
};

class CControlsPage : public CGalleryPageBase {
public:
    CControlsPage();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void FillList();
    void FillTree();

    CEdit m_id;
    CEdit m_password;
    CListCtrl m_list;
    CTreeCtrl m_tree;
};
