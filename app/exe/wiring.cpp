#include "app/exe/wiring.h"

#include "app/notice_box.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "appearance/wiring.h"
#include "power/power_request.h"
#include "power/wiring.h"
#include "tray/tray_shell.h"
#include "tray/wiring.h"

namespace tovrelle {

void wire_program(Program& program) {
    MainWindowEvents& events = program.window().events();

    events.created = [&program] {
        // The window's looks first (skin library, theming, skin), while it is still hidden.
        dress_window(program);
        program.state().status_suffix.replace({});
    };
    // Closing is never refused, and neither is a logoff, shutdown or restart.
    events.can_be_closed = [] { return true; };
    events.item_selected[ids::退出软件] = [&program] { end_from_exit_item(program); };

    wire_power(program, windows_power_parts());
    wire_hidden_mode(program, windows_notice_box(), windows_tray_shell());
    bind_show_instance(program.window());
}

}  // namespace tovrelle
