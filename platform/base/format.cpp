#include "platform/base/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "platform/base/codepage.h"

namespace {

// Widths and precisions beyond this are cut, so that a stray "%999999999d"
// cannot exhaust memory.
constexpr int kMaxField = 4096;

enum class Length { None, Char, Short, Long, LongLong, Int32, Int64, Pointer, LongDouble, Wide };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    Length length = Length::None;
    char conversion = 0;
};

// Bounded output: stops growing at `limit` characters and remembers the cut.
template <class C>
class Output {
public:
    explicit Output(size_t limit) : m_limit(limit) {}
    void Put(C ch) { Put(&ch, 1); }
    void Put(const C* text, size_t count) {
        const size_t room = m_limit - m_text.size();
        if (count > room) {
            count = room;
            m_cut = true;
        }
        m_text.append(text, count);
    }
    void Fill(C ch, size_t count) {
        for (size_t i = 0; i < count && !m_cut; ++i) Put(ch);
    }
    std::basic_string<C>& Text() { return m_text; }
    bool Cut() const { return m_cut; }

private:
    size_t m_limit;
    std::basic_string<C> m_text;
    bool m_cut = false;
};

// Hands out the captured arguments in order; a missing one is null.
class Arguments {
public:
    Arguments(const FormatArg* args, size_t count) : m_args(args), m_count(count) {}
    const FormatArg* Next() { return m_next < m_count ? &m_args[m_next++] : nullptr; }

private:
    const FormatArg* m_args;
    size_t m_count;
    size_t m_next = 0;
};

int64_t SaturatedFromDouble(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (v <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(v);
}

// The raw 64 bits of a numeric argument.
uint64_t RawBits(const FormatArg& arg) {
    switch (arg.kind) {
    case FormatArg::Kind::Signed:
        return static_cast<uint64_t>(arg.i);
    case FormatArg::Kind::Unsigned:
        return arg.u;
    case FormatArg::Kind::Double:
        return static_cast<uint64_t>(SaturatedFromDouble(arg.d));
    case FormatArg::Kind::Pointer:
        return reinterpret_cast<uintptr_t>(arg.p);
    case FormatArg::Kind::Wide:
        return reinterpret_cast<uintptr_t>(arg.ws);
    case FormatArg::Kind::Narrow:
        return reinterpret_cast<uintptr_t>(arg.s);
    }
    return 0;
}

double AsDouble(const FormatArg& arg) {
    switch (arg.kind) {
    case FormatArg::Kind::Double:
        return arg.d;
    case FormatArg::Kind::Signed:
        return static_cast<double>(arg.i);
    case FormatArg::Kind::Unsigned:
        return static_cast<double>(arg.u);
    default:
        return 0.0;
    }
}

int BitsOf(Length length) {
    switch (length) {
    case Length::Char:
        return 8;
    case Length::Short:
        return 16;
    case Length::LongLong:
    case Length::Int64:
    case Length::LongDouble:
        return 64;
    case Length::Pointer:
        return static_cast<int>(sizeof(void*) * 8);
    default:
        return 32;  // int and long are 32 bits on the platform
    }
}

bool IsSigned(char conversion) { return conversion == 'd' || conversion == 'i'; }

// Digits of an integer conversion with sign, prefix, precision and zero
// padding; the caller pads with blanks.
std::string IntegerField(const Spec& spec, uint64_t bits) {
    const int width = BitsOf(spec.length);
    const uint64_t mask = width == 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1;
    bits &= mask;
    bool negative = false;
    if (IsSigned(spec.conversion) && width < 64 && (bits >> (width - 1)) & 1) bits |= ~mask;  // sign-extend
    uint64_t magnitude = bits;
    if (IsSigned(spec.conversion) && static_cast<int64_t>(bits) < 0) {
        negative = true;
        magnitude = ~bits + 1;
    }
    const unsigned base = spec.conversion == 'o' ? 8 : (spec.conversion == 'x' || spec.conversion == 'X') ? 16 : 10;
    const char* digitSet = spec.conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string digits;
    for (uint64_t v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), digitSet[v % base]);
    if (spec.precision >= 0 && static_cast<int>(digits.size()) < spec.precision)
        digits.insert(0, static_cast<size_t>(spec.precision) - digits.size(), '0');
    if (spec.precision < 0 && digits.empty()) digits = "0";
    std::string prefix;
    if (negative)
        prefix = "-";
    else if (IsSigned(spec.conversion) && spec.plus)
        prefix = "+";
    else if (IsSigned(spec.conversion) && spec.space)
        prefix = " ";
    if (spec.alternate && magnitude != 0 && base == 16) prefix += spec.conversion == 'X' ? "0X" : "0x";
    if (spec.alternate && base == 8 && (digits.empty() || digits[0] != '0')) digits.insert(0, 1, '0');
    if (spec.zero && !spec.left && spec.precision < 0) {
        const int used = static_cast<int>(prefix.size() + digits.size());
        if (used < spec.width) digits.insert(0, static_cast<size_t>(spec.width - used), '0');
    }
    return prefix + digits;
}

