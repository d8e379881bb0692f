// The update check's connection through Boost.Asio, for the builds without
// Windows (the Windows builds use Winsock directly, UpdateCheckSocketsWin32.cpp).
#include "services/UpdateCheck.h"

#include "base/Failure.h"
#include "services/NameLookup.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address_v4.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kavrolt {
namespace {

namespace asio = boost::asio;
using boost::system::error_code;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// What the work's thread shares with the caller.
struct Completion {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

// Runs work on a thread of its own and waits for it until the deadline: true
// when it finished in time.
bool RunWithDeadline(std::function<void()> work, Clock::time_point deadline) {
    auto completion = std::make_shared<Completion>();
    std::thread([completion, work = std::move(work)] {
        work();
        std::lock_guard<std::mutex> lock(completion->mutex);
        completion->done = true;
        completion->finished.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(completion->mutex);
    return completion->finished.wait_until(lock, deadline, [&] { return completion->done; });
}

// The IPv4 addresses of host, or none when the lookup fails or outlasts the
// deadline. The lookup cannot be interrupted, so it runs on a thread of its
// own that the caller stops waiting for at the deadline; the thread owns its
// share of the state and ends on its own when the lookup returns.
std::vector<tcp::endpoint> ResolveIpv4(std::string_view host, std::uint16_t port,
                                       Clock::time_point deadline) {
    error_code ec;
    const std::string name(host);
    const asio::ip::address_v4 numeric = asio::ip::make_address_v4(name, ec);
    if (!ec)
        return {tcp::endpoint(numeric, port)};

    return LookUpByDeadline<tcp::endpoint>(
        RunWithDeadline, deadline, [name, port](std::vector<tcp::endpoint>& found) {
            asio::io_context io;
            tcp::resolver resolver(io);
            error_code error;
            const auto results = resolver.resolve(tcp::v4(), name, std::to_string(port),
                                                  tcp::resolver::numeric_service, error);
            if (!error)
                for (const auto& entry : results)
                    found.push_back(entry.endpoint());
        });
}

// Runs one asynchronous socket operation to its end or to the deadline. At the
// deadline the socket is closed, which completes the operation as aborted.
template <class Start>
error_code RunUntil(asio::io_context& io, tcp::socket& socket, Clock::time_point deadline,
                    std::size_t& transferred, Start start) {
    bool finished = false;
    error_code result;
    start([&](const error_code& ec, std::size_t n) {
        finished = true;
        result = ec;
        transferred = n;
    });
    io.restart();
    io.run_until(deadline);
    if (finished)
        return result;
    error_code ignored;
    socket.close(ignored);
    io.restart();
    io.run();
    return asio::error::timed_out;
}

} // namespace

int CheckForUpdateAt(std::string_view host, std::uint16_t port, const UpdateCheckLimits& limits) {
    return Guarded(-1, [&]() -> int {
        const Clock::time_point deadline = Clock::now() + limits.total;
        const std::vector<tcp::endpoint> endpoints = ResolveIpv4(host, port, deadline);
        if (endpoints.empty())
            return -1;

        asio::io_context io;
        tcp::socket socket(io);
        std::size_t transferred = 0;
        const Clock::time_point connectDeadline = std::min(deadline, Clock::now() + limits.connect);
        error_code ec = RunUntil(io, socket, connectDeadline, transferred, [&](auto done) {
            asio::async_connect(socket, endpoints,
                                [done](const error_code& e, const tcp::endpoint&) { done(e, 0); });
        });
        if (ec)
            return -1;

        const std::string request = BuildUpdateRequest(host, port);
        ec = RunUntil(io, socket, deadline, transferred,
                      [&](auto done) { asio::async_write(socket, asio::buffer(request), done); });
        if (ec)
            return -1;

        UpdateAnswerReader reader(limits.maxBody);
        std::array<char, 16 * 1024> buffer;
        for (;;) {
            ec = RunUntil(io, socket, deadline, transferred,
                          [&](auto done) { socket.async_read_some(asio::buffer(buffer), done); });
            if (ec == asio::error::eof) {
                reader.FinishAtEof();
                break;
            }
            if (ec)
                return -1;
            if (reader.Feed(std::string_view(buffer.data(), transferred)) !=
                UpdateAnswerReader::Progress::NeedMore)
                break;
        }
        return reader.Result();
    });
}

} // namespace kavrolt
