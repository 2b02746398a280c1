#include "power/wiring.h"

#include "app/program.h"

namespace tovrelle {

void wire_power(Program& /*program*/) {}

}  // namespace tovrelle
