#pragma once

#include <string>
#include <string_view>

namespace tovrelle {

// The folder that holds the executable: everything before the last backslash of its module
// file name ("C:\Tools\tovrelle.exe" gives "C:\Tools", "C:\tovrelle.exe" gives "C:").
// A name without any backslash gives the empty text.
std::wstring run_directory(std::wstring_view module_file_name);

}  // namespace tovrelle
