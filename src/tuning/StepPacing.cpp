#include "tuning/StepPacing.h"

#include "base/Failure.h"

#include <cmath>
#include <random>

namespace kavrolt {

int BarPosition(int stepCount, int stepTotal) {
    if (stepTotal == 0)
        return 0;
    const double exact = static_cast<double>(stepCount) / stepTotal * 100.0;
    // Ties go to the even neighbour.
    const double down = std::floor(exact);
    const double fraction = exact - down;
    double rounded = fraction > 0.5 ? down + 1 : down;
    if (fraction == 0.5)
        rounded = std::fmod(down, 2.0) == 0.0 ? down : down + 1;
    return static_cast<int>(rounded);
}

std::uint32_t DrawPasses(std::uint64_t seed, std::uint32_t lo, std::uint32_t hi) {
    std::mt19937_64 generator(seed);
    return std::uniform_int_distribution<std::uint32_t>(lo, hi)(generator);
}

void StepProgress::AdvanceProgressStep(std::u16string_view text, const StepDevices& devices,
                                       const StepPacing& pacing) {
    // A failing step ends here; the run goes on with the next one.
    Guarded([&] {
        const std::uint32_t passes = devices.draw(pacing.minPasses, pacing.maxPasses);
        std::u16string shown(text);
        for (std::uint32_t k = 1; k <= passes; ++k) {
            devices.pump();
            if (k == pacing.firstDotPass || k == pacing.secondDotPass || k == pacing.thirdDotPass) {
                shown.push_back(u'.');
                devices.setLabel(shown);
                devices.sleep(pacing.sleepMs);
            }
        }
        ++stepCount;
        devices.setBar(BarPosition(stepCount, stepTotal));
    });
}

} // namespace kavrolt
