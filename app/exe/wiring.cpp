#include "app/exe/wiring.h"

#include "app/program.h"
#include "appearance/wiring.h"
#include "power/wiring.h"
#include "tray/wiring.h"

namespace tovrelle {

void wire_program(Program& program) {
    MainWindowEvents& events = program.window().events();

    events.created = [&program] {
        // The window's looks first (skin library, theming, skin), while it is still hidden.
        dress_window(program);
        program.state().status_suffix.clear();
    };
    // Closing is never refused, and neither is a logoff, shutdown or restart.
    events.can_be_closed = [] { return true; };
    events.item_selected[ids::退出软件] = [&program] { end_from_exit_item(program); };

    wire_power(program);
    wire_hidden_mode(program);
}

}  // namespace tovrelle
