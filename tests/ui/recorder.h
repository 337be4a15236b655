// A window class for tests that writes down the messages it receives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/winuser.h"
#include "tests/support/ui_session.h"

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder {
public:
    // Registers the "Recorder" class once; every window of it logs here.
    Recorder();
    ~Recorder();

    HWND Create(HWND parent, RECT rect, DWORD style = WS_VISIBLE, int id = 0, const char16_t* text = u"");
    HWND CreateTopLevel(RECT rect, DWORD style = WS_POPUP | WS_VISIBLE, HWND owner = nullptr);

    // Every message received with one of these ids, in order.
    std::vector<Received> Of(std::initializer_list<UINT> messages) const;
    std::vector<HWND> WindowsThatGot(UINT message) const;
    void Clear() { log.clear(); }

    // A handler replacing the default for one window and message; its
    // result is the message's result.
    std::map<std::pair<HWND, UINT>, std::function<LRESULT(WPARAM, LPARAM)>> handlers;
    // Fills the window with this colour on WM_ERASEBKGND (none: class default).
    std::map<HWND, COLORREF> eraseColor;
    std::vector<Received> log;
};

// The usual fixture: a window session and a recorder to create windows with.
class RecordingTest : public ::testing::Test {
protected:
    UiSession session;
    Recorder rec;
};
