#include "power/clock_line.h"

#include "app/program.h"
#include "power/clock.h"

namespace tovrelle {

void refresh_clock_line(Program& program) {
    // The label keeps its own copy and repaints what shows through it before the new text.
    program.window().set_caption(
        ids::透明标签1, clock_line_text(read_clock(), program.state().status_suffix.text()));
}

}  // namespace tovrelle
