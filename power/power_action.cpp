#include "power/power_action.h"

namespace tovrelle {
namespace {

// Closes the process token when the privilege step is over, on every road out of it.
class TokenOwner {
  public:
    TokenOwner(PowerCalls& calls, TokenNumber token) : calls_(calls), token_(token) {}
    ~TokenOwner() { calls_.close_token(token_); }
    TokenOwner(const TokenOwner&) = delete;
    TokenOwner& operator=(const TokenOwner&) = delete;

  private:
    PowerCalls& calls_;
    TokenNumber token_;
};

// Enables the shutdown privilege of the process: nothing on success, else the error code.
// Platforms outside the NT family have no privileges: the step succeeds untouched there.
std::optional<std::uint32_t> enable_shutdown_privilege(PowerCalls& calls, bool nt_platform) {
    if (!nt_platform) {
        return std::nullopt;
    }
    const PowerCalls::OpenedToken opened = calls.open_process_token();
    if (opened.token == 0) {
        return opened.error;
    }
    TokenOwner owner(calls, opened.token);
    const PowerCalls::LookedUp privilege = calls.lookup_shutdown_privilege();
    if (!privilege.luid.has_value()) {
        return privilege.error;
    }
    // AdjustTokenPrivileges succeeds even when the account does not hold the privilege;
    // only the error code (ERROR_NOT_ALL_ASSIGNED) tells.
    if (const std::uint32_t error = calls.adjust_token_privileges(opened.token, *privilege.luid);
        error != 0) {
        return error;
    }
    return std::nullopt;
}

PowerResult from_outcome(const PowerCalls::Outcome& outcome) {
    if (outcome.accepted) {
        return PowerResult{true, false, 0};
    }
    return PowerResult{false, true, outcome.error};
}

}  // namespace

PowerResult request_power_action(PowerCalls& calls, int type, std::optional<bool> force) {
    if (type < kPowerShutdown || type > kPowerHibernate) {
        return PowerResult{};
    }
    const bool forced = force.value_or(false);
    const bool nt_platform = calls.nt_platform();
    const std::optional<std::uint32_t> privilege_error =
        enable_shutdown_privilege(calls, nt_platform);
    if (privilege_error.has_value() && type != kPowerLogOff) {
        return PowerResult{false, true, *privilege_error};
    }
    if (type == kPowerSuspend || type == kPowerHibernate) {
        return from_outcome(calls.set_system_power_state(type == kPowerSuspend, forced));
    }
    std::uint32_t flags = kEwxLogOff;
    if (type == kPowerShutdown) {
        // Power off where the NT family can do it, the plain shutdown elsewhere.
        flags = nt_platform ? kEwxPowerOff : kEwxShutdown;
    } else if (type == kPowerRestart) {
        flags = kEwxReboot;
    }
    if (forced) {
        flags |= kEwxForce;
    }
    return from_outcome(calls.exit_windows(flags, kPlannedShutdownReason));
}

std::wstring_view refusal_title(PowerAction action) {
    switch (action) {
        case PowerAction::Shutdown:
            return L"关机失败";
        case PowerAction::Restart:
            return L"重启失败";
        case PowerAction::LogOff:
            return L"注销失败";
    }
    return L"关机失败";
}

}  // namespace tovrelle
