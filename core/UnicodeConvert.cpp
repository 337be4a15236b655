#include "core/UnicodeConvert.h"

#include <stdexcept>
#include <vector>

namespace {

constexpr UTF32 kReplacement = 0xFFFD;
constexpr UTF32 kMaxBmp = 0xFFFF;
constexpr UTF32 kMaxLegal = 0x10FFFF;
constexpr UTF32 kHighStart = 0xD800;
constexpr UTF32 kHighEnd = 0xDBFF;
constexpr UTF32 kLowStart = 0xDC00;
constexpr UTF32 kLowEnd = 0xDFFF;
constexpr int kHalfShift = 10;
constexpr UTF32 kHalfBase = 0x10000;
constexpr UTF32 kHalfMask = 0x3FF;

constexpr UTF32 kOffsetsFromUtf8[6] = {0x00000000, 0x00003080, 0x000E2080, 0x03C82080, 0xFA082080, 0x82082080};
constexpr UTF8 kFirstByteMark[7] = {0x00, 0x00, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};

int TrailingBytes(UTF8 lead) {
    if (lead < 0xC0)
        return 0;
    if (lead < 0xE0)
        return 1;
    if (lead < 0xF0)
        return 2;
    if (lead < 0xF8)
        return 3;
    if (lead < 0xFC)
        return 4;
    return 5;
}

bool IsSurrogate(UTF32 value) { return value >= kHighStart && value <= kLowEnd; }

// Reads one UTF-16 character (rules for surrogates); false stops the
// conversion with `result` set and the source left at the character.
bool ReadUtf16(const UTF16*& source, const UTF16* sourceEnd, ConversionFlags flags, UTF32& value,
               ConversionResult& result) {
    const UTF16* start = source;
    value = *source++;
    if (value >= kHighStart && value <= kHighEnd) {
        if (source >= sourceEnd) {
            source = start;
            result = sourceExhausted;
            return false;
        }
        const UTF32 low = *source;
        if (low >= kLowStart && low <= kLowEnd) {
            value = ((value - kHighStart) << kHalfShift) + (low - kLowStart) + kHalfBase;
            ++source;
        } else if (flags == strictConversion) {
            source = start;
            result = sourceIllegal;
            return false;
        }
    } else if (flags == strictConversion && value >= kLowStart && value <= kLowEnd) {
        source = start;
        result = sourceIllegal;
        return false;
    }
    return true;
}

// Writes one value as UTF-8; false when it does not fit before the end.
bool WriteUtf8(UTF32 value, UTF8*& target, UTF8* targetEnd) {
    int bytes;
    if (value < 0x80)
        bytes = 1;
    else if (value < 0x800)
        bytes = 2;
    else if (value < 0x10000)
        bytes = 3;
    else if (value <= kMaxLegal)
        bytes = 4;
    else {
        bytes = 3;
        value = kReplacement;
    }
    if (targetEnd - target < bytes)
        return false;
    target += bytes;
    UTF8* out = target;
    for (int i = bytes; i > 1; --i) {
        *--out = static_cast<UTF8>((value | 0x80) & 0xBF);
        value >>= 6;
    }
    *--out = static_cast<UTF8>(value | kFirstByteMark[bytes]);
    return true;
}

// Writes one value as UTF-16: a surrogate pair above the basic plane, the
// replacement character for a lone surrogate or a value past the last legal
// one (strict mode rejects those before calling); false when it does not fit.
bool WriteUtf16(UTF32 value, UTF16*& target, UTF16* targetEnd) {
    if (value > kMaxBmp && value <= kMaxLegal) {
        if (targetEnd - target < 2)
            return false;
        const UTF32 rest = value - kHalfBase;
        *target++ = static_cast<UTF16>((rest >> kHalfShift) + kHighStart);
        *target++ = static_cast<UTF16>((rest & kHalfMask) + kLowStart);
        return true;
    }
    if (target >= targetEnd)
        return false;
    *target++ = static_cast<UTF16>(IsSurrogate(value) || value > kMaxLegal ? kReplacement : value);
    return true;
}

// Reads one UTF-8 character; false stops with `result` set, the source at its lead byte.
// A legal sequence never decodes past the last legal value. Both modes read alike.
bool ReadUtf8(const UTF8*& source, const UTF8* sourceEnd, ConversionFlags, UTF32& value, ConversionResult& result) {
    const int extra = TrailingBytes(*source);
    if (extra >= sourceEnd - source) {
        result = sourceExhausted;
        return false;
    }
    if (!IsLegalUtf8(source, extra + 1)) {
        result = sourceIllegal;
        return false;
    }
    value = 0;
    for (int i = 0; i <= extra; ++i)
        value = (value << 6) + *source++;
    value -= kOffsetsFromUtf8[extra];
    return true;
}

// Writes one value as UTF-32; targetExhausted when the output is full.
ConversionResult WriteUtf32(UTF32 value, UTF32*& target, UTF32* targetEnd) {
    if (target >= targetEnd)
        return targetExhausted;
    *target++ = value;
    return conversionOK;
}

// Converts a character at a time until the source ends or one fails: `read`
// takes a character (false: it set the result and left the source at it),
// `write` puts it out and answers why not when it cannot, which puts the
// source back at the start of that character.
template <typename Unit, typename Write>
ConversionResult ConvertEach(const Unit*& source, const Unit* sourceEnd, ConversionFlags flags,
                             bool (*read)(const Unit*&, const Unit*, ConversionFlags, UTF32&, ConversionResult&),
                             Write write) {
    ConversionResult result = conversionOK;
    while (source < sourceEnd) {
        const Unit* start = source;
        UTF32 value;
        if (!read(source, sourceEnd, flags, value, result))
            break;
        const ConversionResult written = write(value);
        if (written != conversionOK) {
            source = start;
            result = written;
            break;
        }
    }
    return result;
}

[[noreturn]] void Fail() { throw std::runtime_error("La falla!"); }

}  // namespace

