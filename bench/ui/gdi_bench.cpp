// What a page repaint costs in drawing alone: fills and twenty text labels,
// Latin and Chinese, on a 320 x 240 memory bitmap.
#include <benchmark/benchmark.h>

#include "platform/ui/afxgdi.h"

namespace {

const char16_t* const kLabels[] = {
    u"考勤记录", u"User ID", u"姓名 Name", u"部门管理", u"Department", u"指纹登记", u"Card 0012345",
    u"门禁设置", u"Access time zone 1", u"通讯设置", u"IP 192.168.1.201", u"系统信息", u"Records: 100000",
    u"数据管理", u"Backup to USB disk", u"日期时间", u"2026-12-07 08:00", u"确定 OK", u"取消 Cancel", u"菜单 Menu"};

void RepaintPage(benchmark::State& state) {
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 320, 240);
    CBitmap* oldBitmap = screen.SelectObject(&bitmap);
    CFont font;
    font.CreateFont(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0x20, u"微软雅黑");
    CFont* oldFont = screen.SelectObject(&font);
    screen.SetBkMode(TRANSPARENT);
    screen.SetTextColor(RGB(0x06, 0x29, 0x49));
    for (auto _ : state) {
        screen.FillSolidRect(0, 0, 320, 240, RGB(0xAB, 0xD9, 0xE6));
        for (int i = 0; i < 20; ++i) {
            CRect cell(8 + (i % 2) * 156, 4 + (i / 2) * 23, 160 + (i % 2) * 156, 26 + (i / 2) * 23);
            screen.FillSolidRect(cell, RGB(0xFF, 0xC9, 0x9C));
            screen.DrawText(kLabels[i], cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
        benchmark::DoNotOptimize(screen.GetPixel(10, 10));
    }
    screen.SelectObject(oldFont);
    screen.SelectObject(oldBitmap);
}
BENCHMARK(RepaintPage)->Unit(benchmark::kMicrosecond);

}  // namespace
