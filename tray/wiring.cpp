#include "tray/wiring.h"

#include <optional>

#include "app/program.h"
#include "tray/hidden_mode.h"
#include "tray/icon_from_data.h"

namespace tovrelle {
namespace {

// One per process, like the window it serves.
std::optional<HiddenMode>& hidden_mode() {
    static std::optional<HiddenMode> instance;
    return instance;
}

}  // namespace

void wire_hidden_mode(Program& program, NoticeBox& notices, TrayShell& shell) {
    std::optional<HiddenMode>& mode = hidden_mode();
    mode.emplace(program.window(), tray_icon_data(program.instance()),
                 program.state().status_suffix, notices, shell);
    mode->bind(program.window().events());
    // Arming a schedule while the icon is registered: the tooltip names the new one at once.
    program.state().status_suffix.listen([] {
        if (hidden_mode()) {
            hidden_mode()->on_status_suffix_changed();
        }
    });
}

void end_from_exit_item(Program& program) {
    // On this road the icon would outlive the process as a ghost until the pointer passes
    // over it.
    if (hidden_mode()) {
        hidden_mode()->remove_icon();
    }
    program.end(0);
}

}  // namespace tovrelle
