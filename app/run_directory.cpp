#include "app/run_directory.h"

namespace tovrelle {

std::wstring run_directory(std::wstring_view module_file_name) {
    const auto slash = module_file_name.rfind(L'\\');
    if (slash == std::wstring_view::npos) {
        return {};
    }
    return std::wstring(module_file_name.substr(0, slash));
}

}  // namespace tovrelle
