#include "power/power_request.h"

#include <windows.h>

#include "base/win_handles.h"

namespace tovrelle {
namespace {

// Windows may in theory fail a call and leave the error code at 0; a refusal must still
// carry a code that says something went wrong.
std::uint32_t failure_code() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

class WindowsPowerCalls final : public PowerCalls {
  public:
    bool nt_platform() override {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        // Only the platform is read, which GetVersionEx still reports truthfully.
        if (!GetVersionExW(&info)) {
            return true;  // every system this program runs on is of the NT family
        }
#pragma GCC diagnostic pop
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }

    OpenedToken open_process_token() override {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
            return OpenedToken{0, failure_code()};
        }
        return OpenedToken{reinterpret_cast<TokenNumber>(token), 0};
    }

    LookedUp lookup_shutdown_privilege() override {
        LUID luid{};
        if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid)) {
            return LookedUp{std::nullopt, failure_code()};
        }
        return LookedUp{Luid{luid.LowPart, luid.HighPart}, 0};
    }

    std::uint32_t adjust_token_privileges(TokenNumber token, const Luid& luid) override {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Luid = LUID{luid.low, luid.high};
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        const BOOL done = AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &privileges,
                                                0, nullptr, nullptr);
        // A successful call sets the error code too: 0, or ERROR_NOT_ALL_ASSIGNED when the
        // account does not hold the privilege.
        return done ? GetLastError() : failure_code();
    }

    Outcome exit_windows(std::uint32_t flags, std::uint32_t reason) override {
        if (!ExitWindowsEx(flags, reason)) {
            return Outcome{false, failure_code()};
        }
        return Outcome{true, 0};
    }

    Outcome set_system_power_state(bool suspend, bool force) override {
        if (!SetSystemPowerState(suspend ? TRUE : FALSE, force ? TRUE : FALSE)) {
            return Outcome{false, failure_code()};
        }
        return Outcome{true, 0};
    }

    void close_token(TokenNumber token) override {
        UniqueKernelHandle owned(reinterpret_cast<HANDLE>(token));
    }
};

class WindowsPowerRequests final : public PowerRequests {
  public:
    PowerRequestNumber hold(const std::wstring& reason) override {
        REASON_CONTEXT context{};
        context.Version = POWER_REQUEST_CONTEXT_VERSION;
        context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
        // Windows copies the text when the request is made.
        std::wstring text = reason;
        context.Reason.SimpleReasonString = text.data();
        const HANDLE made = PowerCreateRequest(&context);
        // Failure is reported as INVALID_HANDLE_VALUE.
        if (made == nullptr || made == INVALID_HANDLE_VALUE) {
            return 0;
        }
        UniqueKernelHandle request(made);
        if (!PowerSetRequest(request.get(), PowerRequestSystemRequired)) {
            return 0;
        }
        return reinterpret_cast<PowerRequestNumber>(request.release());
    }

    void release(PowerRequestNumber request) override {
        UniqueKernelHandle owned(reinterpret_cast<HANDLE>(request));
        PowerClearRequest(owned.get(), PowerRequestSystemRequired);
    }
};

}  // namespace

PowerCalls& windows_power_calls() {
    static WindowsPowerCalls calls;
    return calls;
}

PowerRequests& windows_power_requests() {
    static WindowsPowerRequests requests;
    return requests;
}

PowerParts windows_power_parts() {
    return PowerParts{windows_power_calls(), windows_power_requests(), windows_clock(),
                      windows_notice_box()};
}

std::wstring system_error_text(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        // Windows has no words for this code: the number is all there is to tell.
        text = L"错误代码 " + std::to_wstring(code);
    }
    return text;
}

PowerResult request_and_report(PowerCalls& calls, NoticeBox& notices, PowerAction action) {
    const PowerResult result = request_power_action(calls, static_cast<int>(action));
    if (result.refused) {
        notices.show(system_error_text(result.error), refusal_title(action));
    }
    return result;
}

}  // namespace tovrelle
