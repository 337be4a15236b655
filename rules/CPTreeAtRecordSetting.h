// CCPTreeAtRecordSetting: the settings of attendance records: the repeat-
// punch interval, the record alarm threshold and the work-code switch,
// checked and stored when the page is left.
#pragma once

#include "rules/RulePage.h"
#include "rules/StoredChoice.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/JHSelectBox.h"

class CCPTreeAtRecordSetting : public CRulePage {
public:
    static constexpr UINT IDD = 159;
    CCPTreeAtRecordSetting();

    BOOL LeavePage() override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void LayoutControls();

    CJHSelectBox m_workCode;
    CStoredChoice m_workCodeChoice{m_workCode};
    CJHKeyEdit m_interval;
    CJHKeyEdit m_threshold;
    CFontStatic m_intervalTitle;
    CFontStatic m_thresholdTitle;
    CFontStatic m_help;
};