ConversionResult ConvertUtf32ToUtf16(const UTF32*& source, const UTF32* sourceEnd, UTF16*& target,
                                     UTF16* targetEnd, ConversionFlags flags) {
    ConversionResult result = conversionOK;
    while (source < sourceEnd) {
        if (target >= targetEnd) {
            result = targetExhausted;
            break;
        }
        const UTF32 value = *source;
        if (flags == strictConversion && IsSurrogate(value)) {
            result = sourceIllegal;
            break;
        }
        if (flags == strictConversion && value > kMaxLegal) {
            // Skipped and reported, the rest still converted.
            result = sourceIllegal;
        } else if (!WriteUtf16(value, target, targetEnd)) {
            result = targetExhausted;
            break;
        }
        ++source;
    }
    return result;
}

ConversionResult ConvertUtf16ToUtf32(const UTF16*& source, const UTF16* sourceEnd, UTF32*& target,
                                     UTF32* targetEnd, ConversionFlags flags) {
    return ConvertEach(source, sourceEnd, flags, ReadUtf16,
                       [&](UTF32 value) { return WriteUtf32(value, target, targetEnd); });
}

ConversionResult ConvertUtf16ToUtf8(const UTF16*& source, const UTF16* sourceEnd, UTF8*& target,
                                    UTF8* targetEnd, ConversionFlags flags) {
    return ConvertEach(source, sourceEnd, flags, ReadUtf16, [&](UTF32 value) {
        return WriteUtf8(value, target, targetEnd) ? conversionOK : targetExhausted;
    });
}

ConversionResult ConvertUtf32ToUtf8(const UTF32*& source, const UTF32* sourceEnd, UTF8*& target,
                                    UTF8* targetEnd, ConversionFlags flags) {
    ConversionResult result = conversionOK;
    while (source < sourceEnd) {
        const UTF32 value = *source;
        if (flags == strictConversion && IsSurrogate(value)) {
            result = sourceIllegal;
            break;
        }
        if (!WriteUtf8(value, target, targetEnd)) {
            result = targetExhausted;
            break;
        }
        if (value > kMaxLegal)
            result = sourceIllegal;
        ++source;
    }
    return result;
}

ConversionResult ConvertUtf8ToUtf16(const UTF8*& source, const UTF8* sourceEnd, UTF16*& target,
                                    UTF16* targetEnd, ConversionFlags flags) {
    return ConvertEach(source, sourceEnd, flags, ReadUtf8, [&](UTF32 value) {
        if (target >= targetEnd)
            return targetExhausted;
        if (flags == strictConversion && IsSurrogate(value))
            return sourceIllegal;
        return WriteUtf16(value, target, targetEnd) ? conversionOK : targetExhausted;
    });
}

ConversionResult ConvertUtf8ToUtf32(const UTF8*& source, const UTF8* sourceEnd, UTF32*& target,
                                    UTF32* targetEnd, ConversionFlags flags) {
    return ConvertEach(source, sourceEnd, flags, ReadUtf8, [&](UTF32 value) {
        if (target >= targetEnd)
            return targetExhausted;
        if (IsSurrogate(value)) {
            if (flags == strictConversion)
                return sourceIllegal;
            value = kReplacement;
        }
        return WriteUtf32(value, target, targetEnd);
    });
}

bool IsLegalUtf8(const UTF8* sequence, int length) {
    if (length < 1 || length > 4)
        return false;
    for (int i = 1; i < length; ++i) {
        if (sequence[i] < 0x80 || sequence[i] > 0xBF)
            return false;
    }
    const UTF8 first = sequence[0];
    if (length > 1) {
        const UTF8 second = sequence[1];
        if ((first == 0xE0 && second < 0xA0) || (first == 0xED && second > 0x9F) ||
            (first == 0xF0 && second < 0x90) || (first == 0xF4 && second > 0x8F))
            return false;
    }
    return !(first >= 0x80 && first < 0xC2) && first <= 0xF4;
}

bool IsLegalUtf8Sequence(const UTF8* source, const UTF8* sourceEnd) {
    const int length = TrailingBytes(*source) + 1;
    if (length > sourceEnd - source)
        return false;
    return IsLegalUtf8(source, length);
}

CString Utf8ToWide(const std::string& text) {
    const size_t n = text.size();
    std::vector<UTF16> buffer(n + 1, 0);
    const UTF8* source = reinterpret_cast<const UTF8*>(text.data());
    UTF16* target = buffer.data();
    if (ConvertUtf8ToUtf16(source, source + n, target, buffer.data() + n, strictConversion) != conversionOK)
        Fail();
    return CString(buffer.data(), static_cast<int>(target - buffer.data()));
}

std::string WideToUtf8(const CString& text) {
    const size_t n = static_cast<size_t>(text.GetLength());
    std::vector<UTF8> buffer(3 * n + 1, 0);
    const UTF16* source = text.GetString();
    UTF8* target = buffer.data();
    if (ConvertUtf16ToUtf8(source, source + n, target, buffer.data() + buffer.size(), strictConversion) !=
        conversionOK)
        Fail();
    return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(target - buffer.data()));
}
