// The EDIT class, single line: typing and Backspace at a caret, a selection,
// a length limit for typing, password masking, digits-only and read-only
// fields, and the EN_ notifications to the parent (EN_UPDATE then EN_CHANGE
// after every change, typed or set by a program).
#include <algorithm>
#include <string>

#include "platform/ui/controlpaint.h"
#include "platform/ui/controlstate.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {

constexpr int kMargin = 1;
constexpr int kNoLimit = 0x7FFFFFFE;
constexpr int kDefaultLimit = 0x7FFE;

struct EditState {
    int selStart = 0;  // anchor
    int selEnd = 0;    // the caret
    int limit = kDefaultLimit;
    char16_t passwordChar = 0;
    int scroll = 0;  // pixels of text scrolled out on the left
    bool modified = false;
    bool focused = false;
    // A smaller size of the given font, made when the given one's letters
    // are taller than the text area, for the font and room it was made for.
    HFONT fitted = nullptr;
    HFONT fittedFor = nullptr;
    int fittedRoom = 0;
};

EditState* StateOf(HWND hwnd) { return ControlStateOf<EditState>(hwnd); }

int Low(const EditState& s) { return std::min(s.selStart, s.selEnd); }
int High(const EditState& s) { return std::max(s.selStart, s.selEnd); }

std::u16string ShownText(HWND hwnd, const EditState& s) {
    std::u16string text = WindowTextOf(hwnd);
    if (s.passwordChar != 0) text.assign(text.size(), s.passwordChar);
    return text;
}

RECT TextArea(HWND hwnd) {
    RECT area;
    GetClientRect(hwnd, &area);
    int inset = (WindowStyleOf(hwnd) & WS_BORDER) ? kMargin + 1 : kMargin;
    InflateRect(&area, -inset, (WindowStyleOf(hwnd) & WS_BORDER) ? -1 : 0);
    return area;
}

// The font the field draws and measures with: the one it was given, or,
// when that one's letters are taller than the text area (a field kept as
// small as its font size), the same face at the largest size that fits.
HFONT DrawingFont(HWND hwnd, EditState& s) {
    auto given = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    if (given == nullptr) given = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    RECT area = TextArea(hwnd);
    const int room = area.bottom - area.top;
    if (given == s.fittedFor && room == s.fittedRoom) return s.fitted ? s.fitted : given;
    if (s.fitted) DeleteObject(s.fitted);
    s.fitted = nullptr;
    s.fittedFor = given;
    s.fittedRoom = room;
    LOGFONTW font{};
    if (GetObjectW(given, sizeof font, &font) == 0 || room <= 0) return given;
    if (ControlMeasure(hwnd, given).LetterHeight() <= room) return given;
    const LONG sign = font.lfHeight < 0 ? -1 : 1;
    for (LONG size = std::abs(font.lfHeight) - 1; size > 1; --size) {
        font.lfHeight = sign * size;
        HFONT smaller = CreateFontIndirectW(&font);
        if (ControlMeasure(hwnd, smaller).LetterHeight() <= room || size == 2) {
            s.fitted = smaller;
            break;
        }
        DeleteObject(smaller);
    }
    return s.fitted ? s.fitted : given;
}

// The x of the text's start in client coordinates, after alignment and
// scrolling.
int TextOrigin(HWND hwnd, const EditState& s, int textWidth) {
    RECT area = TextArea(hwnd);
    int room = area.right - area.left;
    DWORD style = WindowStyleOf(hwnd);
    if (textWidth < room && (style & ES_RIGHT)) return area.right - textWidth;
    if (textWidth < room && (style & ES_CENTER)) return area.left + (room - textWidth) / 2;
    return area.left - s.scroll;
}

// Scrolls so that the caret is inside the field, then places the caret.
void PlaceCaret(HWND hwnd, EditState& s) {
    ControlMeasure measure(hwnd, DrawingFont(hwnd, s));
    std::u16string text = ShownText(hwnd, s);
    RECT area = TextArea(hwnd);
    int room = area.right - area.left;
    int caretX = measure.Width(text, s.selEnd);
    int total = measure.Width(text, static_cast<int>(text.size()));
    if (total < room) {
        s.scroll = 0;
    } else if (caretX - s.scroll > room - 1) {
        s.scroll = caretX - room + 1;
    } else if (caretX < s.scroll) {
        s.scroll = std::max(0, caretX - room / 3);
    }
    if (s.focused) SetCaretPos(TextOrigin(hwnd, s, total) + caretX, measure.CellTop(area));
}

