// The window's looks as a whole: the theming layer and the skin, and what becomes of them when
// the user turns high contrast on. In high contrast the program gets out of the way: every
// control is given back to its own look in the system's colours, the skin library is released
// so its backdrop is gone, and the labels take the system's text colour. When high contrast
// ends, scheme 2, the skin and the violet clock line come back.
#pragma once

#include <windows.h>

#include "app/loaded_libraries.h"
#include "app/main_window.h"
#include "app/program_state.h"

namespace tovrelle {

// Whether the system's high-contrast setting is on. Passed in, so that its changes can be shown
// to the program where the system cannot switch it (Wine cannot).
class ContrastSetting {
  public:
    virtual ~ContrastSetting() = default;
    [[nodiscard]] virtual bool high_contrast() const = 0;
};

// SystemParametersInfo(SPI_GETHIGHCONTRAST).
class Win32ContrastSetting : public ContrastSetting {
  public:
    [[nodiscard]] bool high_contrast() const override;
};

class Looks {
  public:
    // `module` carries the skin; everything passed in outlives this object.
    Looks(MainWindow& window, LoadedLibraries& libraries, ProgramState& state, HMODULE module,
          const ContrastSetting& contrast);
    Looks(const Looks&) = delete;
    Looks& operator=(const Looks&) = delete;

    // The created handler's steps, while the window is still hidden: locate the skin library,
    // switch the theming layer on with scheme 2, copy the embedded skin and attach it. In high
    // contrast only the first and third: nothing is dressed.
    void dress();

    // A system setting changed: when high contrast came on or went off, give way or come back.
    void settings_changed();

    [[nodiscard]] bool giving_way() const noexcept { return giving_way_; }

  private:
    void put_on();
    void take_off();

    MainWindow& window_;
    LoadedLibraries& libraries_;
    ProgramState& state_;
    HMODULE module_;
    const ContrastSetting& contrast_;
    bool giving_way_ = false;
};

}  // namespace tovrelle
