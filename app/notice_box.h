// The notice every part of the frame tells the user something with: a task-modal message box
// with one OK button, no icon and no owner. Its own message loop keeps the program's timers
// running while it is open. Its users get it as a parameter, so that tests can record notices.
#pragma once

#include <string_view>

namespace tovrelle {

class NoticeBox {
  public:
    virtual ~NoticeBox() = default;
    // Returns when the box has been dismissed.
    virtual void show(std::wstring_view text, std::wstring_view title) = 0;
};

// The real box.
NoticeBox& windows_notice_box();

}  // namespace tovrelle
