// What the stock controls share when they paint.
#pragma once

#include "platform/ui/winuser.h"

// Asks the control's parent for its colours (WM_CTLCOLORSTATIC, ...) and
// returns the brush to fill the background with (nullptr: leave it).
HBRUSH ControlColors(HWND control, HDC dc, UINT message);

// Answers WM_ERASEBKGND (the DC in wParam) by filling the client area with `color`.
LRESULT EraseWithColor(HWND control, WPARAM dc, COLORREF color);

// Paints a control through `paint(hwnd, dc)`: into the DC given in wParam
// when there is one, else between BeginPaint and EndPaint. The control's
// font is selected for the duration.
void PaintControl(HWND control, WPARAM givenDC, void (*paint)(HWND, HDC));
