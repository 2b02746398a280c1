// Where the skin library is taken from. Portable: the file system is reached through an
// interface, so every rule of the search can be tried natively against a fake one.
#pragma once

#include <string>
#include <string_view>

namespace tovrelle {

inline constexpr std::wstring_view kSkinLibraryName = L"SkinH_EL.dll";

class SkinFileSystem {
  public:
    virtual ~SkinFileSystem() = default;
    // Something (a file or a directory) of this name exists.
    [[nodiscard]] virtual bool exists(const std::wstring& path) const = 0;
    // The Windows system directory as the system reports it (empty when it cannot).
    [[nodiscard]] virtual std::wstring system_directory() const = 0;
};

// The path without spaces and full-width spaces (U+3000) at either end.
std::wstring trim_path(std::wstring_view path);

// The skin library path: the trimmed given path when something of that name exists; else the
// copy in the system directory; else the copy in the run directory; else the trimmed given
// path, which does not exist. The system directory comes before the run directory because a
// library that Windows itself holds cannot have been dropped beside the program by someone else.
std::wstring locate_skin_library(std::wstring_view given_path, std::wstring_view run_directory,
                                 const SkinFileSystem& fs);

}  // namespace tovrelle
