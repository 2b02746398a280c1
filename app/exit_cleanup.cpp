#include "app/exit_cleanup.h"

#include <algorithm>
#include <utility>

namespace tovrelle {

void ExitCleanupList::add(Routine routine) {
    if (routine != nullptr &&
        std::find(routines_.begin(), routines_.end(), routine) == routines_.end()) {
        routines_.push_back(routine);
    }
}

void ExitCleanupList::run() {
    // Taken out first: a routine that ends the program again must not run the list twice.
    auto routines = std::exchange(routines_, {});
    for (Routine r : routines) {
        r();
    }
}

}  // namespace tovrelle
