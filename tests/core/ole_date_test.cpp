#include "core/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/angles.h"
#include "core/survey_record.h"

namespace orb {
namespace {

void ExpectFields(double value, int y, int mo, int d, int h, int mi, int s) {
    DateTimeFields f;
    ASSERT_TRUE(OleDateToFields(value, f)) << value;
    EXPECT_EQ(f.year, y) << value;
    EXPECT_EQ(f.month, mo) << value;
    EXPECT_EQ(f.day, d) << value;
    EXPECT_EQ(f.hour, h) << value;
    EXPECT_EQ(f.minute, mi) << value;
    EXPECT_EQ(f.second, s) << value;
}

TEST(OleDate, ValueIsDayNumberPlusSecondsFraction) {
    OleDateTime t = MakeOleDateTime(1899, 12, 29, 6, 0, 0);
    EXPECT_EQ(t.status, kDateValid);
    EXPECT_EQ(t.value, -1.25);
    EXPECT_EQ(MakeOleDateTime(1899, 12, 30, 0, 0, 0).value, 0.0);
    EXPECT_EQ(MakeOleDateTime(1900, 1, 1, 0, 0, 0).value, 2.0);
    // Bit-exact formula: station matching compares these values.
    t = MakeOleDateTime(2021, 7, 15, 13, 27, 41);
    EXPECT_EQ(t.status, kDateValid);
    EXPECT_EQ(t.value, 44392.0 + (13 * 3600 + 27 * 60 + 41) / 86400.0);
    t = MakeOleDateTime(1850, 3, 1, 23, 59, 59);
    const double days = MakeOleDateTime(1850, 3, 1, 0, 0, 0).value;
    EXPECT_EQ(t.value, days - 86399 / 86400.0);
}

TEST(OleDate, RangeIsYears100To9999) {
    OleDateTime lo = MakeOleDateTime(100, 1, 1, 0, 0, 0);
    EXPECT_EQ(lo.status, kDateValid);
    EXPECT_EQ(lo.value, -657434.0);
    OleDateTime hi = MakeOleDateTime(9999, 12, 31, 23, 59, 59);
    EXPECT_EQ(hi.status, kDateValid);
    EXPECT_EQ(hi.value, 2958465.0 + 86399 / 86400.0);
    EXPECT_EQ(MakeOleDateTime(99, 12, 31, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(10000, 1, 1, 0, 0, 0).status, kDateInvalid);
    DateTimeFields f;
    EXPECT_FALSE(OleDateToFields(-657435.0, f));
    EXPECT_FALSE(OleDateToFields(2958466.0, f));
    EXPECT_FALSE(OleDateToFields(std::nan(""), f));
    EXPECT_FALSE(OleDateToFields(std::numeric_limits<double>::infinity(), f));
    EXPECT_FALSE(OleDateToFields(1e300, f));
}

TEST(OleDate, FieldsThatDoNotSurviveTheRoundTripAreInvalid) {
    // Feb 29 of a common year carries into March 1 and is refused.
    OleDateTime t = MakeOleDateTime(2023, 2, 29, 12, 0, 0);
    EXPECT_EQ(t.status, kDateInvalid);
    EXPECT_EQ(t.value, 44986.5);
    EXPECT_EQ(MakeOleDateTime(2024, 2, 29, 12, 0, 0).status, kDateValid);
    EXPECT_EQ(MakeOleDateTime(1900, 2, 29, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2000, 2, 29, 0, 0, 0).status, kDateValid);
    // A probe whose clock was never set reports zero fields.
    EXPECT_EQ(MakeOleDateTime(2000, 0, 0, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 13, 1, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 4, 31, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 1, 1, 24, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 1, 1, 0, 60, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 1, 1, 0, 0, 60).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2020, 1, 1, -1, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(2147483647, 2147483647, 2147483647, 0, 0, 0).status, kDateInvalid);
    EXPECT_EQ(MakeOleDateTime(-2147483647 - 1, -2147483647 - 1, 0, 0, 0, 0).status, kDateInvalid);
}

TEST(OleDate, FieldsAreRoundedToTheSecondOnBothSidesOfTheEpoch) {
    ExpectFields(-0.5, 1899, 12, 30, 12, 0, 0);  // same as +0.5 on this convention
    ExpectFields(-1.25, 1899, 12, 29, 6, 0, 0);
    ExpectFields(2.0 + 0.4 / 86400, 1900, 1, 1, 0, 0, 0);
    ExpectFields(2.0 + 0.6 / 86400, 1900, 1, 1, 0, 0, 1);
    ExpectFields(2.0 + 86399.6 / 86400, 1900, 1, 2, 0, 0, 0);
    // 1899-12-29 23:59:59.6 rounds forward into 1899-12-30.
    ExpectFields(-1.0 - 86399.6 / 86400, 1899, 12, 30, 0, 0, 0);
    DateTimeFields f;
    ASSERT_TRUE(OleDateToFields(MakeOleDateTime(2024, 1, 1, 15, 0, 0).value, f));
    EXPECT_EQ(f.dayOfWeek, 1);  // Monday
    EXPECT_EQ(f.dayOfYear, 1);
    ASSERT_TRUE(OleDateToFields(MakeOleDateTime(2024, 12, 31, 0, 0, 0).value, f));
    EXPECT_EQ(f.dayOfYear, 366);
    ASSERT_TRUE(OleDateToFields(0.0, f));
    EXPECT_EQ(f.dayOfWeek, 6);  // 1899-12-30 was a Saturday
}

TEST(OleDate, RandomFieldsSurviveAndOrderIsMonotonic) {
    std::mt19937 rng(7);
    const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0; i < 20000; ++i) {
        const int y = 100 + static_cast<int>(rng() % 9900), mo = 1 + static_cast<int>(rng() % 12);
        const int d = 1 + static_cast<int>(rng() % mdays[mo - 1]);
        const int h = static_cast<int>(rng() % 24), mi = static_cast<int>(rng() % 60),
                  s = static_cast<int>(rng() % 60);
        OleDateTime t = MakeOleDateTime(y, mo, d, h, mi, s);
        ASSERT_EQ(t.status, kDateValid) << y << "-" << mo << "-" << d;
        ExpectFields(t.value, y, mo, d, h, mi, s);
        // One second later is later on the continuous scale, across the epoch too.
        if (s < 59) {
            const OleDateTime next = MakeOleDateTime(y, mo, d, h, mi, s + 1);
            ASSERT_GT(ContinuousDay(next.value), ContinuousDay(t.value));
        }
    }
    EXPECT_LT(ContinuousDay(MakeOleDateTime(1899, 12, 29, 23, 59, 59).value),
              ContinuousDay(MakeOleDateTime(1899, 12, 30, 0, 0, 0).value));
}

TEST(OleDate, FormatsLikeStrftimeWithoutTheLocale) {
    const OleDateTime t = MakeOleDateTime(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(FormatOleDate(t.value, t.status), "2024-03-05 07:08:09");
    EXPECT_EQ(FormatOleDate(t.value, t.status, "%a %A %b %B %j %y %I%p %w %% %Q"),
              "Tue Tuesday Mar March 065 24 07AM 2 % %Q");
    const OleDateTime pm = MakeOleDateTime(100, 12, 31, 12, 0, 0);
    EXPECT_EQ(FormatOleDate(pm.value, pm.status, "%Y %I %p|%"), "100 12 PM|%");
    EXPECT_EQ(FormatOleDate(-1.25, kDateValid), "1899-12-29 06:00:00");
    EXPECT_EQ(FormatOleDate(t.value, kDateInvalid), "Invalid DateTime");
    EXPECT_EQ(FormatOleDate(5e6, kDateValid), "Invalid DateTime");
    EXPECT_EQ(FormatOleDate(std::nan(""), kDateValid), "Invalid DateTime");
    EXPECT_EQ(FormatOleDate(t.value, kDateNull), "");
}

}  // namespace
}  // namespace orb
