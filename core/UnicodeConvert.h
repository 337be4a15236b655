// Conversions between UTF-32, UTF-16 and UTF-8 in strict and lenient modes,
// with the reference behaviour at the edges: every converter stops at the
// character it cannot convert and reports why.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/CString.h"

typedef uint32_t UTF32;
typedef char16_t UTF16;
typedef uint8_t UTF8;

enum ConversionResult {
    conversionOK = 0,
    sourceExhausted = 1,  // the input ends inside a character
    targetExhausted = 2,  // the output range is full
    sourceIllegal = 3,
};

enum ConversionFlags {
    strictConversion = 0,
    lenientConversion = 1,
};

ConversionResult ConvertUtf32ToUtf16(const UTF32*& source, const UTF32* sourceEnd, UTF16*& target,
                                     UTF16* targetEnd, ConversionFlags flags);
ConversionResult ConvertUtf16ToUtf32(const UTF16*& source, const UTF16* sourceEnd, UTF32*& target,
                                     UTF32* targetEnd, ConversionFlags flags);
ConversionResult ConvertUtf16ToUtf8(const UTF16*& source, const UTF16* sourceEnd, UTF8*& target,
                                    UTF8* targetEnd, ConversionFlags flags);
ConversionResult ConvertUtf32ToUtf8(const UTF32*& source, const UTF32* sourceEnd, UTF8*& target,
                                    UTF8* targetEnd, ConversionFlags flags);
ConversionResult ConvertUtf8ToUtf16(const UTF8*& source, const UTF8* sourceEnd, UTF16*& target,
                                    UTF16* targetEnd, ConversionFlags flags);
ConversionResult ConvertUtf8ToUtf32(const UTF8*& source, const UTF8* sourceEnd, UTF32*& target,
                                    UTF32* targetEnd, ConversionFlags flags);

bool IsLegalUtf8(const UTF8* sequence, int length);
bool IsLegalUtf8Sequence(const UTF8* source, const UTF8* sourceEnd);

// Whole-text conversions in strict mode; bad input throws a standard
// exception whose message is "La falla!".
CString Utf8ToWide(const std::string& text);
std::string WideToUtf8(const CString& text);
