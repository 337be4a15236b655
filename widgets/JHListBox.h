// CJHListBox: an edit field that shows one value of a list of {value, text}
// items and steps through them with Left and Right, wrapping at both ends.
// The field leaves room of its own height on each side (for arrow pictures
// the page places there) and can enable and disable two companion windows
// with itself. Enter, once the field has had the focus for more than half a
// second, is announced to the parent with "EditEnter".
#pragma once

#include <vector>

#include "widgets/WidgetRules.h"

class CJHListBox : public CEdit {
    DECLARE_DYNAMIC(CJHListBox)

public:
    CJHListBox();

    // Appends the item and shows the current one. TRUE.
    BOOL AddItem(CString text, int value);
    // 0 and an empty text when the list is empty.
    int GetCurSelValue() const;
    CString GetCurSelText() const;
    // Empties the list; the shown text stays. TRUE.
    BOOL ResetContent();

    void SetFirstCompanion(CWnd* companion) { m_firstCompanion = companion; }
    void SetSecondCompanion(CWnd* companion) { m_secondCompanion = companion; }
    // Enables or disables the field and its companions.
    void Enable(BOOL enable);

protected:
    void PreSubclassWindow() override;
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) override;
    void OnSetFocus(CWnd* oldWnd) override;

private:
    struct Item {
        int value;
        CString text;
    };
    void ShowCurrent();

    CWnd* m_firstCompanion = nullptr;
    CWnd* m_secondCompanion = nullptr;
    std::vector<Item> m_items;
    int m_current = 0;
    DWORD m_focusTick;
};
