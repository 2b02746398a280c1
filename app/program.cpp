#include "app/program.h"

#include <new>
#include <string>

#include "app/run_directory.h"
#include "base/fitting_text.h"

namespace tovrelle {
namespace {

Program* g_program = nullptr;

// The routine the exit clean-up list runs at the end of the program.
void release_long_lived_values() {
    Program::current().state().release_long_lived();
    // Seen by a debugger or by Wine's +debugstr channel; tests count it.
    OutputDebugStringW(L"tovrelle: exit clean-up\n");
}

std::wstring module_file_name(HINSTANCE instance) {
    return adapt_fixed_size_to_allocated([instance](wchar_t* buffer, std::size_t capacity) {
        const DWORD got = GetModuleFileNameW(instance, buffer, static_cast<DWORD>(capacity));
        return needed_from_truncated_length(got, capacity);
    });
}

void out_of_memory() {
    fatal_error(L"Tovrelle 内存不足，程序必须结束。");
}

}  // namespace

Program::Program() : window_(std::make_unique<MainWindow>()) {
    g_program = this;
}

Program::~Program() {
    if (g_program == this) {
        g_program = nullptr;
    }
}

Program& Program::current() {
    return *g_program;
}

void Program::run(HINSTANCE instance, const std::function<void(Program&)>& wire) {
    instance_ = instance;
    std::set_new_handler(out_of_memory);

    state_.run_directory = run_directory(module_file_name(instance));
    SetCurrentDirectoryW(as_current_directory(state_.run_directory).c_str());
    cleanup_.add(release_long_lived_values);

    wire(*this);
    if (!window_->create(instance)) {
        fatal_error(L"Tovrelle 无法创建主窗口，程序必须结束。");
    }
    run_event_loop(*window_);
    end(0);
}

void Program::end(int exit_code) {
    // 1. Whatever windows remain; on the close road none is left.
    window_->set_loop_running(false);
    window_.reset();
    // 2. The exit clean-up list, once.
    cleanup_.run();
    // 3. Libraries loaded at run time.
    libraries_.release_all();
    // 4. The process ends.
    ExitProcess(static_cast<UINT>(exit_code));
}

int run_event_loop(MainWindow& window) {
    window.set_loop_running(true);
    MSG msg;
    int result;
    while ((result = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!window.pretranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    window.set_loop_running(false);
    return result == 0 ? static_cast<int>(msg.wParam) : -1;
}

void fatal_error(std::wstring_view message) {
    const std::wstring text(message);
    MessageBoxW(nullptr, text.c_str(), L"Tovrelle", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace tovrelle
