#include "document/well_info.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace orb {
namespace {

TEST(DialogNumber, AcceptsNumbersWithBlanksAround) {
    EXPECT_EQ(ParseDialogNumber(" 12.5 "), 12.5);
    EXPECT_EQ(ParseDialogNumber("\t-3\t"), -3.0);
    EXPECT_EQ(ParseDialogNumber("+5"), 5.0);
    EXPECT_EQ(ParseDialogNumber("1e3"), 1000.0);
    EXPECT_EQ(ParseDialogNumber(".5"), 0.5);
    EXPECT_EQ(ParseDialogNumber("5."), 5.0);
    EXPECT_EQ(ParseDialogNumber(u" 0.01 "), 0.01);
}

TEST(DialogNumber, RefusesEverythingElse) {
    for (const char* bad : {"", "   ", "abc", "1,5", "12abc", "1 2", "+-1", "--1", "+", "-", "inf", "nan",
                            "1e999", "0x10", "1e", "。5"}) {
        EXPECT_FALSE(ParseDialogNumber(bad).has_value()) << bad;
    }
    EXPECT_FALSE(ParseDialogNumber(u"１２").has_value());  // full-width digits
    EXPECT_FALSE(ParseDialogFloat("1e39").has_value());
    EXPECT_EQ(ParseDialogFloat("-2.5"), -2.5f);
}

TEST(DialogNumber, IgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    EXPECT_EQ(ParseDialogNumber("1.5"), 1.5);
    EXPECT_FALSE(ParseDialogNumber("1,5").has_value());
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Declination, RangeIsInclusiveAndChecksTheHeldFloat) {
    float value = 7.0f;
    EXPECT_EQ(ParseDeclination(u"360", value), DeclinationInput::kAccepted);
    EXPECT_EQ(value, 360.0f);
    EXPECT_EQ(ParseDeclination(u" -360.0 ", value), DeclinationInput::kAccepted);
    EXPECT_EQ(value, -360.0f);
    value = 7.0f;
    EXPECT_EQ(ParseDeclination(u"360.1", value), DeclinationInput::kOutOfRange);
    EXPECT_EQ(ParseDeclination(u"-1e300", value), DeclinationInput::kOutOfRange);
    EXPECT_EQ(ParseDeclination(u"", value), DeclinationInput::kNotANumber);
    EXPECT_EQ(ParseDeclination(u"nan", value), DeclinationInput::kNotANumber);
    EXPECT_EQ(value, 7.0f);  // refused input leaves the value to the dialog
    EXPECT_FALSE(DeclinationInRange(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_TRUE(DeclinationInRange(-0.0f));
}

}  // namespace
}  // namespace orb
