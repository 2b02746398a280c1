// The scheduled shutdown and restart: what arming announces, and when the checks fire,
// against a fake clock whose one-second timer drifts the way a Windows timer does.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "power/schedule.h"
#include "power/text_integer.h"

namespace tovrelle {
namespace {

constexpr std::int64_t kDay = 86400;

// ---- texts and targets ----

struct ArmingCase {
    std::wstring hour_box, minute_box, second_box;
    ScheduledKind kind;
    bool possible;
    std::wstring notice;  // when possible
};

TEST(ScheduleArming, TextsFromTheBoxes) {
    const ArmingCase cases[] = {
        {L"", L"", L"", ScheduledKind::Shutdown, true, L"将于0时0分0秒 关机"},
        {L"08", L"5", L"0", ScheduledKind::Shutdown, true, L"将于8时5分0秒 关机"},
        {L"22", L"30", L"0", ScheduledKind::Shutdown, true, L"将于22时30分0秒 关机"},
        {L"23", L"59", L"59", ScheduledKind::Restart, true, L"将于23时59分59秒 重启"},
        {L"0", L"0", L"0", ScheduledKind::Restart, true, L"将于0时0分0秒 重启"},
        {L"25", L"0", L"0", ScheduledKind::Shutdown, false, L""},
        {L"24", L"0", L"0", ScheduledKind::Restart, false, L""},
        {L"-1", L"0", L"0", ScheduledKind::Shutdown, false, L""},
        {L"12", L"60", L"0", ScheduledKind::Shutdown, false, L""},
        {L"12", L"-1", L"0", ScheduledKind::Shutdown, false, L""},
        {L"12", L"0", L"60", ScheduledKind::Shutdown, false, L""},
        {L"12", L"0", L"-5", ScheduledKind::Shutdown, false, L""},
        {L"4294967297", L"0", L"0", ScheduledKind::Shutdown, true, L"将于1时0分0秒 关机"},
    };
    for (const ArmingCase& c : cases) {
        SCOPED_TRACE(
            testing::PrintToString(c.hour_box + L"/" + c.minute_box + L"/" + c.second_box));
        const TargetTime target{text_to_integer(c.hour_box), text_to_integer(c.minute_box),
                                text_to_integer(c.second_box)};
        EXPECT_EQ(target_possible(target), c.possible);
        if (c.possible) {
            EXPECT_EQ(schedule_notice_text(c.kind, target), c.notice);
            EXPECT_EQ(schedule_status_suffix(c.kind, target), L"  " + c.notice);
        }
    }
    EXPECT_EQ(schedule_notice_title(ScheduledKind::Shutdown), L"定时关机成功");
    EXPECT_EQ(schedule_notice_title(ScheduledKind::Restart), L"定时重启成功");
}

TEST(ScheduleArming, ImpossibleTargetChangesNothing) {
    Schedule schedule;
    const std::int64_t at = seconds_of({2019, 1, 12, 21, 0, 0});
    const ClockReading now{date_time_of(at), at};
    ASSERT_TRUE(schedule.arm(ScheduledKind::Shutdown, {22, 0, 0}, now));
    EXPECT_FALSE(schedule.arm(ScheduledKind::Restart, {25, 0, 0}, now));
    EXPECT_EQ(schedule.armed(), ScheduledKind::Shutdown);
    EXPECT_EQ(schedule.target(), (TargetTime{22, 0, 0}));
    // Nor does a refused arming stand in for a check: a target of hour 25 must never fire at
    // 1:00 the next day either.
    const std::int64_t next_day = seconds_of({2019, 1, 13, 1, 0, 0});
    EXPECT_FALSE(schedule.check(ScheduledKind::Restart, {date_time_of(next_day), next_day}));
}

// ---- the continuous count of seconds ----

TEST(ScheduleMoments, CountAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(seconds_of({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(seconds_of({2019, 1, 12, 3, 44, 3}), 1547264643);
    EXPECT_EQ(seconds_of({2000, 3, 1, 0, 0, 0}) - seconds_of({2000, 2, 28, 0, 0, 0}), 2 * kDay);
    EXPECT_EQ(seconds_of({1900, 3, 1, 0, 0, 0}) - seconds_of({1900, 2, 28, 0, 0, 0}), kDay);
    EXPECT_EQ(seconds_of({2020, 1, 1, 0, 0, 0}) - seconds_of({2019, 12, 31, 23, 59, 59}), 1);
    // Every day of four centuries, there and back.
    const std::int64_t first = seconds_of({1900, 1, 1, 0, 0, 0});
    const std::int64_t last = seconds_of({2300, 1, 1, 0, 0, 0});
    for (std::int64_t s = first; s < last; s += kDay + 3661) {
        EXPECT_EQ(seconds_of(date_time_of(s)), s);
    }
}

// ---- the checks, against a fake clock ----

// The wall clock in milliseconds, in a zone without daylight saving (UTC itself); reading it
// drops the fraction, as the real one does.
ClockReading clock_at(std::int64_t ms) {
    std::int64_t s = ms / 1000;
    if (ms % 1000 < 0) {
        --s;
    }
    return ClockReading{date_time_of(s), s};
}

// A one-second Windows timer: each period 1000 ms plus up to a tick of drift.
class JitteryTimer {
  public:
    explicit JitteryTimer(unsigned seed) : rng_(seed) {}
    std::int64_t next_interval() { return interval_(rng_); }
    std::int64_t phase() { return phase_(rng_); }

  private:
    std::mt19937 rng_;
    std::uniform_int_distribution<std::int64_t> interval_{1000, 1016};
    std::uniform_int_distribution<std::int64_t> phase_{0, 999};
};

struct Fire {
    ScheduledKind kind;
    std::int64_t ms;
};

// Runs the periodic checks of kind's timer from first_check_ms until end_ms; returns when they
// fired.
std::vector<std::int64_t> run_checks(Schedule& schedule, ScheduledKind kind, JitteryTimer& timer,
                                     std::int64_t first_check_ms, std::int64_t end_ms) {
    std::vector<std::int64_t> fired;
    for (std::int64_t t = first_check_ms; t <= end_ms; t += timer.next_interval()) {
        if (schedule.check(kind, clock_at(t))) {
            fired.push_back(t);
        }
    }
    return fired;
}

TargetTime target_of_second(std::int64_t second_of_day) {
    return TargetTime{static_cast<std::int32_t>(second_of_day / 3600),
                      static_cast<std::int32_t>(second_of_day / 60 % 60),
                      static_cast<std::int32_t>(second_of_day % 60)};
}

TEST(ScheduleChecks, EveryTargetSecondFiresOnceAtTheFirstCheckReachingIt) {
    JitteryTimer timer(20190112);
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int64_t> lead_s(1, 40);
    // Targets early on 1 January 2020 are armed on 31 December 2019.
    const std::int64_t day = seconds_of({2020, 1, 1, 0, 0, 0});
    int wrong = 0;
    int target_seconds_without_a_check = 0;
    for (std::int64_t s = 0; s < kDay; ++s) {
        const ScheduledKind kind = s % 2 == 0 ? ScheduledKind::Shutdown : ScheduledKind::Restart;
        const std::int64_t target_ms = (day + s) * 1000;
        const std::int64_t arm_ms = target_ms - lead_s(rng) * 1000 + timer.phase();
        Schedule schedule;
        ASSERT_TRUE(schedule.arm(kind, target_of_second(s), clock_at(arm_ms)));
        // A stopped timer gives its first periodic event a period after arming.
        std::int64_t first_reaching = -1;
        std::vector<std::int64_t> fired;
        for (std::int64_t t = arm_ms + timer.next_interval(); t <= target_ms + 30000;
             t += timer.next_interval()) {
            if (first_reaching < 0 && t >= target_ms) {
                first_reaching = t;
            }
            if (schedule.check(kind, clock_at(t))) {
                fired.push_back(t);
            }
        }
        if (first_reaching >= target_ms + 1000) {
            ++target_seconds_without_a_check;
        }
        if (fired != std::vector<std::int64_t>{first_reaching}) {
            if (++wrong <= 5) {
                ADD_FAILURE() << "target second " << s << ": fired " << fired.size()
                              << " times, first check reaching it at " << first_reaching << " ms";
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    // The drift must really carry checks over target seconds, or this proves nothing.
    EXPECT_GT(target_seconds_without_a_check, 0);
}

TEST(ScheduleChecks, SimulatedDaysFireOncePerDayAndStayArmed) {
    // Armed at 23:59:57 on 30 December 2019; three days and a half minute of checks follow.
    const std::int64_t arm_s = seconds_of({2019, 12, 30, 23, 59, 57});
    const TargetTime targets[] = {{0, 0, 0},  {23, 59, 59}, {0, 0, 5},
                                  {12, 0, 0}, {23, 59, 57}, {23, 59, 58}};
    unsigned seed = 1;
    for (const TargetTime& target : targets) {
        SCOPED_TRACE(testing::PrintToString(schedule_notice_text(ScheduledKind::Shutdown, target)));
        JitteryTimer timer(seed++);
        const std::int64_t arm_ms = arm_s * 1000 + timer.phase();
        const std::int64_t end_ms = (arm_s + 3 * kDay + 30) * 1000;
        Schedule schedule;
        ASSERT_TRUE(schedule.arm(ScheduledKind::Shutdown, target, clock_at(arm_ms)));
        const std::vector<std::int64_t> fired = run_checks(schedule, ScheduledKind::Shutdown, timer,
                                                           arm_ms + timer.next_interval(), end_ms);

        std::vector<std::int64_t> occurrences;
        const std::int64_t target_in_day = target.hour * 3600 + target.minute * 60 + target.second;
        for (std::int64_t d = arm_s / kDay; d <= end_ms / 1000 / kDay; ++d) {
            const std::int64_t o = d * kDay + target_in_day;
            if (o > arm_s && o * 1000 < end_ms) {
                occurrences.push_back(o);
            }
        }
        ASSERT_EQ(fired.size(), occurrences.size());
        for (std::size_t i = 0; i < fired.size(); ++i) {
            // At the first check reaching it: never early, at most one drifting period late.
            EXPECT_GE(fired[i], occurrences[i] * 1000);
            EXPECT_LT(fired[i], occurrences[i] * 1000 + 2000);
        }
    }
}

TEST(ScheduleChecks, TargetOfTheArmingSecondWaitsForTheNextDay) {
    // The timer already runs, and its next check falls into the very second of arming.
    Schedule schedule;
    const std::int64_t arm_ms = seconds_of({2019, 1, 12, 10, 0, 0}) * 1000 + 300;
    ASSERT_TRUE(schedule.arm(ScheduledKind::Restart, {10, 0, 0}, clock_at(arm_ms)));
    JitteryTimer timer(3);
    const std::vector<std::int64_t> fired = run_checks(schedule, ScheduledKind::Restart, timer,
                                                       arm_ms + 500, arm_ms + (kDay + 5) * 1000);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(clock_at(fired[0]).local.day, 13);
}

struct GapCase {
    int gap_s;           // between two checks (a blocked loop, a sleeping machine)
    int target_after_s;  // the target, this many seconds after the earlier check
    bool fires_late;     // the later check still requests
};

TEST(ScheduleChecks, LongGapsAreNotCaughtUp) {
    const GapCase cases[] = {
        {2, 1, true},
        {6, 1, true},
        {7, 1, false},
        {7, 2, true},
        {30, 25, true},
        {30, 24, false},
        {6, 0, false},
        {3600, 3598, true},
        {3600, 10, false},
        {8 * 3600, 8 * 3600 - 5, true},
        {8 * 3600, 8 * 3600 - 6, false},
    };
    for (const GapCase& c : cases) {
        SCOPED_TRACE("gap " + std::to_string(c.gap_s) + " s, target " +
                     std::to_string(c.target_after_s) + " s in");
        const std::int64_t before_ms = seconds_of({2019, 1, 12, 21, 0, 0}) * 1000 + 400;
        const ClockReading before = clock_at(before_ms);
        const TargetTime target = target_of_second((before.utc + c.target_after_s) % kDay);
        Schedule schedule;
        ASSERT_TRUE(schedule.arm(ScheduledKind::Shutdown, target, before));
        const std::int64_t late_ms = before_ms + c.gap_s * 1000;
        EXPECT_EQ(schedule.check(ScheduledKind::Shutdown, clock_at(late_ms)), c.fires_late);
        // Either way the target comes again the next day, and only then.
        JitteryTimer timer(static_cast<unsigned>(c.gap_s));
        const std::int64_t next_day_ms = (before.utc + c.target_after_s + kDay) * 1000;
        const std::vector<std::int64_t> fired = run_checks(schedule, ScheduledKind::Shutdown, timer,
                                                           late_ms + 1000, next_day_ms + 60000);
        ASSERT_EQ(fired.size(), 1u);
        EXPECT_GE(fired[0], next_day_ms);
        EXPECT_LT(fired[0], next_day_ms + 2000);
    }
}

struct ClockSetCase {
    const char* name;
    int checks_until_s;  // checks once a second from 10:00:00.5 up to 10:00:00.5 plus this
    int set_to_s;        // then the clock is set to 10:00:00 plus this
    bool told;           // and WM_TIMECHANGE arrives
    int fires_before;    // requests up to the setting
    int fires_after;     // requests in the 70 s after it
};

TEST(ScheduleChecks, ClockSetByHand) {
    // Target 10:01:00.
    const ClockSetCase cases[] = {
        // Set forward to just past the target: without the message it looks like a check
        // 2 s late; with it the reference moves along and the passed target waits.
        {"forward, told", 30, 62, true, 0, 0},
        {"forward, not told", 30, 62, false, 0, 1},
        {"forward by an hour, not told", 30, 3600 + 62, false, 0, 0},
        // Set back over a target that has fired: the time of day comes round again.
        {"back, told", 70, 0, true, 1, 1},
        {"back, not told", 70, 0, false, 1, 1},
    };
    for (const ClockSetCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::int64_t ten_ms = seconds_of({2019, 1, 12, 10, 0, 0}) * 1000;
        Schedule schedule;
        ASSERT_TRUE(schedule.arm(ScheduledKind::Shutdown, {10, 1, 0}, clock_at(ten_ms - 500)));
        int fired = 0;
        for (std::int64_t t = ten_ms + 500; t <= ten_ms + 500 + c.checks_until_s * 1000;
             t += 1000) {
            fired += schedule.check(ScheduledKind::Shutdown, clock_at(t)) ? 1 : 0;
        }
        EXPECT_EQ(fired, c.fires_before);
        const std::int64_t set_ms = ten_ms + c.set_to_s * 1000;
        if (c.told) {
            schedule.clock_changed(clock_at(set_ms));
        }
        fired = 0;
        for (std::int64_t t = set_ms + 500; t <= set_ms + 70000; t += 1000) {
            fired += schedule.check(ScheduledKind::Shutdown, clock_at(t)) ? 1 : 0;
        }
        EXPECT_EQ(fired, c.fires_after);
    }
}

// ---- daylight saving: the wall clock jumps while real time goes on ----

// A zone whose offset from UTC changes once, at switch_utc (as on the nights daylight saving
// starts or ends); the test's timer runs on real (UTC) time.
struct SwitchingZone {
    std::int64_t switch_utc;
    std::int64_t offset_before;
    std::int64_t offset_after;

    [[nodiscard]] ClockReading at(std::int64_t utc_ms) const {
        const std::int64_t s = utc_ms / 1000;
        return ClockReading{date_time_of(s + (s < switch_utc ? offset_before : offset_after)), s};
    }
};

struct DaylightCase {
    const char* name;
    std::int64_t offset_before, offset_after;  // seconds east of UTC
    TargetTime target;
    std::int64_t fires_at;  // real seconds after the switch (negative: before it)
    bool told;              // WM_TIMECHANGE arrives just after the switch
};

TEST(ScheduleChecks, DaylightSavingNightsFireOnceAndOnTime) {
    // Central European time: 02:00 jumps to 03:00 in spring, 03:00 falls back to 02:00 in
    // autumn; either way at 01:00 UTC.
    constexpr std::int64_t kWinter = 3600, kSummer = 7200;
    const DaylightCase cases[] = {
        {"spring: target in the skipped hour fires right after the jump",
         kWinter,
         kSummer,
         {2, 30, 0},
         0,
         false},
        {"spring: the same when the change is announced", kWinter, kSummer, {2, 30, 0}, 0, true},
        {"spring: the second before the jump", kWinter, kSummer, {1, 59, 59}, -1, false},
        {"spring: the first second after it", kWinter, kSummer, {3, 0, 0}, 0, false},
        {"spring: later that night", kWinter, kSummer, {3, 30, 0}, 1800, false},
        {"autumn: target in the repeated hour fires on its first pass only",
         kSummer,
         kWinter,
         {2, 30, 0},
         -1800,
         false},
        {"autumn: the same when the change is announced",
         kSummer,
         kWinter,
         {2, 30, 0},
         -1800,
         true},
        {"autumn: the start of the repeated hour", kSummer, kWinter, {2, 0, 0}, -3600, false},
        {"autumn: the end of the repeated hour", kSummer, kWinter, {2, 59, 59}, -1, false},
        {"autumn: shown only after the repeat", kSummer, kWinter, {3, 0, 0}, 3600, false},
        {"an ordinary night", kWinter, kWinter, {2, 30, 0}, 1800, false},
    };
    for (const DaylightCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SwitchingZone zone{seconds_of({2019, 3, 31, 1, 0, 0}), c.offset_before,
                                 c.offset_after};
        const std::int64_t switch_ms = zone.switch_utc * 1000;
        JitteryTimer timer(static_cast<unsigned>(c.fires_at + 7200));
        const std::int64_t arm_ms = switch_ms - 3 * 3600 * 1000 + timer.phase();
        Schedule schedule;
        ASSERT_TRUE(schedule.arm(ScheduledKind::Shutdown, c.target, zone.at(arm_ms)));
        std::vector<std::int64_t> fired;
        bool told = !c.told;
        for (std::int64_t t = arm_ms + timer.next_interval(); t <= switch_ms + 3 * 3600 * 1000;
             t += timer.next_interval()) {
            if (!told && t > switch_ms) {
                schedule.clock_changed(zone.at(switch_ms + 200));
                told = true;
            }
            if (schedule.check(ScheduledKind::Shutdown, zone.at(t))) {
                fired.push_back(t);
            }
        }
        ASSERT_EQ(fired.size(), 1u);
        // At the first check that reaches it: never early, at most one drifting period late.
        const std::int64_t due_ms = switch_ms + c.fires_at * 1000;
        EXPECT_GE(fired[0], due_ms);
        EXPECT_LT(fired[0], due_ms + 2000);
    }
}

struct Arming {
    ScheduledKind kind;
    TargetTime target;
    DateTime at;
};

struct OneAtATimeCase {
    const char* name;
    std::vector<Arming> armings;  // in order; the first starts both timers
    std::vector<std::pair<ScheduledKind, DateTime>>
        expected;  // the requests, in the second they fall in
};

// Both check timers running, each with its own phase and drift, from 21:00:00 to 23:10:00.
std::vector<std::pair<ScheduledKind, DateTime>> run_both_timers(
    const std::vector<Arming>& armings) {
    const std::int64_t start_ms = seconds_of({2019, 1, 12, 21, 0, 0}) * 1000;
    const std::int64_t end_ms = seconds_of({2019, 1, 12, 23, 10, 0}) * 1000;
    Schedule schedule;
    JitteryTimer shutdown_timer(11);
    JitteryTimer restart_timer(12);
    std::int64_t next[2] = {start_ms + shutdown_timer.phase(), start_ms + restart_timer.phase()};
    std::size_t next_arming = 0;
    std::vector<std::pair<ScheduledKind, DateTime>> requests;
    while (std::min(next[0], next[1]) <= end_ms) {
        const int which = next[0] <= next[1] ? 0 : 1;
        const std::int64_t t = next[which];
        while (next_arming < armings.size() && seconds_of(armings[next_arming].at) * 1000 <= t) {
            const Arming& a = armings[next_arming++];
            EXPECT_TRUE(schedule.arm(a.kind, a.target, {a.at, seconds_of(a.at)}));
        }
        const ScheduledKind kind = which == 0 ? ScheduledKind::Shutdown : ScheduledKind::Restart;
        if (schedule.check(kind, clock_at(t))) {
            requests.emplace_back(kind, clock_at(t).local);
        }
        next[which] += (which == 0 ? shutdown_timer : restart_timer).next_interval();
    }
    return requests;
}

TEST(ScheduleChecks, OneScheduleAtATimeTheLastArmingWins) {
    const DateTime d2100{2019, 1, 12, 21, 0, 0};
    const DateTime d2130{2019, 1, 12, 21, 30, 0};
    const OneAtATimeCase cases[] = {
        {"shutdown 22:00, then restart 23:00",
         {{ScheduledKind::Shutdown, {22, 0, 0}, d2100},
          {ScheduledKind::Restart, {23, 0, 0}, d2130}},
         {{ScheduledKind::Restart, {2019, 1, 12, 23, 0, 0}}}},
        {"restart 22:00, then shutdown 23:00",
         {{ScheduledKind::Restart, {22, 0, 0}, d2100},
          {ScheduledKind::Shutdown, {23, 0, 0}, d2130}},
         {{ScheduledKind::Shutdown, {2019, 1, 12, 23, 0, 0}}}},
        {"restart 23:00, then shutdown 23:00",
         {{ScheduledKind::Restart, {23, 0, 0}, d2100},
          {ScheduledKind::Shutdown, {23, 0, 0}, d2130}},
         {{ScheduledKind::Shutdown, {2019, 1, 12, 23, 0, 0}}}},
        {"shutdown 22:00, then shutdown again for 22:05",
         {{ScheduledKind::Shutdown, {22, 0, 0}, d2100},
          {ScheduledKind::Shutdown, {22, 5, 0}, d2130}},
         {{ScheduledKind::Shutdown, {2019, 1, 12, 22, 5, 0}}}},
        {"shutdown 22:00 alone",
         {{ScheduledKind::Shutdown, {22, 0, 0}, d2100}},
         {{ScheduledKind::Shutdown, {2019, 1, 12, 22, 0, 0}}}},
    };
    for (const OneAtATimeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto requests = run_both_timers(c.armings);
        ASSERT_EQ(requests.size(), c.expected.size());
        for (std::size_t i = 0; i < requests.size(); ++i) {
            EXPECT_EQ(requests[i].first, c.expected[i].first);
            // In the target second, or, when the drift skipped it, the next one.
            const std::int64_t late =
                seconds_of(requests[i].second) - seconds_of(c.expected[i].second);
            EXPECT_TRUE(late == 0 || late == 1) << late;
        }
    }
}

}  // namespace
}  // namespace tovrelle
