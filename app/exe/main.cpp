// Tovrelle: shuts the computer down, restarts it or logs the user off, at once or when the
// clock reaches a time of day.
#include <windows.h>

#include "app/exe/wiring.h"
#include "app/program.h"
#include "app/single_instance.h"

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// Libraries loaded at run time by name come from the system directory only, never from the
// program's folder (a Downloads folder anyone may have put a DLL into) or the current one.
// Windows 7 has the call only with update KB2533623, so it is looked up; kernel32 is loaded
// in every process.
void restrict_library_search() {
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const auto set_default_dll_directories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (set_default_dll_directories != nullptr) {
        set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything is loaded at run time.
    restrict_library_search();
    static const tovrelle::InstanceLock lock;
    if (!lock.first()) {
        tovrelle::show_first_instance();
        return 0;
    }
    static tovrelle::Program program;
    program.run(instance, tovrelle::wire_program);
}
