#include "tray/wiring.h"

#include "app/program.h"

namespace tovrelle {

void wire_background(Program& /*program*/) {}

void end_from_exit_item(Program& program) { program.end(0); }

}  // namespace tovrelle
