#include "widgets/JHKeyEdit.h"

#include "core/LangText.h"
#include "widgets/InputDlg.h"

IMPLEMENT_DYNAMIC(CJHKeyEdit, CEdit)

BOOL CJHKeyEdit::PreTranslateMessage(MSG* msg) {
    if (msg->wParam == VK_KEYPAD_STAR && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
        // The keypad has no full-stop key: '*' stands in for it.
        const DWORD flags = msg->message == WM_KEYUP ? KEYEVENTF_KEYUP : 0;
        keybd_event(VK_OEM_PERIOD, static_cast<BYTE>(MapVirtualKey(VK_OEM_PERIOD, MAPVK_VK_TO_VSC)), flags, 0);
        return TRUE;
    }
    // Every message carrying the '#' key's code is the field's, its
    // character included: '#' only ever opens the keyboard.
    if (msg->wParam == VK_KEYPAD_HASH) {
        if (msg->message == WM_KEYUP) OpenKeyboard();
        return TRUE;
    }
    return CEdit::PreTranslateMessage(msg);
}

void CJHKeyEdit::OpenKeyboard() {
    CString text;
    GetWindowText(text);
    // No hint traffic of the field's own while the keyboard is up.
    const BYTE keyHint = m_keyHint;
    m_keyHint = FALSE;
    CInputDlg keyboard(nullptr);
    keyboard.DoModal();
    m_keyHint = keyHint;
    text += keyboard.GetText();
    SetWindowText(text);
    SetSel(text.GetLength(), -1);
    SendMessage(EM_SCROLLCARET);
    SetFocus();
}

void CJHKeyEdit::OnKeyUp(UINT ch, UINT repeat, UINT flags) {
    if (ch == VK_RETURN) {
        if (CWnd* parent = GetParent())
            parent->SendMessage(EditEnterMessage(), static_cast<WPARAM>(GetDlgCtrlID()), 0);
    }
    CEdit::OnKeyUp(ch, repeat, flags);
}

void CJHKeyEdit::OnSetFocus(CWnd* oldWnd) {
    CEdit::OnSetFocus(oldWnd);
    if (!m_keyHint) return;
    CString keyboard;
    GetLangText(u"CJHKeyEdit", u"KE0001", u"键盘", keyboard);
    SendTaskBarHint(CString(u"#/") + keyboard, 1);
}

BOOL CJHKeyEdit::OnReflectedCommand(UINT notifyCode) {
    if (notifyCode != EN_KILLFOCUS) return CEdit::OnReflectedCommand(notifyCode);
    if (m_keyHint) SendTaskBarHint(CString(), -1);
    return TRUE;
}
