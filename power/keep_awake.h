// Keeping the machine awake while a schedule waits. A check that never runs because the
// machine went to sleep at the power plan's idle timeout never fires, so from the arming on the
// program asks Windows to keep the system (not the display) running, and names the schedule as
// the reason that `powercfg /requests` shows. The Windows calls go through PowerRequests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "power/schedule.h"

namespace tovrelle {

// A power request as the seam hands it out; 0 is none.
using PowerRequestNumber = std::uintptr_t;

class PowerRequests {
  public:
    virtual ~PowerRequests() = default;
    // PowerCreateRequest with reason as its simple reason string, then PowerSetRequest with
    // PowerRequestSystemRequired. 0 when either fails (a request made is closed again).
    virtual PowerRequestNumber hold(const std::wstring& reason) = 0;
    // PowerClearRequest with PowerRequestSystemRequired, then CloseHandle.
    virtual void release(PowerRequestNumber request) = 0;
};

// "Tovrelle: 将于23时0分0秒 关机": the reason of the request for an armed schedule.
std::wstring keep_awake_reason(ScheduledKind kind, const TargetTime& target);

// At most one request at a time, released at the latest when the owner goes.
class KeepAwake {
  public:
    explicit KeepAwake(PowerRequests& requests) noexcept : requests_(requests) {}
    ~KeepAwake() { release(); }
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    // Holds the machine awake for reason. A request with another reason is replaced: the new
    // one is in force before the old one goes, so the machine never has a moment to fall
    // asleep. When Windows refuses the new one, the old one stays.
    void hold(std::wstring_view reason);
    void release();

    [[nodiscard]] bool held() const noexcept { return request_ != 0; }
    [[nodiscard]] const std::wstring& reason() const noexcept { return reason_; }

  private:
    PowerRequests& requests_;
    PowerRequestNumber request_ = 0;
    std::wstring reason_;
};

}  // namespace tovrelle
