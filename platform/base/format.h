// printf-style formatting in the dialect of the terminal's C library:
// in a wide format "%s" takes a wide string and "%S"/"%hs" a narrow one, in a
// narrow format the other way round; "%I64d", "%ld", "%u", "%02d", "%08X",
// "%.3lf", "%c", "%p", "%%". Arguments are captured with their types, so a
// mismatch between the format and an argument never reads wrong memory, and
// the output is bounded by the caller's buffer.
//
// - Integers are read with the width of the length modifier: none, "l" and
//   "I32" are 32 bits (long is 32 bits on the platform), "h" 16, "hh" 8,
//   "ll", "I64" and "j" 64, "I", "z" and "t" the pointer's width.
// - A text prints as the text whatever its conversion says, and whichever of
//   wide or narrow it is: narrow text in a wide output is read in the system
//   code page (936, GBK), wide text in a narrow output is written in it.
//   A number given for "%s" prints in decimal ("%g" for a double); a null
//   text or pointer there prints "(null)". "%c" with "h" or "%C" in a wide
//   format takes a narrow character, otherwise a wide one.
// - "%p" prints all the pointer's hex digits in upper case, without "0x".
// - "%n" stores nothing. An unknown conversion is copied as it stands and
//   takes no argument. A conversion whose argument is missing prints
//   nothing; a missing "*" leaves the width or precision unset.
// - Widths and precisions are cut at 4096.
// - Doubles follow the host C library ("1.500000e+01", "inf", "nan").
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "platform/base/types.h"

class CString;

struct FormatArg {
    enum class Kind { Signed, Unsigned, Double, Wide, Narrow, Pointer };
    Kind kind;
    union {
        int64_t i;
        uint64_t u;
        double d;
        const char16_t* ws;
        const char* s;
        const void* p;
    };

    FormatArg(std::signed_integral auto v) : kind(Kind::Signed), i(v) {}
    FormatArg(std::unsigned_integral auto v) : kind(Kind::Unsigned), u(v) {}
    FormatArg(char16_t v) : kind(Kind::Unsigned), u(v) {}
    FormatArg(char v) : kind(Kind::Signed), i(static_cast<unsigned char>(v)) {}
    FormatArg(bool v) : kind(Kind::Signed), i(v ? 1 : 0) {}
    FormatArg(std::floating_point auto v) : kind(Kind::Double), d(v) {}
    FormatArg(const char16_t* v) : kind(Kind::Wide), ws(v) {}
    FormatArg(char16_t* v) : kind(Kind::Wide), ws(v) {}
    FormatArg(const char* v) : kind(Kind::Narrow), s(v) {}
    FormatArg(char* v) : kind(Kind::Narrow), s(v) {}
    FormatArg(const unsigned char* v) : kind(Kind::Narrow), s(reinterpret_cast<const char*>(v)) {}
    FormatArg(unsigned char* v) : kind(Kind::Narrow), s(reinterpret_cast<const char*>(v)) {}
    FormatArg(const CString& v);
    FormatArg(const std::u16string& v) : kind(Kind::Wide), ws(v.c_str()) {}
    FormatArg(const std::string& v) : kind(Kind::Narrow), s(v.c_str()) {}
    FormatArg(std::nullptr_t) : kind(Kind::Pointer), p(nullptr) {}
    template <class T>
        requires(std::is_enum_v<T>)
    FormatArg(T v) : kind(Kind::Signed), i(static_cast<int64_t>(v)) {}
    template <class T>
        requires(!std::is_same_v<std::remove_cv_t<T>, char> && !std::is_same_v<std::remove_cv_t<T>, char16_t> &&
                 !std::is_same_v<std::remove_cv_t<T>, unsigned char>)
    FormatArg(T* v) : kind(Kind::Pointer), p(v) {}
};

// Formats into a growing string (no bound).
std::u16string FormatWide(const char16_t* format, const FormatArg* args, size_t count);
std::string FormatNarrow(const char* format, const FormatArg* args, size_t count);

// Formats into a caller's buffer of `capacity` characters, always terminated
// when capacity > 0. Returns the number of characters written (without the
// terminator), or -1 when the output was cut.
int FormatWideInto(char16_t* buffer, size_t capacity, const char16_t* format, const FormatArg* args, size_t count);
int FormatNarrowInto(char* buffer, size_t capacity, const char* format, const FormatArg* args, size_t count);

// The C library's entry points, with the argument capture above.
template <class... A>
int swprintf(char16_t* buffer, size_t capacity, const char16_t* format, const A&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWideInto(buffer, capacity, format, list, sizeof...(A));
}

// wsprintf has no bound on the platform; the window-API buffers it is used
// with are limited to 1024 characters, so that is the bound here.
template <class... A>
int wsprintf(char16_t* buffer, const char16_t* format, const A&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatWideInto(buffer, 1024, format, list, sizeof...(A));
}

template <class... A>
int _snprintf(char* buffer, size_t capacity, const char* format, const A&... args) {
    const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
    return FormatNarrowInto(buffer, capacity, format, list, sizeof...(A));
}
