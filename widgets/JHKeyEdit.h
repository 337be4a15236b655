// CJHKeyEdit: a text field for the letterless keypad. '*' types a full
// stop; '#' (on its release) opens the on-screen keyboard and appends what
// was typed there; Enter tells the parent with "EditEnter" (wParam = the
// control id). While it has the focus the task bar shows that '#' opens the
// keyboard ("#/" + the KE0001 text), and the previous hint comes back when
// the focus leaves.
#pragma once

#include "widgets/WidgetRules.h"

class CJHKeyEdit : public CEdit {
    DECLARE_DYNAMIC(CJHKeyEdit)

public:
    CJHKeyEdit() = default;

    // Whether focus changes put the hint on the task bar (on by default).
    void EnableKeyHint(bool enable) { m_keyHint = enable ? TRUE : FALSE; }

protected:
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) override;
    void OnSetFocus(CWnd* oldWnd) override;
    BOOL OnReflectedCommand(UINT notifyCode) override;

private:
    void OpenKeyboard();

    BYTE m_keyHint = TRUE;
};
