// CCPTreeVertifyType: the device's verify-type code (VERTIFYTYPE), one row
// per first credential (fingerprint, card, user ID) with a select box for
// what must follow it. The choice is stored when the page is left.
#pragma once

#include "rules/RulePage.h"
#include "widgets/JHSelectBox.h"

class CCPTreeVertifyType : public CRulePage {
public:
    static constexpr UINT IDD = 153;
    CCPTreeVertifyType();

    BOOL LeavePage() override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSBSelChange(UINT id) override;

private:
    static constexpr int kRows = 3;  // fingerprint, card, user ID

    void FillOptionLists();
    void LayoutControls();
    // The row's trailing label: VF0009 unless the value refuses or passes.
    void UpdateTrailingLabel(int row);
    int RowOf(UINT id) const;
    // The row's field for the stored code: its own when the box holds a
    // stored value it has no item for and the administrator left it alone.
    int RowValue(int row) const;

    CJHSelectBox m_boxes[kRows];
    CFontStatic m_titles[kRows];
    CFontStatic m_help;
    CFontStatic m_plus[kRows];
    CFontStatic m_trailing[kRows];
    // VF0005 to VF0010.
    CString m_refused, m_password, m_finger, m_fingerAndPassword, m_passes, m_card;

    int m_stored[kRows] = {};
    bool m_storedShown[kRows] = {};
    bool m_touched[kRows] = {};
    // Set once the notices of the entry's own selections have come in.
    bool m_watching = false;
};
