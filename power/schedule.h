// The scheduled shutdown and restart, as decisions free of Windows: what arming stores and
// announces, and when a periodic check is due.
//
// A 1000 ms system timer is not aligned to the wall clock's seconds and drifts by up to a tick
// per period, so now and then no check falls into a given second. A check therefore does not
// ask "is it the target second now?" but "has the target time of day been reached since this
// timer's previous check?", within a limit of kMaxLateSeconds: a target passed longer ago (the
// machine slept, the loop was blocked, the clock jumped) is not caught up and waits for the
// next day.
//
// The wall clock alone cannot tell a clock set by hand from daylight saving, so each reading
// carries the UTC count beside it. When the zone's offset changes, the real time that passed
// stays small while the wall clock jumps: forward over an hour (a target in it is due right
// after the jump, no later than real time allows), or back over an hour that it then shows a
// second time (a target in it was already due once and is not due again).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "power/date_time.h"

namespace tovrelle {

enum class ScheduledKind { Shutdown, Restart };

// The target time of day as typed, before it is known to be one a clock can show.
struct TargetTime {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    friend bool operator==(const TargetTime&, const TargetTime&) = default;
};

// Hour 0-23, minute and second 0-59.
bool target_possible(const TargetTime& target);

// "  将于22时30分0秒 关机" (or 重启): the status suffix of an armed schedule.
std::wstring schedule_status_suffix(ScheduledKind kind, const TargetTime& target);
// "将于22时30分0秒 关机": the notice text, the suffix without its two leading spaces.
std::wstring schedule_notice_text(ScheduledKind kind, const TargetTime& target);
// "定时关机成功" / "定时重启成功".
std::wstring_view schedule_notice_title(ScheduledKind kind);

// The notice for a target no clock can show.
inline constexpr std::wstring_view kScheduleRefusedTitle = L"定时失败";
inline constexpr std::wstring_view kScheduleRefusedText =
    L"无法定时：时须在0到23之间，分和秒须在0到59之间。";

// One reading of the clock: what the wall clock shows, and the machine's UTC count (seconds
// since 1 January 1970) at the same moment.
struct ClockReading {
    DateTime local;
    std::int64_t utc = 0;
};

// A date-time as seconds on one continuous count (the proleptic Gregorian calendar, day 0 on
// 1 January 1970), so that differences hold across midnight, month and year ends.
std::int64_t seconds_of(const DateTime& t);
// The date-time of such a count.
DateTime date_time_of(std::int64_t seconds);

inline constexpr std::int64_t kMaxLateSeconds = 5;
// A running check timer's readings are never further apart than this in real time, drift
// included. A clock that moved further than that between a check and WM_TIMECHANGE was set.
inline constexpr std::int64_t kMaxCheckIntervalSeconds = 2;

// What a timer's check knows of the clock's way since its previous check.
struct CheckSpan {
    std::int64_t shown_before = 0;  // the latest wall-clock time (seconds_of) already checked
    std::int64_t elapsed = 0;       // real seconds since the previous check, on the UTC count
    std::int64_t now = 0;           // the wall-clock time of this check (seconds_of)
};

// Whether a check is due for target (a time of day a clock can show): the latest wall-clock
// moment at or before now that shows the target lies after shown_before, and it was reached at
// most kMaxLateSeconds ago. When the wall clock jumped forward, it was reached no earlier
// than the previous check, so the real time elapsed bounds how late the check is.
bool target_crossed(const TargetTime& target, const CheckSpan& span);

// One schedule at a time: the last arming replaces kind and target together. Each check
// timer keeps its own reference, the moment of its previous check.
class Schedule {
  public:
    // Arms kind for target; arming counts as a check of kind's timer, so a target equal to
    // the arming second waits for the next day. A target that target_possible refuses changes
    // nothing and gives false.
    bool arm(ScheduledKind kind, const TargetTime& target, const ClockReading& now);

    // The periodic check of kind's timer at now: true when its power action is to be requested.
    // A timer whose kind is not the armed one never is.
    bool check(ScheduledKind kind, const ClockReading& now);

    // The clock was set (WM_TIMECHANGE): every reference moves to the new time, nothing passed in
    // the jump fires. Windows sends the same message when daylight saving starts or ends; then
    // the UTC count has gone on as usual since the last check, and the checks themselves know
    // what to do with the wall clock's jump.
    void clock_changed(const ClockReading& now);

    [[nodiscard]] std::optional<ScheduledKind> armed() const noexcept { return kind_; }
    [[nodiscard]] const TargetTime& target() const noexcept { return target_; }

  private:
    // A timer's previous check.
    struct Reference {
        std::int64_t utc = 0;
        std::int64_t local = 0;
        // The latest wall-clock time seen since the UTC count last went backwards: after the
        // clock is put back an hour for daylight saving, the repeated hour has been seen.
        std::int64_t shown = 0;
    };
    static Reference reference_at(const ClockReading& now);

    std::optional<ScheduledKind> kind_;
    TargetTime target_;
    std::array<std::optional<Reference>, 2> reference_;  // per kind's timer
};

}  // namespace tovrelle
