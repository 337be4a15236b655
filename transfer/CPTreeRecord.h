// The record query page: the attendance records found by user ID,
// department and a date range, counted and shown seven to a page.
#pragma once

#include "panel/CPTreeBase.h"
#include "transfer/PageLook.h"
#include "widgets/FontStatic.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/JHSelectBox.h"
#include "widgets/LDDateCtrl.h"
#include "widgets/SelectButton.h"
#include "widgets/SkinListCtrl.h"

class CCPTreeRecord : public CCPTreeBase {
public:
    enum : UINT { IDD = 136 };
    enum : int {
        IDC_USERID = 1031,
        IDC_DEPT = 1143,
        IDC_START = 1059,
        IDC_END = 1062,
        IDC_PAGE_LABEL = 1260,
        IDC_PREV = 1064,
        IDC_NEXT = 1065,
        IDC_TITLES = 1344,
        IDC_LIST = 1066,
        IDC_FIRST = 1063,
        IDC_LAST = 1034,
        IDC_SEARCH = 1037,
    };
    static constexpr unsigned kRowsPerPage = 7;

    CCPTreeRecord();

    BOOL EnterPage() override;
    BOOL LeavePage() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The user's actions, as the keys and buttons start them.
    void Search();
    void NextPage();
    void PrevPage();
    void FirstPage();
    void LastPage();

    unsigned Count() const { return m_count; }
    unsigned CurrentPage() const { return m_page; }
    CString PageLabel() const;
    const CSkinListCtrl& List() const { return m_list; }
    CJHKeyEdit& IdField() { return m_userId; }
    CJHSelectBox& DeptBox() { return m_dept; }
    CLDDateCtrl& StartDate() { return m_start; }
    CLDDateCtrl& EndDate() { return m_end; }

    // The ID column's form: past 6 characters a "." follows the 5th.
    static CString ShowUserId(CString id);
    // The time column's form by the date-type setting.
    static CString ShowCheckTime(const CString& checkTime, int dateType);

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LayoutControls();
    void FillDepartments();
    void BuildRange();
    // The rows of page `page` into the list; the number of rows found.
    int FillPage(unsigned page);
    void EnablePaging(BOOL enable);
    void FocusFirstRow();
    // Up and Down inside the list; TRUE when the selection moved.
    bool MoveSelection(int step);
    static unsigned LastPageOf(unsigned count);

    CJHKeyEdit m_userId;
    CJHSelectBox m_dept;
    CLDDateCtrl m_start{true};
    CLDDateCtrl m_end{true};
    CFontStatic m_idLabel;
    CFontStatic m_deptLabel;
    CFontStatic m_startLabel;
    CFontStatic m_endLabel;
    CFontStatic m_pageLabel;
    CSelectButton m_prev;
    CSelectButton m_next;
    CSelectButton m_titles;
    CSkinListCtrl m_list;
    CFont m_listFont;
    CPageLook m_look;

    unsigned m_rowsPerPage = kRowsPerPage;
    unsigned m_page = 0;
    unsigned m_count = 0;
    unsigned m_lastPage = 0;
    CString m_from;
    CString m_to;
};
