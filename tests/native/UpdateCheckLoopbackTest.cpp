#include "common/UpdateCheckSuite.h"

namespace kavrolt::test {
namespace {

// The product's own bounds, once: a server that never answers is given up
// after 20 s, not later and not much sooner.
TEST(UpdateCheckLoopback, TheProductBoundIsTwentySeconds) {
    ScriptedServer server({"", ScriptedServer::Then::StayOpen});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", server.Port()), -1);
    const auto elapsed = ElapsedSince(start);
    EXPECT_GE(elapsed.count(), 19'900);
    EXPECT_LT(elapsed.count(), 23'000);
}

} // namespace
} // namespace kavrolt::test
