#include "widgets/OwnerButtonParts.h"

namespace {

constexpr DWORD kTypeBits = 0x1F;
constexpr int kCaptionLimit = 256;

}  // namespace

void CButtonColors::SetDefaults() {
    for (int i = 0; i < kCount; ++i) m_colors[i] = GetSysColor(i % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT);
}

DWORD CButtonColors::Set(BYTE index, COLORREF color) {
    if (index >= kCount) return kButtonInvalidIndex;
    m_colors[index] = color;
    return kButtonOk;
}

DWORD CButtonColors::Get(BYTE index, COLORREF* color) const {
    if (index >= kCount) return kButtonInvalidIndex;
    *color = m_colors[index];
    return kButtonOk;
}

OwnerDrawnKind TakeOverButtonDrawing(CWnd* button) {
    const DWORD style = button->GetStyle();
    OwnerDrawnKind kind;
    kind.type = style & kTypeBits;
    // Only the check-box types: the owner-drawn type shares their bit and
    // must stay a push button.
    kind.toggle = kind.type == BS_CHECKBOX || kind.type == BS_AUTOCHECKBOX;
    if (kind.type == BS_DEFPUSHBUTTON) {
        kind.wasDefault = true;
        kind.type = BS_PUSHBUTTON;
    }
    button->ModifyStyle(kTypeBits, BS_OWNERDRAW, SWP_FRAMECHANGED);
    return kind;
}

DWORD COwnerButtonBase::SetCheck(BOOL check, BOOL repaint) {
    if (m_toggle) {
        m_checked = check;
        Repaint(repaint);
    }
    return kButtonOk;
}

DWORD COwnerButtonBase::SetColor(BYTE index, COLORREF color, BOOL repaint) {
    const DWORD result = m_colors.Set(index, color);
    if (result == kButtonOk) Repaint(repaint);
    return result;
}

DWORD COwnerButtonBase::SetDefaultColors(BOOL repaint) {
    m_colors.SetDefaults();
    Repaint(repaint);
    return kButtonOk;
}

OwnerDrawnKind COwnerButtonBase::TakeOverDrawing() {
    const OwnerDrawnKind kind = TakeOverButtonDrawing(this);
    m_toggle = kind.toggle;
    return kind;
}

bool COwnerButtonBase::IsPressed(UINT itemState) const {
    const bool selected = (itemState & ODS_SELECTED) != 0;
    return m_toggle ? selected || m_checked : selected;
}

void COwnerButtonBase::Repaint(BOOL repaint) {
    if (repaint && m_hWnd != nullptr) Invalidate();
}

HBRUSH COwnerButtonBase::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)); }

CString ButtonCaption(const CWnd* button) {
    char16_t text[kCaptionLimit + 1] = {};
    button->GetWindowText(text, kCaptionLimit + 1);
    return CString(text);
}

void DrawButtonCaption(CDC& dc, const CString& caption, CRect area, bool shifted, bool disabled, COLORREF text,
                       COLORREF background) {
    if (shifted) area.OffsetRect(1, 1);
    CRect place = area;
    dc.DrawText(caption, place, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    place.OffsetRect(area.left - place.left + (area.Width() - place.Width()) / 2,
                     area.top - place.top + (area.Height() - place.Height()) / 2);
    if (disabled) {
        place.OffsetRect(1, 1);
        dc.SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        dc.DrawText(caption, place, DT_WORDBREAK | DT_CENTER);
        place.OffsetRect(-1, -1);
        dc.SetTextColor(GetSysColor(COLOR_BTNSHADOW));
    } else {
        dc.SetTextColor(text);
        dc.SetBkColor(background);
    }
    dc.DrawText(caption, place, DT_WORDBREAK | DT_CENTER);
}
