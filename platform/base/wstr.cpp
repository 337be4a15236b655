#include "platform/base/wstr.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// Lower-case letters [first, last] whose capital is `delta` below.
struct ShiftedRange {
    char16_t first;
    char16_t last;
    char16_t delta;
};
constexpr ShiftedRange kShifted[] = {
    {0x0061, 0x007A, 32}, {0x00E0, 0x00F6, 32}, {0x00F8, 0x00FE, 32}, {0x03B1, 0x03C1, 32},
    {0x03C3, 0x03C9, 32}, {0x0430, 0x044F, 32}, {0x0450, 0x045F, 80},
};

// Ranges of (capital, small) pairs at consecutive code points.
struct PairedRange {
    char16_t first;
    char16_t last;
};
constexpr PairedRange kPaired[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177}, {0x0179, 0x017E},
};

constexpr char16_t kSmallYDiaeresis = 0x00FF;
constexpr char16_t kCapitalYDiaeresis = 0x0178;
constexpr char16_t kFinalSigma = 0x03C2;
constexpr char16_t kCapitalSigma = 0x03A3;

const PairedRange* PairOf(char16_t ch) {
    for (const PairedRange& r : kPaired)
        if (ch >= r.first && ch <= r.last) return &r;
    return nullptr;
}

int CompareUnits(char16_t a, char16_t b) { return static_cast<int>(a) - static_cast<int>(b); }

template <class Fold>
int CompareFolded(const char16_t* a, const char16_t* b, size_t count, Fold fold) {
    for (size_t i = 0; i < count; ++i) {
        const int diff = CompareUnits(fold(a[i]), fold(b[i]));
        if (diff != 0 || a[i] == 0) return diff;
    }
    return 0;
}

char16_t Same(char16_t ch) { return ch; }

template <class Map>
char16_t* MapInPlace(char16_t* s, Map map) {
    for (char16_t* p = s; p && *p; ++p) *p = map(*p);
    return s;
}

}  // namespace

char16_t towupper(char16_t ch) {
    for (const ShiftedRange& r : kShifted)
        if (ch >= r.first && ch <= r.last) return static_cast<char16_t>(ch - r.delta);
    if (const PairedRange* r = PairOf(ch)) return (ch - r->first) % 2 ? static_cast<char16_t>(ch - 1) : ch;
    if (ch == kSmallYDiaeresis) return kCapitalYDiaeresis;
    if (ch == kFinalSigma) return kCapitalSigma;
    return ch;
}

char16_t towlower(char16_t ch) {
    for (const ShiftedRange& r : kShifted)
        if (ch >= r.first - r.delta && ch <= r.last - r.delta)
            return static_cast<char16_t>(ch + r.delta);
    if (const PairedRange* r = PairOf(ch)) return (ch - r->first) % 2 ? ch : static_cast<char16_t>(ch + 1);
    if (ch == kCapitalYDiaeresis) return kSmallYDiaeresis;
    return ch;
}

size_t wcslen(const char16_t* s) { return std::char_traits<char16_t>::length(s); }

size_t wcsnlen(const char16_t* s, size_t maximum) {
    size_t n = 0;
    while (n < maximum && s[n]) ++n;
    return n;
}

char16_t* wcscpy(char16_t* dest, const char16_t* src) {
    std::copy_n(src, wcslen(src) + 1, dest);
    return dest;
}

char16_t* wcsncpy(char16_t* dest, const char16_t* src, size_t count) {
    const size_t n = wcsnlen(src, count);
    std::copy_n(src, n, dest);
    std::fill(dest + n, dest + count, u'\0');
    return dest;
}

char16_t* wcscat(char16_t* dest, const char16_t* src) {
    wcscpy(dest + wcslen(dest), src);
    return dest;
}

char16_t* wcsncat(char16_t* dest, const char16_t* src, size_t count) {
    char16_t* end = dest + wcslen(dest);
    const size_t n = wcsnlen(src, count);
    std::copy_n(src, n, end);
    end[n] = 0;
    return dest;
}

int wcscmp(const char16_t* a, const char16_t* b) { return CompareFolded(a, b, SIZE_MAX, Same); }

int wcsncmp(const char16_t* a, const char16_t* b, size_t count) { return CompareFolded(a, b, count, Same); }

// The C library folds to lower case before comparing, so '_' sorts before letters.
int _wcsicmp(const char16_t* a, const char16_t* b) {
    return CompareFolded(a, b, SIZE_MAX, [](char16_t c) { return towlower(c); });
}

int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count) {
    return CompareFolded(a, b, count, [](char16_t c) { return towlower(c); });
}

const char16_t* wcschr(const char16_t* s, char16_t ch) {
    for (;; ++s) {
        if (*s == ch) return s;
        if (!*s) return nullptr;
    }
}

char16_t* wcschr(char16_t* s, char16_t ch) { return const_cast<char16_t*>(wcschr(static_cast<const char16_t*>(s), ch)); }

const char16_t* wcsrchr(const char16_t* s, char16_t ch) {
    const char16_t* found = nullptr;
    for (;; ++s) {
        if (*s == ch) found = s;
        if (!*s) return found;
    }
}

char16_t* wcsrchr(char16_t* s, char16_t ch) {
    return const_cast<char16_t*>(wcsrchr(static_cast<const char16_t*>(s), ch));
}

const char16_t* wcsstr(const char16_t* s, const char16_t* sub) {
    const size_t n = wcslen(sub);
    for (; *s; ++s)
        if (wcsncmp(s, sub, n) == 0) return s;
    return n == 0 ? s : nullptr;
}

char16_t* wcsstr(char16_t* s, const char16_t* sub) {
    return const_cast<char16_t*>(wcsstr(static_cast<const char16_t*>(s), sub));
}

size_t wcsspn(const char16_t* s, const char16_t* set) {
    size_t n = 0;
    while (s[n] && wcschr(set, s[n])) ++n;
    return n;
}

size_t wcscspn(const char16_t* s, const char16_t* set) {
    size_t n = 0;
    while (s[n] && !wcschr(set, s[n])) ++n;
    return n;
}

char16_t* _wcsupr(char16_t* s) { return MapInPlace(s, [](char16_t c) { return towupper(c); }); }

char16_t* _wcslwr(char16_t* s) { return MapInPlace(s, [](char16_t c) { return towlower(c); }); }

int lstrlen(const char16_t* s) { return s ? static_cast<int>(wcslen(s)) : 0; }

char16_t* lstrcpy(char16_t* dest, const char16_t* src) { return wcscpy(dest, src); }

// Unlike wcsncpy, always terminates within `count` units.
char16_t* lstrcpyn(char16_t* dest, const char16_t* src, int count) {
    if (count <= 0) return dest;
    const size_t n = wcsnlen(src, static_cast<size_t>(count - 1));
    std::copy_n(src, n, dest);
    dest[n] = 0;
    return dest;
}

char16_t* lstrcat(char16_t* dest, const char16_t* src) { return wcscat(dest, src); }

int lstrcmp(const char16_t* a, const char16_t* b) { return wcscmp(a ? a : u"", b ? b : u""); }

int lstrcmpi(const char16_t* a, const char16_t* b) { return _wcsicmp(a ? a : u"", b ? b : u""); }
