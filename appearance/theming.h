// The control theming layer: takes over the window procedure of the standard controls on the
// calling thread (those that exist and those created later) and paints them in one of three
// colour schemes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "appearance/theming_logic.h"

namespace tovrelle::theming {

// 1, 2 or 3 switch the layer on with that scheme (starting again if it was on) and give 1.
// Any other number switches it off: 0 if it was not on, else whether removing the hook
// succeeded.
int set_scheme(int scheme);

// What tests and diagnostics may look at.
[[nodiscard]] int current_scheme();
[[nodiscard]] bool hook_installed();
[[nodiscard]] std::size_t taken_over_count();
// Controls given back while another procedure sat on top of the layer's, which therefore
// still passes their messages on until they are destroyed.
[[nodiscard]] std::size_t passed_through_count();
// How many records of the taken-over list hold this window: 0, or 1 when all is well.
[[nodiscard]] int records_of(HWND hwnd);
[[nodiscard]] std::optional<State> state_of(HWND hwnd);
[[nodiscard]] Kind kind_of(HWND hwnd);
// The procedure the layer puts in place of a control's own.
[[nodiscard]] WNDPROC layer_procedure();
// The procedure the layer calls on for a taken-over control, nullptr if not taken over.
[[nodiscard]] WNDPROC own_procedure_of(HWND hwnd);

}  // namespace tovrelle::theming
