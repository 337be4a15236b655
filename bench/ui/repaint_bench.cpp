// What a full repaint of a page costs the user: a 320 x 240 dialog with
// twenty controls (statics and buttons, Latin and Chinese text) invalidated
// and painted through the window system, erase and paint messages included.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/ui/afxwin.h"
#include "platform/ui/display.h"
#include "platform/ui/script.h"

namespace {

const char16_t* const kTexts[] = {
    u"考勤记录", u"User ID", u"姓名 Name", u"部门管理", u"Department", u"指纹登记", u"Card 0012345",
    u"门禁设置", u"Access time zone 1", u"通讯设置", u"IP 192.168.1.201", u"系统信息", u"Records: 100000",
    u"数据管理", u"Backup to USB disk", u"日期时间", u"2026-12-07 08:00", u"确定 OK", u"取消 Cancel", u"菜单 Menu"};

class BenchPage : public CDialog {
public:
    BOOL OnEraseBkgnd(CDC* dc) override {
        dc->FillSolidRect(0, 0, 320, 240, RGB(0xAB, 0xD9, 0xE6));
        return TRUE;
    }
};

DialogTemplate PageTemplate() {
    DialogTemplate page{9101, WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, u"", {}};
    for (int i = 0; i < 20; ++i) {
        const bool button = i % 4 == 3;
        page.items.push_back(DialogItemTemplate{2000 + i, button ? WC_BUTTON : WC_STATIC, kTexts[i],
                                                static_cast<DWORD>(button ? BS_PUSHBUTTON : SS_CENTER),
                                                8 + (i % 2) * 156, 4 + (i / 2) * 23, 148, 21});
    }
    return page;
}

void RepaintDialog(benchmark::State& state) {
    StartDisplay(DisplayMode::Headless);
    DialogTemplate layout = PageTemplate();
    BenchPage page;
    page.CreateIndirect(&layout);
    CFont font;
    font.CreateFont(14, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 6, 0x20, u"微软雅黑");
    for (CWnd* child = page.GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT))
        child->SetFont(&font, FALSE);
    ScriptDriver::PumpUntilIdle();
    for (auto _ : state) {
        page.Invalidate(TRUE);
        ScriptDriver::PumpUntilIdle();
    }
    page.DestroyWindow();
}
BENCHMARK(RepaintDialog)->Unit(benchmark::kMicrosecond);

}  // namespace
