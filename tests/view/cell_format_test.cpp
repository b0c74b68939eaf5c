#include "view/cell_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace orb {
namespace {

TEST(FormatFixed, MatchesPrintfRoundingAndDropsNegativeZeroSign) {
    EXPECT_EQ(FormatFixed(359.96f, 1), "360.0");
    EXPECT_EQ(FormatFixed(1234.5, 2), "1234.50");
    EXPECT_EQ(FormatFixed(0.125, 2), "0.12");  // round-half-even of the exact binary value
    EXPECT_EQ(FormatFixed(-1.25f, 1), "-1.2");
    EXPECT_EQ(FormatFixed(-0.0, 1), "0.0");
    EXPECT_EQ(FormatFixed(-0.00001f, 4), "0.0000");
    EXPECT_EQ(FormatFixed(-0.4, 0), "0");
    EXPECT_EQ(FormatFixed(-0.5001, 0), "-1");
    EXPECT_EQ(FormatFixed(std::numeric_limits<float>::max(), 4).size(), 39u + 5u);
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 1), "inf");
}

TEST(FormatFixed, IgnoresTheProcessLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    const std::string text = FormatFixed(12.5, 2);
    const double parsed = ParseLeadingNumber("1.5e1,25");
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(text, "12.50");
    EXPECT_EQ(parsed, 15.0);
}

TEST(FormatRelativeTime, HoursMinutesSecondsAndNegativeSpans) {
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(2, 30, 5)), "00:04:30");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(1500, 10, 0)), "25:00:00");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(3, 10, 2)), "00:03:20");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(0, 32767, 1000000)), "9101944:26:40");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(-1, 0, 0)), "-00:01:00");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(1, -30, 3)), "-00:00:30");
    EXPECT_EQ(FormatRelativeTime(std::numeric_limits<int64_t>::min()), "-2562047788015215:30:08");
}

TEST(ParseLeadingNumber, TakesTheLongestNumericPrefix) {
    EXPECT_EQ(ParseLeadingNumber("1234.5"), 1234.5);
    EXPECT_EQ(ParseLeadingNumber("  \t-12.25m"), -12.25);
    EXPECT_EQ(ParseLeadingNumber("+3e2x"), 300.0);
    EXPECT_EQ(ParseLeadingNumber("1e"), 1.0);
    EXPECT_EQ(ParseLeadingNumber("abc"), 0.0);
    EXPECT_EQ(ParseLeadingNumber(""), 0.0);
    EXPECT_EQ(ParseLeadingNumber("."), 0.0);
    EXPECT_EQ(ParseLeadingNumber("12,5"), 12.0);
    EXPECT_EQ(ParseLeadingNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(ParseLeadingNumber(std::string_view("7.5\0"
                                                  "9",
                                                  5)),
              7.5);
}

}  // namespace
}  // namespace orb
