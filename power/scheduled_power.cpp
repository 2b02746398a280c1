#include "power/scheduled_power.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "power/power_request.h"
#include "power/text_integer.h"

namespace tovrelle {
namespace {

constexpr int kCheckPeriodMs = 1000;

Identity check_timer(ScheduledKind kind) {
    return kind == ScheduledKind::Shutdown ? ids::时钟2 : ids::时钟3;
}

PowerAction power_action(ScheduledKind kind) {
    return kind == ScheduledKind::Shutdown ? PowerAction::Shutdown : PowerAction::Restart;
}

}  // namespace

ScheduledPower::ScheduledPower(MainWindow& window, ProgramState& state, const PowerParts& parts)
    : window_(window), state_(state), parts_(parts), keep_awake_(parts.requests) {}

void ScheduledPower::arm(ScheduledKind kind) {
    const TargetTime target{text_to_integer(window_.edit_text(ids::编辑框1)),
                            text_to_integer(window_.edit_text(ids::编辑框2)),
                            text_to_integer(window_.edit_text(ids::编辑框3))};
    if (!schedule_.arm(kind, target, parts_.clock.read())) {
        // The previous schedule, its timer and the status suffix stay as they were.
        parts_.notices.show(kScheduleRefusedText, kScheduleRefusedTitle);
        return;
    }
    // Writing the period it already has leaves a running timer in its rhythm.
    window_.set_timer_period(check_timer(kind), kCheckPeriodMs);
    // A schedule stays armed until the program ends; so does the reason to stay awake.
    keep_awake_.hold(keep_awake_reason(kind, target));
    state_.status_suffix.replace(schedule_status_suffix(kind, target));
    // The schedule is in force before the box opens: the box's loop goes on running checks.
    parts_.notices.show(schedule_notice_text(kind, target), schedule_notice_title(kind));
}

void ScheduledPower::check(ScheduledKind kind) {
    if (schedule_.check(kind, parts_.clock.read())) {
        // A refused request is reported like a button's; the check stays armed either way.
        request_and_report(parts_.calls, parts_.notices, power_action(kind));
    }
}

void ScheduledPower::clock_changed() {
    schedule_.clock_changed(parts_.clock.read());
}

void bind_schedule(MainWindowEvents& events, const std::shared_ptr<ScheduledPower>& scheduled) {
    events.clicked[ids::按钮3] = [scheduled] { scheduled->arm(ScheduledKind::Shutdown); };
    events.clicked[ids::按钮4] = [scheduled] { scheduled->arm(ScheduledKind::Restart); };
    events.periodic[ids::时钟2] = [scheduled] { scheduled->check(ScheduledKind::Shutdown); };
    events.periodic[ids::时钟3] = [scheduled] { scheduled->check(ScheduledKind::Restart); };
    // A clock set by hand must not look like hours of targets passing by. The message goes on
    // to whoever else wants it.
    events.message_hooks.push_back([scheduled](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_TIMECHANGE) {
            scheduled->clock_changed();
        }
        return false;
    });
}

}  // namespace tovrelle
