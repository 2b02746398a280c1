// The power action request: shutdown, restart, log off (and the two sleep types Windows
// offers), after enabling the shutdown privilege. The decisions live here, free of Windows;
// the calls themselves go through PowerCalls, so the whole request can run against a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tovrelle {

// Power action types as the request takes them; anything outside 1-5 is refused.
inline constexpr int kPowerShutdown = 1;
inline constexpr int kPowerRestart = 2;
inline constexpr int kPowerLogOff = 3;
inline constexpr int kPowerSuspend = 4;
inline constexpr int kPowerHibernate = 5;

// The ExitWindowsEx flags the request uses, with their Windows values.
inline constexpr std::uint32_t kEwxLogOff = 0x0;
inline constexpr std::uint32_t kEwxShutdown = 0x1;
inline constexpr std::uint32_t kEwxReboot = 0x2;
inline constexpr std::uint32_t kEwxForce = 0x4;
inline constexpr std::uint32_t kEwxPowerOff = 0x8;

// The reason ExitWindowsEx is given: a planned shutdown of no particular kind. A reason of 0
// would be logged as an unplanned one, which Windows may follow by writing system-state data.
inline constexpr std::uint32_t kShtdnReasonMajorOther = 0x00000000;
inline constexpr std::uint32_t kShtdnReasonMinorOther = 0x00000000;
inline constexpr std::uint32_t kShtdnReasonFlagPlanned = 0x80000000;
inline constexpr std::uint32_t kPlannedShutdownReason =
    kShtdnReasonMajorOther | kShtdnReasonMinorOther | kShtdnReasonFlagPlanned;

inline constexpr std::uint32_t kErrorNotAllAssigned = 1300;  // ERROR_NOT_ALL_ASSIGNED

// A process token as the seam hands it out; 0 is no token.
using TokenNumber = std::uintptr_t;

struct Luid {
    std::uint32_t low = 0;
    std::int32_t high = 0;
};

// The Windows calls of one request. Every call that can fail reports Windows' error code
// (GetLastError right after it) so that a refusal can be explained to the user.
class PowerCalls {
  public:
    virtual ~PowerCalls() = default;

    // GetVersionExW: whether dwPlatformId is VER_PLATFORM_WIN32_NT.
    virtual bool nt_platform() = 0;

    struct OpenedToken {
        TokenNumber token = 0;  // 0 when OpenProcessToken failed
        std::uint32_t error = 0;
    };
    // OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY).
    virtual OpenedToken open_process_token() = 0;

    struct LookedUp {
        std::optional<Luid> luid;  // empty when LookupPrivilegeValueW failed
        std::uint32_t error = 0;
    };
    // LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege").
    virtual LookedUp lookup_shutdown_privilege() = 0;

    // AdjustTokenPrivileges(token, FALSE, {1, luid, SE_PRIVILEGE_ENABLED}, 0, nullptr,
    // nullptr), then GetLastError(): 0 only when the privilege is now enabled.
    virtual std::uint32_t adjust_token_privileges(TokenNumber token, const Luid& luid) = 0;

    struct Outcome {
        bool accepted = false;
        std::uint32_t error = 0;  // when not accepted
    };
    // ExitWindowsEx(flags, reason).
    virtual Outcome exit_windows(std::uint32_t flags, std::uint32_t reason) = 0;
    // SetSystemPowerState(suspend, force).
    virtual Outcome set_system_power_state(bool suspend, bool force) = 0;

    // CloseHandle of a token from open_process_token.
    virtual void close_token(TokenNumber token) = 0;
};

struct PowerResult {
    bool accepted = false;    // the request's truth value: Windows took the request
    bool refused = false;     // a valid type that the privilege step or Windows turned down
    std::uint32_t error = 0;  // Windows' error code of the refusal
};

// The request. Types outside 1-5 touch nothing and give false without a refusal. The
// shutdown privilege is enabled first; shutdown, restart, suspend and hibernate stop when
// that fails, the log off goes on (Windows lets every user log off without the privilege).
// A force flag left out counts as false.
PowerResult request_power_action(PowerCalls& calls, int type,
                                 std::optional<bool> force = std::nullopt);

// The three actions of the program's buttons and scheduled checks.
enum class PowerAction {
    Shutdown = kPowerShutdown,
    Restart = kPowerRestart,
    LogOff = kPowerLogOff
};

// Title of the notice that reports a refused action: "关机失败", "重启失败", "注销失败".
std::wstring_view refusal_title(PowerAction action);

}  // namespace tovrelle
