// The deadline timers of the window-less event loop.
#include <gtest/gtest.h>

#include "device/poll_loop.h"

namespace orb {
namespace {

using namespace std::chrono_literals;

TEST(PollTimers, FireByDeadlineAndMoveOnByTheirPeriod) {
    PollTimers t;
    const auto t0 = PollTimers::Clock::now();
    EXPECT_FALSE(t.NextDeadline());
    t.Start(10, 2000);
    t.Start(2, 1000);
    EXPECT_LE(*t.NextDeadline(), t0 + 1000ms + 50ms);
    EXPECT_TRUE(t.TakeDue(t0 + 500ms).empty());
    EXPECT_EQ(t.TakeDue(t0 + 1100ms), std::vector<int>{2});
    EXPECT_TRUE(t.TakeDue(t0 + 1200ms).empty());  // moved one period on
    // Late by several periods: one expiry, not a burst.
    const std::vector<int> late = t.TakeDue(t0 + 9000ms);
    EXPECT_EQ(late, (std::vector<int>{2, 10}));
    EXPECT_TRUE(t.TakeDue(t0 + 9100ms).empty());
    t.Stop(2);
    EXPECT_FALSE(t.IsRunning(2));
    // A restart counts its period from now.
    const auto t1 = PollTimers::Clock::now();
    t.Start(10, 2000);
    EXPECT_TRUE(t.TakeDue(t1 + 1900ms).empty());
    EXPECT_EQ(t.TakeDue(t1 + 2500ms), std::vector<int>{10});
}

}  // namespace
}  // namespace orb
