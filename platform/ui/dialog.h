// Dialog templates and the dialog manager.
//
// A dialog template is a small table in code: the dialog's id, style, size
// and caption, and its controls by id, class, text, style and rectangle.
// Sizes are in dialog units, and one dialog unit is one pixel in both
// directions: the terminal's dialog font has base units of 4 x 8, so the
// usual conversion (x * baseX / 4, y * baseY / 8) is the identity. A full-
// screen page is 320 x 240 units.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/ui/winuser.h"

struct DialogItemTemplate {
    int id;
    const char16_t* className;
    const char16_t* text;
    DWORD style;  // WS_CHILD, and WS_VISIBLE unless startsHidden, are implied
    int x, y, cx, cy;
    DWORD exStyle = 0;
    bool startsHidden = false;
};

struct DialogTemplate {
    UINT id;
    DWORD style;  // WS_POPUP unless WS_CHILD is given; WS_VISIBLE shows it when made
    int x, y, cx, cy;
    const char16_t* caption;
    std::vector<DialogItemTemplate> items;
    DWORD exStyle = 0;
};

// Templates are found by id; each dialog's table registers itself with a
// static DialogTemplateEntry next to the class that uses it.
void RegisterDialogTemplate(const DialogTemplate* dialog);
const DialogTemplate* FindDialogTemplate(UINT id);

struct DialogTemplateEntry {
    explicit DialogTemplateEntry(const DialogTemplate& dialog) { RegisterDialogTemplate(&dialog); }
};

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// Makes the dialog and its controls, sends WM_INITDIALOG (a TRUE answer puts
// the focus on the first tab stop, unless the dialog is a hidden child) and
// shows it when its style says so.
// The creation hook of the class library fires for the dialog window before
// any of its controls exist.
HWND CreateDialogIndirectParamW(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC proc,
                                LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC proc,
                               LPARAM param);

// The state EndDialog leaves for a modal loop.
bool DialogEnded(HWND dialog, INT_PTR* result);
