#pragma once

namespace tovrelle {
class Program;

// Binds every handler of the main window's definition: the frame's own, and those of the
// power, background and appearance subsystems.
void wire_program(Program& program);
}  // namespace tovrelle
