#include "widgets/EditST.h"

#include "platform/base/numparse.h"
#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CEditST, CEdit)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 400, 1, 6};
const WidgetFontSpec kOtherFont{u"微软雅黑", 14, 400, 1, 6};

// The focused field's digits.
constexpr COLORREF kFocusedText = 0xE9E9E9;

// A four-digit maximum is the year.
constexpr int kTwoDigitLimit = 101;

// `text` read as "%d"; false when it does not start with a number.
bool ReadNumber(const CString& text, int& number) { return swscanf(text.GetString(), u"%d", &number) == 1; }

}  // namespace

int CEditST::GetValue() const {
    int number = 0;
    return ReadNumber(m_value, number) ? number : -1;
}

void CEditST::PreSubclassWindow() {
    // The bit the canvases add as SS_NOTIFY. On an edit it is ES_NOHIDESEL,
    // which shows nothing here: the field drops its selection on focus.
    ModifyStyle(0, 0x100, SWP_NOSIZE);
    CEdit::PreSubclassWindow();
}

BOOL CEditST::OnEraseBkgnd(CDC*) { return TRUE; }

void CEditST::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    CRect client = paint.Client();
    memory.SetBkMode(TRANSPARENT);
    // Made anew at every paint, so a change of UI language shows at once.
    CFont font;
    const bool haveFont = MakeWidgetFont(font, kTraditionalFont, kOtherFont, false);
    CFont* previousFont = haveFont ? memory.SelectObject(&font) : nullptr;
    const COLORREF previousColor = memory.SetTextColor(m_focused ? kFocusedText : kWidgetDarkText);
    memory.DrawText(m_value, client, DT_SINGLELINE | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    if (!m_suffix.IsEmpty()) memory.DrawText(m_suffix, client, DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (haveFont) memory.SelectObject(previousFont);
}

void CEditST::OnChar(UINT ch, UINT repeat, UINT flags) {
    if (ch < u'0' || ch > u'9') {
        // The edit keeps the character in its own text, which is never shown.
        CEdit::OnChar(ch, repeat, flags);
        return;
    }
    const int digit = static_cast<int>(ch - u'0');
    CString shifted = m_value;
    shifted.AppendFormat(u"%d", digit);
    int candidate = 0;
    const bool inRange = ReadNumber(shifted, candidate) && candidate >= m_minimum && candidate <= m_maximum;
    const int number = inRange ? candidate : digit;
    m_value.Format(m_maximum < kTwoDigitLimit ? u"%02d" : u"%04d", number);
    Repaint();
}

void CEditST::OnSetFocus(CWnd* oldWnd) {
    CEdit::OnSetFocus(oldWnd);
    m_focused = true;
    SetSel(-1, -1);
    ::HideCaret(m_hWnd);
    Repaint();
}

void CEditST::OnKillFocus(CWnd* newWnd) {
    CEdit::OnKillFocus(newWnd);
    m_focused = false;
    Repaint();
}

void CEditST::Repaint() {
    Invalidate(TRUE);
    UpdateWindow();
}
