// Number parsing of the platform's C library over UTF-16 text: leading white
// space, an optional sign, digits up to the first character that is not one.
// Results saturate at the limits of the result type (errno = ERANGE), and
// long is 32 bits as on the platform. Text without digits gives 0.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
// The host's wide functions are declared first, so that the std:: names stay
// single functions whose address the standard library can take.
#include <cwchar>
#include <string>

#include "platform/base/types.h"

LONG _wtol(const char16_t* text);
int _wtoi(const char16_t* text);
__int64 _wtoi64(const char16_t* text);
double _wtof(const char16_t* text);

// `end` (when given) receives the first character not used, or `text` itself
// when no number was found. Base 0 reads "0x1F" as hex and "017" as octal.
LONG wcstol(const char16_t* text, char16_t** end, int base);
ULONG wcstoul(const char16_t* text, char16_t** end, int base);
__int64 _wcstoi64(const char16_t* text, char16_t** end, int base);
UINT64 _wcstoui64(const char16_t* text, char16_t** end, int base);
double wcstod(const char16_t* text, char16_t** end);

#define _ttol _wtol
#define _ttoi _wtoi
#define _ttoi64 _wtoi64
#define _tstof _wtof
#define _tcstol wcstol
#define _tcstoul wcstoul
#define _tcstoi64 _wcstoi64
#define _tcstod wcstod

// The destination of one swscanf conversion, with its type.
struct ScanTarget {
    enum class Kind { Signed, Unsigned, Floating };
    Kind kind;
    void* address;
    size_t size;

    template <std::signed_integral T>
    ScanTarget(T* v) : kind(Kind::Signed), address(v), size(sizeof(T)) {}
    template <std::unsigned_integral T>
    ScanTarget(T* v) : kind(Kind::Unsigned), address(v), size(sizeof(T)) {}
    template <std::floating_point T>
    ScanTarget(T* v) : kind(Kind::Floating), address(v), size(sizeof(T)) {}
};

// Reads numbers only: %d %i %u %x %X %o (with h, l, ll, I64 accepted and the
// destination's own type deciding the width; a value too wide for it keeps
// its low bits, as the C library does), %e %f %g, %% and "%*d" (read and
// skip); white space in the format skips any white space; other characters
// must match. Returns the number of fields assigned, or -1 (EOF) when the
// input ends before the first conversion.
int ScanWide(const char16_t* input, const char16_t* format, const ScanTarget* targets, size_t count);

template <class... A>
int swscanf(const char16_t* input, const char16_t* format, A*... args) {
    const ScanTarget list[] = {ScanTarget(args)..., ScanTarget(static_cast<int*>(nullptr))};
    return ScanWide(input, format, list, sizeof...(A));
}
#define _stscanf swscanf
