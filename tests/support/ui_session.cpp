#include "tests/support/ui_session.h"

#include <gtest/gtest.h>

#include "platform/base/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/winuser.h"

UiSession::UiSession() {
    UseVirtualClock(true);
    StartDisplay(DisplayMode::Headless);
    ScreenSurface().Fill(0);
}

UiSession::~UiSession() {
    SetIdleHook(nullptr);
    while (HWND top = GetWindow(GetDesktopWindow(), GW_CHILD)) {
        if (!DestroyWindow(top)) break;  // another thread's window
    }
    ClearInputQueue();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    ReleaseCapture();
    UseVirtualClock(false);
}

void UiSession::Run(const std::string& line) {
    std::string error;
    EXPECT_TRUE(m_driver.Execute(line, &error)) << line << ": " << error;
    do {
        Pump();
    } while (m_driver.Waiting());
}

void UiSession::Pump() { ScriptDriver::PumpUntilIdle(); }

void UiSession::RunWhenIdle(std::vector<std::string> lines) { RunScriptWhenIdle(std::move(lines), false); }
