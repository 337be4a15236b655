// Drawing an 8-bit grey picture (a fingerprint image from the sensor, rows
// top to bottom) through the 256-step grey palette.
#pragma once

#include "platform/ui/afxwin.h"

// Stretches the width x height pixels over `rect` of the DC.
void DrawGreyImage(CDC& dc, const CRect& rect, const BYTE* pixels, int width, int height);
