// Code pages: conversions between the application's UTF-16 text and the
// 8-bit encodings of the terminal's files, peers and serial devices.
// The system code page (CP_ACP, CP_OEMCP) is 936, simplified Chinese GBK.
// GBK is kept strict: GB18030 four-byte sequences are neither produced nor
// accepted, so a character outside GBK becomes the default character.
// There is no "best fit" mapping (no 'Ā' -> 'A'): what a code page cannot
// represent always becomes the default character and is reported.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/types.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_MACCP 2
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_COMPOSITECHECK 0x00000200
#define WC_DEFAULTCHAR 0x00000040
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080

#ifndef ERROR_NO_UNICODE_TRANSLATION
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#endif

UINT GetACP();
UINT GetOEMCP();
BOOL IsValidCodePage(UINT codePage);

// Win32 semantics: a length of -1 means "up to and including the NUL";
// a zero output size asks for the size needed; a short buffer fails with
// ERROR_INSUFFICIENT_BUFFER; invalid input with MB_ERR_INVALID_CHARS fails
// with ERROR_NO_UNICODE_TRANSLATION. Invalid bytes otherwise become '?'
// (U+FFFD for UTF-8). For CP_UTF8 lpDefaultChar and lpUsedDefaultChar must
// be null, as on the platform.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength, LPWSTR wide,
                        int wideLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// The same conversions for the layer's own use. An unknown code page gives
// an empty result (and *usedDefault stays false).
std::u16string DecodeCodePage(UINT codePage, std::string_view bytes);
std::string EncodeCodePage(UINT codePage, std::u16string_view text, bool* usedDefault = nullptr);
// The bytes at the end of `bytes` that begin a character whose rest is
// missing (a GBK or Big5 lead byte alone, the start of a UTF-8 sequence),
// read from the first byte on; 0 when the text ends on a whole character or
// the code page is unknown.
size_t IncompleteTailBytes(UINT codePage, std::string_view bytes);
