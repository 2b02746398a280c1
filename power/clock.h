#pragma once

#include "power/date_time.h"

namespace tovrelle {

// The local wall clock now, to the whole second (fractions dropped).
DateTime read_clock();

}  // namespace tovrelle
