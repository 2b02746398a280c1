#include "app/notice_box.h"

#include <windows.h>

#include <string>

namespace tovrelle {
namespace {

class WindowsNoticeBox final : public NoticeBox {
  public:
    void show(std::wstring_view text, std::wstring_view title) override {
        const std::wstring t(text);
        const std::wstring c(title);
        MessageBoxW(nullptr, t.c_str(), c.c_str(), MB_OK | MB_TASKMODAL);
    }
};

}  // namespace

NoticeBox& windows_notice_box() {
    static WindowsNoticeBox box;
    return box;
}

}  // namespace tovrelle
