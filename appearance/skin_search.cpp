#include "appearance/skin_search.h"

#include "base/path_text.h"

namespace tovrelle {
namespace {

bool is_trimmed(wchar_t ch) {
    return ch == L' ' || ch == L'\x3000';
}

}  // namespace

std::wstring trim_path(std::wstring_view path) {
    std::size_t begin = 0;
    std::size_t end = path.size();
    while (begin < end && is_trimmed(path[begin])) {
        ++begin;
    }
    while (end > begin && is_trimmed(path[end - 1])) {
        --end;
    }
    return std::wstring(path.substr(begin, end - begin));
}

std::wstring locate_skin_library(std::wstring_view given_path, std::wstring_view run_directory,
                                 const SkinFileSystem& fs) {
    std::wstring path = trim_path(given_path);
    if (fs.exists(path)) {
        return path;
    }
    // The run directory has no trailing backslash ("C:" for a drive root): one goes between.
    std::wstring beside(run_directory);
    beside += L'\\';
    beside += kSkinLibraryName;
    if (fs.exists(beside)) {
        path = std::move(beside);
    }
    // Checked even when the run directory had a copy: the system's copy wins.
    std::wstring system = file_in_directory(fs.system_directory(), kSkinLibraryName);
    if (!system.empty() && fs.exists(system)) {
        path = std::move(system);
    }
    return path;
}

}  // namespace tovrelle
