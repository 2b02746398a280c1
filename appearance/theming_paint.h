// Painting of the controls the theming layer has taken over. Each paint draws the whole
// control into one off-screen bitmap and copies it onto the window in one piece.
#pragma once

#include <windows.h>

#include <memory>

#include "appearance/theming_logic.h"

namespace tovrelle::theming {

enum class Side { None, Left, Right };

// One taken-over control.
struct Record {
    HWND hwnd = nullptr;
    Kind kind = Kind::None;
    State state;
    std::uint32_t style_at_take_over = 0;
    std::uint32_t combo_type = 0;  // CBS_DROPDOWN or CBS_DROPDOWNLIST
    // Up-down controls: orientation, the half under the pointer (-1 none) and, when the buddy
    // is an edit box beside it, the side on which that box draws a white line to join it.
    bool horizontal = false;
    int hot_half = -1;
    HWND buddy = nullptr;
    Side buddy_side = Side::None;
    // What the parent answered to WM_CTLCOLORBTN last; the brush belongs to the parent.
    HBRUSH parent_brush = nullptr;
    COLORREF brush_colour = 0;
    COLORREF text_colour = 0;
    WNDPROC own_procedure = nullptr;
    std::unique_ptr<Record> next;
};

// Paints a control in the given scheme. `list` is the head of the taken-over list, where an
// edit box looks for an up-down control that has it as its buddy.
void paint(const Record& record, int scheme, const Record* list);

}  // namespace tovrelle::theming
