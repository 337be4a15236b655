// The look of the "flower" skin: the system's colours and the few shapes
// every image is built from, so that all images read as one design.
#pragma once

#include "tools/device-image/skin/canvas.h"

namespace skin {

// The system's own colours (COLORREFs of the widgets) and the skin's accents.
Color NavyText();    // 0x492906: captions and values
Color LightText();   // 0xDFDFDF: titles, message text
Color ListRow();     // 0xE6D9AB
Color Panel();       // 0xFFC99C: PANELCOLOR
Color Deep();        // bars and plates behind light text
Color Mid();
Color Sky();
Color Petal();
Color Leaf();

// A raised, glossy face: vertical gradient plus a soft highlight on the upper half.
void GlossyFace(Canvas& c, const Shape& shape, float top, float bottom, Color upper, Color lower);
// A five-petal blossom centred at (cx, cy).
void Blossom(Canvas& c, float cx, float cy, float radius, Color petal, Color heart);
// A leafy sprig: a curved stem with leaves and a few blossoms, used as a watermark.
void Sprig(Canvas& c, float x, float y, float scale, float alpha);
// The small language badge ("中" or "EN").
void LanguageBadge(Canvas& c, bool chinese);
// The page background every settings page shares.
void PageBackground(Canvas& c);

}  // namespace skin
