#pragma once

// The program's one policy for failures: a step that throws ends silently at
// the edge of that step, and the caller carries on with a fallback (or with
// nothing, for a step that returns nothing). No failure reaches the user as an
// error or ends the program; Guarded is the single place that swallows them.

#include <utility>

namespace kavrolt {

// Runs the step; any exception it throws ends the step and is swallowed.
template <class Step> void Guarded(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
    } catch (...) {
    }
}

// Returns what the step returns, or the fallback when the step throws.
template <class Result, class Step> Result Guarded(Result fallback, Step&& step) noexcept {
    try {
        return std::forward<Step>(step)();
    } catch (...) {
        return fallback;
    }
}

} // namespace kavrolt
