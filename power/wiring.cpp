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

    auto scheduled =
        std::make_shared<ScheduledPower>(program.window(), program.state(), read_clock);
    events.clicked[ids::按钮3] = [scheduled] { scheduled->arm(ScheduledKind::Shutdown); };
    events.clicked[ids::按钮4] = [scheduled] { scheduled->arm(ScheduledKind::Restart); };
    events.periodic[ids::时钟2] = [scheduled] { scheduled->check(ScheduledKind::Shutdown); };
    events.periodic[ids::时钟3] = [scheduled] { scheduled->check(ScheduledKind::Restart); };
    // A clock set by hand must not look like hours of targets passing by; the message goes on
    // to whoever else wants it.
    events.message_hooks.push_back([scheduled](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_TIMECHANGE) {
            scheduled->clock_changed();
        }
        return false;
    });
    // ---- end of the power actions and the schedule ----
}

}  // namespace tovrelle
