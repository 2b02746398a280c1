#include "power/schedule.h"

#include <algorithm>

#include "power/text_integer.h"

namespace tovrelle {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::size_t slot(ScheduledKind kind) {
    return kind == ScheduledKind::Shutdown ? 0 : 1;
}

std::int64_t floor_mod(std::int64_t a, std::int64_t b) {
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    return (a - floor_mod(a, b)) / b;
}

// Days since 1 January 1970 of a civil date (Howard Hinnant's days_from_civil).
std::int64_t days_from_civil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floor_div(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::wstring schedule_words(ScheduledKind kind, const TargetTime& target) {
    std::wstring text = L"将于";
    text += integer_to_text(target.hour);
    text += L"时";
    text += integer_to_text(target.minute);
    text += L"分";
    text += integer_to_text(target.second);
    text += kind == ScheduledKind::Shutdown ? L"秒 关机" : L"秒 重启";
    return text;
}

}  // namespace

bool target_possible(const TargetTime& target) {
    return target.hour >= 0 && target.hour <= 23 && target.minute >= 0 && target.minute <= 59 &&
           target.second >= 0 && target.second <= 59;
}

std::wstring schedule_status_suffix(ScheduledKind kind, const TargetTime& target) {
    return L"  " + schedule_words(kind, target);
}

std::wstring schedule_notice_text(ScheduledKind kind, const TargetTime& target) {
    return schedule_words(kind, target);
}

std::wstring_view schedule_notice_title(ScheduledKind kind) {
    return kind == ScheduledKind::Shutdown ? L"定时关机成功" : L"定时重启成功";
}

std::int64_t seconds_of(const DateTime& t) {
    return days_from_civil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 +
           t.minute * 60 + t.second;
}

DateTime date_time_of(std::int64_t seconds) {
    // Howard Hinnant's civil_from_days.
    const std::int64_t z = floor_div(seconds, kSecondsPerDay) + 719468;
    const std::int64_t in_day = floor_mod(seconds, kSecondsPerDay);
    const std::int64_t era = floor_div(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp + (mp < 10 ? 3 : -9);
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return DateTime{static_cast<int>(y),
                    static_cast<int>(m),
                    static_cast<int>(d),
                    static_cast<int>(in_day / 3600),
                    static_cast<int>(in_day / 60 % 60),
                    static_cast<int>(in_day % 60)};
}

bool target_crossed(const TargetTime& target, const CheckSpan& span) {
    const std::int64_t target_in_day = target.hour * 3600 + target.minute * 60 + target.second;
    const std::int64_t late =
        floor_mod(floor_mod(span.now, kSecondsPerDay) - target_in_day, kSecondsPerDay);
    const std::int64_t reached_at = span.now - late;
    if (reached_at <= span.shown_before) {
        return false;  // already checked, or shown once before the clock was put back
    }
    // A clock set back by hand has no real time to bound it: the wall clock's word stands.
    const std::int64_t real_late = span.elapsed >= 0 ? std::min(late, span.elapsed) : late;
    return real_late <= kMaxLateSeconds;
}

Schedule::Reference Schedule::reference_at(const ClockReading& now) {
    const std::int64_t local = seconds_of(now.local);
    return Reference{now.utc, local, local};
}

bool Schedule::arm(ScheduledKind kind, const TargetTime& target, const ClockReading& now) {
    if (!target_possible(target)) {
        return false;
    }
    kind_ = kind;
    target_ = target;
    reference_[slot(kind)] = reference_at(now);
    return true;
}

bool Schedule::check(ScheduledKind kind, const ClockReading& now) {
    std::optional<Reference>& reference = reference_[slot(kind)];
    const std::optional<Reference> previous = reference;
    // The reference moves before anything is requested: a request that opens a box runs a
    // message loop of its own, whose further checks must not see this crossing again.
    reference = reference_at(now);
    if (!previous.has_value()) {
        return false;
    }
    const std::int64_t elapsed = now.utc - previous->utc;
    // What was shown stays shown while real time goes on; a clock set back by hand (the UTC
    // count went backwards too) shows its times anew.
    const std::int64_t shown_before = elapsed >= 0 ? previous->shown : previous->local;
    if (elapsed >= 0) {
        reference->shown = std::max(shown_before, reference->local);
    }
    return kind_ == kind && target_crossed(target_, {shown_before, elapsed, reference->local});
}

void Schedule::clock_changed(const ClockReading& now) {
    for (std::optional<Reference>& reference : reference_) {
        if (!reference.has_value()) {
            continue;
        }
        const std::int64_t real_step = now.utc - reference->utc;
        if (real_step < 0 || real_step > kMaxCheckIntervalSeconds) {
            reference = reference_at(now);
        }
    }
}

}  // namespace tovrelle
