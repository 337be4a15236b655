#include "platform/ui/msgbox.h"

#include <algorithm>

#include "platform/base/utf.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/afxgdi.h"
#include "platform/ui/display.h"
#include "platform/ui/windowdc.h"
#include "platform/ui/script.h"

namespace {

constexpr int kTextId = 100;
constexpr int kWidth = 280;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 20;
constexpr int kMinTextHeight = 20;

DialogItemTemplate Button(int id, const char16_t* text, DWORD style) {
    return {id, WC_BUTTON, text, static_cast<DWORD>(style | WS_TABSTOP), 0, 0, kButtonWidth, kButtonHeight};
}

// Laid out again for each box in OnInitDialog: the text decides the height.
DialogTemplate BoxTemplate(std::initializer_list<DialogItemTemplate> buttons) {
    DialogTemplate box{0, WS_POPUP | DS_MODALFRAME, 0, 0, kWidth, 100, u"",
                       {{kTextId, WC_STATIC, u"", SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0}}, WS_EX_TOPMOST};
    box.items.insert(box.items.end(), buttons);
    return box;
}

const DialogTemplate kOkTemplate = BoxTemplate({Button(IDOK, u"OK", BS_DEFPUSHBUTTON | WS_GROUP)});
const DialogTemplate kYesNoTemplate =
    BoxTemplate({Button(IDYES, u"Yes", BS_DEFPUSHBUTTON | WS_GROUP), Button(IDNO, u"No", BS_PUSHBUTTON)});

class CSystemMessageBox : public CDialog {
public:
    CSystemMessageBox(const CString& text, bool question, HWND owner)
        : CDialog(question ? &kYesNoTemplate : &kOkTemplate, CWnd::FromHandle(owner)),
          m_text(text),
          m_question(question) {}

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CWnd* text = GetDlgItem(kTextId);
        text->SetWindowText(m_text);
        // The text's height at the box's width, within the screen.
        CRect measured(0, 0, kWidth - 2 * kMargin, 0);
        {
            CClientDC dc(text);
            CFont* previous = dc.SelectObject(text->GetFont());
            dc.DrawText(m_text, measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
            if (previous != nullptr) dc.SelectObject(previous);
        }
        const int maxText = kScreenHeight - 3 * kMargin - kButtonHeight - 4;
        const int textHeight = std::clamp(static_cast<int>(measured.Height()), kMinTextHeight, maxText);
        const int height = textHeight + 3 * kMargin + kButtonHeight + 4;
        SetWindowPos(nullptr, (kScreenWidth - kWidth) / 2, (kScreenHeight - height) / 2, kWidth, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        text->SetWindowPos(nullptr, kMargin, kMargin, kWidth - 2 * kMargin, textHeight, SWP_NOZORDER);
        const int buttonsTop = 2 * kMargin + textHeight;
        if (m_question) {
            const int left = (kWidth - 2 * kButtonWidth - kButtonGap) / 2;
            GetDlgItem(IDYES)->SetWindowPos(nullptr, left, buttonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            GetDlgItem(IDNO)->SetWindowPos(nullptr, left + kButtonWidth + kButtonGap, buttonsTop, 0, 0,
                                           SWP_NOSIZE | SWP_NOZORDER);
        } else {
            GetDlgItem(IDOK)->SetWindowPos(nullptr, (kWidth - kButtonWidth) / 2, buttonsTop, 0, 0,
                                           SWP_NOSIZE | SWP_NOZORDER);
        }
        SetDefID(m_question ? IDYES : IDOK);
        return TRUE;
    }

    // A raised frame, as the system draws round its dialogs.
    BOOL OnEraseBkgnd(CDC* dc) override {
        const BOOL erased = CDialog::OnEraseBkgnd(dc);
        CRect frame;
        GetClientRect(frame);
        dc->Draw3dRect(frame, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        frame.DeflateRect(1, 1);
        dc->Draw3dRect(frame, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
        return erased;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDYES:
        case IDNO:
            EndDialog(LOWORD(wParam));
            return TRUE;
        case IDCANCEL:
            EndDialog(m_question ? IDNO : IDOK);
            return TRUE;
        default:
            return CDialog::OnCommand(wParam, lParam);
        }
    }

private:
    CString m_text;
    bool m_question;
};

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR, UINT type) {
    const bool question = (type & 0xF) == MB_YESNO;
    CSystemMessageBox box(text, question, owner);
    WaitingMessageBox waiting(Utf16ToUtf8(text), [&box, question](int answer) {
        const int id = !question ? IDOK : answer == IDNO ? IDNO : IDYES;
        ::PostMessageW(box.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    });
    const INT_PTR result = box.DoModal();
    if (result == IDYES || result == IDNO) return static_cast<int>(result);
    return question ? IDNO : IDOK;
}
