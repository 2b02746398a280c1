// How often a scheduled target second is missed by a 1000 ms timer that drifts by up to a
// tick per period: the plain equality check (fires only when a check falls into the target
// second) against the crossing check the program uses. Prints figures; asserts nothing.
#include <cstdint>
#include <cstdio>
#include <random>

#include "power/schedule.h"

namespace {

using tovrelle::ClockReading;
using tovrelle::DateTime;
using tovrelle::Schedule;
using tovrelle::ScheduledKind;
using tovrelle::TargetTime;

constexpr int kTargets = 100000;
constexpr std::int64_t kMinIntervalMs = 1000;
constexpr std::int64_t kMaxIntervalMs = 1016;
constexpr std::int64_t kDay = 86400;

ClockReading clock_at(std::int64_t ms) {
    return ClockReading{tovrelle::date_time_of(ms / 1000), ms / 1000};
}

bool equality_match(const TargetTime& target, const DateTime& now) {
    return now.hour == target.hour && now.minute == target.minute && now.second == target.second;
}

}  // namespace

int main() {
    std::mt19937_64 rng(20191230);
    std::uniform_int_distribution<std::int64_t> second_of_day(0, kDay - 1);
    std::uniform_int_distribution<std::int64_t> lead_s(2, 120);
    std::uniform_int_distribution<std::int64_t> phase_ms(0, 999);
    std::uniform_int_distribution<std::int64_t> interval_ms(kMinIntervalMs, kMaxIntervalMs);
    const std::int64_t day = tovrelle::seconds_of({2020, 1, 1, 0, 0, 0});

    int equality_misses = 0;
    int crossing_misses = 0;
    int crossing_repeats = 0;
    int crossing_late[3] = {0, 0, 0};  // fired 0 s, 1 s, 2 s or more after the target second began
    std::int64_t checks = 0;
    for (int i = 0; i < kTargets; ++i) {
        const std::int64_t s = second_of_day(rng);
        const TargetTime target{static_cast<std::int32_t>(s / 3600),
                                static_cast<std::int32_t>(s / 60 % 60),
                                static_cast<std::int32_t>(s % 60)};
        const std::int64_t target_ms = (day + s) * 1000;
        const std::int64_t arm_ms = target_ms - lead_s(rng) * 1000 + phase_ms(rng);
        Schedule schedule;
        schedule.arm(ScheduledKind::Shutdown, target, clock_at(arm_ms));
        bool equality_fired = false;
        int crossing_fired = 0;
        for (std::int64_t t = arm_ms + interval_ms(rng); t <= target_ms + 10000;
             t += interval_ms(rng)) {
            ++checks;
            const ClockReading now = clock_at(t);
            equality_fired = equality_fired || equality_match(target, now.local);
            if (schedule.check(ScheduledKind::Shutdown, now)) {
                if (crossing_fired++ == 0) {
                    const std::int64_t late = t / 1000 - (day + s);
                    ++crossing_late[late < 2 ? late : 2];
                }
            }
        }
        equality_misses += equality_fired ? 0 : 1;
        crossing_misses += crossing_fired == 0 ? 1 : 0;
        crossing_repeats += crossing_fired > 1 ? 1 : 0;
    }

    std::printf("schedule accuracy: %d targets, check intervals %lld-%lld ms, %lld checks\n",
                kTargets, static_cast<long long>(kMinIntervalMs),
                static_cast<long long>(kMaxIntervalMs), static_cast<long long>(checks));
    std::printf("  equality check: %d missed (%.3f%%), each a shutdown a day late\n",
                equality_misses, 100.0 * equality_misses / kTargets);
    std::printf(
        "  crossing check: %d missed, %d fired twice; fired in the target second %d, one second "
        "late %d, "
        "later %d\n",
        crossing_misses, crossing_repeats, crossing_late[0], crossing_late[1], crossing_late[2]);
    return 0;
}