std::string FloatField(const Spec& spec, double value) {
    std::string format = "%";
    if (spec.left) format += '-';
    if (spec.plus) format += '+';
    if (spec.space) format += ' ';
    if (spec.alternate) format += '#';
    if (spec.zero) format += '0';
    format += std::to_string(spec.width);
    if (spec.precision >= 0) format += "." + std::to_string(spec.precision);
    format += spec.conversion;
    const int needed = std::snprintf(nullptr, 0, format.c_str(), value);
    std::string out(static_cast<size_t>(std::max(needed, 0)), '\0');
    std::snprintf(out.data(), out.size() + 1, format.c_str(), value);
    return out;
}

// The platform prints pointers as all their hex digits, upper case.
std::string PointerField(uint64_t bits) {
    Spec hex;
    hex.conversion = 'X';
    hex.length = Length::Pointer;
    hex.precision = static_cast<int>(sizeof(void*) * 2);
    return IntegerField(hex, bits);
}

// The text of a number given where a string was expected.
std::string NumberAsText(const FormatArg& arg) {
    Spec plain;
    plain.length = Length::Int64;
    switch (arg.kind) {
    case FormatArg::Kind::Signed:
        plain.conversion = 'd';
        return IntegerField(plain, arg.u);
    case FormatArg::Kind::Unsigned:
        plain.conversion = 'u';
        return IntegerField(plain, arg.u);
    case FormatArg::Kind::Double:
        plain.conversion = 'g';
        return FloatField(plain, arg.d);
    default:
        return arg.p ? PointerField(RawBits(arg)) : "(null)";
    }
}

template <class C>
std::basic_string<C> Widen(std::string_view ascii) {
    return std::basic_string<C>(ascii.begin(), ascii.end());
}

size_t BoundedLength(const char16_t* text, int precision) {
    size_t n = 0;
    while ((precision < 0 || n < static_cast<size_t>(precision)) && text[n]) ++n;
    // Never keep half of a surrogate pair.
    if (precision >= 0 && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] < 0xDC00 && text[n]) --n;
    return n;
}

size_t BoundedLength(const char* text, int precision) {
    return precision < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(precision));
}

// A text argument converted to the output's character type: wide text into a
// narrow output and narrow text into a wide one go through the system code page.
template <class C>
std::basic_string<C> TextOf(const FormatArg& arg, int precision) {
    if (arg.kind == FormatArg::Kind::Wide && arg.ws) {
        std::u16string_view text(arg.ws, BoundedLength(arg.ws, precision));
        if constexpr (std::is_same_v<C, char16_t>)
            return std::u16string(text);
        else
            return EncodeCodePage(CP_ACP, text);
    }
    if (arg.kind == FormatArg::Kind::Narrow && arg.s) {
        std::string_view text(arg.s, BoundedLength(arg.s, precision));
        if constexpr (std::is_same_v<C, char>)
            return std::string(text);
        else
            return DecodeCodePage(CP_ACP, text);
    }
    return Widen<C>(NumberAsText(arg));
}

