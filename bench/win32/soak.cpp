// soak.exe: a simulated day of the fully wired program, inside one process, so the GDI objects
// the program's own handle owners create and delete can be counted.
//
// It builds the main window exactly as the shipped program does (every handler, theming and
// skin), then delivers 86,400 periodic events of the clock timer as fast as the loop takes them
// and 10,000 caption redraws alternating a long and a short line, and prints memory, handle
// counts and the GDI balance before and after. It prints figures and judges nothing.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "app/exe/wiring.h"
#include "app/program.h"
#include "base/win_handles.h"

namespace {

struct Figures {
    double working_set_mib;
    double private_mib;
    DWORD handles;
    DWORD gdi_objects;
    DWORD user_objects;
    tovrelle::gdi_tally::Counts made_by_program;
};

Figures measure() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof(pmc));
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    return Figures{static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0),
                   static_cast<double>(pmc.PrivateUsage) / (1024.0 * 1024.0),
                   handles,
                   GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                   GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                   tovrelle::gdi_tally::counts()};
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void print(const char* when, const Figures& f) {
    std::printf(
        "%-6s working set %.2f MiB, private %.2f MiB, handles %lu, GDI objects (system) %lu, "
        "USER objects (system) %lu, GDI objects made by the program %ld alive / %ld made, "
        "DCs %ld held / %ld taken\n",
        when, f.working_set_mib, f.private_mib, static_cast<unsigned long>(f.handles),
        static_cast<unsigned long>(f.gdi_objects), static_cast<unsigned long>(f.user_objects),
        f.made_by_program.live_objects, f.made_by_program.made_objects, f.made_by_program.live_dcs,
        f.made_by_program.made_dcs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long refreshes = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 86400;
    const long redraws = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 10000;

    static tovrelle::Program program;
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring dir(module);
    program.state().run_directory = dir.substr(0, dir.rfind(L'\\'));
    tovrelle::wire_program(program);
    tovrelle::MainWindow& window = program.window();
    if (!window.create(GetModuleHandleW(nullptr))) {
        return 1;
    }
    pump();
    HWND timer = window.control(tovrelle::ids::时钟1);
    // Warm up: the first refreshes make the caches every later one reuses.
    for (int i = 0; i < 100; ++i) {
        SendMessageW(timer, WM_TIMER, tovrelle::TimerControl::kSystemTimerId, 0);
        pump();
    }
    const Figures before = measure();
    const DWORD start = GetTickCount();
    for (long i = 0; i < refreshes; ++i) {
        SendMessageW(timer, WM_TIMER, tovrelle::TimerControl::kSystemTimerId, 0);
        pump();
    }
    const DWORD refresh_ms = GetTickCount() - start;
    const std::wstring long_line(120, L'长');
    for (long i = 0; i < redraws; ++i) {
        window.set_caption(tovrelle::ids::透明标签1,
                           (i % 2) == 0 ? std::wstring_view(long_line) : L"短");
        pump();
    }
    const Figures after = measure();
    std::printf("soak: %ld clock refreshes in %lu ms, then %ld caption redraws\n", refreshes,
                static_cast<unsigned long>(refresh_ms), redraws);
    print("before", before);
    print("after", after);
    std::printf(
        "growth: working set %+.2f MiB, private %+.2f MiB, handles %+ld, GDI balance %+ld, DC "
        "balance %+ld\n",
        after.working_set_mib - before.working_set_mib, after.private_mib - before.private_mib,
        static_cast<long>(after.handles) - static_cast<long>(before.handles),
        after.made_by_program.live_objects - before.made_by_program.live_objects,
        after.made_by_program.live_dcs - before.made_by_program.live_dcs);
    program.window().events().can_be_closed = [] { return true; };
    DestroyWindow(window.hwnd());
    return 0;
}
