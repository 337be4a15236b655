// The shell's program start. The terminal's programs (the desktop, the
// watchdog, the launcher) do not exist on the host: a start is written to
// the journal (kind "shell") as "<verb> <file> <parameters>" and succeeds,
// and its process handle reads as a program that has already ended.
#pragma once

#include "platform/base/types.h"

#define SEE_MASK_NOCLOSEPROCESS 0x00000040u
#define SEE_MASK_FLAG_NO_UI 0x00000400u
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

struct SHELLEXECUTEINFO {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFO SHELLEXECUTEINFOW;
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;

// FALSE (ERROR_INVALID_PARAMETER) without a file.
BOOL ShellExecuteExW(LPSHELLEXECUTEINFO info);
inline BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) { return ShellExecuteExW(info); }
