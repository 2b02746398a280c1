// A move-only owner of one resource handle, released by a policy type.
//
// Every Windows handle the program holds (windows, GDI objects, DCs, hooks, menus, icons,
// modules, kernel handles) goes through this one template, so that no handle can be copied
// and released twice, and none can be forgotten. It has no Windows dependency of its own and
// is tested natively with a fake policy.
#pragma once

#include <utility>

namespace tovrelle {

// Policy requirements:
//   using Handle = ...;                     the raw handle type
//   static Handle invalid() noexcept;       the value that owns nothing
//   static void close(Handle h) noexcept;   releases a valid handle
template <typename Policy>
class UniqueResource {
  public:
    using Handle = typename Policy::Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle h) noexcept : handle_(h) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    [[nodiscard]] Handle get() const noexcept { return handle_; }
    [[nodiscard]] bool valid() const noexcept { return handle_ != Policy::invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without releasing.
    [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Policy::invalid()); }

    // Releases what is owned now, then owns h.
    void reset(Handle h = Policy::invalid()) noexcept {
        Handle old = std::exchange(handle_, h);
        if (old != Policy::invalid()) {
            Policy::close(old);
        }
    }

  private:
    Handle handle_ = Policy::invalid();
};

}  // namespace tovrelle
