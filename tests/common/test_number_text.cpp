#include <gtest/gtest.h>

#include "common/number_text.h"
#include "common/rounding.h"

namespace {

TEST(NumberPrefix, ReadsTheLeadingNumberAndIgnoresTheRest) {
    EXPECT_EQ(common::ParseNumberPrefix("200").value, 200);
    EXPECT_EQ(common::ParseNumberPrefix("  12abc").value, 12);
    EXPECT_EQ(common::ParseNumberPrefix("-1.5e2x").value, -150);
    EXPECT_EQ(common::ParseNumberPrefix("1e").value, 1);  // an exponent needs digits
    EXPECT_EQ(common::ParseNumberPrefix(".5").value, 0.5);
}

TEST(NumberPrefix, NothingNumericGivesZeroNotFound) {
    for (const char* text : {"", "abc", "-", ".", " + 1", "\r"}) {
        const auto prefix = common::ParseNumberPrefix(text);
        EXPECT_FALSE(prefix.found) << text;
        EXPECT_EQ(prefix.value, 0) << text;
    }
}

TEST(NumberPrefix, HugeAndTinyNumbersStayFinite) {
    const std::string huge(400, '9');
    EXPECT_GT(common::ParseNumberPrefix(huge).value, 1e300);
    EXPECT_EQ(common::ParseNumberPrefix("1e-999").value, 0);
    EXPECT_EQ(common::RoundToLong(common::ParseNumberPrefix(huge).value), INT32_MAX);
}

TEST(ParseNumber, WholeFieldMustBeNumeric) {
    EXPECT_EQ(common::ParseNumber(" 1.5 "), 1.5);
    EXPECT_FALSE(common::ParseNumber("1.5x").has_value());
    EXPECT_FALSE(common::ParseNumber("").has_value());
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(common::RoundHalfEven(383.5), 384);
    EXPECT_EQ(common::RoundHalfEven(384.5), 384);
    EXPECT_EQ(common::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(common::RoundHalfEven(-3.5), -4);
    EXPECT_EQ(common::RoundHalfEven(0.49999999999999994), 0);
    EXPECT_EQ(common::RoundHalfEven(2.5000001), 3);
}

TEST(Rounding, ValuesNoIntegerHoldsAreClampedNeverCast) {
    EXPECT_EQ(common::RoundToLong(std::nan("")), 0);
    EXPECT_EQ(common::RoundToLong(1e300), INT32_MAX);
    EXPECT_EQ(common::RoundToLong(-1e300), INT32_MIN);
    EXPECT_EQ(common::RoundToInteger(40000), INT16_MAX);
    EXPECT_EQ(common::RoundToInteger(-32768.4), -32768);
    EXPECT_TRUE(common::FitsAfterRounding<std::int16_t>(32767.4));
    EXPECT_FALSE(common::FitsAfterRounding<std::int16_t>(32767.5));  // rounds to 32768
    EXPECT_FALSE(common::FitsAfterRounding<std::int16_t>(INFINITY));
}

}  // namespace
