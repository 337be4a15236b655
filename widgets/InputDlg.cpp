#include "widgets/InputDlg.h"

#include "core/LangText.h"
#include "widgets/MemoryDC.h"

IMPLEMENT_DYNAMIC(CInputDlg, CDialog)

namespace {

const DialogTemplate kInputTemplate{CInputDlg::kTemplate,
                                    WS_POPUP,
                                    0,
                                    0,
                                    320,
                                    200,
                                    u"",
                                    {
                                        {CInputDlg::kEditId, u"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, 131, 20, 150, 14},
                                        {CInputDlg::kLabelId, u"STATIC", u"Text", 0, 60, 20, 50, 14},
                                    }};
const DialogTemplateEntry kInputEntry(kInputTemplate);

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;
// Rows of keys are two pixels further apart than the cells are high.
constexpr int kRowGap = 2;

}  // namespace

CInputDlg::CInputDlg(CWnd* parent) : CDialog(kTemplate, parent) {}

CInputDlg::~CInputDlg() = default;

void CInputDlg::PreSubclassWindow() {
    // The keyboard covers the window it belongs to (the whole screen when
    // it belongs to none).
    HWND below = ::GetParent(m_hWnd);
    if (below == nullptr) below = ::GetWindow(m_hWnd, GW_OWNER);
    if (below == nullptr) below = ::GetDesktopWindow();
    CRect rect;
    ::GetWindowRect(below, rect);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    if (!m_snapshot) {
        // The keyboard is the top-most window of its level: the saved pixels
        // go back where they came from.
        m_snapshot = std::make_unique<CScreenSnapshot>(GetWindow(GW_HWNDFIRST));
        m_snapshot->Capture(rect);
    }
    CDialog::PreSubclassWindow();
}

void CInputDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kEditId, m_edit);
    DDX_Control(dx, kLabelId, m_label);
}

BOOL CInputDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect client;
    GetClientRect(client);
    LoadImages();
    m_label.SetNeedCapture(TRUE);
    m_label.SetWindowPos(nullptr, 60, 20, 50, 14, SWP_NOZORDER);
    m_edit.SetWindowPos(nullptr, 131, 20, 150, 14, SWP_NOZORDER);
    m_cursor = InputCursor{};
    m_gridX = 0;
    m_gridY = client.bottom - static_cast<int>(m_lowerKeys.GetHeight()) + kRowGap;
    m_shift = kShiftLower;
    m_pressed = FALSE;
    CString hint;
    GetLangText(u"CJHDownTaskBar", u"JHD002", u"Menu/Save", hint);
    SendTaskBarHint(hint, 1);
    return TRUE;
}

void CInputDlg::LoadImages() {
    const struct {
        CxImage& image;
        const char16_t* file;
        DWORD type;
    } images[] = {
        {m_background, u"Dialog\\DialogBG.bmp", CXIMAGE_FORMAT_BMP},
        {m_upperKeys, u"Dialog\\BigInput.png", CXIMAGE_FORMAT_PNG},
        {m_lowerKeys, u"Dialog\\SmallInput.png", CXIMAGE_FORMAT_PNG},
        {m_cell, u"Dialog\\abc_1.png", CXIMAGE_FORMAT_PNG},
        {m_cellPressed, u"Dialog\\abc_2.png", CXIMAGE_FORMAT_PNG},
        {m_shiftCell, u"Dialog\\Shift_1.png", CXIMAGE_FORMAT_PNG},
        {m_shiftCellPressed, u"Dialog\\Shift_2.png", CXIMAGE_FORMAT_PNG},
        {m_capsLock, u"Dialog\\Shift_1_cl.png", CXIMAGE_FORMAT_PNG},
    };
    for (const auto& entry : images) entry.image.Load(SkinPath(entry.file), entry.type);
}

BOOL CInputDlg::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(client);
    {
        CMemoryDC memory(dc, CRect(0, 0, kScreenWidth, kScreenHeight));
        m_background.Draw(memory, 0, 0);
        const CxImage& keys = m_shift < kShiftOnce ? m_lowerKeys : m_upperKeys;
        keys.Draw(memory, 0, client.bottom - static_cast<long>(m_lowerKeys.GetHeight()));
        const int x = m_cursor.column * m_cellWidth + m_gridX;
        const int y = m_cursor.row * (m_cellHeight + kRowGap) + m_gridY;
        const CxImage& highlight = m_cursor.OnShift() ? (m_pressed ? m_shiftCellPressed : m_shiftCell)
                                                      : (m_pressed ? m_cellPressed : m_cell);
        highlight.Draw(memory, x, y);
        if (m_shift == kShiftLock) m_capsLock.Draw(memory, 5 * m_cellWidth + m_gridX, m_gridY);
    }
    m_edit.ShowWindow(SW_SHOW);
    m_label.CaptureBackgroundEx(this, dc, 1);
    return TRUE;
}

BOOL CInputDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_RETURN) m_pressed = TRUE;
        Repaint();
        return TRUE;
    }
    if (msg->message == WM_SYSKEYUP && msg->wParam == VK_MENU) {
        CString text;
        m_edit.GetWindowText(text);
        Close(text);
        return TRUE;
    }
    if (msg->message == WM_KEYUP) {
        if (msg->wParam == VK_ESCAPE) {
            Close(CString());
            return TRUE;
        }
        OnKeyReleased(msg->wParam);
        Repaint();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CInputDlg::OnKeyReleased(WPARAM key) {
    CString text;
    m_edit.GetWindowText(text);
    if (key >= '0' && key <= '9') {
        CString digit;
        digit.Format(u"%d", static_cast<int>(key - '0'));
        SetEditText(text + digit);
        return;
    }
    switch (key) {
    case VK_RIGHT:
        m_cursor.Right();
        break;
    case VK_LEFT:
        m_cursor.Left();
        break;
    case VK_DOWN:
        m_cursor.Down();
        break;
    case VK_UP:
        m_cursor.Up();
        break;
    case VK_BACK:
        if (!text.IsEmpty()) text.Delete(text.GetLength() - 1);
        SetEditText(text);
        break;
    case VK_RETURN:
        TypeHighlightedKey();
        m_pressed = FALSE;
        break;
    default:
        break;
    }
}

void CInputDlg::TypeHighlightedKey() {
    if (m_cursor.OnShift()) {
        m_shift = NextShiftState(m_shift);
        return;
    }
    const char16_t ch = InputKeyCharacter(m_cursor.column, m_cursor.row, m_shift >= kShiftOnce);
    if (ch == kNoInputKey) return;
    CString text;
    m_edit.GetWindowText(text);
    text += ch;
    SetEditText(text);
    if (m_shift == kShiftOnce) m_shift = kShiftLower;
}

void CInputDlg::SetEditText(const CString& text) {
    m_edit.SetWindowText(text);
    m_edit.SetSel(text.GetLength(), -1);
}

void CInputDlg::Close(const CString& result) {
    m_result = result;
    m_edit.ShowWindow(SW_HIDE);
    m_label.ShowWindow(SW_HIDE);
    OnOK();
    m_snapshot->Restore();
    // The hint the keyboard put on the task bar goes with it, so the field
    // below shows its own again.
    SendTaskBarHint(CString(), -1);
}

void CInputDlg::Repaint() {
    Invalidate(TRUE);
    UpdateWindow();
}
