#include "widgets/LDMessageBox.h"

#include <cstdlib>

#include "core/LangText.h"
#include "core/AppMessageBox.h"
#include "platform/base/utf.h"
#include "platform/ui/script.h"

IMPLEMENT_DYNAMIC(CLDMessageBox, CDialog)

namespace {

// In front of every window, the splash screen included.
const DialogTemplate kMessageBoxTemplate{CLDMessageBox::kTemplate, WS_POPUP, 0, 0, 87, 93, u"", {}, WS_EX_TOPMOST};
const DialogTemplateEntry kMessageBoxEntry(kMessageBoxTemplate);

constexpr COLORREF kMessageColor = 0xDFDFDF;
constexpr COLORREF kLabelColor = 0x09A3FF;
constexpr int kLabelTop = 78;

}  // namespace

CLDMessageBox::CLDMessageBox(BOOL twoButtons, CWnd* parent) : CDialog(kTemplate, parent), m_twoButtons(twoButtons) {
    MakeWidgetFont(m_font, {u"Microsoft JhengHei", 18, 0, 1, 6}, {u"tohamo", 16, 0, 1, 6});
    m_background.Load(SkinPath(u"Dialog\\messages.png"), CXIMAGE_FORMAT_PNG);
}

CLDMessageBox::~CLDMessageBox() = default;

void CLDMessageBox::PreSubclassWindow() {
    SetWindowPos(nullptr, 0, 0, static_cast<int>(m_background.GetWidth()), static_cast<int>(m_background.GetHeight()),
                 SWP_NOMOVE);
    CDialog::PreSubclassWindow();
}

BOOL CLDMessageBox::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    CRect rect;
    GetWindowRect(rect);
    // The box is the top-most window of its level: the saved pixels go back
    // where they came from.
    m_snapshot = std::make_unique<CScreenSnapshot>(GetWindow(GW_HWNDFIRST));
    // The box's corners are transparent: what shows there is the screen
    // behind it, painted now rather than left as a window closed before.
    PaintPendingWindows();
    m_snapshot->Capture(rect);
    GetLangText(u"CLDMessageBox", u"LDmb1", u"Yes(OK)", m_confirmLabel);
    GetLangText(u"CLDMessageBox", u"LDmb2", u"No(Esc)", m_refuseLabel);
    ReportMessageBox(m_text);
    const HWND box = m_hWnd;
    m_waiting = std::make_unique<WaitingMessageBox>(Utf16ToUtf8(m_text.str()), [box](int answer) {
        ::PostMessageW(box, answer == IDNO ? kRefuseMessage : kConfirmMessage, 0, 0);
    });
    const int answer = TakeMessageBoxAnswer(0);
    if (answer != 0) PostMessage(answer == IDNO ? kRefuseMessage : kConfirmMessage);
    return TRUE;
}

BOOL CLDMessageBox::PreTranslateMessage(MSG* msg) {
    // The box takes every message carrying the Enter or ESC code; nothing
    // else in it reads such a message.
    if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
        if (msg->message == WM_KEYUP) {
            m_snapshot->Restore();
            PostMessage(msg->wParam == VK_RETURN ? kConfirmMessage : kRefuseMessage);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CLDMessageBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kConfirmMessage || message == kRefuseMessage) {
        m_waiting.reset();
        if (message == kConfirmMessage) OnOK();
        else OnCancel();
        return 1;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CLDMessageBox::OnEraseBkgnd(CDC*) { return TRUE; }

void CLDMessageBox::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(client);
    const CRect textRect = TextArea();
    if (!m_snapshot) return;
    // The corners of the picture are transparent: they blend over the screen
    // as it was behind the box, not over the box's own last paint.
    m_snapshot->Show(&dc, client);
    m_background.Draw(dc, 0, 0, client.Width(), client.Height(), nullptr, true);
    CFont* previousFont = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kMessageColor);
    m_text.Trim();
    CRect wrappedRect;
    bool wrapped = false;
    const CString lines = WrapText(&dc, m_text, textRect, &wrappedRect, &wrapped);
    if (wrapped) {
        dc.DrawText(lines, wrappedRect, DT_NOCLIP | DT_END_ELLIPSIS);
    } else {
        CRect centred = textRect;
        dc.DrawText(m_text, centred, DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_END_ELLIPSIS);
    }
    dc.SetTextColor(kLabelColor);
    if (m_twoButtons) {
        CRect confirm(40, kLabelTop, client.right, client.bottom);
        dc.DrawText(m_confirmLabel, confirm, DT_SINGLELINE | DT_END_ELLIPSIS);
        CRect refuse(115, kLabelTop, client.right, client.bottom);
        dc.DrawText(m_refuseLabel, refuse, DT_SINGLELINE | DT_END_ELLIPSIS);
    } else {
        CRect confirm(client.left, kLabelTop, client.right, client.bottom);
        dc.DrawText(m_confirmLabel, confirm, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    dc.SelectObject(previousFont);
}

CRect CLDMessageBox::TextArea() const {
    CRect client;
    GetClientRect(client);
    return CRect(client.left + 13, client.top + 2, client.right - 8, client.bottom - 30);
}

CString CLDMessageBox::WrapText(CDC* dc, CString text, const CRect& textRect, CRect* wrappedRect, bool* wrapped) {
    *wrapped = false;
    *wrappedRect = textRect;
    const int width = std::abs(textRect.Width());
    if (width == 0) return text;
    CString line;
    for (int i = 0; i <= text.GetLength() - 1; ++i) {
        line += text[i];
        CRect measured(0, 0, width, 0);
        dc->DrawText(line, measured, DT_CALCRECT | DT_CENTER);
        // A single character wider than the line stays on it: cutting before
        // it would never end.
        if (measured.Width() <= width || line.GetLength() == 1) continue;
        int breakAt = -1;
        for (int j = i; j >= i - line.GetLength() + 1; --j) {
            if (text[j] == u' ') {
                breakAt = j;
                break;
            }
        }
        if (breakAt >= 0) {
            i = breakAt;
            text.SetAt(i, u'\n');
            text.Insert(i, u'\r');
        } else {
            text.Insert(i, u"\r\n");
        }
        ++i;  // on the line feed: the next line starts after it
        *wrapped = true;
        line.Empty();
    }
    CRect measured = textRect;
    dc->DrawText(text, measured, DT_CALCRECT | DT_WORDBREAK);
    const int shift = (textRect.Height() - measured.Height()) / 2;
    measured.top += shift;
    measured.bottom += shift;
    *wrappedRect = measured;
    return text;
}
