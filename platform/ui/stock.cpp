#include "platform/ui/stock.h"

#include <array>

#include "platform/ui/gdi.h"
#include "platform/ui/gdiobject.h"

namespace {

HGDIOBJ MakeStock(GdiObject* object) {
    object->stock = true;
    return RegisterGdiObject(object);
}

HGDIOBJ StockBrush(COLORREF color, UINT style = BS_SOLID) {
    return MakeStock(new BrushObject(LOGBRUSH{style, color, 0}));
}

HGDIOBJ StockPen(COLORREF color, UINT style = PS_SOLID) {
    return MakeStock(new PenObject(LOGPEN{style, POINT{0, 0}, color}));
}

// The system font: the default face (a face name nobody installs resolves to
// it) at the height of the terminal's stock controls.
HGDIOBJ StockFont() {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    return MakeStock(new FontObject(lf));
}

struct StockObjects {
    std::array<HGDIOBJ, DC_PEN + 1> objects{};
    HGDIOBJ bitmap = nullptr;

    StockObjects() {
        objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
        objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
        objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
        objects[NULL_PEN] = StockPen(0, PS_NULL);
        HGDIOBJ font = StockFont();
        for (int index : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT,
                          DEFAULT_GUI_FONT, SYSTEM_FONT})
            objects[index] = font;
        objects[DC_BRUSH] = objects[WHITE_BRUSH];
        objects[DC_PEN] = objects[BLACK_PEN];
        bitmap = MakeStock(new BitmapObject(1, 1, 1));
    }
};

StockObjects& Stock() {
    static StockObjects stock;
    return stock;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index >= static_cast<int>(Stock().objects.size()))
        return nullptr;
    return Stock().objects[index];
}

HBITMAP DefaultBitmap() { return Stock().bitmap; }
