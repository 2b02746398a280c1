// The frame of the process: start-up, the event loop and both roads to the end.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>

#include "app/exit_cleanup.h"
#include "app/loaded_libraries.h"
#include "app/main_window.h"
#include "app/program_state.h"

namespace tovrelle {

class Program {
  public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The one program of the process.
    static Program& current();

    ProgramState& state() noexcept { return state_; }
    MainWindow& window() noexcept { return *window_; }
    LoadedLibraries& libraries() noexcept { return libraries_; }
    ExitCleanupList& exit_cleanup() noexcept { return cleanup_; }
    [[nodiscard]] HINSTANCE instance() const noexcept { return instance_; }

    // Start-up: prepares the process, lets wire() bind the handlers, creates and shows the
    // window, runs the event loop and ends the program. Does not return.
    [[noreturn]] void run(HINSTANCE instance, const std::function<void(Program&)>& wire);

    // End the program (road 2, the exit item): the end-of-program sequence, then the process
    // ends with exit_code. Also the last step of road 1.
    [[noreturn]] void end(int exit_code);

  private:
    ProgramState state_;
    std::unique_ptr<MainWindow> window_;
    LoadedLibraries libraries_;
    ExitCleanupList cleanup_;
    HINSTANCE instance_ = nullptr;
};

// Error message box, then the process ends with exit code -1 at once, without the clean-up.
[[noreturn]] void fatal_error(std::wstring_view message);

// Runs the message loop until the quit message; messages the window consumes in
// pretranslate are not dispatched.
int run_event_loop(MainWindow& window);

}  // namespace tovrelle
