#pragma once

#include <vector>

namespace tovrelle {

// The routines the end of the program runs, in the order they were registered.
// A routine is in the list at most once.
class ExitCleanupList {
  public:
    using Routine = void (*)();

    void add(Routine routine);
    // Runs every routine in registration order, then empties the list, so a second
    // run (a second road to the end) finds nothing to do.
    void run();
    [[nodiscard]] bool empty() const noexcept { return routines_.empty(); }

  private:
    std::vector<Routine> routines_;
};

}  // namespace tovrelle
