#include "appearance/looks.h"

#include "appearance/skin_binding.h"
#include "appearance/theming.h"

namespace tovrelle {
namespace {

constexpr int kScheme = 2;
constexpr int kSchemeOff = 0;

}  // namespace

bool Win32ContrastSetting::high_contrast() const {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) != FALSE &&
           (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Looks::Looks(MainWindow& window, LoadedLibraries& libraries, ProgramState& state, HMODULE module,
             const ContrastSetting& contrast)
    : window_(window), libraries_(libraries), state_(state), module_(module), contrast_(contrast) {}

void Looks::dress() {
    // 1. Locate the skin library. No fixed path is given: a library is taken only from the
    //    system directory or from beside the executable, never from a folder that any user
    //    could have made.
    state_.skin_library_path =
        locate_skin_library(L"", state_.run_directory, Win32SkinFileSystem());
    giving_way_ = contrast_.high_contrast();
    if (giving_way_) {
        state_.skin_data = embedded_skin(module_);
        window_.use_system_colours(true);
        return;
    }
    // 2. Switch the control theming on with colour scheme 2; its result changes nothing here.
    theming::set_scheme(kScheme);
    // 3. A fresh copy of the embedded skin into the skin data.
    state_.skin_data = embedded_skin(module_);
    // 4. Attach the skin; its result changes nothing here.
    attach_skin(libraries_, state_.skin_library_path, state_.skin_data, L"", 0, 0, 0);
}

void Looks::settings_changed() {
    const bool high = contrast_.high_contrast();
    if (high == giving_way_) {
        return;
    }
    giving_way_ = high;
    if (high) {
        take_off();
    } else {
        put_on();
    }
}

void Looks::take_off() {
    theming::set_scheme(kSchemeOff);
    // The skin library paints behind the window for as long as it is loaded: released, it
    // gives the window back to its own background.
    if (HMODULE skin = libraries_.find(full_path_of(state_.skin_library_path))) {
        libraries_.release(skin);
    }
    window_.use_system_colours(true);
}

void Looks::put_on() {
    window_.use_system_colours(false);
    theming::set_scheme(kScheme);
    attach_skin(libraries_, state_.skin_library_path, state_.skin_data, L"", 0, 0, 0);
}

}  // namespace tovrelle
