// CJHListCtrl: a report list under the skinned column header (CJHHeaderCtrl).
// It never erases: its rows are painted over what lies under the list, and
// where rows or columns go away the page paints that part again.
#pragma once

#include "platform/ui/afxcmn.h"
#include "widgets/JHHeaderCtrl.h"

class CJHListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CJHListCtrl)

public:
    CJHListCtrl() = default;
    // Lets go of the header without destroying it: the window is the list's.
    ~CJHListCtrl() override;

    // The lowest selected row, -1 when none is.
    int GetSelectedItem() const;

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CJHHeaderCtrl m_header;
};
