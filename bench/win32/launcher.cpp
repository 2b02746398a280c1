// launcher.exe: measures a program from outside, inside the same Wine session.
//
//   launcher startup <exe>        ms from process start until its main window is visible and
//                                 it and all its controls have been painted (no update region)
//   launcher soak <count>         sends <count> periodic events to the clock timer of the
//                                 running Tovrelle, as fast as its loop takes them; prints ms
//   launcher ready                succeeds when a Tovrelle main window (or a baseline's) is visible
//   launcher close                closes the running Tovrelle (WM_CLOSE) and waits for its end
//   launcher hide                 hides the running Tovrelle's window, as hidden mode does, and
//                                 succeeds once it is hidden
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const wchar_t* kMainClass = L"TovrelleMainWindow";
constexpr int kClockTimerNumber = 0xDF;  // 时钟1
constexpr UINT_PTR kSystemTimerId = 1000;

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Find {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK find_main(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (pid == f->pid && lstrcmpW(cls, kMainClass) == 0) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK any_dirty(HWND h, LPARAM lp) {
    if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

bool painted(HWND main) {
    if (!IsWindowVisible(main) || GetUpdateRect(main, nullptr, FALSE)) {
        return false;
    }
    bool dirty = false;
    EnumChildWindows(main, any_dirty, reinterpret_cast<LPARAM>(&dirty));
    return !dirty;
}

int startup(const wchar_t* exe) {
    std::wstring command = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = now_ms();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return 1;
    }
    Find f{pi.dwProcessId, nullptr};
    double shown = -1;
    while (now_ms() - start < 30000) {
        if (f.found == nullptr) {
            EnumWindows(find_main, reinterpret_cast<LPARAM>(&f));
        }
        if (f.found != nullptr && painted(f.found)) {
            shown = now_ms() - start;
            break;
        }
        Sleep(1);
    }
    if (f.found != nullptr) {
        PostMessageW(f.found, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (shown < 0) {
        return 1;
    }
    std::printf("%.1f\n", shown);
    return 0;
}

HWND clock_timer(HWND main) {
    HWND group = GetDlgItem(main, 0xDC);
    return group != nullptr ? GetDlgItem(group, kClockTimerNumber) : nullptr;
}

int soak(long count) {
    HWND main = FindWindowW(kMainClass, nullptr);
    HWND timer = main != nullptr ? clock_timer(main) : nullptr;
    if (timer == nullptr) {
        return 1;
    }
    const double start = now_ms();
    for (long i = 0; i < count; ++i) {
        // Sent, not posted: each event is handled before the next, as the loop takes them.
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(timer, WM_TIMER, kSystemTimerId, 0, SMTO_NORMAL, 10000, &result)) {
            return 1;
        }
    }
    std::printf("%.1f\n", now_ms() - start);
    return 0;
}

int ready() {
    HWND main = FindWindowW(kMainClass, nullptr);
    return main != nullptr && IsWindowVisible(main) ? 0 : 1;
}

int close_running() {
    HWND main = FindWindowW(kMainClass, nullptr);
    if (main == nullptr) {
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (process != nullptr) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return 0;
}

int hide_running() {
    HWND main = FindWindowW(kMainClass, nullptr);
    if (main == nullptr) {
        return 1;
    }
    ShowWindow(main, SW_HIDE);
    // Visibility seen from another process lags behind.
    for (int i = 0; i < 100 && IsWindowVisible(main); ++i) {
        Sleep(20);
    }
    return IsWindowVisible(main) ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && lstrcmpW(argv[1], L"startup") == 0) {
        return startup(argv[2]);
    }
    if (argc >= 3 && lstrcmpW(argv[1], L"soak") == 0) {
        return soak(std::wcstol(argv[2], nullptr, 10));
    }
    if (argc >= 2 && lstrcmpW(argv[1], L"ready") == 0) {
        return ready();
    }
    if (argc >= 2 && lstrcmpW(argv[1], L"close") == 0) {
        return close_running();
    }
    if (argc >= 2 && lstrcmpW(argv[1], L"hide") == 0) {
        return hide_running();
    }
    return 2;
}
