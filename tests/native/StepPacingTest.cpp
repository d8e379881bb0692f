#include "tuning/StepPacing.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

namespace kavrolt {
namespace {

// Counts pump passes and records when the label changes and what is slept.
struct CountingDevices {
    std::uint32_t passes = 0;
    std::uint32_t drawn;
    std::vector<std::pair<std::uint32_t, std::u16string>> labels;
    std::vector<std::uint32_t> sleeps;
    std::vector<int> bars;

    explicit CountingDevices(std::uint32_t n) : drawn(n) {}
    StepDevices Devices() {
        return {[this] { ++passes; }, [this](std::uint32_t ms) { sleeps.push_back(ms); },
                [this](std::uint32_t lo, std::uint32_t hi) {
                    EXPECT_EQ(lo, 1000000u);
                    EXPECT_EQ(hi, 2999999u);
                    return drawn;
                },
                [this](std::u16string_view text) { labels.emplace_back(passes, text); },
                [this](int position) { bars.push_back(position); }};
    }
};

TEST(StepPacing, ShowsThreeDotsAtFixedPassesThenMovesTheBar) {
    for (std::uint32_t n : {1000000u, 2999999u}) {
        CountingDevices counting(n);
        StepProgress progress;
        progress.stepTotal = 31;
        progress.AdvanceProgressStep(u"Finding hard drives", counting.Devices(), kProductPacing);
        EXPECT_EQ(counting.passes, n);
        const std::vector<std::pair<std::uint32_t, std::u16string>> expected = {
            {20000, u"Finding hard drives."},
            {50000, u"Finding hard drives.."},
            {150000, u"Finding hard drives..."}};
        EXPECT_EQ(counting.labels, expected);
        EXPECT_EQ(counting.sleeps, (std::vector<std::uint32_t>{500, 500, 500}));
        EXPECT_EQ(progress.stepCount, 1);
        EXPECT_EQ(counting.bars, std::vector<int>{3});
    }
}

TEST(StepPacing, BarPositionsOfWholeRuns) {
    const std::vector<int> optimize = {3,  6,  10, 13, 16, 19, 23, 26, 29, 32, 35,
                                       39, 42, 45, 48, 52, 55, 58, 61, 65, 68, 71,
                                       74, 77, 81, 84, 87, 90, 94, 97, 100};
    const std::vector<int> restore = {4,  7,  11, 15, 19, 22, 26, 30, 33, 37, 41, 44, 48, 52,
                                      56, 59, 63, 67, 70, 74, 78, 81, 85, 89, 93, 96, 100};
    for (const auto& expected : {optimize, restore}) {
        StepProgress progress;
        progress.stepTotal = static_cast<int>(expected.size());
        std::vector<int> bars;
        StepDevices devices{[] {}, [](std::uint32_t) {},
                            [](std::uint32_t lo, std::uint32_t) { return lo; },
                            [](std::u16string_view) {}, [&](int p) { bars.push_back(p); }};
        for (std::size_t i = 0; i < expected.size(); ++i)
            progress.AdvanceProgressStep(u"step", devices, kFastPacing);
        EXPECT_EQ(bars, expected);
    }
}

TEST(StepPacing, BarRoundsHalvesToEven) {
    EXPECT_EQ(BarPosition(1, 8), 12);  // 12.5
    EXPECT_EQ(BarPosition(3, 8), 38);  // 37.5
    EXPECT_EQ(BarPosition(5, 8), 62);  // 62.5
    EXPECT_EQ(BarPosition(1, 200), 0); // 0.5
    EXPECT_EQ(BarPosition(3, 200), 2); // 1.5
    EXPECT_EQ(BarPosition(2, 3), 67);
    EXPECT_EQ(BarPosition(0, 0), 0);
}

TEST(StepPacing, AFailingStepLeavesTheCountAndBar) {
    StepProgress progress;
    progress.stepTotal = 27;
    int bars = 0;
    StepDevices devices{
        [] {}, [](std::uint32_t) {}, [](std::uint32_t lo, std::uint32_t) { return lo; },
        [](std::u16string_view) { throw std::runtime_error("gone"); }, [&](int) { ++bars; }};
    progress.AdvanceProgressStep(u"step", devices, kFastPacing);
    EXPECT_EQ(progress.stepCount, 0);
    EXPECT_EQ(bars, 0);
}

TEST(StepPacing, DrawsStayInsideTheRangeAndReachItsEnds) {
    std::set<std::uint32_t> small;
    for (std::uint64_t seed = 0; seed < 200; ++seed)
        small.insert(DrawPasses(seed, 1, 3));
    EXPECT_EQ(small, (std::set<std::uint32_t>{1, 2, 3}));
    for (std::uint64_t seed = 0; seed < 1000; ++seed) {
        const auto n = DrawPasses(seed * 7919, kProductPacing.minPasses, kProductPacing.maxPasses);
        ASSERT_GE(n, 1000000u);
        ASSERT_LE(n, 2999999u);
    }
}

} // namespace
} // namespace kavrolt
