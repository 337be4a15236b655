#include "tools/gallery/gallery_pages.h"

namespace {

constexpr UINT kPageTemplate = 9001;
constexpr UINT kDialogTemplate = 9002;
constexpr COLORREF kPageTop = RGB(0xAB, 0xD9, 0xE6);
constexpr COLORREF kPageBottom = RGB(0xFF, 0xC9, 0x9C);
constexpr COLORREF kDarkText = RGB(0x06, 0x29, 0x49);

const DialogTemplate kPage{
    kPageTemplate,
    WS_POPUP,
    0,
    0,
    320,
    240,
    u"Gallery",
    {
        {kGalleryTitle, WC_STATIC, u"Gallery 控件一览", SS_CENTER, 0, 4, 320, 20},
        {kGalleryLatin, WC_STATIC, u"The quick brown fox jumps over the lazy dog.", SS_LEFT, 8, 28, 150, 36},
        {kGalleryChinese, WC_STATIC, u"考勤管理系统 指纹登记与门禁设置", SS_LEFT, 164, 28, 148, 36},
        {kGalleryCounter, WC_STATIC, u"Taps: 0", SS_LEFT | SS_NOTIFY, 8, 70, 150, 18},
        {kGalleryStatus, WC_STATIC, u"Result: -", SS_LEFT, 164, 70, 148, 18},
        {kGalleryOpenDialog, WC_BUTTON, u"Dialog...", BS_PUSHBUTTON | WS_TABSTOP, 8, 96, 96, 28},
        {kGalleryDisabled, WC_BUTTON, u"Disabled", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 112, 96, 96, 28},
        {kGallerySwatch, WC_BUTTON, u"Swatch 色块", BS_OWNERDRAW | WS_TABSTOP, 216, 96, 96, 28},
        {kGalleryCheck, WC_BUTTON, u"Check", BS_AUTOCHECKBOX | WS_TABSTOP, 8, 132, 96, 20},
        {kGalleryRadioOne, WC_BUTTON, u"One", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 112, 132, 64, 20},
        {kGalleryRadioTwo, WC_BUTTON, u"Two", BS_AUTORADIOBUTTON, 180, 132, 64, 20},
        {kGalleryGroup, WC_BUTTON, u"Group", BS_GROUPBOX | WS_GROUP, 8, 158, 304, 74},
        {kGalleryGroupText, WC_STATIC, u"Centred text in a group box\r\n第二行", SS_CENTER, 16, 178, 288, 44},
    },
};

const DialogTemplate kDialog{
    kDialogTemplate,
    WS_POPUP | DS_CENTER,
    0,
    0,
    200,
    100,
    u"Question",
    {
        {kGalleryMessage, WC_STATIC, u"Save the changes?\r\n保存更改？", SS_CENTER, 10, 10, 180, 44},
        {IDOK, WC_BUTTON, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 64, 70, 26},
        {IDCANCEL, WC_BUTTON, u"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 110, 64, 70, 26},
    },
};

const DialogTemplateEntry kPageEntry(kPage);
const DialogTemplateEntry kDialogEntry(kDialog);

}  // namespace

void MakeFont(CFont& font) { font.CreateFont(14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 6, 0x20, u"微软雅黑"); }

void SetFontOnChildren(CWnd* parent, CFont* font) {
    for (CWnd* child = parent->GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT))
        child->SetFont(font, FALSE);
}

HBRUSH TransparentStatic(CDC* dc, UINT ctlColor) {
    if (ctlColor != CTLCOLOR_STATIC) return nullptr;
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kDarkText);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CSwatchButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC* dc = CDC::FromHandle(item->hDC);
    CRect face(item->rcItem);
    const bool pushed = (item->itemState & ODS_SELECTED) != 0;
    dc->FillSolidRect(face, pushed ? RGB(0x20, 0x60, 0x90) : RGB(0x40, 0x90, 0xD0));
    dc->Draw3dRect(face, RGB(0xFF, 0xFF, 0xFF), RGB(0x10, 0x30, 0x50));
    if (item->itemState & ODS_FOCUS) {
        CRect focus = face;
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(focus);
    }
    CString caption;
    GetWindowText(caption);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0xFF, 0xFF, 0xFF));
    dc->DrawText(caption, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

CGalleryDialog::CGalleryDialog(CWnd* parent) : CDialog(kDialogTemplate, parent) {}

BOOL CGalleryDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    MakeFont(m_font);
    SetFontOnChildren(this, &m_font);
    return TRUE;
}

BOOL CGalleryDialog::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(client);
    dc->FillSolidRect(client, RGB(0xF4, 0xF1, 0xE8));
    dc->Draw3dRect(client, kDarkText, kDarkText);
    return TRUE;
}

HBRUSH CGalleryDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    HBRUSH brush = TransparentStatic(dc, ctlColor);
    return brush ? brush : CDialog::OnCtlColor(dc, wnd, ctlColor);
}

CGalleryPageBase::CGalleryPageBase(UINT templateId) : CDialog(templateId), m_templateId(templateId) {}

BOOL CGalleryPageBase::CreatePage() {
    if (!Create(m_templateId)) return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CGalleryPageBase::OnInitDialog() {
    CDialog::OnInitDialog();
    MakeFont(m_font);
    SetFontOnChildren(this, &m_font);
    return TRUE;
}

HBRUSH CGalleryPageBase::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    HBRUSH brush = TransparentStatic(dc, ctlColor);
    return brush ? brush : CDialog::OnCtlColor(dc, wnd, ctlColor);
}

void CGalleryPageBase::SetLabel(int id, LPCTSTR text) {
    // The label is transparent: the page repaints what lies under the old text.
    CWnd* label = GetDlgItem(id);
    CRect area;
    label->GetWindowRect(area);
    ScreenToClient(area);
    label->SetWindowText(text);
    InvalidateRect(area, TRUE);
}

CGalleryPage::CGalleryPage() : CGalleryPageBase(kPageTemplate) {}

BOOL CGalleryPage::OnInitDialog() {
    CGalleryPageBase::OnInitDialog();
    CheckRadioButton(kGalleryRadioOne, kGalleryRadioTwo, kGalleryRadioOne);
    return TRUE;
}

void CGalleryPage::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, kGallerySwatch, m_swatch); }

BOOL CGalleryPage::OnEraseBkgnd(CDC* dc) {
    dc->FillSolidRect(0, 0, 320, 120, kPageTop);
    dc->FillSolidRect(0, 120, 320, 120, kPageBottom);
    return TRUE;
}

BOOL CGalleryPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (id == kGalleryOpenDialog && HIWORD(wParam) == BN_CLICKED) {
        CGalleryDialog dialog(this);
        INT_PTR result = dialog.DoModal();
        SetLabel(kGalleryStatus, result == IDOK ? u"Result: OK" : u"Result: Cancel");
        return TRUE;
    }
    if (id == kGalleryCounter && HIWORD(wParam) == STN_CLICKED) {
        CString text;
        text.Format(u"Taps: %d", ++m_taps);
        SetLabel(kGalleryCounter, text);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
