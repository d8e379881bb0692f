// A name lookup that must end by a deadline: the lookup runs on a thread of
// its own, and the caller waits for it until the deadline at the most.
#pragma once

#include "base/Failure.h"

#include <memory>
#include <vector>

namespace kavrolt {

// runWithDeadline(job, deadline) runs job on a thread of its own and tells
// whether it finished before the deadline. lookUp(found) appends the
// addresses it finds. A lookup that fails, or does not finish in time, finds
// nothing; a late one goes on alone with its own share of the result.
template <typename Address, typename RunWithDeadline, typename Deadline, typename LookUp>
std::vector<Address> LookUpByDeadline(RunWithDeadline runWithDeadline, Deadline deadline,
                                      LookUp lookUp) {
    auto found = std::make_shared<std::vector<Address>>();
    const bool finished = runWithDeadline(
        [found, lookUp] {
            if (!Guarded(false, [&] {
                    lookUp(*found);
                    return true;
                }))
                found->clear();
        },
        deadline);
    if (!finished)
        return {};
    return std::move(*found);
}

} // namespace kavrolt
