// The shipped program's half of gdi_tally.h: nothing is counted.
#include "base/gdi_tally.h"

namespace tovrelle::gdi_tally {

void made(Kind) noexcept {}
void released(Kind) noexcept {}

}  // namespace tovrelle::gdi_tally
