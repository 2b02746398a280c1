// A label that paints only its caption, over whatever lies behind it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/window_base.h"

namespace tovrelle {

class TransparentLabel : public WindowBase<TransparentLabel> {
  public:
    static constexpr const wchar_t* kClassName = L"TovrelleLabel";

    TransparentLabel() = default;
    ~TransparentLabel();

    bool create(HINSTANCE instance, HWND container, int child_number, RECT rect,
                std::wstring_view caption, COLORREF colour);

    // Replaces the caption and has the background under the label repainted first, so no
    // trace of the old text stays.
    void set_caption(std::wstring_view caption);
    [[nodiscard]] const std::wstring& caption() const noexcept { return caption_; }
    [[nodiscard]] COLORREF colour() const noexcept { return colour_; }
    // Another text colour (the system's, in high contrast); the caption is drawn again.
    void set_colour(COLORREF colour);

  private:
    friend class WindowBase<TransparentLabel>;
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
    void paint(HDC dc) const;
    // Everything that shows through the label is painted again, then the label over it.
    void redraw_through();
    void on_position_changed(const WINDOWPOS& pos);

    std::wstring caption_;
    COLORREF colour_ = 0;
    HFONT font_ = nullptr;  // not owned: the stock font or the one set with WM_SETFONT
    RECT placed_{};         // outer rectangle in the container, to tell a move from a repaint
};

}  // namespace tovrelle
