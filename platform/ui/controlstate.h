// What the list, tree, header and edit controls share: their own state
// object kept in the window's first extra word (made at WM_NCCREATE, freed at
// WM_NCDESTROY), their text, and notifications to the parent.
#pragma once

#include <string>

#include "platform/ui/commctrl.h"

template <class State>
State* ControlStateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}

template <class State>
State* CreateControlState(HWND hwnd) {
    auto* state = new State();
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
    return state;
}

template <class State>
void DestroyControlState(HWND hwnd) {
    delete ControlStateOf<State>(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
}

// The window procedure of a control that needs nothing more at creation and
// destruction than its state: every other message goes to `handle` with it.
template <class State, LRESULT (*handle)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT ControlStateProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        CreateControlState<State>(hwnd);
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        DestroyControlState<State>(hwnd);
        return 0;
    }
    State* s = ControlStateOf<State>(hwnd);
    if (s == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return handle(hwnd, *s, message, wParam, lParam);
}

// Registers a control class painting on its parent's DC whose windows keep
// `extraBytes` of their own (one state pointer unless told otherwise).
void RegisterControlClass(LPCWSTR name, WNDPROC proc, int extraBytes = sizeof(LONG_PTR));

std::u16string WindowTextOf(HWND hwnd);
DWORD WindowStyleOf(HWND hwnd);

// WM_COMMAND with `code` to the parent, from the control's id.
void NotifyParentCommand(HWND control, UINT code);
// WM_NOTIFY to the parent: fills the header of `header` (the first member of
// a notification structure) and returns the parent's answer.
LRESULT NotifyParent(HWND control, UINT code, NMHDR* header);
// Text measures in a control's font, outside painting.
class ControlMeasure {
public:
    // Measures with `font`, else with the control's own.
    explicit ControlMeasure(HWND hwnd, HFONT font = nullptr);
    ~ControlMeasure();
    ControlMeasure(const ControlMeasure&) = delete;
    ControlMeasure& operator=(const ControlMeasure&) = delete;
    // Width of the first `count` characters.
    int Width(const std::u16string& text, int count) const;
    int Width(const std::u16string& text) const { return Width(text, static_cast<int>(text.size())); }
    int Height() const;
    // Where a line's cell starts so that its letters lie inside `area`: at
    // the area's top when the whole cell fits, else with the letters
    // centred in the area (the cell's spare rows fall outside).
    int CellTop(const RECT& area) const;
    // Rows from the top of the tallest letter to the bottom of the deepest.
    int LetterHeight() const;

private:
    HWND m_hwnd;
    HDC m_dc;
    HGDIOBJ m_old;
};

// Copies `text` into a caller's buffer of `size` characters (terminated,
// cut when too long); the number of characters copied.
int CopyToBuffer(const std::u16string& text, LPWSTR buffer, int size);
