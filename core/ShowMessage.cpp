#include "core/ShowMessage.h"

#include <atomic>
#include <memory>

#include "core/AppMessageBox.h"
#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "widgets/LDMessageBox.h"
#include "widgets/ScreenSnapshot.h"

namespace {

// wParam: a heap CString the receiver deletes; lParam: two-button flag.
constexpr UINT kRelayShow = WM_USER + 1;

int ShowSystemBox(const CString& text, int twoButtons) {
    return twoButtons ? AfxMessageBox(text, MB_YESNO) : (AfxMessageBox(text, MB_OK), 1);
}

int AskOnThisThread(const CString& text, int twoButtons) {
    CLDMessageBox box(twoButtons != 0, nullptr);
    // Before the settings name the skin folder there is no picture to draw
    // the box with: the system box shows the text instead.
    if (!box.HasBackground()) return ShowSystemBox(text, twoButtons);
    box.SetText(text);
    const INT_PTR result = box.DoModal();
    if (!twoButtons) return 1;
    return result == IDOK ? IDYES : IDNO;
}

int ShowOnThisThread(const CString& text, int twoButtons) {
    const int answer = AskOnThisThread(text, twoButtons);
    // What the box covered is drawn whole before the caller goes on: work
    // that follows without a message loop (an export after its question)
    // would leave the answered box on the screen until it ends.
    PaintPendingWindows();
    return answer;
}

LRESULT RelayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRelayShow) return DefWindowProcW(hwnd, message, wParam, lParam);
    std::unique_ptr<CString> text(reinterpret_cast<CString*>(wParam));
    return ShowOnThisThread(*text, static_cast<int>(lParam));
}

std::atomic<HWND> g_relay{nullptr};

}  // namespace

void PrepareMessageRelay() {
    if (g_relay.load() != nullptr && IsWindow(g_relay.load())) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = RelayProc;
    wc.lpszClassName = u"QuillonMessageRelay";
    RegisterClassW(&wc);
    g_relay = CreateWindowExW(0, wc.lpszClassName, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

int ShowMessage(CString text, int twoButtons) {
    const DWORD uiThread = DisplayThreadId();
    if (uiThread == GetCurrentThreadId()) {
        PrepareMessageRelay();
        return ShowOnThisThread(text, twoButtons);
    }
    HWND relay = g_relay.load();
    if (uiThread == 0 || relay == nullptr || !IsWindow(relay)) return ShowSystemBox(text, twoButtons);
    auto* handed = new CString(text);
    if (!twoButtons) {
        if (!PostMessageW(relay, kRelayShow, reinterpret_cast<WPARAM>(handed), 0)) delete handed;
        return 1;
    }
    return static_cast<int>(SendMessageW(relay, kRelayShow, reinterpret_cast<WPARAM>(handed), 1));
}

int ShowMessageEx(CString text, int twoButtons) { return ShowMessage(text, twoButtons); }
