#include "appearance/wiring.h"

#include "app/program.h"

namespace tovrelle {

void dress_window(Program& /*program*/) {
    // 1. Locate the skin library.
    // 2. Switch the control theming on with colour scheme 2.
    // 3. A fresh copy of the embedded skin into the skin data.
    // 4. Attach the skin; its result changes nothing here.
}

}  // namespace tovrelle
