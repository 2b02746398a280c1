// Integer-only input on a system EDIT box: typed characters other than digits and '-' never
// reach it, its text is tidied into a plain 32-bit number (or nothing) when it loses the focus,
// and a one-line box shows its line centred vertically.
#pragma once

#include <windows.h>

#include <functional>

#include "base/window_subclass.h"

namespace tovrelle {

class IntegerEdit {
  public:
    // Puts the integer-only input on an existing EDIT box as a subclass (SetWindowSubclass).
    // The input belongs to the box from then on: at WM_NCDESTROY the subclass is removed and
    // the input deleted. Returns nullptr when the box is not a window or already has the input.
    static IntegerEdit* install(HWND edit);
    // The input installed on a box, or nullptr.
    static IntegerEdit* of(HWND edit);

    IntegerEdit(const IntegerEdit&) = delete;
    IntegerEdit& operator=(const IntegerEdit&) = delete;

    // The box's lost-focus event, raised after the normalisation; the program leaves it empty.
    std::function<void()> lost_focus;

    [[nodiscard]] HWND hwnd() const noexcept { return edit_; }

  private:
    explicit IntegerEdit(HWND edit) : edit_(edit) {}
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR input);
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
    // The box's own handling, below this subclass; only while a message of the box is handled.
    LRESULT call_own(UINT msg, WPARAM wp, LPARAM lp) const {
        return def_subclass_proc(edit_, msg, wp, lp);
    }

    void normalise();
    [[nodiscard]] bool one_line() const;
    [[nodiscard]] int line_height() const;
    LRESULT calc_size(WPARAM wp, LPARAM lp);
    void paint_bands() const;
    [[nodiscard]] bool in_band(POINT screen) const;
    void recalc_frame() const;

    HWND edit_;
    // The area inside the sunken edge, relative to the box's outer rectangle; the client area
    // is the one text line in its middle, the rest are the bands above and below it.
    RECT inner_{};
};

}  // namespace tovrelle
