// CCPTreeSearchUser: the users six to a page, filtered by ID, name and
// department, with the way from a row to editing, deleting or the user's
// card.
#pragma once

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "platform/ui/stdctrls.h"
#include "widgets/FontStatic.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/JHSelectBox.h"
#include "widgets/SelectButton.h"
#include "widgets/SkinListCtrl.h"

class CCPTreeSearchUser : public CCPTreeBase {
public:
    static constexpr UINT IDD = 154;
    static constexpr UINT kNode = 124;
    static constexpr UINT kRowsPerPage = 6;
    // Sent when the on-screen keyboard was closed with ESC.
    static constexpr UINT kKeyboardClosedByEsc = WM_USER + 1002;

    CCPTreeSearchUser();

    BOOL EnterPage() override;
    BOOL LeavePage() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    const CSkinListCtrl& List() const { return m_list; }
    UINT MatchCount() const { return m_matches; }
    UINT Page() const { return m_page; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The filter of a search: the normalised ID, the name as typed and the
    // department (65535 for all).
    struct Filter {
        CString id;
        CString name;
        int dept;
    };

    void LayOut();
    void FillDepartmentBox();
    Filter ReadFilter();
    UINT CountMatches(const Filter& filter);
    void LoadPage(const Filter& filter, UINT offset, UINT rows);
    void ShowPageLabel();
    static UINT LastPageOf(UINT matches);

    void OnEditEnter(int controlId);
    void OnFind();
    void OnNextPage();
    void OnPreviousPage();
    void OnFirstPage();
    void OnLastPage();
    void OnEdit();
    void OnDelete();
    void ShowChosenUser();
    bool HandleListArrow(MSG* msg);
    void SelectRow(int row);
    void ClearSelection();
    // The list's selected row, -1 when none.
    int SelectedRow() const;
    template <class F>
    void ForEachCanvas(F f);

    CJHKeyEdit m_editId, m_editName;
    CFontStatic m_labelId, m_labelName, m_labelDept, m_labelPage;
    CSelectButton m_btnSearch, m_btnPrevious, m_btnNext, m_titleLine;
    CxImage m_background;
    CSkinListCtrl m_list;
    CJHSelectBox m_boxDept;
    CButton m_btnFirst, m_btnLast, m_btnEdit, m_btnDelete;
    CFont m_listFont;

    UINT m_rowsPerPage = kRowsPerPage;
    UINT m_matches = 0;
    UINT m_page = 0;
    UINT m_rowsShown = 0;
    UINT m_lastPage = 0;
    BYTE m_keyboardClosedByEsc = 0;
};
