#include "app/loaded_libraries.h"

namespace tovrelle {

HMODULE LoadedLibraries::find(std::wstring_view full_path) const {
    for (const Entry& e : entries_) {
        if (CompareStringOrdinal(e.full_path.data(), static_cast<int>(e.full_path.size()),
                                 full_path.data(), static_cast<int>(full_path.size()),
                                 TRUE) == CSTR_EQUAL) {
            return e.module.get();
        }
    }
    return nullptr;
}

HMODULE LoadedLibraries::add(std::wstring full_path, UniqueModule module) {
    HMODULE h = module.get();
    if (h != nullptr) {
        entries_.push_back(Entry{std::move(full_path), std::move(module)});
    }
    return h;
}

void LoadedLibraries::release(HMODULE module) {
    std::erase_if(entries_, [module](const Entry& e) { return e.module.get() == module; });
}

void LoadedLibraries::release_all() {
    // Newest first, the reverse of loading.
    while (!entries_.empty()) {
        entries_.pop_back();
    }
}

}  // namespace tovrelle
