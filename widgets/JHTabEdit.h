// CJHTabEdit: an edit field whose Up and Down keys move the focus to the
// previous and the next field of a form.
#pragma once

#include "platform/ui/afxwin.h"

class CJHTabEdit : public CEdit {
    DECLARE_DYNAMIC(CJHTabEdit)

public:
    BOOL SetNextEdit(CWnd* next) {
        m_next = next;
        return TRUE;
    }
    BOOL SetPrevEdit(CWnd* previous) {
        m_previous = previous;
        return TRUE;
    }

protected:
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) override;

private:
    CWnd* m_next = nullptr;
    CWnd* m_previous = nullptr;
};
