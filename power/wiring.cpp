#include "power/wiring.h"

#include <memory>

#include "app/program.h"
#include "power/clock.h"
#include "power/clock_line.h"
#include "power/power_request.h"
#include "power/scheduled_power.h"

namespace tovrelle {

void wire_power(Program& program, const PowerParts& parts) {
    // ---- clock line: rebuilt on each periodic event of the clock timer ----
    program.window().events().periodic[ids::时钟1] = [&program] { refresh_clock_line(program); };
    // ---- end of the clock line ----

    // ---- power actions and the scheduled shutdown and restart ----
    MainWindowEvents& events = program.window().events();
    // At once, with no question; the force flag is never given.
    const auto request = [parts](PowerAction action) {
        return [parts, action] { request_and_report(parts.calls, parts.notices, action); };
    };
    events.clicked[ids::按钮1] = request(PowerAction::Shutdown);
    events.clicked[ids::按钮2] = request(PowerAction::Restart);
    events.clicked[ids::按钮5] = request(PowerAction::LogOff);

    bind_schedule(events,
                  std::make_shared<ScheduledPower>(program.window(), program.state(), parts));
    // ---- end of the power actions and the schedule ----
}

}  // namespace tovrelle
