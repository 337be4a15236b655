// The check every settings field's number goes through before it is stored.
#include <gtest/gtest.h>

#include "rules/TypedNumber.h"

namespace {

TEST(TypedNumber, TheLeadingNumberIsReadAndCheckedAgainstItsBound) {
    struct Case {
        const char16_t* text;
        bool stored;
        LONG value;
    };
    const Case cases[] = {
        {u"250", true, 250},  {u"251", false, 251},   {u"0", true, 0},         {u"007", true, 7},
        {u" +12x", true, 12}, {u"abc", true, 0},      {u"-0", true, 0},        {u"-1", false, -1},
        {u"", false, 0},      {u"'", true, 0},        {u"2147483647", false, 2147483647},
    };
    for (const Case& c : cases) {
        LONG value = -99;
        EXPECT_EQ(ReadTypedNumber(c.text, 250, &value), c.stored) << CString(c.text).str().size();
        if (c.text[0] != 0) {
            EXPECT_EQ(value, c.value);
        }
    }
}

TEST(TypedNumber, NumbersBeyondThirtyTwoBitsAreRefusedWhateverTheBound) {
    for (const char16_t* text : {u"4294967296", u"4294967297", u"-4294967296", u"2147483648", u"-2147483649",
                                 u"99999999999999999999999999"}) {
        LONG value = -99;
        EXPECT_FALSE(ReadTypedNumber(text, 0xFFFFFFFFu, &value)) << CString(text).str().size();
        EXPECT_EQ(value, -99) << "nothing is read from it";
    }
    LONG value = 0;
    EXPECT_TRUE(ReadTypedNumber(u"-2147483648", 0xFFFFFFFFu, &value));
    EXPECT_EQ(value, -2147483647 - 1);
}

}  // namespace
