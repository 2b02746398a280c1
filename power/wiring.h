#pragma once

namespace tovrelle {
class Program;
struct PowerParts;

// The power buttons, the schedule buttons and the three timers' handlers, working through
// parts (windows_power_parts for the program).
void wire_power(Program& program, const PowerParts& parts);
}  // namespace tovrelle
