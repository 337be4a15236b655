#include "rules/PageBackground.h"

#include "widgets/WidgetRules.h"

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

}  // namespace

void LoadPageBackground(CxImage& background) {
    background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP);
}

void PaintPageBackground(CDC* dc, const CxImage& background) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, kScreenWidth, kScreenHeight);
    CBitmap* previous = memory.SelectObject(&bitmap);
    background.Draw(memory, 0, 0);
    dc->BitBlt(0, 0, kScreenWidth, kScreenHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
