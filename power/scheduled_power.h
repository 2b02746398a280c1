// The scheduled shutdown and restart on the main window: arming from the three edit boxes,
// the once-a-second checks of the two check timers, and the clock being set.
#pragma once

#include <memory>

#include "power/date_time.h"
#include "power/keep_awake.h"
#include "power/power_request.h"
#include "power/schedule.h"

namespace tovrelle {

class MainWindow;
struct MainWindowEvents;
struct ProgramState;

class ScheduledPower {
  public:
    // parts: the wall clock with its UTC count, the notices, the power action request, and
    // Windows' power requests, which keep the machine awake from the first arming until this
    // object goes. Tests give their own.
    ScheduledPower(MainWindow& window, ProgramState& state, const PowerParts& parts);

    // The clicked handler of 按钮3 (shutdown) or 按钮4 (restart). A target no clock can show
    // is refused with a notice and changes nothing.
    void arm(ScheduledKind kind);
    // The periodic handler of 时钟2 (shutdown) or 时钟3 (restart).
    void check(ScheduledKind kind);
    // WM_TIMECHANGE.
    void clock_changed();

    [[nodiscard]] const Schedule& schedule() const noexcept { return schedule_; }
    [[nodiscard]] const KeepAwake& keep_awake() const noexcept { return keep_awake_; }

  private:
    MainWindow& window_;
    ProgramState& state_;
    PowerParts parts_;
    Schedule schedule_;
    KeepAwake keep_awake_;
};

// Binds arming to the clicked events of 按钮3 and 按钮4, the checks to the periodic events of
// 时钟2 and 时钟3, and WM_TIMECHANGE to clock_changed.
void bind_schedule(MainWindowEvents& events, const std::shared_ptr<ScheduledPower>& scheduled);

}  // namespace tovrelle
