#include "appearance/wiring.h"

#include <memory>

#include "app/program.h"
#include "appearance/looks.h"

namespace tovrelle {

void dress_window(Program& program) {
    static const Win32ContrastSetting contrast;
    static std::unique_ptr<Looks> looks;
    looks = std::make_unique<Looks>(program.window(), program.libraries(), program.state(),
                                    program.instance(), contrast);
    looks->dress();
    program.window().events().settings_changed = [] {
        if (looks) {
            looks->settings_changed();
        }
    };
}

}  // namespace tovrelle
