// What a screen reader says for a control whose label is not a static control before it: the
// three edit boxes are followed by their units (时, 分, 秒) drawn by transparent labels, which
// no screen reader connects with the box. Windows' way for that is a dynamic annotation of the
// box's accessible name (IAccPropServices::SetHwndPropStr with PROPID_ACC_NAME).
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

#include "app/main_window.h"
#include "base/win_handles.h"

struct IAccPropServices;

namespace tovrelle {

// Gives a control an accessible name, and takes it away again. Passed in, so the calls can be
// seen where the system does not carry them out (Wine does not).
class AccessibleNames {
  public:
    virtual ~AccessibleNames() = default;
    virtual bool set_name(HWND control, std::wstring_view name) = 0;
    virtual void clear_name(HWND control) = 0;
};

// Through the accessibility annotation service of oleacc, reached with COM. ole32 is loaded
// from the system directory, with its dependencies from there too, when the first name is set;
// COM brings oleacc in from where Windows registered it in the system directory. Neither is
// imported, so nothing of them is loaded before the window exists.
class OleaccNames : public AccessibleNames {
  public:
    OleaccNames() = default;
    ~OleaccNames() override;
    OleaccNames(const OleaccNames&) = delete;
    OleaccNames& operator=(const OleaccNames&) = delete;

    bool set_name(HWND control, std::wstring_view name) override;
    void clear_name(HWND control) override;

  private:
    bool ready();

    UniqueModule ole32_;
    bool tried_ = false;
    bool com_initialised_ = false;
    IAccPropServices* services_ = nullptr;
};

// Names each edit box of the window after the unit that follows it in the window definition;
// false when a name could not be set.
bool name_edit_boxes(const MainWindow& window, AccessibleNames& names);
// Takes the names away again, before the boxes go.
void forget_edit_box_names(const MainWindow& window, AccessibleNames& names);

}  // namespace tovrelle
