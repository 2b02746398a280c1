// The long-lived values several parts of the program share. Each is replaced whole and
// released for the last time by the exit clean-up.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tovrelle {

// The status suffix names the schedule armed last. The clock line reads it anew every second;
// a view that keeps a copy of it elsewhere (the tray icon's tooltip) listens for its changes.
class StatusSuffix {
  public:
    [[nodiscard]] const std::wstring& text() const noexcept { return text_; }

    // Replaces the text, then tells every listener.
    void replace(std::wstring text) {
        text_ = std::move(text);
        for (const std::function<void()>& listener : listeners_) {
            listener();
        }
    }

    // The listener is called after each replacement, for as long as the suffix lives.
    void listen(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

    // The exit clean-up: the text goes, and nobody is told any more.
    void release() {
        std::wstring().swap(text_);
        std::vector<std::function<void()>>().swap(listeners_);
    }

  private:
    std::wstring text_;
    std::vector<std::function<void()>> listeners_;
};

struct ProgramState {
    std::wstring run_directory;  // set once at start
    std::vector<std::uint8_t> skin_data;
    StatusSuffix status_suffix;
    std::wstring skin_library_path;

    // The exit clean-up: skin data, then status suffix, then skin library path.
    void release_long_lived() {
        std::vector<std::uint8_t>().swap(skin_data);
        status_suffix.release();
        std::wstring().swap(skin_library_path);
    }
};

}  // namespace tovrelle
