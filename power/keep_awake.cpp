#include "power/keep_awake.h"

namespace tovrelle {

std::wstring keep_awake_reason(ScheduledKind kind, const TargetTime& target) {
    return L"Tovrelle: " + schedule_notice_text(kind, target);
}

void KeepAwake::hold(std::wstring_view reason) {
    if (request_ != 0 && reason_ == reason) {
        return;
    }
    std::wstring wanted(reason);
    const PowerRequestNumber fresh = requests_.hold(wanted);
    if (fresh == 0) {
        return;
    }
    release();
    request_ = fresh;
    reason_ = std::move(wanted);
}

void KeepAwake::release() {
    if (request_ != 0) {
        requests_.release(request_);
        request_ = 0;
        reason_.clear();
    }
}

}  // namespace tovrelle
