// Baseline for the start-up and idle figures: the same window and controls, made from the
// same window definition, with none of their behaviour — no theming, skin, handlers, and the
// timers stopped.
#include <windows.h>

#include <vector>

#include "app/main_window.h"
#include "app/program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const tovrelle::WindowDef& full = tovrelle::main_window_def();
    std::vector<tovrelle::ControlDef> controls(full.controls.begin(), full.controls.end());
    for (tovrelle::ControlDef& c : controls) {
        c.timer_period_ms = 0;
    }
    tovrelle::WindowDef plain = full;
    plain.controls = controls;

    tovrelle::MainWindow window(plain);
    if (!window.create(instance)) {
        return 1;
    }
    return tovrelle::run_event_loop(window);
}
