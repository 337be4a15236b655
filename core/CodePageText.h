// Narrow text in the device's code page to and from wide text, chosen by
// the settings: the code page (0: GBK in, the system code page out), or the
// character set of the language through the loaded iconv library. A text is
// never lost whole to a setting the terminal cannot convert with: a code
// page the platform does not have (or UTF-16, which is no narrow text) is
// taken as 0, a character set the library does not know (or no library) as
// no character set; what a conversion cannot read or write becomes '?'.
#pragma once

#include <cstddef>

#include "platform/base/types.h"

// The iconv interface of the character-set library; null while not loaded.
typedef void* iconv_t;
typedef iconv_t (*IconvOpenProc)(const char* to, const char* from);
typedef size_t (*IconvProc)(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft);
typedef int (*IconvCloseProc)(iconv_t cd);
extern IconvOpenProc g_pfnIconvOpen;
extern IconvProc g_pfnIconv;
extern IconvCloseProc g_pfnIconvClose;

// `size` counts wide characters for MultiByteToText and bytes for
// TextToMultiByte. The result is the count written, or 1 through iconv;
// 0 when nothing could be converted (a short buffer). `exact`, when given,
// tells whether every byte was read as a character (none became '?').
int MultiByteToText(const char* text, LPWSTR buffer, int size, bool* exact = nullptr);
int TextToMultiByte(LPCWSTR text, char* buffer, int size);
// The bytes at the end of `text` (`bytes` long) that begin a character of
// the device's character set whose rest is missing: a text cut short inside
// its last character. 0 when it ends on a whole character.
int CutCharacterBytes(const char* text, int bytes);
