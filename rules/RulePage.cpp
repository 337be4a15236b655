#include "rules/RulePage.h"

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

}  // namespace

CRulePage::CRulePage(UINT templateId, const char16_t* section, int setButtonId)
    : CCPTreeBase(templateId, nullptr), m_section(section), m_setButtonId(setButtonId) {}

CString CRulePage::Text(const char16_t* key, const char16_t* defaultText) const {
    CString text;
    GetLangText(m_section, key, defaultText, text);
    return text;
}

CString CRulePage::FieldText(const CWnd& field) {
    CString text;
    field.GetWindowText(text);
    return text;
}

void CRulePage::Refuse(const CString& text, CWnd& focus) {
    ShowMessage(text, 0);
    focus.SetFocus();
}

void CRulePage::AddPanelSelector(CJHSelectBox& box) {
    const COLORREF panel = static_cast<COLORREF>(g_MachineConfig.PANELCOLOR);
    box.SetColors(TRUE, panel, panel);
    AddCanvas(box);
}

BOOL CRulePage::OnInitDialog() {
    CCPTreeBase::OnInitDialog();
    m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
    return TRUE;
}

void CRulePage::HideForCapture() {
    for (CJHCanvas* widget : m_canvases) {
        widget->ShowWindow(SW_HIDE);
        widget->SetNeedCapture(TRUE);
    }
    for (CFontStatic* label : m_labels) {
        label->ShowWindow(SW_HIDE);
        label->SetNeedCapture(TRUE);
    }
    for (CWnd* field : m_fields) field->ShowWindow(SW_HIDE);
}

BOOL CRulePage::OnEraseBkgnd(CDC* dc) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, kScreenWidth, kScreenHeight);
    CBitmap* previous = memory.SelectObject(&bitmap);
    m_background.Draw(memory, 0, 0);
    dc->BitBlt(0, 0, kScreenWidth, kScreenHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
    for (CJHCanvas* widget : m_canvases) widget->CaptureBackground(this, dc, 1);
    for (CFontStatic* label : m_labels) label->CaptureBackground(this, dc);
    for (CWnd* field : m_fields) field->ShowWindow(SW_SHOWNA);
    return TRUE;
}

HBRUSH CRulePage::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    if (ctlColor != CTLCOLOR_DLG && ctlColor != CTLCOLOR_STATIC && ctlColor != CTLCOLOR_BTN)
        return CCPTreeBase::OnCtlColor(dc, wnd, ctlColor);
    // The display settings may change the colour while the page lives.
    const COLORREF panel = static_cast<COLORREF>(g_MachineConfig.PANELCOLOR);
    if (m_panelBrush.GetSafeHandle() == nullptr || panel != m_brushColor) {
        m_panelBrush.DeleteObject();
        m_panelBrush.CreateSolidBrush(panel);
        m_brushColor = panel;
    }
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_panelBrush.GetSafeHandle());
}

BOOL CRulePage::PreTranslateMessage(MSG* msg) {
    if (m_setButtonId != 0 && IsKeyMessage(msg->message) && msg->wParam == VK_F1) {
        if (msg->message == WM_KEYUP) OnSet();
        return TRUE;
    }
    return CCPTreeBase::PreTranslateMessage(msg);
}

BOOL CRulePage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (!IsSetButton(LOWORD(wParam)) || HIWORD(wParam) != 0) return CCPTreeBase::OnCommand(wParam, lParam);
    OnSet();
    return TRUE;
}

LRESULT CRulePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EditEnterMessage()) return OnEditEnter(static_cast<UINT>(wParam));
    if (message == SelChangeMessage()) return OnSBSelChange(static_cast<UINT>(wParam));
    return CCPTreeBase::WindowProc(message, wParam, lParam);
}

LRESULT CRulePage::OnEditEnter(UINT id) {
    if (IsSetButton(id))
        OnSet();
    else
        NextDlgCtrl();
    return 1;
}

LRESULT CRulePage::OnSBSelChange(UINT) { return 0; }
