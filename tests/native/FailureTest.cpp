#include "base/Failure.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace kavrolt {
namespace {

int Throwing() {
    throw std::runtime_error("step failed");
}

int Seven() {
    return 7;
}

void ThrowingVoid() {
    throw std::logic_error("step failed");
}

// Both forms promise not to throw, whatever the step does.
static_assert(noexcept(Guarded(ThrowingVoid)));
static_assert(noexcept(Guarded(0, Throwing)));
static_assert(noexcept(Guarded(std::declval<std::string>(), [] { return std::string("x"); })));

TEST(Guarded, ThrowingStepGivesTheFallback) {
    EXPECT_EQ(Guarded(-1, Throwing), -1);
    EXPECT_EQ(Guarded(std::string("fallback"),
                      []() -> std::string { throw std::runtime_error("no text"); }),
              "fallback");
}

TEST(Guarded, NormalStepGivesItsValue) {
    EXPECT_EQ(Guarded(-1, Seven), 7);
    EXPECT_EQ(Guarded(std::string("fallback"), [] { return std::string("made"); }), "made");
}

TEST(Guarded, StepResultConvertsToTheFallbackType) {
    const std::optional<int> made = Guarded(std::optional<int>(), [] { return 3; });
    ASSERT_TRUE(made.has_value());
    EXPECT_EQ(*made, 3);
}

TEST(Guarded, ThrowOfANonStandardTypeIsSwallowedToo) {
    EXPECT_EQ(Guarded(5, []() -> int { throw 42; }), 5);
    EXPECT_NO_THROW(Guarded([] { throw 42; }));
}

TEST(Guarded, VoidFormSwallowsAndKeepsWhatRanBeforeTheThrow) {
    int ran = 0;
    EXPECT_NO_THROW(Guarded([&] {
        ++ran;
        ThrowingVoid();
        ++ran;
    }));
    EXPECT_EQ(ran, 1);
}

TEST(Guarded, VoidFormRunsTheWholeStepWhenNothingThrows) {
    int ran = 0;
    Guarded([&] {
        ++ran;
        ++ran;
    });
    EXPECT_EQ(ran, 2);
}

} // namespace
} // namespace kavrolt
