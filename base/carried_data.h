// Data a module carries as an RCDATA resource.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace tovrelle {

// The bytes of the module's RCDATA resource `id`, or none. Resource memory lives as long as
// the module and is never written: nothing to release, and a copy for whoever must write.
inline std::span<const std::uint8_t> carried_data(HMODULE module, int id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const DWORD size = SizeofResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace tovrelle
