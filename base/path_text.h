// Paths as texts, without Windows itself.
#pragma once

#include <string>
#include <string_view>

namespace tovrelle {

// A file named `name` in `directory`, with one backslash between them (a drive root such as
// "C:\" already ends in one). Empty when the directory is: a bare name would be looked for
// wherever Windows searches.
inline std::wstring file_in_directory(std::wstring_view directory, std::wstring_view name) {
    if (directory.empty()) {
        return {};
    }
    std::wstring path(directory);
    if (path.back() != L'\\') {
        path += L'\\';
    }
    path += name;
    return path;
}

}  // namespace tovrelle
