// The caret: one per program, owned by the window that made it. The owner
// draws it while painting (VisibleCaretOf); every change invalidates the
// caret's old and new place so that paint follows.
#include "platform/ui/commctrl.h"

namespace {

struct Caret {
    HWND owner = nullptr;
    POINT position{0, 0};
    SIZE size{1, 1};
    int hideCount = 1;  // a new caret is hidden until ShowCaret
};

Caret g_caret;

RECT CaretRect() {
    return RECT{g_caret.position.x, g_caret.position.y, g_caret.position.x + g_caret.size.cx,
                g_caret.position.y + g_caret.size.cy};
}

void InvalidateCaret() {
    if (g_caret.owner == nullptr || !IsWindow(g_caret.owner)) return;
    RECT rect = CaretRect();
    InvalidateRect(g_caret.owner, &rect, TRUE);
}

}  // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
    if (hwnd == nullptr) return FALSE;
    DestroyCaret();
    g_caret = Caret{hwnd, {0, 0}, {width > 0 ? width : 1, height > 0 ? height : 1}, 1};
    return TRUE;
}

BOOL DestroyCaret() {
    if (g_caret.owner == nullptr) return FALSE;
    if (g_caret.hideCount == 0) InvalidateCaret();
    g_caret = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    if (g_caret.owner == nullptr || (hwnd != nullptr && hwnd != g_caret.owner) || g_caret.hideCount == 0) return FALSE;
    if (--g_caret.hideCount == 0) InvalidateCaret();
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    if (g_caret.owner == nullptr || (hwnd != nullptr && hwnd != g_caret.owner)) return FALSE;
    if (g_caret.hideCount++ == 0) InvalidateCaret();
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    if (g_caret.owner == nullptr) return FALSE;
    if (g_caret.position.x == x && g_caret.position.y == y) return TRUE;
    if (g_caret.hideCount == 0) InvalidateCaret();
    g_caret.position = POINT{x, y};
    if (g_caret.hideCount == 0) InvalidateCaret();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    *point = g_caret.position;
    return TRUE;
}

bool VisibleCaretOf(HWND hwnd, RECT* rect) {
    if (hwnd == nullptr || g_caret.owner != hwnd || g_caret.hideCount != 0) return false;
    *rect = CaretRect();
    return true;
}
