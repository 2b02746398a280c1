// The tests' and the soak's half of gdi_tally.h.
#include <atomic>

#include "base/gdi_tally.h"

namespace tovrelle::gdi_tally {
namespace {

struct Tally {
    std::atomic<long> live{0};
    std::atomic<long> made{0};
};

Tally& of(Kind kind) noexcept {
    static Tally objects;
    static Tally dcs;
    return kind == Kind::Object ? objects : dcs;
}

}  // namespace

void made(Kind kind) noexcept {
    ++of(kind).live;
    ++of(kind).made;
}

void released(Kind kind) noexcept {
    --of(kind).live;
}

Counts counts() noexcept {
    return Counts{of(Kind::Object).live.load(), of(Kind::Object).made.load(),
                  of(Kind::Dc).live.load(), of(Kind::Dc).made.load()};
}

}  // namespace tovrelle::gdi_tally
