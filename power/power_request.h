// The power action request on Windows, and its report to the user when it is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "power/keep_awake.h"
#include "power/power_action.h"

namespace tovrelle {

// The real Windows calls.
PowerCalls& windows_power_calls();

// Windows' power requests (PowerCreateRequest and its kin).
PowerRequests& windows_power_requests();

// The calls the program's requests go through: the real ones, unless a test put its own in
// (nullptr puts the real ones back).
PowerCalls& power_calls();
void set_power_calls_for_testing(PowerCalls* calls);

// Windows' own message for an error code (FormatMessageW), without the line break at its end.
std::wstring system_error_text(std::uint32_t code);

// Requests the action (force left out). A refusal is not swallowed: a notice box titled
// 关机失败 / 重启失败 / 注销失败 gives Windows' message for it. Nothing else changes.
PowerResult request_and_report(PowerAction action);

}  // namespace tovrelle
