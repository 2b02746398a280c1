#include "app/exe/wiring.h"

#include <memory>

#include "app/accessible_names.h"
#include "app/notice_box.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "appearance/wiring.h"
#include "power/power_request.h"
#include "power/wiring.h"
#include "tray/tray_shell.h"
#include "tray/wiring.h"

namespace tovrelle {
namespace {

AccessibleNames& accessible_names() {
    static OleaccNames names;
    return names;
}

}  // namespace

void wire_program(Program& program) {
    MainWindowEvents& events = program.window().events();

    events.created = [&program] {
        // The window's looks first (skin library, theming, skin), while it is still hidden.
        dress_window(program);
        program.state().status_suffix.replace({});
        // A screen reader names each time box by its unit.
        name_edit_boxes(program.window(), accessible_names());
    };
    // Closing is never refused, and neither is a logoff, shutdown or restart.
    events.can_be_closed = [] { return true; };
    events.item_selected[ids::退出软件] = [&program] { end_from_exit_item(program); };

    wire_power(program, windows_power_parts());
    wire_hidden_mode(program, windows_notice_box(), windows_tray_shell());
    // The names go with the boxes, before the window's other destroy steps.
    events.destroyed = [&program, then = std::move(events.destroyed)] {
        forget_edit_box_names(program.window(), accessible_names());
        if (then) {
            then();
        }
    };
    bind_show_instance(program.window());
}

}  // namespace tovrelle
