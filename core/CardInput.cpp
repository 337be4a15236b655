#include "core/CardInput.h"

#include <atomic>

#include "core/RegisteredMessages.h"
#include "platform/base/clock.h"
#include "platform/ui/CWnd.h"

SharedText g_strLastCardNo;

namespace {

std::atomic<HWND> g_cardTarget{nullptr};
std::atomic<HWND> g_previousCardTarget{nullptr};
std::atomic<HWND> g_powerDownTarget{nullptr};

}  // namespace

int HexDigitValue(BYTE ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return 0;
}

void PostCardNumber(const BYTE* data, int length) {
    // Folded straight from the input: only the last eight digits stay in
    // the low 32 bits, however long the data is.
    uint64_t value = 0;
    for (int i = 0; i < length; ++i) value = value * 16 + static_cast<uint64_t>(HexDigitValue(data[i]));
    CString text;
    text.Format(u"%I64d", static_cast<int64_t>(value & 0xFFFFFFFFu));
    g_strLastCardNo = text;
    if (const HWND target = g_cardTarget.load()) PostMessageW(target, WM_CARDNO, 0, 0);
}

void PostPowerDown() {
    if (const HWND target = g_powerDownTarget.load()) PostMessageW(target, WM_POWERDOWN, 0, 0);
}

void SetCardTarget(CWnd* window) {
    g_previousCardTarget = g_cardTarget.load();
    g_cardTarget = window ? window->GetSafeHwnd() : nullptr;
}

void RestoreCardTarget() { g_cardTarget = g_previousCardTarget.load(); }

void SetPowerDownTarget(CWnd* window) { g_powerDownTarget = window->GetSafeHwnd(); }

HWND GetCardTarget() { return g_cardTarget.load(); }

void PumpMessages(int count) {
    for (int i = 0; i < count; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}
