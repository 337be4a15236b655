// The low-level keyboard hook chain. Every key passes through it before it
// is routed; the hook installed last runs first and passes the key on with
// CallNextHookEx, or swallows it by returning non-zero.
#include <algorithm>
#include <vector>

#include "platform/base/lasterror.h"
#include "platform/base/modules.h"
#include "platform/ui/input.h"
#include "platform/ui/window.h"

namespace {

struct Hook {
    HHOOK handle;
    HOOKPROC proc;
};

// Front: the most recently installed hook.
std::vector<Hook>& Chain() {
    static std::vector<Hook> chain;
    return chain;
}

uintptr_t g_nextHook = 0x4000;

// The hook that follows `hook` (the first one when `hook` is null).
HOOKPROC NextProc(HHOOK hook) {
    WindowGuard guard(WindowLock());
    auto& chain = Chain();
    if (hook == nullptr) return chain.empty() ? nullptr : chain.front().proc;
    auto it = std::find_if(chain.begin(), chain.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == chain.end() || ++it == chain.end()) return nullptr;
    return it->proc;
}

}  // namespace

HHOOK SetWindowsHookExW(int hookType, HOOKPROC proc, HINSTANCE, DWORD) {
    if (hookType != WH_KEYBOARD_LL || proc == nullptr) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    WindowGuard guard(WindowLock());
    HHOOK handle = reinterpret_cast<HHOOK>(g_nextHook += 4);
    Chain().insert(Chain().begin(), Hook{handle, proc});
    return handle;
}

HHOOK SetWindowsHookEx(int hookType, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
    return SetWindowsHookExW(hookType, proc, module, threadId);
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    HOOKPROC next = NextProc(hook);
    return next ? next(code, wParam, lParam) : 0;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    WindowGuard guard(WindowLock());
    auto& chain = Chain();
    auto it = std::find_if(chain.begin(), chain.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == chain.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    chain.erase(it);
    return TRUE;
}

bool RunKeyboardHooks(BYTE vk, bool down, DWORD time) {
    HOOKPROC first = NextProc(nullptr);
    if (first == nullptr) return false;
    KBDLLHOOKSTRUCT info{vk, MapVirtualKeyW(vk, MAPVK_VK_TO_VSC), static_cast<DWORD>(LLKHF_INJECTED | (down ? 0 : LLKHF_UP)),
                         time, 0};
    WPARAM message = vk == VK_MENU ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    return first(HC_ACTION, message, reinterpret_cast<LPARAM>(&info)) != 0;
}

namespace {

// Programs find the hook functions by name in "coredll.dll", the system
// library the layer provides itself.
const bool g_coreDllHooks = [] {
    RegisterBuiltinModule(u"coredll.dll",
                            {{"SetWindowsHookExW", AsFarProc(&SetWindowsHookExW)},
                             {"CallNextHookEx", AsFarProc(&CallNextHookEx)},
                             {"UnhookWindowsHookEx", AsFarProc(&UnhookWindowsHookEx)}});
    return true;
}();

}  // namespace
