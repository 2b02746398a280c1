// The power action request on Windows, and its report to the user when it is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/notice_box.h"
#include "power/clock.h"
#include "power/keep_awake.h"
#include "power/power_action.h"

namespace tovrelle {

// The real Windows calls.
PowerCalls& windows_power_calls();

// Windows' power requests (PowerCreateRequest and its kin).
PowerRequests& windows_power_requests();

// The Windows parts the power subsystem works through: the program hands it the real ones
// (windows_power_parts), tests their own.
struct PowerParts {
    PowerCalls& calls;
    PowerRequests& requests;
    Clock& clock;
    NoticeBox& notices;
};
PowerParts windows_power_parts();

// Windows' own message for an error code (FormatMessageW), without the line break at its end.
std::wstring system_error_text(std::uint32_t code);

// Requests the action through calls (force left out). A refusal is not swallowed: a notice
// titled 关机失败 / 重启失败 / 注销失败 gives Windows' message for it. Nothing else changes.
PowerResult request_and_report(PowerCalls& calls, NoticeBox& notices, PowerAction action);

}  // namespace tovrelle
