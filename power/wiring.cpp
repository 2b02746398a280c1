#include "power/wiring.h"

#include "app/program.h"
#include "power/clock_line.h"

namespace tovrelle {

void wire_power(Program& program) {
    // ---- clock line: rebuilt on each periodic event of the clock timer ----
    program.window().events().periodic[ids::时钟1] = [&program] { refresh_clock_line(program); };
    // ---- end of the clock line ----
}

}  // namespace tovrelle
