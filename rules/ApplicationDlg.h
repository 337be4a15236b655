// CApplicationDlg: the attendance-status names page (menu node 141). The
// display names of the eight statuses (IN, OUT, F1 to F6) of table
// StatusBase in eight fields, written back, all eight, whenever the page is
// left. Rows are only renamed, never added or removed.
#pragma once

#include <array>

#include "rules/RulePage.h"
#include "widgets/JHKeyEdit.h"

class CApplicationDlg : public CRulePage {
public:
    static constexpr UINT IDD = 176;
    static constexpr int kStatuses = 8;

    CApplicationDlg();

    BOOL LeavePage() override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnPaint() override;
    // Enter changes nothing here: the focus stays on the name being typed.
    LRESULT OnEditEnter(UINT) override { return 0; }

private:
    void LayoutControls();
    void SaveStatusNames();

    std::array<CFontStatic, kStatuses> m_labels;  // screen rows F1 ... F6, IN, OUT
    CFont m_editFont;
    std::array<CJHKeyEdit, kStatuses> m_edits;  // by status number, IN = 0 ... F6 = 7
};
