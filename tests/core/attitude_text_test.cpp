#include "core/attitude_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "core/ole_date.h"
#include "core/survey_record.h"

namespace orb {
namespace {

using I = AttitudeSample::Index;

TEST(AttitudeText, FormatsLikePrintfG9) {
    const float values[] = {
        0.0f,         -0.0f,        1.0f,          48.189682f, 0.666666687f,
        1e-7f,        123456789.0f, 3.4028235e38f, 1e-45f,     std::numeric_limits<float>::infinity(),
        std::nanf("")};
    for (float v : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.9g", static_cast<double>(v));
        EXPECT_EQ(FormatFloatG9(v), expected);
    }
    EXPECT_EQ(FormatFloatG9(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(AttitudeText, OutputLineHasFourteenValuesInSampleOrder) {
    AttitudeSample s;
    for (int i = 0; i < 20; ++i) s.v[i] = static_cast<float>(i) + 0.5f;
    EXPECT_EQ(FormatAttitudeOutputs(s), "0.5 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 9.5 10.5 11.5 12.5 13.5");
}

TEST(AttitudeText, ParsesTemperatureAndSixCounts) {
    AttitudeSample s;
    std::string error;
    ASSERT_TRUE(ParseRawSampleLine(" 25.5\t-32768 32767 +4500 0 -1 7\r", s, error)) << error;
    EXPECT_EQ(s.v[I::kTemperature], 25.5f);
    EXPECT_EQ(s.v[I::kRawGx], -32768.0f);
    EXPECT_EQ(s.v[I::kRawGy], 32767.0f);
    EXPECT_EQ(s.v[I::kRawGz], 4500.0f);
    EXPECT_EQ(s.v[I::kRawMz], 7.0f);
    ASSERT_TRUE(ParseRawSampleLine("1e1 0 0 0 0 0 0", s, error));
    EXPECT_EQ(s.v[I::kTemperature], 10.0f);
    ASSERT_TRUE(ParseRawSampleLine("0.1 0 0 0 0 0 0", s, error));
    EXPECT_EQ(s.v[I::kTemperature], 0.1f);  // read as a float, not via double
    ASSERT_TRUE(ParseRawSampleLine("nan 0 0 0 0 0 0", s, error));
    EXPECT_TRUE(std::isnan(s.v[I::kTemperature]));
}

TEST(AttitudeText, RefusesMalformedLinesAndSaysWhy) {
    AttitudeSample s;
    s.v[I::kTemperature] = 99;
    std::string error;
    const char* bad[] = {"",
                         "25 0 0 0 0 0",
                         "25 0 0 0 0 0 0 0",
                         "25,5 0 0 0 0 0 0",
                         "25 0 0 4500.0 0 0 0",
                         "25 0 0 32768 0 0 0",
                         "25 0 0 -32769 0 0 0",
                         "25 0x10 0 0 0 0 0",
                         "25 1e3 0 0 0 0 0",
                         "1e99 0 0 0 0 0 0",
                         "25 0 0 0 0 0 abc",
                         "25 ++1 0 0 0 0 0"};
    for (const char* line : bad) {
        EXPECT_FALSE(ParseRawSampleLine(line, s, error)) << line;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(s.v[I::kTemperature], 99.0f);  // untouched
    ParseRawSampleLine("25 0 0 32768 0 0 0", s, error);
    EXPECT_NE(error.find("gz"), std::string::npos) << error;
}

// Switches the whole process to a comma-decimal locale for one test.
class CommaLocale {
public:
    CommaLocale() { ok_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr; }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

TEST(AttitudeText, NumberTextsDoNotFollowTheProcessLocale) {
    AttitudeSample in;
    std::string error;
    ASSERT_TRUE(ParseRawSampleLine("36.6 100 -200 4300 1200 -800 2500", in, error));
    in.v[I::kInclination] = 12.345678f;
    const std::string line = FormatAttitudeOutputs(in);
    const OleDateTime t = MakeOleDateTime(2023, 11, 5, 14, 30, 15);
    const std::string date = FormatOleDate(t.value, t.status, "%A %d %B %Y %H:%M:%S %p");

    CommaLocale comma;
    ASSERT_TRUE(comma.ok()) << "the de_DE.UTF-8 locale is missing: run scripts/setup.sh";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5");  // the C library does follow it

    AttitudeSample again;
    ASSERT_TRUE(ParseRawSampleLine("36.6 100 -200 4300 1200 -800 2500", again, error)) << error;
    EXPECT_EQ(again.v[I::kTemperature], in.v[I::kTemperature]);
    EXPECT_FALSE(ParseRawSampleLine("36,6 100 -200 4300 1200 -800 2500", again, error));
    again.v[I::kInclination] = 12.345678f;
    EXPECT_EQ(FormatAttitudeOutputs(again), line);
    EXPECT_NE(line.find("12.3456783"), std::string::npos) << line;
    EXPECT_EQ(FormatOleDate(t.value, t.status, "%A %d %B %Y %H:%M:%S %p"), date);
    EXPECT_EQ(date, "Sunday 05 November 2023 14:30:15 PM");
}

}  // namespace
}  // namespace orb
