#include "appearance/wiring.h"

#include "app/program.h"

namespace tovrelle {

void dress_window(Program& /*program*/) {}

}  // namespace tovrelle
