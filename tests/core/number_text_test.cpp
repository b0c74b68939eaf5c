#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "core/fixed_text.h"
#include "core/text_codec.h"

namespace orb {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What each former formatter wrote, kept byte for byte:
//  - cells: the table's cells (and so the TXT and Excel values read from
//    them) and the quality and trajectory texts: no "-0.0";
//  - printf: the printed report (width 4 for the depth column), the device's
//    status texts (width 2), the export-only columns and `orb-cli show`.
struct Case {
    double value;
    int decimals;
    int width;
    const char* cells;   // FixedText
    const char* printf;  // PrintfFixed
};

constexpr Case kCases[] = {
    {-0.0, 1, 0, "0.0", "-0.0"},
    {-0.04, 1, 0, "0.0", "-0.0"},
    {-0.04, 1, 5, "0.0", " -0.0"},
    {-0.00001f, 4, 0, "0.0000", "-0.0000"},
    {-0.4, 0, 0, "0", "-0"},
    {-0.5, 0, 0, "0", "-0"},  // half to even: -0
    {-0.5001, 0, 0, "-1", "-1"},
    {0.05, 1, 0, "0.1", "0.1"},  // 0.05 is slightly above the half
    {0.05f, 1, 0, "0.1", "0.1"},
    {0.25, 1, 0, "0.2", "0.2"},  // an exact half rounds to even
    {0.35, 1, 0, "0.3", "0.3"},  // 0.35 is slightly below the half
    {2.5, 0, 0, "2", "2"},
    {3.5, 0, 0, "4", "4"},
    {-2.5, 0, 2, "-2", "-2"},
    {0.125, 2, 0, "0.12", "0.12"},
    {359.96f, 1, 0, "360.0", "360.0"},
    {-1.25f, 1, 0, "-1.2", "-1.2"},
    {12.5, 2, 6, "12.50", " 12.50"},
    {kNaN, 1, 0, "nan", "nan"},
    {-kNaN, 2, 0, "-nan", "-nan"},
    {kNaN, 1, 5, "nan", "  nan"},
    {kInf, 1, 0, "inf", "inf"},
    {-kInf, 4, 0, "-inf", "-inf"},
    {-kInf, 1, 6, "-inf", "  -inf"},
};

TEST(NumberText, EachFormerUseKeepsItsText) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message()
                     << c.value << " with " << c.decimals << " decimals, width " << c.width);
        EXPECT_EQ(FixedText(c.value, c.decimals), c.cells);
        EXPECT_EQ(PrintfFixed(c.value, c.decimals, c.width), c.printf);
    }
}

std::string Printf(double v, int decimals, int width) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    return buf;
}

TEST(NumberText, PrintfFixedIsPrintfAndFixedTextOnlyDropsTheSignOfZero) {
    const double values[] = {0.0,        -0.0,  1e-7,  -1e-7,  0.5,     1.5,    -1.5,    0.045,
                             123456.789, 1e15,  1e300, -1e300, DBL_MAX, 5e-324, 0.0625f, 52326.0f * 1.00001f,
                             kInf,       -kInf, kNaN,  -kNaN};
    for (double v : values) {
        for (int d : {0, 1, 2, 4, 6}) {
            for (int w : {0, 2, 7}) {
                const std::string p = Printf(v, d, w);
                ASSERT_EQ(PrintfFixed(v, d, w), p) << v;
                std::string unsigned_ = Printf(v, d, 0);
                if (unsigned_[0] == '-' && unsigned_.find_first_not_of("0.", 1) == std::string::npos)
                    unsigned_.erase(0, 1);
                ASSERT_EQ(FixedText(v, d), unsigned_) << v;
            }
        }
    }
    EXPECT_EQ(PrintfFixed(1e300, 2).size(), 301u + 3u);
    EXPECT_EQ(FixedText(std::numeric_limits<float>::max(), 4).size(), 39u + 5u);
}

TEST(NumberText, AtLeastAddsDecimalsOnlyWhenTheValueNeedsThem) {
    EXPECT_EQ(FixedTextAtLeast(0.0025, 3), "0.0025");
    EXPECT_EQ(FixedTextAtLeast(1, 3), "1.000");
    EXPECT_EQ(FixedTextAtLeast(1.0 / 3.0, 1), "0.333333");
    EXPECT_EQ(FixedTextAtLeast(-0.0, 1), "0.0");
    EXPECT_EQ(FixedTextAtLeast(kNaN, 2), "nan");
}

TEST(NumberText, IntegersAndPadding) {
    EXPECT_EQ(IntegerText(7, 4), "   7");
    EXPECT_EQ(IntegerText(-12345, 4), "-12345");
    EXPECT_EQ(IntegerText(std::numeric_limits<long long>::min()), "-9223372036854775808");
    EXPECT_EQ(PadLeft("abc", 2), "abc");
    EXPECT_EQ(PadLeft("", 2), "  ");
}

TEST(NumberText, ParsingTakesTheLongestNumericPrefix) {
    const struct {
        std::string_view text;
        double value;
    } cases[] = {{"1234.5", 1234.5},
                 {"  \t-12.25m", -12.25},
                 {"+3e2x", 300.0},
                 {"1e", 1.0},
                 {"abc", 0.0},
                 {"", 0.0},
                 {".", 0.0},
                 {"12,5", 12.0},
                 {"1e999", HUGE_VAL},
                 {"0x10", 16.0},
                 {"-inf", -kInf},
                 {std::string_view("7.5\0"
                                   "9",
                                   5),
                  7.5}};
    for (const auto& c : cases) EXPECT_EQ(ParseLeadingNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isnan(ParseLeadingNumber("nan")));
}

TEST(NumberText, IgnoresTheProcessLocale) {
    const std::string old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    const std::string texts[] = {FixedText(12.5, 2), PrintfFixed(-0.04, 1, 6), FixedTextAtLeast(0.0025, 3)};
    const double parsed = ParseLeadingNumber("1.5e1,25");
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(texts[0], "12.50");
    EXPECT_EQ(texts[1], "  -0.0");
    EXPECT_EQ(texts[2], "0.0025");
    EXPECT_EQ(parsed, 15.0);
}

TEST(TextCodec, ConversionsRoundTripAndReplaceWhatCannotBeEncoded) {
    const std::u16string wide = u"井-1 \U0001F600";
    EXPECT_EQ(Utf16ToUtf8(wide), "井-1 \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(wide)), wide);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"a"),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");  // an overlong form is no character
    EXPECT_EQ(Latin1ToUtf16("A\xE9"), u"A\u00E9");
    EXPECT_EQ(Utf8ToGbk("井"), "\xBE\xAE");
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                        "b"),
              "a?b");
    EXPECT_EQ(Utf8Length("井-1"), 3u);
}

}  // namespace
}  // namespace orb
