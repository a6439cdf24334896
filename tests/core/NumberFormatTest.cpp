#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "NumberFormat.h"

namespace folio {
namespace {

TEST(NumberFormat, WholeNumberRoundsHalfToEven)
{
    const std::pair<double, std::optional<std::int32_t>> cases[] = {
        {72.5, 72},          {300.5, 300},       {73.5, 74},          {0.5, 0},
        {-0.5, 0},           {-1.5, -2},         {-2.5, -2},          {2.4999, 2},
        {0.5000001, 1},      {640.0, 640},       {-7.6, -8},          {2147483647.0, INT_MAX},
        {2147483647.4, INT_MAX}, {-2147483648.0, INT_MIN}, {-2147483648.5, INT_MIN},
        {2147483647.5, std::nullopt}, {-2147483649.0, std::nullopt}, {1e12, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {-std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(ToWholeNumber(value), expected) << value;
}

TEST(NumberFormat, ZeroPadded)
{
    struct Case {
        std::int32_t value;
        int places;
        const char* text;
    };
    const Case cases[] = {
        {640, 5, "00640"}, {480, 5, "00480"}, {123456, 5, "123456"}, {72, 4, "0072"},
        {8, 2, "08"},      {0, 2, "00"},      {-5, 5, "-00005"},     {INT_MIN, 5, "-2147483648"},
        {INT_MAX, 4, "2147483647"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatZeroPadded(c.value, c.places), c.text) << c.value;
}

TEST(NumberFormat, GroupedWithTwoDecimals)
{
    const RegionalSettings english;
    const std::pair<double, const char*> cases[] = {
        {2048.0 / 1023, "2.00"},
        {1048576.0 / 1023, "1,025.00"},
        {0.0, "0.00"},
        {123.0, "123.00"},
        {999.999, "1,000.00"},
        {3221225472.0 / 1023, "3,148,803.00"},
        {1e15, "1,000,000,000,000,000.00"},
        {-1234.5, "-1,234.50"},
        {-0.001, "0.00"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatGrouped2(value, english), text) << value;

    RegionalSettings german;
    german.decimalSeparator = ",";
    german.groupSeparator = ".";
    EXPECT_EQ(FormatGrouped2(1234567.891, german), "1.234.567,89");
    RegionalSettings swiss;
    swiss.groupSeparator = "'";
    EXPECT_EQ(FormatGrouped2(8219.36, swiss), "8'219.36");
}

} // namespace
} // namespace folio
