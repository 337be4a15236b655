#include "widgets/LDDateCtrl.h"

#include <algorithm>

#include "platform/base/localtime.h"

IMPLEMENT_DYNAMIC(CLDDateCtrl, CSelectButton)

namespace {

struct FieldRule {
    int minimum;
    int maximum;
};

constexpr FieldRule kDateRules[] = {{1, 9999}, {1, 12}, {1, 31}};
constexpr FieldRule kTimeRules[] = {{0, 23}, {0, 59}, {0, 59}};

// The fields' child ids are the control's handle value plus these; nothing
// looks the fields up by them, they only keep them apart.
constexpr UINT_PTR kFieldIdOffsets[] = {1001, 2001, 3001};

// Left edge of the first field, in pixels, unless the face's rounded left
// end is wider: the first digits stand clear of it.
constexpr int kFirstFieldLeft = 3;

}  // namespace

CLDDateCtrl::~CLDDateCtrl() = default;

int CLDDateCtrl::FieldValue(int index) const {
    const auto& field = m_fields[static_cast<size_t>(index)];
    return field ? field->GetValue() : -1;
}

void CLDDateCtrl::SetField(int index, int value) {
    const auto& field = m_fields[static_cast<size_t>(index)];
    if (!field) return;
    CString text;
    text.Format(u"%02d", value);
    field->SetValueText(text);
}

void CLDDateCtrl::Clear() {
    for (const auto& field : m_fields) {
        if (!field) continue;
        field->SetValueText(u"00");
        field->Invalidate(TRUE);
        field->UpdateWindow();
    }
}

void CLDDateCtrl::PreSubclassWindow() {
    CreateFields();
    CSelectButton::PreSubclassWindow();
}

void CLDDateCtrl::CreateFields() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const FieldRule* rules = m_dateMode ? kDateRules : kTimeRules;
    const int values[] = {m_dateMode ? now.wYear : now.wHour, m_dateMode ? now.wMonth : now.wMinute,
                          m_dateMode ? now.wDay : now.wSecond};
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto& field = m_fields[i];
        // A field whose window went with an earlier window of this control
        // is made again.
        if (!field || field->m_hWnd == nullptr) {
            if (!field) field = std::make_unique<CEditST>();
            const auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_hWnd) + kFieldIdOffsets[i]);
            field->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id);
            field->SetNeedCapture(TRUE);
        }
        CString text;
        text.Format(m_dateMode && i == 0 ? u"%04d" : u"%02d", values[i]);
        field->SetValueText(text);
        field->SetRange(rules[i].minimum, rules[i].maximum);
    }
}

void CLDDateCtrl::LayOutFields() {
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const double unit = static_cast<double>(width / 10);
    // Widths in tenths of the control: the year field is the widest.
    const double firstSpan = m_dateMode ? 5.5 : 3.3;
    const double secondSpan = m_dateMode ? 2.9 : 3.3;
    const int firstRight = static_cast<int>(unit * firstSpan);
    const int secondRight = static_cast<int>(firstRight + unit * secondSpan);
    const int edges[] = {std::max(kFirstFieldLeft, CaptionLeft()), firstRight, secondRight, width - 1};
    const char16_t* separator = m_dateMode ? u"/" : u":";
    for (size_t i = 0; i < m_fields.size(); ++i) {
        CEditST* field = m_fields[i].get();
        if (field == nullptr) continue;
        if (i + 1 < m_fields.size()) field->SetSuffix(separator);
        field->SetWindowPos(nullptr, edges[i], 0, edges[i + 1] - edges[i], client.Height(), SWP_NOZORDER);
    }
}

void CLDDateCtrl::OnPaint() {
    CPaintDC paint(this);
    PaintFace(paint);
    LayOutFields();
    // Each field copies the face under it once, at the first paint.
    for (const auto& field : m_fields)
        if (field) field->CaptureBackground(this, &paint, 1);
}

void CLDDateCtrl::OnSetFocus(CWnd* oldWnd) {
    // Not the select button's: the control shows no focused face of its own,
    // the focused field shows instead.
    CJHCanvas::OnSetFocus(oldWnd);
    if (m_fields[0]) m_fields[0]->SetFocus();
}

int CLDDateCtrl::FocusedField() const {
    const HWND focus = ::GetFocus();
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i] && m_fields[i]->m_hWnd == focus) return static_cast<int>(i);
    return -1;
}

BOOL CLDDateCtrl::PreTranslateMessage(MSG* msg) {
    // Not the select button's Enter rule: Enter belongs to the page here.
    if (msg->wParam != VK_RIGHT && msg->wParam != VK_LEFT) return CWnd::PreTranslateMessage(msg);
    if (msg->message == WM_KEYUP) {
        const int focused = FocusedField();
        if (focused >= 0) {
            const int step = msg->wParam == VK_RIGHT ? 1 : kFieldCount - 1;
            m_fields[static_cast<size_t>((focused + step) % kFieldCount)]->SetFocus();
        }
    }
    return TRUE;
}
