#include "platform/ui/controlstate.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/textrun.h"

void RegisterControlClass(LPCWSTR name, WNDPROC proc, int extraBytes) {
    WNDCLASSW wc{};
    wc.style = CS_PARENTDC | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extraBytes;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

std::u16string WindowTextOf(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

DWORD WindowStyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

void NotifyParentCommand(HWND control, UINT code) {
    HWND parent = GetParent(control);
    if (parent == nullptr) return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, UINT code, NMHDR* header) {
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    header->code = code;
    HWND parent = GetParent(control);
    if (parent == nullptr) return 0;
    return SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

int CopyToBuffer(const std::u16string& text, LPWSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = u'\0';
    return static_cast<int>(n);
}

ControlMeasure::ControlMeasure(HWND hwnd, HFONT font) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {
    if (font == nullptr) font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    m_old = font ? SelectObject(m_dc, font) : nullptr;
}

ControlMeasure::~ControlMeasure() {
    if (m_old) SelectObject(m_dc, m_old);
    ReleaseDC(m_hwnd, m_dc);
}

int ControlMeasure::Width(const std::u16string& text, int count) const {
    SIZE size{};
    GetTextExtentPoint32W(m_dc, text.c_str(), count, &size);
    return size.cx;
}

int ControlMeasure::CellTop(const RECT& area) const {
    const int room = area.bottom - area.top;
    if (Height() <= room) return area.top;
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    const LetterRows letters = LetterRowsOf(SelectedFace(*DCFromHandle(m_dc)));
    return area.top + (room - (letters.bottom - letters.top)) / 2 - letters.top;
}

int ControlMeasure::LetterHeight() const {
    std::lock_guard<std::recursive_mutex> lock(FontLock());
    const LetterRows letters = LetterRowsOf(SelectedFace(*DCFromHandle(m_dc)));
    return letters.bottom - letters.top;
}

int ControlMeasure::Height() const {
    TEXTMETRICW tm{};
    GetTextMetricsW(m_dc, &tm);
    return tm.tmHeight;
}
