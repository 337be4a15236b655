#include "tests/ui/recorder.h"

#include "platform/ui/gdi.h"

namespace {

Recorder* g_recorder = nullptr;

LRESULT RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder* r = g_recorder;
    if (r == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    r->log.push_back(Received{hwnd, message, wParam, lParam});
    auto handler = r->handlers.find({hwnd, message});
    if (handler != r->handlers.end()) return handler->second(wParam, lParam);
    if (message == WM_ERASEBKGND) {
        auto color = r->eraseColor.find(hwnd);
        if (color != r->eraseColor.end()) {
            RECT client;
            GetClientRect(hwnd, &client);
            HBRUSH brush = CreateSolidBrush(color->second);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            DeleteObject(brush);
            return 1;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

Recorder::Recorder() {
    g_recorder = this;
    static bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecorderProc;
        wc.lpszClassName = u"Recorder";
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

Recorder::~Recorder() { g_recorder = nullptr; }

HWND Recorder::Create(HWND parent, RECT rect, DWORD style, int id, const char16_t* text) {
    return CreateWindowExW(0, u"Recorder", text, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr,
                           nullptr);
}

HWND Recorder::CreateTopLevel(RECT rect, DWORD style, HWND owner) {
    return CreateWindowExW(0, u"Recorder", u"", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, owner, nullptr, nullptr, nullptr);
}

std::vector<Received> Recorder::Of(std::initializer_list<UINT> messages) const {
    std::vector<Received> out;
    for (const Received& r : log) {
        for (UINT m : messages) {
            if (r.message == m) out.push_back(r);
        }
    }
    return out;
}

std::vector<HWND> Recorder::WindowsThatGot(UINT message) const {
    std::vector<HWND> out;
    for (const Received& r : log) {
        if (r.message == message) out.push_back(r.hwnd);
    }
    return out;
}