bool WantsWideChar(const Spec& spec, bool wideFormat) {
    if (spec.length == Length::Short || spec.length == Length::Char) return false;
    if (spec.length == Length::Long || spec.length == Length::Wide) return true;
    return wideFormat ? spec.conversion == 'c' : spec.conversion == 'C';
}

template <class C>
std::basic_string<C> CharOf(const Spec& spec, const FormatArg& arg) {
    const uint64_t code = RawBits(arg);
    if (WantsWideChar(spec, std::is_same_v<C, char16_t>)) {
        const char16_t ch = static_cast<char16_t>(code);
        if constexpr (std::is_same_v<C, char16_t>)
            return std::u16string(1, ch);
        else
            return EncodeCodePage(CP_ACP, std::u16string_view(&ch, 1));
    }
    const char ch = static_cast<char>(code);
    if constexpr (std::is_same_v<C, char>)
        return std::string(1, ch);
    else
        return DecodeCodePage(CP_ACP, std::string_view(&ch, 1));
}

template <class C>
void PutField(Output<C>& out, const Spec& spec, const std::basic_string<C>& body) {
    const size_t pad = spec.width > static_cast<int>(body.size()) ? spec.width - body.size() : 0;
    if (!spec.left) out.Fill(C(' '), pad);
    out.Put(body.data(), body.size());
    if (spec.left) out.Fill(C(' '), pad);
}

template <class C>
int ParseNumber(const C*& p) {
    int value = 0;
    while (*p >= C('0') && *p <= C('9')) {
        value = std::min(kMaxField, value * 10 + static_cast<int>(*p - C('0')));
        ++p;
    }
    return value;
}

// A "*" takes its value from the next argument; a missing one counts as absent.
int StarValue(Arguments& args) {
    const FormatArg* arg = args.Next();
    if (!arg) return std::numeric_limits<int>::min();
    const int64_t v = static_cast<int32_t>(static_cast<uint32_t>(RawBits(*arg)));
    return static_cast<int>(std::clamp<int64_t>(v, -kMaxField, kMaxField));
}

template <class C>
bool Matches(const C* p, const char* word) {
    for (; *word; ++word, ++p)
        if (*p != C(*word)) return false;
    return true;
}

template <class C>
Length ParseLength(const C*& p) {
    struct Modifier {
        const char* text;
        Length length;
    };
    static constexpr Modifier kModifiers[] = {
        {"I64", Length::Int64}, {"I32", Length::Int32}, {"ll", Length::LongLong}, {"hh", Length::Char},
        {"I", Length::Pointer}, {"z", Length::Pointer}, {"t", Length::Pointer},   {"j", Length::Int64},
        {"h", Length::Short},   {"l", Length::Long},    {"L", Length::LongDouble}, {"w", Length::Wide},
    };
    for (const Modifier& m : kModifiers) {
        if (Matches(p, m.text)) {
            p += std::strlen(m.text);
            return m.length;
        }
    }
    return Length::None;
}

template <class C>
Spec ParseSpec(const C*& p, Arguments& args) {
    Spec spec;
    for (;; ++p) {
        if (*p == C('-'))
            spec.left = true;
        else if (*p == C('+'))
            spec.plus = true;
        else if (*p == C(' '))
            spec.space = true;
        else if (*p == C('#'))
            spec.alternate = true;
        else if (*p == C('0'))
            spec.zero = true;
        else
            break;
    }
    if (*p == C('*')) {
        ++p;
        const int width = StarValue(args);
        if (width < 0 && width != std::numeric_limits<int>::min()) spec.left = true;
        spec.width = width == std::numeric_limits<int>::min() ? 0 : std::abs(width);
    } else {
        spec.width = ParseNumber(p);
    }
    if (*p == C('.')) {
        ++p;
        if (*p == C('*')) {
            ++p;
            const int precision = StarValue(args);
            spec.precision = precision < 0 ? -1 : precision;
        } else {
            spec.precision = ParseNumber(p);
        }
    }
    spec.length = ParseLength(p);
    spec.conversion = (*p > 0 && *p < 0x80) ? static_cast<char>(*p) : '\0';
    return spec;
}

