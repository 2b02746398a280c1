// The power action request against a fake of the Windows calls that records each call.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "power/power_action.h"

namespace tovrelle {
namespace {

constexpr TokenNumber kToken = 77;
constexpr Luid kShutdownLuid{19, 0};

class RecordingPowerCalls : public PowerCalls {
  public:
    // What the fake's Windows answers.
    bool nt = true;
    std::uint32_t open_error = 0;    // non-zero: OpenProcessToken fails with it
    std::uint32_t lookup_error = 0;  // non-zero: LookupPrivilegeValue fails with it
    std::uint32_t adjust_error = 0;  // GetLastError after AdjustTokenPrivileges
    bool windows_accepts = true;
    std::uint32_t refusal_error = 0;

    std::vector<std::string> calls;
    int open_tokens = 0;

    bool nt_platform() override {
        calls.push_back("GetVersionEx");
        return nt;
    }
    OpenedToken open_process_token() override {
        calls.push_back("OpenProcessToken");
        if (open_error != 0) {
            return {0, open_error};
        }
        ++open_tokens;
        return {kToken, 0};
    }
    LookedUp lookup_shutdown_privilege() override {
        calls.push_back("LookupPrivilegeValue");
        if (lookup_error != 0) {
            return {std::nullopt, lookup_error};
        }
        return {kShutdownLuid, 0};
    }
    std::uint32_t adjust_token_privileges(TokenNumber token, const Luid& luid) override {
        calls.push_back("AdjustTokenPrivileges(" + std::to_string(token) + "," +
                        std::to_string(luid.low) + ":" + std::to_string(luid.high) + ")");
        return adjust_error;
    }
    Outcome exit_windows(std::uint32_t flags, std::uint32_t reason) override {
        char text[40];
        std::snprintf(text, sizeof(text), "ExitWindowsEx(0x%X,0x%X)", flags, reason);
        calls.push_back(text);
        return {windows_accepts, windows_accepts ? 0 : refusal_error};
    }
    Outcome set_system_power_state(bool suspend, bool force) override {
        calls.push_back(std::string("SetSystemPowerState(") + (suspend ? "1" : "0") + "," +
                        (force ? "1" : "0") + ")");
        return {windows_accepts, windows_accepts ? 0 : refusal_error};
    }
    void close_token(TokenNumber token) override {
        calls.push_back("CloseHandle(" + std::to_string(token) + ")");
        --open_tokens;
    }
};

const std::vector<std::string> kPrivilegeStep = {"OpenProcessToken", "LookupPrivilegeValue",
                                                 "AdjustTokenPrivileges(77,19:0)",
                                                 "CloseHandle(77)"};

std::vector<std::string> expected_calls(bool touches_token, const std::string& power_call) {
    std::vector<std::string> calls;
    if (power_call.empty()) {
        return calls;  // out of range: not even the platform is read
    }
    calls.push_back("GetVersionEx");
    if (touches_token) {
        calls.insert(calls.end(), kPrivilegeStep.begin(), kPrivilegeStep.end());
    }
    calls.push_back(power_call);
    return calls;
}

struct TypeCase {
    int type;
    bool nt;
    bool touches_token;
    std::string call_unforced;  // force left out or false; empty: no call at all
    std::string call_forced;    // force true
};

const TypeCase kTypeCases[] = {
    {-1, true, false, "", ""},
    {-1, false, false, "", ""},
    {0, true, false, "", ""},
    {0, false, false, "", ""},
    {1, true, true, "ExitWindowsEx(0x8,0x80000000)", "ExitWindowsEx(0xC,0x80000000)"},
    {1, false, false, "ExitWindowsEx(0x1,0x80000000)", "ExitWindowsEx(0x5,0x80000000)"},
    {2, true, true, "ExitWindowsEx(0x2,0x80000000)", "ExitWindowsEx(0x6,0x80000000)"},
    {2, false, false, "ExitWindowsEx(0x2,0x80000000)", "ExitWindowsEx(0x6,0x80000000)"},
    {3, true, true, "ExitWindowsEx(0x0,0x80000000)", "ExitWindowsEx(0x4,0x80000000)"},
    {3, false, false, "ExitWindowsEx(0x0,0x80000000)", "ExitWindowsEx(0x4,0x80000000)"},
    {4, true, true, "SetSystemPowerState(1,0)", "SetSystemPowerState(1,1)"},
    {4, false, false, "SetSystemPowerState(1,0)", "SetSystemPowerState(1,1)"},
    {5, true, true, "SetSystemPowerState(0,0)", "SetSystemPowerState(0,1)"},
    {5, false, false, "SetSystemPowerState(0,0)", "SetSystemPowerState(0,1)"},
    {6, true, false, "", ""},
    {6, false, false, "", ""},
};

TEST(PowerActionRequest, EveryTypeForceAndPlatform) {
    const std::optional<bool> forces[] = {std::nullopt, false, true};
    for (const TypeCase& c : kTypeCases) {
        for (const std::optional<bool>& force : forces) {
            SCOPED_TRACE("type " + std::to_string(c.type) + (c.nt ? " NT" : " non-NT") + " force " +
                         (force.has_value() ? (*force ? "true" : "false") : "left out"));
            RecordingPowerCalls fake;
            fake.nt = c.nt;
            const PowerResult result = force.has_value()
                                           ? request_power_action(fake, c.type, *force)
                                           : request_power_action(fake, c.type);
            const std::string& call = force.value_or(false) ? c.call_forced : c.call_unforced;
            EXPECT_EQ(fake.calls, expected_calls(c.touches_token, call));
            EXPECT_EQ(result.accepted, !call.empty());
            EXPECT_FALSE(result.refused);
            EXPECT_EQ(fake.open_tokens, 0) << "a token was left open";
        }
    }
}

TEST(PowerActionRequest, WindowsRefusalIsFalseWithItsErrorCode) {
    for (int type = 1; type <= 5; ++type) {
        SCOPED_TRACE("type " + std::to_string(type));
        RecordingPowerCalls fake;
        fake.windows_accepts = false;
        fake.refusal_error = 1115;  // ERROR_SHUTDOWN_IN_PROGRESS
        const PowerResult result = request_power_action(fake, type);
        EXPECT_FALSE(result.accepted);
        EXPECT_TRUE(result.refused);
        EXPECT_EQ(result.error, 1115u);
        EXPECT_EQ(fake.calls.size(), 6u) << "one Windows call after the privilege step, no retry";
    }
}

struct PrivilegeFailure {
    const char* name;
    std::uint32_t open_error, lookup_error, adjust_error;
    std::vector<std::string> step;  // the calls of the failing step
    std::uint32_t error;
};

TEST(PowerActionRequest, PrivilegeStepFailuresStopAllButTheLogOff) {
    const PrivilegeFailure failures[] = {
        {"no token", 5, 0, 0, {"GetVersionEx", "OpenProcessToken"}, 5},
        {"no such privilege",
         0,
         1313,
         0,
         {"GetVersionEx", "OpenProcessToken", "LookupPrivilegeValue", "CloseHandle(77)"},
         1313},
        {"privilege not held",
         0,
         0,
         kErrorNotAllAssigned,
         {"GetVersionEx", "OpenProcessToken", "LookupPrivilegeValue",
          "AdjustTokenPrivileges(77,19:0)", "CloseHandle(77)"},
         kErrorNotAllAssigned},
        {"adjustment refused",
         0,
         0,
         6,
         {"GetVersionEx", "OpenProcessToken", "LookupPrivilegeValue",
          "AdjustTokenPrivileges(77,19:0)", "CloseHandle(77)"},
         6},
    };
    for (const PrivilegeFailure& f : failures) {
        for (int type = 1; type <= 5; ++type) {
            SCOPED_TRACE(std::string(f.name) + ", type " + std::to_string(type));
            RecordingPowerCalls fake;
            fake.open_error = f.open_error;
            fake.lookup_error = f.lookup_error;
            fake.adjust_error = f.adjust_error;
            const PowerResult result = request_power_action(fake, type);
            EXPECT_EQ(fake.open_tokens, 0) << "a token was left open";
            if (type == kPowerLogOff) {
                std::vector<std::string> expected = f.step;
                expected.push_back("ExitWindowsEx(0x0,0x80000000)");
                EXPECT_EQ(fake.calls, expected);
                EXPECT_TRUE(result.accepted);
                EXPECT_FALSE(result.refused);
            } else {
                EXPECT_EQ(fake.calls, f.step);
                EXPECT_FALSE(result.accepted);
                EXPECT_TRUE(result.refused);
                EXPECT_EQ(result.error, f.error);
            }
        }
    }
}

}  // namespace
}  // namespace tovrelle
