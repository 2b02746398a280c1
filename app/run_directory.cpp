#include "app/run_directory.h"

namespace tovrelle {

std::wstring run_directory(std::wstring_view module_file_name) {
    const auto slash = module_file_name.rfind(L'\\');
    if (slash == std::wstring_view::npos) {
        return {};
    }
    return std::wstring(module_file_name.substr(0, slash));
}

std::wstring as_current_directory(std::wstring run_directory) {
    if (!run_directory.empty() && run_directory.back() == L':') {
        run_directory.push_back(L'\\');
    }
    return run_directory;
}

}  // namespace tovrelle
