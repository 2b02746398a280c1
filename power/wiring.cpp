#include "power/wiring.h"

#include <memory>

#include "app/program.h"
#include "power/clock.h"
#include "power/clock_line.h"
#include "power/power_request.h"
#include "power/scheduled_power.h"

namespace tovrelle {

void wire_power(Program& program) {
    // ---- clock line: rebuilt on each periodic event of the clock timer ----
    program.window().events().periodic[ids::时钟1] = [&program] { refresh_clock_line(program); };
    // ---- end of the clock line ----

    // ---- power actions and the scheduled shutdown and restart ----
    MainWindowEvents& events = program.window().events();
    // At once, with no question; the force flag is never given.
    events.clicked[ids::按钮1] = [] { request_and_report(PowerAction::Shutdown); };
    events.clicked[ids::按钮2] = [] { request_and_report(PowerAction::Restart); };
    events.clicked[ids::按钮5] = [] { request_and_report(PowerAction::LogOff); };

    bind_schedule(events,
                  std::make_shared<ScheduledPower>(program.window(), program.state(),
                                                   read_clock_reading, windows_power_requests()));
    // ---- end of the power actions and the schedule ----
}

}  // namespace tovrelle
