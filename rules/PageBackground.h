// The skin's dialog background of a rule page ("Dialog\DialogBG.bmp"),
// painted at its own size through a 320 x 240 off-screen picture in one
// copy, so the widgets that copy the pixels under them afterwards find the
// finished background.
#pragma once

#include "platform/ui/afxwin.h"
#include "platform/ui/image.h"

void LoadPageBackground(CxImage& background);
void PaintPageBackground(CDC* dc, const CxImage& background);
