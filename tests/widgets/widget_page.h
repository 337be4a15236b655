// A page for widget tests: the factory image as device root, the flower skin,
// and a 320 x 240 dialog that paints the skin's dialog background and lets
// its transparent widgets capture it, as the terminal's pages do.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "core/LangText.h"
#include "core/MachineConfig.h"
#include "platform/ui/display.h"
#include "platform/ui/image.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"
#include "tests/support/ui_session.h"
#include "widgets/JHCanvas.h"

class CWidgetTestPage : public CDialog {
public:
    static constexpr UINT kTemplate = 9301;
    CWidgetTestPage();

    // Makes and shows the page; `place` adds the widgets (runs in OnInitDialog).
    BOOL CreatePage(std::function<void(CWidgetTestPage&)> place);
    // A static child at (x, y, cx, cy) bound to `widget`.
    void AddWidget(CJHCanvas& widget, int id, int x, int y, int cx, int cy, const char16_t* text = u"");
    // Steps the page's erase runs after its background and before the
    // widgets capture (more painting, widgets on other bases).
    std::vector<std::function<void(CDC*)>> captures;
    std::vector<std::pair<UINT, UINT>> commands;  // (control id, code) of each WM_COMMAND
    std::vector<std::pair<UINT, WPARAM>> registered;  // registered messages received

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::function<void(CWidgetTestPage&)> m_place;
    std::vector<CJHCanvas*> m_widgets;
    CxImage m_background;
};

class WidgetTest : public ::testing::Test {
protected:
    WidgetTest();
    ~WidgetTest() override;
    // "English" or "Chinese".
    void UseLanguage(const char16_t* language);

    ScopedDeviceRoot root;
    UiSession session;
    CWidgetTestPage page;
};
