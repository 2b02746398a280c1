// Where the handle wrappers report each GDI object and device context they make and release.
//
// Under Wine GetGuiResources counts nothing, so a paint that leaves an object or a DC behind
// can only be seen through the wrappers themselves. The counting is not part of the shipped
// program: it links gdi_tally_off.cpp, whose calls do nothing, while the Win32 tests and the
// soak run link gdi_tally_counting.cpp (tovrelle_gdi_tally), which counts.
#pragma once

namespace tovrelle::gdi_tally {

enum class Kind { Object, Dc };

void made(Kind kind) noexcept;
void released(Kind kind) noexcept;

struct Counts {
    long live_objects = 0;  // brushes, pens, bitmaps, fonts and regions made and not yet deleted
    long made_objects = 0;
    long live_dcs = 0;  // window, paint and memory DCs made and not yet released
    long made_dcs = 0;
};

// Only where the counting half is linked.
Counts counts() noexcept;

}  // namespace tovrelle::gdi_tally
