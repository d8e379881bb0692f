#include "base/Handles.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace kavrolt {
namespace {

// Every handle the fake close function frees, in order.
std::vector<int>& Closed() {
    static std::vector<int> closed;
    return closed;
}

void FakeClose(int handle) {
    Closed().push_back(handle);
}

using FakeHandle = Unique<int, &FakeClose>;

class UniqueOwner : public ::testing::Test {
protected:
    void SetUp() override { Closed().clear(); }
};

static_assert(!std::is_copy_constructible_v<FakeHandle>);
static_assert(!std::is_copy_assignable_v<FakeHandle>);
static_assert(std::is_nothrow_move_constructible_v<FakeHandle>);
static_assert(std::is_nothrow_move_assignable_v<FakeHandle>);

TEST_F(UniqueOwner, ScopeEndClosesWhatIsHeldOnce) {
    {
        const FakeHandle held(7);
        EXPECT_EQ(held.get(), 7);
        EXPECT_TRUE(held);
    }
    EXPECT_EQ(Closed(), std::vector<int>{7});
}

TEST_F(UniqueOwner, NothingHeldIsNeverClosed) {
    {
        FakeHandle empty;
        FakeHandle fromNull(nullptr);
        EXPECT_FALSE(empty);
        EXPECT_FALSE(fromNull);
        empty.reset();
        *fromNull.Out() = 0; // a function that failed and handed out nothing
    }
    EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueOwner, MovesHandOverWithoutClosing) {
    FakeHandle first(3);
    FakeHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), 3);
    EXPECT_TRUE(Closed().empty());

    FakeHandle third(9);
    third = std::move(second); // the 9 it held is freed, the 3 moves in
    EXPECT_EQ(Closed(), std::vector<int>{9});
    EXPECT_EQ(third.get(), 3);
    EXPECT_FALSE(second);

    FakeHandle& alias = third;
    third = std::move(alias); // a move onto itself keeps the handle
    EXPECT_EQ(third.get(), 3);
    EXPECT_EQ(Closed(), std::vector<int>{9});
}

TEST_F(UniqueOwner, ResetClosesTheOldAndKeepsTheNew) {
    struct Case {
        const char* name;
        int held;
        int next;
        std::vector<int> closed;
    };
    const Case cases[] = {
        {"held, replaced", 4, 5, {4}},
        {"held, emptied", 4, 0, {4}},
        {"empty, filled", 0, 5, {}},
        {"empty, emptied", 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Closed().clear();
        FakeHandle handle(c.held);
        handle.reset(c.next);
        EXPECT_EQ(Closed(), c.closed);
        EXPECT_EQ(handle.get(), c.next);
    }
}

TEST_F(UniqueOwner, ReleaseGivesUpOwnershipWithoutClosing) {
    {
        FakeHandle handle(6);
        EXPECT_EQ(handle.release(), 6);
        EXPECT_FALSE(handle);
    }
    EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueOwner, OutFreesWhatIsHeldBeforeHandingOutTheSlot) {
    FakeHandle handle(11);
    int* slot = handle.Out();
    EXPECT_EQ(Closed(), std::vector<int>{11});
    EXPECT_EQ(*slot, 0);
    *slot = 12; // what the function hands out
    EXPECT_EQ(handle.get(), 12);
    handle.reset();
    EXPECT_EQ(Closed(), (std::vector<int>{11, 12}));
}

TEST(BorrowedHandle, CarriesTheHandleFromItsBits) {
    int target = 0;
    const auto borrowed = Borrowed<int*>::FromBits(reinterpret_cast<std::uintptr_t>(&target));
    EXPECT_EQ(borrowed.get(), &target);
    EXPECT_TRUE(borrowed);
    EXPECT_FALSE(Borrowed<int*>());
}

} // namespace
} // namespace kavrolt
