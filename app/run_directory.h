#pragma once

#include <string>
#include <string_view>

namespace tovrelle {

// The folder that holds the executable: everything before the last backslash of its module
// file name ("C:\Tools\tovrelle.exe" gives "C:\Tools", "C:\tovrelle.exe" gives "C:").
// A name without any backslash gives the empty text.
std::wstring run_directory(std::wstring_view module_file_name);

// The run directory as a current directory: a drive root "C:" needs its backslash, or
// Windows would take the drive's own current folder instead.
std::wstring as_current_directory(std::wstring run_directory);

}  // namespace tovrelle
