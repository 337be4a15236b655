// The C library's wide-string functions over the platform's UTF-16 text.
// They are overloads taking char16_t, beside the host's wchar_t ones.
// Case mapping covers ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic;
// other scripts have no case here.
#pragma once

#include <cstddef>
// The host's wide functions are declared first, so that the std:: names stay
// single functions whose address the standard library can take.
#include <cwchar>
#include <string>

#include "platform/base/types.h"

char16_t towupper(char16_t ch);
char16_t towlower(char16_t ch);

size_t wcslen(const char16_t* s);
size_t wcsnlen(const char16_t* s, size_t maximum);
char16_t* wcscpy(char16_t* dest, const char16_t* src);
// As in C: copies at most `count` units and pads with NULs; no terminator
// when the source is as long as `count`.
char16_t* wcsncpy(char16_t* dest, const char16_t* src, size_t count);
char16_t* wcscat(char16_t* dest, const char16_t* src);
char16_t* wcsncat(char16_t* dest, const char16_t* src, size_t count);
int wcscmp(const char16_t* a, const char16_t* b);
int wcsncmp(const char16_t* a, const char16_t* b, size_t count);
int _wcsicmp(const char16_t* a, const char16_t* b);
int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count);
const char16_t* wcschr(const char16_t* s, char16_t ch);
char16_t* wcschr(char16_t* s, char16_t ch);
const char16_t* wcsrchr(const char16_t* s, char16_t ch);
char16_t* wcsrchr(char16_t* s, char16_t ch);
const char16_t* wcsstr(const char16_t* s, const char16_t* sub);
char16_t* wcsstr(char16_t* s, const char16_t* sub);
size_t wcsspn(const char16_t* s, const char16_t* set);
size_t wcscspn(const char16_t* s, const char16_t* set);
char16_t* _wcsupr(char16_t* s);
char16_t* _wcslwr(char16_t* s);

// The window API's names; lstrcmpi ignores case as _wcsicmp does.
int lstrlen(const char16_t* s);
char16_t* lstrcpy(char16_t* dest, const char16_t* src);
char16_t* lstrcpyn(char16_t* dest, const char16_t* src, int count);
char16_t* lstrcat(char16_t* dest, const char16_t* src);
int lstrcmp(const char16_t* a, const char16_t* b);
int lstrcmpi(const char16_t* a, const char16_t* b);
#define lstrlenW lstrlen
#define lstrcpyW lstrcpy
#define lstrcpynW lstrcpyn
#define lstrcatW lstrcat
#define lstrcmpW lstrcmp
#define lstrcmpiW lstrcmpi

// The generic-text names.
#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcsncat wcsncat
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcsspn wcsspn
#define _tcscspn wcscspn
#define _tcsupr _wcsupr
#define _tcslwr _wcslwr
#define _totupper towupper
#define _totlower towlower
