#include "tray/wiring.h"

#include <optional>

#include "app/program.h"
#include "power/status_suffix.h"
#include "tray/background.h"
#include "tray/icon_from_data.h"

namespace tovrelle {
namespace {

// One per process, like the window it serves.
std::optional<Background>& background() {
    static std::optional<Background> instance;
    return instance;
}

}  // namespace

void wire_background(Program& program) {
    std::optional<Background>& bg = background();
    bg.emplace(program.window(), tray_icon_data(program.instance()),
               [&program]() -> const std::wstring& { return program.state().status_suffix; });
    bg->bind(program.window().events());
    // Arming a schedule while the icon is registered: the tooltip names the new one at once.
    on_status_suffix_changed = [] {
        if (background()) {
            background()->on_status_suffix_changed();
        }
    };
}

void end_from_exit_item(Program& program) {
    // On this road the icon would outlive the process as a ghost until the pointer passes
    // over it.
    if (background()) {
        background()->remove_icon();
    }
    program.end(0);
}

}  // namespace tovrelle