void Changed(HWND hwnd, EditState& s) {
    PlaceCaret(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParentCommand(hwnd, EN_UPDATE);
    NotifyParentCommand(hwnd, EN_CHANGE);
}

void SetSelection(HWND hwnd, EditState& s, int start, int end) {
    int length = GetWindowTextLengthW(hwnd);
    if (start == -1) {
        start = end = s.selEnd;  // drops the selection, keeps the caret
    } else if (end < 0 || end > length) {
        end = length;
    }
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start == s.selStart && end == s.selEnd) return;
    s.selStart = start;
    s.selEnd = end;
    PlaceCaret(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Replaces the selection with `insert`, keeping within the limit when
// `limited`; a cut insert reports EN_MAXTEXT. True when the text changed.
bool ReplaceSelection(HWND hwnd, EditState& s, std::u16string insert, bool limited) {
    std::u16string text = WindowTextOf(hwnd);
    int low = Low(s);
    int high = High(s);
    if (limited) {
        int room = s.limit - (static_cast<int>(text.size()) - (high - low));
        if (static_cast<int>(insert.size()) > std::max(room, 0)) {
            insert.resize(static_cast<size_t>(std::max(room, 0)));
            NotifyParentCommand(hwnd, EN_MAXTEXT);
        }
    }
    if (insert.empty() && low == high) return false;
    text.replace(static_cast<size_t>(low), static_cast<size_t>(high - low), insert);
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    s.selStart = s.selEnd = low + static_cast<int>(insert.size());
    s.modified = true;
    Changed(hwnd, s);
    return true;
}

bool Accepts(DWORD style, char16_t ch) {
    if (ch < 0x20) return false;
    return !(style & ES_NUMBER) || (ch >= u'0' && ch <= u'9');
}

char16_t Cased(DWORD style, char16_t ch) {
    if ((style & ES_UPPERCASE) && ch >= u'a' && ch <= u'z') return static_cast<char16_t>(ch - u'a' + u'A');
    if ((style & ES_LOWERCASE) && ch >= u'A' && ch <= u'Z') return static_cast<char16_t>(ch - u'A' + u'a');
    return ch;
}

void OnChar(HWND hwnd, EditState& s, char16_t ch) {
    DWORD style = WindowStyleOf(hwnd);
    if (style & ES_READONLY) return;
    if (ch == VK_BACK) {
        if (Low(s) == High(s) && s.selEnd > 0) s.selStart = s.selEnd - 1;
        ReplaceSelection(hwnd, s, u"", false);
        return;
    }
    if (Accepts(style, ch)) ReplaceSelection(hwnd, s, std::u16string(1, Cased(style, ch)), true);
}

// No selection, the caret at `position`.
void MoveCaret(HWND hwnd, EditState& s, int position) { SetSelection(hwnd, s, position, position); }

void OnKeyDown(HWND hwnd, EditState& s, WPARAM key) {
    int length = GetWindowTextLengthW(hwnd);
    switch (key) {
    case VK_LEFT:
        MoveCaret(hwnd, s, Low(s) != High(s) ? Low(s) : std::max(s.selEnd - 1, 0));
        break;
    case VK_RIGHT:
        MoveCaret(hwnd, s, Low(s) != High(s) ? High(s) : std::min(s.selEnd + 1, length));
        break;
    case VK_HOME:
        MoveCaret(hwnd, s, 0);
        break;
    case VK_DELETE:
        if (WindowStyleOf(hwnd) & ES_READONLY) break;
        if (Low(s) == High(s) && s.selEnd < length) s.selEnd += 1;
        ReplaceSelection(hwnd, s, u"", false);
        break;
    default:
        break;
    }
}

int CharacterAt(HWND hwnd, EditState& s, int x) {
    ControlMeasure measure(hwnd, DrawingFont(hwnd, s));
    std::u16string text = ShownText(hwnd, s);
    int origin = TextOrigin(hwnd, s, measure.Width(text, static_cast<int>(text.size())));
    int best = 0;
    int bestDistance = std::abs(x - origin);
    for (int i = 1; i <= static_cast<int>(text.size()); ++i) {
        int distance = std::abs(x - origin - measure.Width(text, i));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void OnSetFocus(HWND hwnd, EditState& s) {
    s.focused = true;
    CreateCaret(hwnd, nullptr, 1, ControlMeasure(hwnd, DrawingFont(hwnd, s)).Height());
    PlaceCaret(hwnd, s);
    ShowCaret(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParentCommand(hwnd, EN_SETFOCUS);
}

void OnKillFocus(HWND hwnd, EditState& s) {
    s.focused = false;
    DestroyCaret();
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParentCommand(hwnd, EN_KILLFOCUS);
}

UINT ColorMessage(HWND hwnd) {
    return (!IsWindowEnabled(hwnd) || (WindowStyleOf(hwnd) & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
}

void PaintEdit(HWND hwnd, HDC dc) {
    EditState* s = StateOf(hwnd);
    if (s == nullptr) return;
    ControlColors(hwnd, dc, ColorMessage(hwnd));
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT client;
    GetClientRect(hwnd, &client);
    if (WindowStyleOf(hwnd) & WS_BORDER) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    RECT area = TextArea(hwnd);
    int saved = SaveDC(dc);
    HFONT font = DrawingFont(hwnd, *s);
    if (font != nullptr) SelectObject(dc, font);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    std::u16string text = ShownText(hwnd, *s);
    SIZE total{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &total);
    int x = TextOrigin(hwnd, *s, total.cx);
    const int top = ControlMeasure(hwnd, font).CellTop(area);
    ExtTextOutW(dc, x, top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    if (Low(*s) != High(*s) && (s->focused || (WindowStyleOf(hwnd) & ES_NOHIDESEL))) {
        SIZE before{};
        GetTextExtentPoint32W(dc, text.c_str(), Low(*s), &before);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetBkMode(dc, OPAQUE);
        ExtTextOutW(dc, x + before.cx, top, 0, nullptr, text.c_str() + Low(*s),
                    static_cast<UINT>(High(*s) - Low(*s)), nullptr);
    }
    RECT caret;
    if (VisibleCaretOf(hwnd, &caret)) FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    RestoreDC(dc, saved);
}

LRESULT GetSelection(const EditState& s, WPARAM startOut, LPARAM endOut) {
    if (startOut) *reinterpret_cast<DWORD*>(startOut) = static_cast<DWORD>(Low(s));
    if (endOut) *reinterpret_cast<DWORD*>(endOut) = static_cast<DWORD>(High(s));
    return static_cast<LRESULT>(MAKELONG(Low(s), High(s)));
}

void SetStyleBit(HWND hwnd, DWORD bit, bool on) {
    DWORD style = WindowStyleOf(hwnd);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(on ? (style | bit) : (style & ~bit)));
    InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT EditMessage(HWND hwnd, EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        DefWindowProcW(hwnd, message, wParam, lParam);
        s.selStart = s.selEnd = 0;
        s.scroll = 0;
        s.modified = false;
        Changed(hwnd, s);
        return TRUE;
    }
    case WM_CHAR:
        OnChar(hwnd, s, static_cast<char16_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, s, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        MoveCaret(hwnd, s, CharacterAt(hwnd, s, static_cast<SHORT>(LOWORD(lParam))));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(hwnd, s);
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(hwnd, s);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFONT: {
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        if (s.focused) {
            CreateCaret(hwnd, nullptr, 1, ControlMeasure(hwnd, DrawingFont(hwnd, s)).Height());
            ShowCaret(hwnd);
        }
        PlaceCaret(hwnd, s);
        return result;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_ERASEBKGND: {
        auto dc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = ControlColors(hwnd, dc, ColorMessage(hwnd));
        if (brush == nullptr) return 0;
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, brush);
        return 1;
    }
    case WM_PAINT:
        PaintControl(hwnd, wParam, PaintEdit);
        return 0;
    case EM_GETSEL:
        return GetSelection(s, wParam, lParam);
    case EM_SETSEL:
        SetSelection(hwnd, s, static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case EM_SCROLLCARET:
        PlaceCaret(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case EM_REPLACESEL:
        ReplaceSelection(hwnd, s, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"", true);
        return 0;
    case EM_LIMITTEXT:
        s.limit = wParam == 0 ? kNoLimit : static_cast<int>(std::min<WPARAM>(wParam, kNoLimit));
        return 0;
    case EM_GETLIMITTEXT:
        return s.limit;
    case EM_SETPASSWORDCHAR:
        s.passwordChar = static_cast<char16_t>(wParam);
        SetStyleBit(hwnd, ES_PASSWORD, wParam != 0);
        PlaceCaret(hwnd, s);
        return 0;
    case EM_GETPASSWORDCHAR:
        return s.passwordChar;
    case EM_SETREADONLY:
        SetStyleBit(hwnd, ES_READONLY, wParam != 0);
        return TRUE;
    case EM_GETMODIFY:
        return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s.modified = wParam != 0;
        return 0;
    case EM_GETRECT: {
        RECT area = TextArea(hwnd);
        if (lParam) *reinterpret_cast<RECT*>(lParam) = area;
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        EditState* s = CreateControlState<EditState>(hwnd);
        if (WindowStyleOf(hwnd) & ES_PASSWORD) s->passwordChar = u'*';
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        if (StateOf(hwnd) && StateOf(hwnd)->focused) DestroyCaret();
        if (StateOf(hwnd) && StateOf(hwnd)->fitted) DeleteObject(StateOf(hwnd)->fitted);
        DestroyControlState<EditState>(hwnd);
        return 0;
    }
    EditState* s = StateOf(hwnd);
    if (s == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return EditMessage(hwnd, *s, message, wParam, lParam);
}

}  // namespace

void RegisterEditClass() { RegisterControlClass(WC_EDIT, EditProc); }
