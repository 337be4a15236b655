#include "platform/base/numparse.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

namespace {

constexpr size_t kUnlimited = std::numeric_limits<size_t>::max();

bool IsBlank(char16_t ch) { return ch == u' ' || (ch >= u'\t' && ch <= u'\r'); }

const char16_t* SkipBlanks(const char16_t* p) {
    while (IsBlank(*p)) ++p;
    return p;
}

int DigitValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'z') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'Z') return ch - u'A' + 10;
    return 99;
}

struct ParsedInteger {
    bool found = false;
    bool negative = false;
    bool overflow = false;  // beyond 64 bits
    uint64_t magnitude = 0;
    const char16_t* end = nullptr;
};

// Sign, base prefix and digits, reading at most `limit` characters.
ParsedInteger ParseInteger(const char16_t* p, int base, size_t limit) {
    ParsedInteger r;
    if (base < 0 || base == 1 || base > 36) return r;
    auto take = [&](size_t n) {
        p += n;
        limit -= n;
    };
    if (limit > 0 && (*p == u'+' || *p == u'-')) {
        r.negative = *p == u'-';
        take(1);
    }
    const bool hexPrefix = limit >= 3 && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') && DigitValue(p[2]) < 16;
    if ((base == 0 || base == 16) && hexPrefix) {
        take(2);
        base = 16;
    } else if (base == 0) {
        base = limit > 0 && *p == u'0' ? 8 : 10;
    }
    const uint64_t ubase = static_cast<uint64_t>(base);
    for (; limit > 0 && DigitValue(*p) < base; take(1)) {
        const uint64_t digit = static_cast<uint64_t>(DigitValue(*p));
        if (r.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / ubase)
            r.overflow = true;
        else
            r.magnitude = r.magnitude * ubase + digit;
        r.found = true;
    }
    r.end = p;
    return r;
}

template <class T>
T Saturate(const ParsedInteger& r) {
    constexpr uint64_t maximum = static_cast<uint64_t>(std::numeric_limits<T>::max());
    if constexpr (std::is_signed_v<T>) {
        if (r.overflow || r.magnitude > maximum + (r.negative ? 1 : 0)) {
            errno = ERANGE;
            return r.negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
        }
    } else if (r.overflow || r.magnitude > maximum) {
        errno = ERANGE;
        return std::numeric_limits<T>::max();
    }
    // Unsigned results of a negative number wrap, as in the C library.
    return static_cast<T>(r.negative ? 0 - r.magnitude : r.magnitude);
}

template <class T>
T ConvertInteger(const char16_t* text, char16_t** end, int base) {
    if (end) *end = const_cast<char16_t*>(text);
    if (!text) return 0;
    const ParsedInteger r = ParseInteger(SkipBlanks(text), base, kUnlimited);
    if (!r.found) return 0;
    if (end) *end = const_cast<char16_t*>(r.end);
    return Saturate<T>(r);
}

// The host's strtod does the work on the leading ASCII run; `end` is left at
// `text` when there is no number.
double ParseDouble(const char16_t* text, const char16_t** end, size_t limit) {
    *end = text;
    const char16_t* start = SkipBlanks(text);
    std::string ascii;
    for (const char16_t* p = start; ascii.size() < limit && *p > 0 && *p < 0x80 && !IsBlank(*p); ++p)
        ascii += static_cast<char>(*p);
    char* stop = nullptr;
    const double value = std::strtod(ascii.c_str(), &stop);
    if (stop != ascii.c_str()) *end = start + (stop - ascii.c_str());
    return value;
}

// Keeps the low bits that fit the destination.
void StoreInteger(const ScanTarget& target, uint64_t bits) {
    switch (target.size) {
    case 1: {
        const uint8_t v = static_cast<uint8_t>(bits);
        std::memcpy(target.address, &v, 1);
        return;
    }
    case 2: {
        const uint16_t v = static_cast<uint16_t>(bits);
        std::memcpy(target.address, &v, 2);
        return;
    }
    case 4: {
        const uint32_t v = static_cast<uint32_t>(bits);
        std::memcpy(target.address, &v, 4);
        return;
    }
    default:
        std::memcpy(target.address, &bits, sizeof bits);
        return;
    }
}

void StoreFloating(const ScanTarget& target, double value) {
    if (target.size == sizeof(float)) {
        const float v = static_cast<float>(value);
        std::memcpy(target.address, &v, sizeof v);
    } else {
        std::memcpy(target.address, &value, sizeof value);
    }
}

