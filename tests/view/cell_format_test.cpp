#include "view/cell_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace orb {
namespace {

TEST(FormatRelativeTime, HoursMinutesSecondsAndNegativeSpans) {
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(2, 30, 5)), "00:04:30");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(1500, 10, 0)), "25:00:00");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(3, 10, 2)), "00:03:20");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(0, 32767, 1000000)), "9101944:26:40");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(-1, 0, 0)), "-00:01:00");
    EXPECT_EQ(FormatRelativeTime(RelativeSeconds(1, -30, 3)), "-00:00:30");
    EXPECT_EQ(FormatRelativeTime(std::numeric_limits<int64_t>::min()), "-2562047788015215:30:08");
}

}  // namespace
}  // namespace orb
