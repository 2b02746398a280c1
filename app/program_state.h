// The long-lived values several parts of the program share. Each is replaced whole and
// released for the last time by the exit clean-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovrelle {

struct ProgramState {
    std::wstring run_directory;        // set once at start
    std::vector<std::uint8_t> skin_data;
    std::wstring status_suffix;        // names the schedule armed last; read by the clock line
    std::wstring skin_library_path;

    // The exit clean-up: skin data, then status suffix, then skin library path.
    void release_long_lived() {
        std::vector<std::uint8_t>().swap(skin_data);
        std::wstring().swap(status_suffix);
        std::wstring().swap(skin_library_path);
    }
};

}  // namespace tovrelle