int64_t TruncatedFromDouble(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (v <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

void Store(const ScanTarget& target, const ParsedInteger& r) {
    uint64_t bits = r.negative ? 0 - r.magnitude : r.magnitude;
    if (r.overflow) bits = r.negative ? uint64_t{1} << 63 : std::numeric_limits<uint64_t>::max();
    if (target.kind == ScanTarget::Kind::Floating)
        StoreFloating(target, r.negative ? static_cast<double>(static_cast<int64_t>(bits)) : static_cast<double>(bits));
    else
        StoreInteger(target, bits);
}

void Store(const ScanTarget& target, double value) {
    if (target.kind == ScanTarget::Kind::Floating)
        StoreFloating(target, value);
    else
        StoreInteger(target, static_cast<uint64_t>(TruncatedFromDouble(value)));
}

int BaseOf(char16_t conversion) {
    switch (conversion) {
    case u'd':
    case u'u':
        return 10;
    case u'i':
        return 0;
    case u'x':
    case u'X':
        return 16;
    case u'o':
        return 8;
    default:
        return -1;
    }
}

bool IsFloatConversion(char16_t conversion) {
    return conversion == u'e' || conversion == u'E' || conversion == u'f' || conversion == u'g' || conversion == u'G';
}

void SkipLengthModifier(const char16_t*& f) {
    for (const char16_t* modifier : {u"I64", u"I32", u"ll", u"hh", u"h", u"l", u"L", u"I", u"z", u"j", u"t", u"w"}) {
        const size_t n = std::char_traits<char16_t>::length(modifier);
        if (std::char_traits<char16_t>::compare(f, modifier, n) == 0) {
            f += n;
            return;
        }
    }
}

}  // namespace

LONG _wtol(const char16_t* text) { return ConvertInteger<LONG>(text, nullptr, 10); }

int _wtoi(const char16_t* text) { return ConvertInteger<int>(text, nullptr, 10); }

__int64 _wtoi64(const char16_t* text) { return ConvertInteger<__int64>(text, nullptr, 10); }

double _wtof(const char16_t* text) { return wcstod(text, nullptr); }

LONG wcstol(const char16_t* text, char16_t** end, int base) { return ConvertInteger<LONG>(text, end, base); }

ULONG wcstoul(const char16_t* text, char16_t** end, int base) { return ConvertInteger<ULONG>(text, end, base); }

__int64 _wcstoi64(const char16_t* text, char16_t** end, int base) {
    return ConvertInteger<__int64>(text, end, base);
}

UINT64 _wcstoui64(const char16_t* text, char16_t** end, int base) {
    return ConvertInteger<uint64_t>(text, end, base);
}

double wcstod(const char16_t* text, char16_t** end) {
    const char16_t* stop = text;
    const double value = text ? ParseDouble(text, &stop, kUnlimited) : 0.0;
    if (end) *end = const_cast<char16_t*>(stop);
    return value;
}

int ScanWide(const char16_t* input, const char16_t* format, const ScanTarget* targets, size_t count) {
    if (!input || !format) return -1;
    const char16_t* in = input;
    int assigned = 0;
    int conversions = 0;
    size_t next = 0;
    // Running out of input before any conversion is the end-of-file result.
    auto inputEnded = [&] { return conversions == 0 ? -1 : assigned; };
    for (const char16_t* f = format; *f;) {
        if (IsBlank(*f)) {
            f = SkipBlanks(f);
            in = SkipBlanks(in);
            continue;
        }
        if (*f != u'%' || f[1] == u'%') {
            const bool percent = *f == u'%';
            f += percent ? 2 : 1;
            if (percent) in = SkipBlanks(in);
            if (!*in) return inputEnded();
            if (*in != (percent ? u'%' : f[-1])) return assigned;
            ++in;
            continue;
        }
        ++f;
        const bool suppress = *f == u'*';
        if (suppress) ++f;
        size_t width = 0;
        for (; *f >= u'0' && *f <= u'9'; ++f) width = std::min<size_t>(width * 10 + (*f - u'0'), 4096);
        if (width == 0) width = kUnlimited;
        SkipLengthModifier(f);
        const char16_t conversion = *f;
        if (!conversion || (BaseOf(conversion) < 0 && !IsFloatConversion(conversion))) return assigned;
        ++f;
        in = SkipBlanks(in);
        if (!*in) return inputEnded();
        if (!suppress && next >= count) return assigned;
        if (IsFloatConversion(conversion)) {
            const char16_t* stop = in;
            const double value = ParseDouble(in, &stop, width);
            if (stop == in) return assigned;
            in = stop;
            if (!suppress) Store(targets[next++], value);
        } else {
            const ParsedInteger r = ParseInteger(in, BaseOf(conversion), width);
            if (!r.found) return assigned;
            in = r.end;
            if (!suppress) Store(targets[next++], r);
        }
        ++conversions;
        if (!suppress) ++assigned;
    }
    return assigned;
}
