// The skin library SkinH_EL.dll: found at run time, loaded by its full path and handed the
// skin the executable carries. When it is missing or refuses the skin the program runs
// unskinned and says nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/loaded_libraries.h"
#include "appearance/skin_search.h"

namespace tovrelle {

// The real file system: FindFirstFileW (a directory counts) and GetSystemDirectoryW.
class Win32SkinFileSystem : public SkinFileSystem {
  public:
    [[nodiscard]] bool exists(const std::wstring& path) const override;
    [[nodiscard]] std::wstring system_directory() const override;
};

// The entry point as the library exports it: __stdcall, six 32-bit arguments, 0 for success.
using SkinAttachEntry = int(__stdcall*)(const unsigned char* data, int size, const char* text,
                                        int a, int b, int c);
inline constexpr const char* kSkinEntryName = "SkinH_AttachRes";

// Binds the library at `library_path` and hands it the skin: false when the path names nothing,
// the library cannot be loaded, has no entry point (then it is released again) or the entry
// point does not return 0 (then it stays loaded). A library already loaded under the same full
// path, in any case, is used again. An empty text goes to the library as a null pointer, any
// other in the system's ANSI code page.
bool attach_skin(LoadedLibraries& libraries, const std::wstring& library_path,
                 const std::vector<std::uint8_t>& skin_data, std::wstring_view text, int a, int b,
                 int c, const SkinFileSystem& fs = Win32SkinFileSystem());

// The full path of a path, taken against the current directory; empty when it has none.
std::wstring full_path_of(const std::wstring& path);

// A fresh copy of the skin file the module carries as its IDR_SKIN_DATA resource; empty when
// there is none.
std::vector<std::uint8_t> embedded_skin(HMODULE module);

}  // namespace tovrelle
