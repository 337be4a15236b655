// The low-level keyboard hook of the main window, installed through the
// hook functions of "coredll.dll".
#pragma once

#include "platform/ui/winuser.h"

typedef HHOOK (*SetWindowsHookExProc)(int type, HOOKPROC proc, HINSTANCE module, DWORD thread);
typedef LRESULT (*CallNextHookExProc)(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
typedef BOOL (*UnhookWindowsHookExProc)(HHOOK hook);

// Kept for the hook procedure, which passes keys on through them.
extern CallNextHookExProc g_pfnCallNextHookEx;
extern HHOOK g_hKeyboardHook;

// TRUE when the hook is installed. The hook goes in only once all three
// functions are found, so an installed hook can always be removed.
BOOL InstallKeyboardHook(HINSTANCE module, HOOKPROC proc);
// Always TRUE.
BOOL RemoveKeyboardHook();
