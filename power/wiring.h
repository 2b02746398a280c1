#pragma once

namespace tovrelle {
class Program;

// The power buttons, the schedule buttons and the three timers' handlers.
void wire_power(Program& program);
}  // namespace tovrelle
