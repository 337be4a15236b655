// A developer's dialog for exercising the attendance-record ring: it fills
// the ring with test records, moves and resets the ring's counters and shows
// them beside the stored ones. No menu or key of the terminal opens it.
#pragma once

#include "platform/ui/afxwin.h"

class CRecordTestDlg : public CDialog {
public:
    enum : UINT { IDD = 155 };
    enum : int {
        IDC_ADD = 1027,
        IDC_DELETE = 1028,
        IDC_INIT = 1029,
        IDC_ADD2 = 1030,
        IDC_SET = 1031,
        IDC_READ_RECORDS = 1032,
        IDC_FIVE = 1033,
        IDC_READ = 1034,
        IDC_READ_RANGE = 1035,
        IDC_NEW_ROWID = 1229,
        IDC_ALL_ROWID = 1230,
        IDC_RAW_ROWID = 1231,
        IDC_NEW_COUNT = 1011,
        IDC_ALL_COUNT = 1012,
    };
    static constexpr int kRecordsPerAdd = 500;

    explicit CRecordTestDlg(CWnd* parent = nullptr);

    int Adds() const { return m_adds; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void AddTestRecords();
    void ShowCounters();

    int m_adds = 0;
};
