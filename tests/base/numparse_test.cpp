#include "platform/base/numparse.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <limits>

TEST(NumParse, ReadsLikeTheCLibrary) {
    EXPECT_EQ(_wtol(u"  \t\n-42abc"), -42);
    EXPECT_EQ(_wtol(u"+17"), 17);
    EXPECT_EQ(_wtol(u"007"), 7);
    EXPECT_EQ(_wtol(u"abc"), 0);
    EXPECT_EQ(_wtol(u"- 5"), 0);
    EXPECT_EQ(_wtol(u""), 0);
    EXPECT_EQ(_wtol(nullptr), 0);
    EXPECT_EQ(_wtol(u"12:30"), 12);
    EXPECT_EQ(_wtoi(u"３"), 0);  // full-width digits are not digits here
    EXPECT_EQ(_wtoi64(u"1099511627775"), 1099511627775LL);
    EXPECT_DOUBLE_EQ(_wtof(u" 3.25kg"), 3.25);
    EXPECT_DOUBLE_EQ(_wtof(u"x"), 0.0);
}

TEST(NumParse, SaturatesAtTheLimitsOfTheResultType) {
    errno = 0;
    EXPECT_EQ(_wtol(u"2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(_wtol(u"2147483648"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(_wtol(u"-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(_wtol(u"-2147483649"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(_wtoi(u"99999999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(_wtoi64(u"9223372036854775807"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(_wtoi64(u"9223372036854775808"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(_wtoi64(u"-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(_wtoi64(u"-99999999999999999999999999"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 4294967295u);
    EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 4294967295u);
    EXPECT_EQ(_wcstoui64(u"18446744073709551616", nullptr, 10), std::numeric_limits<uint64_t>::max());
}

TEST(NumParse, BasesAndEndPointers) {
    const char16_t* text = u" 0x1Fz";
    char16_t* end = nullptr;
    EXPECT_EQ(wcstol(text, &end, 16), 31);
    EXPECT_EQ(end, text + 5);
    EXPECT_EQ(wcstol(text, &end, 0), 31);
    EXPECT_EQ(wcstol(u"017", nullptr, 0), 15);
    EXPECT_EQ(wcstol(u"zz", nullptr, 36), 35 * 36 + 35);
    // "0x" without hex digits is the number 0 followed by "x".
    const char16_t* zero = u"0xg";
    EXPECT_EQ(wcstol(zero, &end, 16), 0);
    EXPECT_EQ(end, zero + 1);
    // No digits: the end is the text itself, blanks included.
    const char16_t* none = u"  -x";
    EXPECT_EQ(_wcstoi64(none, &end, 10), 0);
    EXPECT_EQ(end, none);
    EXPECT_EQ(wcstol(u"12", &end, 1), 0);
    const char16_t* real = u"-1.5e2xyz";
    EXPECT_DOUBLE_EQ(wcstod(real, &end), -150.0);
    EXPECT_EQ(end, real + 6);
}

TEST(NumParse, ScanReadsNumbersAndCountsAssignedFields) {
    int hour = -1, minute = -1;
    EXPECT_EQ(swscanf(u"08:30", u"%d:%d", &hour, &minute), 2);
    EXPECT_EQ(hour, 8);
    EXPECT_EQ(minute, 30);
    hour = minute = -1;
    EXPECT_EQ(swscanf(u" 7 : 5", u"%d:%d", &hour, &minute), 1);  // ' ' before ':' does not match
    EXPECT_EQ(hour, 7);
    EXPECT_EQ(minute, -1);
    EXPECT_EQ(swscanf(u"12", u"%d:%d", &hour, &minute), 1);
    EXPECT_EQ(swscanf(u"ab", u"%d", &hour), 0);
    EXPECT_EQ(swscanf(u"", u"%d", &hour), -1);
    EXPECT_EQ(swscanf(u"   ", u"%d", &hour), -1);
    EXPECT_EQ(hour, 12);
    EXPECT_EQ(swscanf(u"-0042x", u"%d", &hour), 1);
    EXPECT_EQ(hour, -42);
}

TEST(NumParse, ScanUsesTheDestinationsType) {
    int64_t id = 0;
    unsigned short port = 0;
    double seconds = 0;
    float ratio = 0;
    EXPECT_EQ(swscanf(u"5000000000 8080 1.25 0.5", u"%I64d %hu %lf %f", &id, &port, &seconds, &ratio), 4);
    EXPECT_EQ(id, 5000000000LL);
    EXPECT_EQ(port, 8080);
    EXPECT_DOUBLE_EQ(seconds, 1.25);
    EXPECT_FLOAT_EQ(ratio, 0.5f);
    int low = 0;
    EXPECT_EQ(swscanf(u"4294967297", u"%d", &low), 1);  // keeps the low 32 bits
    EXPECT_EQ(low, 1);
    int a = 0, b = 0;
    EXPECT_EQ(swscanf(u"1234 ff 100%", u"%2d%*d %x %d%%", &a, &b, &low), 3);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(low, 100);
    // More conversions than destinations: stops without writing anywhere.
    EXPECT_EQ(swscanf(u"1 2", u"%d %d", &a), 1);
}
