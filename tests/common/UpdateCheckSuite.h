// The update check against scripted loopback servers, written once and run
// natively and under Wine, through each platform's socket stack.
#pragma once

#include "services/UpdateCheck.h"
#include "common/UpdateCheckAnswers.h"
#include "common/UpdateCheckServer.h"

#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace kavrolt::test {

inline std::chrono::milliseconds ElapsedSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

TEST(UpdateCheckLoopback, SendsExactlyTheRequestOnce) {
    ScriptedServer server(Ok("TORVEK|1"));
    ASSERT_EQ(CheckForUpdateAt("127.0.0.1", server.Port()), 1);
    EXPECT_EQ(server.Received(),
              "GET /downloads/update/?product=kavrolt&version=2.11.23.2020 HTTP/1.1\r\n"
              "Host: 127.0.0.1:" +
                  std::to_string(server.Port()) +
                  "\r\n"
                  "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; TORVEK)\r\n"
                  "\r\n");
    EXPECT_EQ(server.Connections(), 1);
}

TEST(UpdateCheckLoopback, ReadsEveryAnswerAsItsTokenSays) {
    for (const AnswerCase& c : AnswerCases()) {
        ScriptedServer server(c.stream);
        EXPECT_EQ(CheckForUpdateAt("127.0.0.1", server.Port()), c.expected) << c.what;
    }
}

TEST(UpdateCheckLoopback, RedirectionsAreNotFollowed) {
    for (const char* status : {"301 Moved Permanently", "302 Found", "303 See Other",
                               "307 Temporary Redirect", "308 Permanent Redirect"}) {
        ScriptedServer target(Ok("TORVEK|1"));
        const std::string location =
            "http://127.0.0.1:" + std::to_string(target.Port()) + "/downloads/update/";
        ScriptedServer server({std::string("HTTP/1.1 ") + status + "\r\nLocation: " + location +
                                   "\r\nContent-Length: 0\r\n\r\n",
                               ScriptedServer::Then::StayOpen});
        EXPECT_EQ(CheckForUpdateAt("127.0.0.1", server.Port()), -1) << status;
        EXPECT_EQ(server.Connections(), 1) << status;
        EXPECT_EQ(server.Received().find("GET ", 1), std::string::npos) << status;
        EXPECT_EQ(target.Connections(), 0) << status;
    }
}

TEST(UpdateCheckLoopback, AHostNameIsLookedUpOnItsOwnThread) {
    // "localhost" is no address: the check resolves it on a thread of its own
    // and connects to what the lookup gives, the loopback address.
    ScriptedServer server(Ok("TORVEK|2"));
    EXPECT_EQ(CheckForUpdateAt("localhost", server.Port()), 2);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_NE(server.Received().find("Host: localhost:" + std::to_string(server.Port()) + "\r\n"),
              std::string::npos);
}

TEST(UpdateCheckLoopback, AClosedPortOrAnUnknownHostGivesMinusOne) {
    std::uint16_t port = 0;
    {
        boost::asio::io_context io;
        boost::asio::ip::tcp::acceptor probe(io,
                                             {boost::asio::ip::make_address_v4("127.0.0.1"), 0});
        port = probe.local_endpoint().port();
    }
    UpdateCheckLimits quick;
    quick.total = std::chrono::milliseconds(5000);
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", port, quick), -1);
    EXPECT_EQ(CheckForUpdateAt("host.that.does.not.exist.invalid", 80, quick), -1);
    EXPECT_EQ(CheckForUpdateAt("", 80, quick), -1);
}

TEST(UpdateCheckLoopback, AStalledServerIsGivenUpAtTheTotalBound) {
    struct Stall {
        const char* what;
        ScriptedServer::Script script;
    };
    const Stall stalls[] = {
        {"accepts and never answers", {"", ScriptedServer::Then::StayOpen}},
        {"header and no body",
         {"HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n", ScriptedServer::Then::StayOpen}},
        {"close-delimited body that never ends",
         {"HTTP/1.1 200 OK\r\n\r\nTORVEK|1", ScriptedServer::Then::StayOpen}},
        // Every byte arrives in time for a per-read time-out; only the bound on
        // the whole request stops it.
        {"one byte every 20 ms",
         {"HTTP/1.1 200 OK\r\n\r\n", ScriptedServer::Then::Trickle, "TORVEK|1 "}},
    };
    UpdateCheckLimits limits;
    limits.total = std::chrono::milliseconds(800);
    for (const Stall& s : stalls) {
        ScriptedServer server(s.script);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(CheckForUpdateAt("127.0.0.1", server.Port(), limits), -1) << s.what;
        const auto elapsed = ElapsedSince(start);
        EXPECT_GE(elapsed.count(), 700) << s.what;
        EXPECT_LT(elapsed.count(), 5000) << s.what;
    }
}

TEST(UpdateCheckLoopback, AnEndlessBodyIsCutAtTheLimit) {
    const std::string filler(64 * 1024, 'x');
    const std::string headers[] = {
        "HTTP/1.1 200 OK\r\n\r\nTORVEK|1",
        "HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n\r\nTORVEK|1",
    };
    for (const std::string& header : headers) {
        ScriptedServer server({header, ScriptedServer::Then::Endless, filler});
        EXPECT_EQ(CheckForUpdateAt("127.0.0.1", server.Port()), -1) << header;
    }
    // A chunked body of endless 64 KiB chunks.
    char size[16];
    std::snprintf(size, sizeof size, "%zx\r\n", filler.size());
    ScriptedServer chunked(
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\nTORVEK|1\r\n",
         ScriptedServer::Then::Endless, size + filler + "\r\n"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", chunked.Port()), -1);
    EXPECT_LT(ElapsedSince(start).count(), 15000);
    // The client stopped reading soon after the limit and closed: the server's
    // writes fail once the socket buffers are full.
    for (int i = 0; i < 200 && !chunked.ClientWentAway(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(chunked.ClientWentAway());
    EXPECT_LT(chunked.BytesSent(), 64u * 1024 * 1024);
}

TEST(UpdateCheckLoopback, ConnectingIsGivenUpAtTheConnectBound) {
    using tcp = boost::asio::ip::tcp;
    boost::asio::io_context io;
    // A listener whose accept queue holds one connection and is never served:
    // the filler takes the place, so the check's handshake goes unanswered.
    tcp::acceptor full(io);
    full.open(tcp::v4());
    full.bind({boost::asio::ip::make_address_v4("127.0.0.1"), 0});
    full.listen(0);
    tcp::socket filler(io);
    filler.connect(full.local_endpoint());
    UpdateCheckLimits limits;
    limits.connect = std::chrono::milliseconds(500);
    limits.total = std::chrono::milliseconds(8000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", full.local_endpoint().port(), limits), -1);
    const auto elapsed = ElapsedSince(start);
    EXPECT_GE(elapsed.count(), 400);
    EXPECT_LT(elapsed.count(), 4000);
}

TEST(UpdateCheckLoopback, ABodyAtTheLimitIsReadAndOneByteMoreIsNot) {
    const std::size_t limit = 1024 * 1024;
    std::string body(limit, ' ');
    body.replace(limit - 8, 8, "TORVEK|1");
    ScriptedServer atLimit(Ok(body));
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", atLimit.Port()), 1);
    ScriptedServer beyond(Ok(body + " "));
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", beyond.Port()), -1);
}

} // namespace kavrolt::test
