// Libraries loaded for the program at run time, by full path. The end of the program
// releases them all.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/win_handles.h"

namespace tovrelle {

class LoadedLibraries {
  public:
    // The module loaded under this full path (compared without regard to case), or nullptr.
    [[nodiscard]] HMODULE find(std::wstring_view full_path) const;
    // Keeps a module that was just loaded, under its full path.
    HMODULE add(std::wstring full_path, UniqueModule module);
    // Releases one module again (the skin library, while high contrast is on).
    void release(HMODULE module);
    void release_all();
    [[nodiscard]] std::size_t size() const noexcept { return entries_.size(); }

  private:
    struct Entry {
        std::wstring full_path;
        UniqueModule module;
    };
    std::vector<Entry> entries_;
};

}  // namespace tovrelle