template <class C>
void FormatOne(Output<C>& out, const Spec& spec, const FormatArg& arg) {
    const bool isText = arg.kind == FormatArg::Kind::Wide || arg.kind == FormatArg::Kind::Narrow;
    switch (spec.conversion) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        // A text given for a number prints as the text.
        PutField(out, spec, isText ? TextOf<C>(arg, -1) : Widen<C>(IntegerField(spec, RawBits(arg))));
        return;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
        PutField(out, spec, isText ? TextOf<C>(arg, -1) : Widen<C>(FloatField(spec, AsDouble(arg))));
        return;
    case 'c':
    case 'C':
        PutField(out, spec, isText ? TextOf<C>(arg, 1) : CharOf<C>(spec, arg));
        return;
    case 's':
    case 'S':
        PutField(out, spec, TextOf<C>(arg, spec.precision));
        return;
    case 'p':
        PutField(out, spec, Widen<C>(PointerField(RawBits(arg))));
        return;
    default:
        return;
    }
}

bool KnownConversion(char conversion) {
    return conversion != 0 && std::strchr("diuxXoeEfFgGcCsSpn", conversion) != nullptr;
}

template <class C>
void Run(Output<C>& out, const C* format, const FormatArg* list, size_t count) {
    if (!format) return;
    Arguments args(list, count);
    for (const C* p = format; *p && !out.Cut();) {
        if (*p != C('%')) {
            const C* run = p;
            while (*p && *p != C('%')) ++p;
            out.Put(run, static_cast<size_t>(p - run));
            continue;
        }
        const C* start = p++;
        if (*p == C('%')) {
            out.Put(*p++);
            continue;
        }
        const Spec spec = ParseSpec(p, args);
        if (!KnownConversion(spec.conversion)) {
            // An unknown conversion is copied as it stands, taking no argument.
            if (*p) ++p;
            out.Put(start, static_cast<size_t>(p - start));
            continue;
        }
        ++p;
        const FormatArg* arg = args.Next();
        if (arg && spec.conversion != 'n') FormatOne(out, spec, *arg);
    }
}

template <class C>
std::basic_string<C> FormatUnbounded(const C* format, const FormatArg* args, size_t count) {
    Output<C> out(std::numeric_limits<size_t>::max());
    Run(out, format, args, count);
    return std::move(out.Text());
}

template <class C>
int FormatInto(C* buffer, size_t capacity, const C* format, const FormatArg* args, size_t count) {
    if (!buffer || capacity == 0) return -1;
    Output<C> out(capacity - 1);
    Run(out, format, args, count);
    const std::basic_string<C>& text = out.Text();
    std::memcpy(buffer, text.data(), text.size() * sizeof(C));
    buffer[text.size()] = C(0);
    return out.Cut() ? -1 : static_cast<int>(text.size());
}

}  // namespace

std::u16string FormatWide(const char16_t* format, const FormatArg* args, size_t count) {
    return FormatUnbounded(format, args, count);
}

std::string FormatNarrow(const char* format, const FormatArg* args, size_t count) {
    return FormatUnbounded(format, args, count);
}

int FormatWideInto(char16_t* buffer, size_t capacity, const char16_t* format, const FormatArg* args, size_t count) {
    return FormatInto(buffer, capacity, format, args, count);
}

int FormatNarrowInto(char* buffer, size_t capacity, const char* format, const FormatArg* args, size_t count) {
    return FormatInto(buffer, capacity, format, args, count);
}
