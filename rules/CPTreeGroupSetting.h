// CCPTreeGroupSetting: access groups 2 to 16, each naming up to four access
// time zones. Choosing a group shows its zones; Set (the button, F1, or
// Enter on the button) stores them, after a question, in the in-memory
// group table the verification reads and in table SpaceGroup. Leaving
// stores nothing.
#pragma once

#include "rules/RulePage.h"
#include "widgets/JHSelectBox.h"
#include "widgets/SelectButton.h"

class CCPTreeGroupSetting : public CRulePage {
public:
    static constexpr UINT IDD = 162;
    CCPTreeGroupSetting();

    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT OnSBSelChange(UINT id) override;
    void OnSet() override;

private:
    static constexpr int kZones = 4;

    void LayoutControls();
    void FillSelectors();

    CJHSelectBox m_group;
    CJHSelectBox m_zones[kZones];
    CFontStatic m_groupLabel;
    CFontStatic m_zoneLabels[kZones];
    CSelectButton m_set;
};
