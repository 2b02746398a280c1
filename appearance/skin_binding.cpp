#include "appearance/skin_binding.h"

#include "base/carried_data.h"
#include "base/fitting_text.h"
#include "base/system_directory.h"
#include "base/system_library.h"
#include "base/win_handles.h"
#include "resources/resource_ids.h"

namespace tovrelle {
namespace {

std::string to_ansi(std::wstring_view text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), n,
                            nullptr, nullptr);
    }
    return ansi;
}

}  // namespace

bool Win32SkinFileSystem::exists(const std::wstring& path) const {
    WIN32_FIND_DATAW found;
    UniqueFindFile search(FindFirstFileW(path.c_str(), &found));
    return search.valid();
}

std::wstring Win32SkinFileSystem::system_directory() const {
    return tovrelle::system_directory();
}

std::wstring full_path_of(const std::wstring& path) {
    return adapt_fixed_size_to_allocated([&path](wchar_t* buffer, std::size_t capacity) {
        const DWORD got =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
        return needed_from_size_or_length(got, capacity);
    });
}

bool attach_skin(LoadedLibraries& libraries, const std::wstring& library_path,
                 const std::vector<std::uint8_t>& skin_data, std::wstring_view text, int a, int b,
                 int c, const SkinFileSystem& fs) {
    if (!fs.exists(library_path)) {
        return false;
    }
    const std::wstring full = full_path_of(library_path);
    if (full.empty()) {
        return false;
    }
    HMODULE module = libraries.find(full);
    UniqueModule loaded;
    if (module == nullptr) {
        // By full path only, never through the search path; the library's own dependencies
        // are looked for in its folder and the system directory, never in the executable's.
        loaded = load_library_by_full_path(
            full, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!loaded) {
            return false;
        }
        module = loaded.get();
    }
    auto entry = reinterpret_cast<SkinAttachEntry>(
        reinterpret_cast<void*>(GetProcAddress(module, kSkinEntryName)));
    if (entry == nullptr) {
        return false;  // what was just loaded goes again with `loaded`
    }
    if (loaded) {
        libraries.add(full, std::move(loaded));
    }
    const std::string ansi = to_ansi(text);
    return entry(skin_data.data(), static_cast<int>(skin_data.size()),
                 ansi.empty() ? nullptr : ansi.c_str(), a, b, c) == 0;
}

std::vector<std::uint8_t> embedded_skin(HMODULE module) {
    const std::span<const std::uint8_t> skin = carried_data(module, IDR_SKIN_DATA);
    return std::vector<std::uint8_t>(skin.begin(), skin.end());
}

}  // namespace tovrelle
