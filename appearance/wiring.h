#pragma once

namespace tovrelle {
class Program;

// The created handler's appearance steps, run while the window is still hidden.
void dress_window(Program& program);
}  // namespace tovrelle
