// The status suffix changes only when a schedule is armed. The clock line reads it anew every
// second; a view that shows it elsewhere (the tray icon's tooltip) must be told instead.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "app/program_state.h"

namespace tovrelle {

// Called after arming has replaced the status suffix. Set it to refresh a view that holds a
// copy of the suffix; an empty function means there is none.
inline std::function<void()> on_status_suffix_changed;

// Replaces the status suffix, then tells on_status_suffix_changed.
inline void replace_status_suffix(ProgramState& state, std::wstring suffix) {
    state.status_suffix = std::move(suffix);
    if (on_status_suffix_changed) {
        on_status_suffix_changed();
    }
}

}  // namespace tovrelle
