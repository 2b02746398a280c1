// The group box that holds the status label. The label has no background of its own, so the
// box paints one behind it: the brush the window hands its static controls, so that whatever
// the window paints behind its controls (a skin's backdrop, lined up by the brush origin it
// sets) runs on behind the label; the button face when the window gives none.
#pragma once

#include <windows.h>

namespace tovrelle {

// Puts the background on an existing group box, as a subclass that goes with the box.
void let_background_through(HWND group_box);

}  // namespace tovrelle
