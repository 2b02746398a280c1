// Timer controls on real system timers: the rhythm of a running timer survives writing the
// same period again.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class TimerControlTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(window.create(GetModuleHandleW(nullptr), false)); }
    MainWindow window;
};

TEST_F(TimerControlTest, RewritingTheSamePeriodKeepsTheRhythm) {
    std::vector<Clock::time_point> ticks;
    window.events().periodic[ids::时钟2] = [&] { ticks.push_back(Clock::now()); };
    window.set_timer_period(ids::时钟2, 1000);
    ASSERT_TRUE(test::pump_until([&] { return ticks.size() == 1; }, 3000ms));
    test::pump(500ms);
    const auto rewritten = Clock::now();
    window.set_timer_period(ids::时钟2, 1000);
    ASSERT_TRUE(test::pump_until([&] { return ticks.size() == 2; }, 3000ms));
    // Restarted, the next event would come a full period after the rewrite.
    EXPECT_LT(ticks[1] - rewritten, 850ms);
    EXPECT_TRUE(window.timer(ids::时钟2)->running());
}

TEST_F(TimerControlTest, NegativePeriodOnAStoppedTimerLeavesItStopped) {
    int ticks = 0;
    window.events().periodic[ids::时钟3] = [&] { ++ticks; };
    window.set_timer_period(ids::时钟3, -5);
    test::pump(1300ms);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(window.timer(ids::时钟3)->running());
    EXPECT_EQ(window.timer(ids::时钟3)->period(), 0);
}

TEST_F(TimerControlTest, ClockTimerRunsFromCreationAndZeroStopsIt) {
    int ticks = 0;
    window.events().periodic[ids::时钟1] = [&] { ++ticks; };
    ASSERT_TRUE(test::pump_until([&] { return ticks >= 1; }, 2500ms));
    window.set_timer_period(ids::时钟1, 0);
    const int seen = ticks;
    test::pump(1300ms);
    EXPECT_EQ(ticks, seen);
}

}  // namespace
}  // namespace tovrelle
