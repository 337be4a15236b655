#include "core/KeyboardHook.h"

#include "platform/base/modules.h"

CallNextHookExProc g_pfnCallNextHookEx = nullptr;
HHOOK g_hKeyboardHook = nullptr;

namespace {

HMODULE g_coreDll = nullptr;
SetWindowsHookExProc g_pfnSetWindowsHookEx = nullptr;
UnhookWindowsHookExProc g_pfnUnhookWindowsHookEx = nullptr;

}  // namespace

BOOL InstallKeyboardHook(HINSTANCE module, HOOKPROC proc) {
    g_pfnSetWindowsHookEx = nullptr;
    g_pfnCallNextHookEx = nullptr;
    g_pfnUnhookWindowsHookEx = nullptr;
    if (!g_coreDll) g_coreDll = LoadLibraryW(u"coredll.dll");
    if (!g_coreDll) return FALSE;
    g_pfnSetWindowsHookEx = ProcAs<SetWindowsHookExProc>(GetProcAddress(g_coreDll, "SetWindowsHookExW"));
    g_pfnCallNextHookEx = ProcAs<CallNextHookExProc>(GetProcAddress(g_coreDll, "CallNextHookEx"));
    g_pfnUnhookWindowsHookEx = ProcAs<UnhookWindowsHookExProc>(GetProcAddress(g_coreDll, "UnhookWindowsHookEx"));
    if (!g_pfnSetWindowsHookEx || !g_pfnCallNextHookEx || !g_pfnUnhookWindowsHookEx) return FALSE;
    g_hKeyboardHook = g_pfnSetWindowsHookEx(WH_KEYBOARD_LL, proc, module, 0);
    return g_hKeyboardHook ? TRUE : FALSE;
}

BOOL RemoveKeyboardHook() {
    if (g_hKeyboardHook) {
        if (g_pfnUnhookWindowsHookEx) g_pfnUnhookWindowsHookEx(g_hKeyboardHook);
        g_hKeyboardHook = nullptr;
    }
    if (g_coreDll) {
        FreeLibrary(g_coreDll);
        g_coreDll = nullptr;
    }
    return TRUE;
}
