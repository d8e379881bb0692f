// How a progress step is paced: a random count of message-pump passes with the
// step text shown with one, two and three dots at fixed passes, each followed
// by a sleep. The product uses the long pacing; the end-to-end test build, in
// which one pump pass costs far more, a short one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kavrolt {

struct StepPacing {
    std::uint32_t minPasses;
    std::uint32_t maxPasses; // inclusive
    std::uint32_t firstDotPass;
    std::uint32_t secondDotPass;
    std::uint32_t thirdDotPass;
    std::uint32_t sleepMs; // after each dot
};

inline constexpr StepPacing kProductPacing{1000000, 2999999, 20000, 50000, 150000, 500};
inline constexpr StepPacing kFastPacing{400, 799, 20, 50, 150, 40};

#if defined(KAVROLT_FAST_PACING)
inline constexpr StepPacing kStepPacing = kFastPacing;
#else
inline constexpr StepPacing kStepPacing = kProductPacing;
#endif

// What a step does to the world: the pump, the sleep, the random draw and the
// two controls of the progress window.
struct StepDevices {
    std::function<void()> pump; // dispatch every pending message once
    std::function<void(std::uint32_t ms)> sleep;
    std::function<std::uint32_t(std::uint32_t lo, std::uint32_t hi)> draw; // uniform, inclusive
    std::function<void(std::u16string_view)> setLabel;
    std::function<void(int)> setBar;
};

// StepTotal and StepCount of the run in progress, and the paced step.
class StepProgress {
public:
    int stepTotal = 0;
    int stepCount = 0;

    // Shows text with growing dots while pumping, then moves the bar one step.
    // Failures of the devices are absorbed: the rest of the step is skipped.
    void AdvanceProgressStep(std::u16string_view text, const StepDevices& devices,
                             const StepPacing& pacing = kStepPacing);
};

// StepCount / StepTotal * 100, rounded to the nearest whole number, halves to even.
int BarPosition(int stepCount, int stepTotal);

// A uniform draw from a generator seeded afresh from the given clock value.
std::uint32_t DrawPasses(std::uint64_t seed, std::uint32_t lo, std::uint32_t hi);

} // namespace kavrolt
