#include "app/message_filter.h"

namespace tovrelle {
namespace {

class WindowsMessageFilter final : public MessageFilter {
  public:
    bool allow(HWND window, UINT message) override {
        return ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr) != FALSE;
    }
};

}  // namespace

MessageFilter& windows_message_filter() {
    static WindowsMessageFilter filter;
    return filter;
}

}  // namespace tovrelle
