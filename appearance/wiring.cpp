#include "appearance/wiring.h"

#include "app/program.h"
#include "appearance/skin_binding.h"
#include "appearance/theming.h"

namespace tovrelle {

void dress_window(Program& program) {
    ProgramState& state = program.state();
    // 1. Locate the skin library. No fixed path is given: a library is taken only from the
    //    system directory or from beside the executable, never from a folder that any user
    //    could have made.
    state.skin_library_path = locate_skin_library(L"", state.run_directory, Win32SkinFileSystem());
    // 2. Switch the control theming on with colour scheme 2; its result changes nothing here.
    theming::set_scheme(2);
    // 3. A fresh copy of the embedded skin into the skin data.
    state.skin_data = embedded_skin(program.instance());
    // 4. Attach the skin; its result changes nothing here.
    attach_skin(program.libraries(), state.skin_library_path, state.skin_data, L"", 0, 0, 0);
}

}  // namespace tovrelle
