#include "app/UpdateCheck.h"

#include "app/Charset.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/address_v4.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/field.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace kavrolt {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using boost::system::error_code;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// Bytes the reader holds that the parser has not taken yet: a header in the
// making, a chunk-size line or the trailer. Body bytes are taken as they come.
constexpr std::size_t kMaxPending = 64 * 1024;
constexpr std::uint32_t kMaxHeader = 64 * 1024;

#ifdef _WIN32
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle)
            CloseHandle(handle);
    }
};
using EventHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// One piece of work for a thread of its own, and the event it sets when done.
// The thread owns the job; the caller shares only the event.
struct DetachedJob {
    std::function<void()> work;
    std::shared_ptr<EventHandle> finished;
};

DWORD WINAPI RunDetachedJob(void* parameter) {
    const std::unique_ptr<DetachedJob> job(static_cast<DetachedJob*>(parameter));
    job->work();
    SetEvent(job->finished->get());
    return 0;
}

// Runs work on a Win32 thread of its own and waits for it until the deadline:
// true when it finished in time. The C++ library of the win32 thread model has
// no std::thread; a Win32 thread and event work on every Windows. Setting and
// waiting for the event order the work's writes before the caller's reads.
bool RunWithDeadline(std::function<void()> work, Clock::time_point deadline) {
    auto finished =
        std::make_shared<EventHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*finished)
        return false;
    auto job = std::make_unique<DetachedJob>(DetachedJob{std::move(work), finished});
    const EventHandle thread(CreateThread(nullptr, 0, RunDetachedJob, job.get(), 0, nullptr));
    if (!thread)
        return false;
    job.release(); // the thread deletes it
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const DWORD wait = left <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(left, INFINITE - 1));
    return WaitForSingleObject(finished->get(), wait) == WAIT_OBJECT_0;
}
#else
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
#endif

// The IPv4 addresses of host, or none when the lookup fails or outlasts the
// deadline. The lookup cannot be interrupted, so it runs on a thread of its
// own that the caller stops waiting for at the deadline; the thread owns its
// share of the state and ends on its own when the lookup returns. Built for
// Windows 2000, Boost.Asio uses getaddrinfo where ws2_32 exports it and
// gethostbyname elsewhere.
std::vector<tcp::endpoint> ResolveIpv4(std::string_view host, std::uint16_t port,
                                       Clock::time_point deadline) {
    error_code ec;
    const std::string name(host);
    const asio::ip::address_v4 numeric = asio::ip::make_address_v4(name, ec);
    if (!ec)
        return {tcp::endpoint(numeric, port)};

    auto found = std::make_shared<std::vector<tcp::endpoint>>();
    const bool finished = RunWithDeadline(
        [found, name, port] {
            try {
                asio::io_context io;
                tcp::resolver resolver(io);
                error_code error;
                const auto results = resolver.resolve(tcp::v4(), name, std::to_string(port),
                                                      tcp::resolver::numeric_service, error);
                if (!error)
                    for (const auto& entry : results)
                        found->push_back(entry.endpoint());
            } catch (...) {
                found->clear();
            }
        },
        deadline);
    if (!finished)
        return {};
    return std::move(*found);
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

struct UpdateAnswerReader::State {
    explicit State(std::size_t limit) : maxBody(limit) { StartMessage(); }

    void StartMessage() {
        parser.emplace();
        // One step per call: the parser then reports a declared length beyond
        // the body limit at the end of the header, before it sizes the body.
        parser->eager(false);
        parser->header_limit(kMaxHeader);
        parser->body_limit(maxBody);
    }

    Progress Fail() {
        progress = Progress::Failed;
        pending.clear();
        pending.shrink_to_fit();
        parser.reset();
        return progress;
    }

    Progress Complete() {
        const http::response<http::string_body>& answer = parser->get();
        const auto contentType = answer[http::field::content_type];
        const std::string_view type(contentType.data(), contentType.size());
        std::string charset = CharsetOfContentType(type);
        const std::string media = MediaTypeOf(type);
        if (charset.empty() && (media == "text/html" || media == "application/xhtml+xml"))
            charset = CharsetOfHtmlMeta(answer.body());
        result = UpdateResultOfBody(DecodeText(answer.body(), charset));
        progress = Progress::Done;
        pending.clear();
        parser.reset();
        return progress;
    }

    // Hands the pending bytes to the parser until it wants more than there is.
    Progress Parse() {
        while (!pending.empty()) {
            error_code ec;
            const std::size_t used = parser->put(asio::buffer(pending), ec);
            pending.erase(0, used);
            if (ec == http::error::need_more) {
                if (pending.size() > kMaxPending)
                    return Fail();
                return progress;
            }
            if (ec)
                return Fail();
            if (parser->is_header_done()) {
                const unsigned status = parser->get().result_int();
                if (status == 100) {
                    // An interim answer without a body; the real one follows.
                    StartMessage();
                    continue;
                }
                if (status < 200 || status > 299)
                    return Fail();
            }
            if (parser->is_done())
                return Complete();
            // A call that takes nothing only moves the parser to its next state;
            // several in a row would mean it is stuck.
            idleCalls = used == 0 ? idleCalls + 1 : 0;
            if (idleCalls > 2)
                return Fail();
        }
        return progress;
    }

    std::size_t maxBody;
    std::optional<http::response_parser<http::string_body>> parser;
    std::string pending;
    Progress progress = Progress::NeedMore;
    int result = -1;
    int idleCalls = 0;
};

UpdateAnswerReader::UpdateAnswerReader(std::size_t maxBody)
    : state_(std::make_unique<State>(maxBody)) {}

UpdateAnswerReader::~UpdateAnswerReader() = default;

UpdateAnswerReader::Progress UpdateAnswerReader::Feed(std::string_view bytes) {
    if (state_->progress != Progress::NeedMore)
        return state_->progress;
    try {
        state_->pending.append(bytes);
        return state_->Parse();
    } catch (...) {
        return state_->Fail();
    }
}

UpdateAnswerReader::Progress UpdateAnswerReader::FinishAtEof() {
    State& s = *state_;
    if (s.progress != Progress::NeedMore)
        return s.progress;
    try {
        // Only a body that runs to the closing of the connection ends here;
        // anything else cut short is a failure.
        if (!s.parser->got_some() || !s.pending.empty())
            return s.Fail();
        error_code ec;
        s.parser->put_eof(ec);
        if (ec || !s.parser->is_done())
            return s.Fail();
        return s.Complete();
    } catch (...) {
        return s.Fail();
    }
}

int UpdateAnswerReader::Result() const {
    return state_->progress == Progress::Done ? state_->result : -1;
}

int UpdateResultOfStream(std::string_view stream, std::size_t maxBody) {
    UpdateAnswerReader reader(maxBody);
    if (reader.Feed(stream) == UpdateAnswerReader::Progress::NeedMore)
        reader.FinishAtEof();
    return reader.Result();
}

int UpdateResultOfBody(std::u16string_view body) {
    if (body.find(u"TORVEK|0") != std::u16string_view::npos)
        return 0;
    if (body.find(u"TORVEK|1") != std::u16string_view::npos)
        return 1;
    if (body.find(u"TORVEK|2") != std::u16string_view::npos)
        return 2;
    return -1;
}

std::string BuildUpdateRequest(std::string_view host, std::uint16_t port) {
    std::string request;
    request.append("GET ").append(kUpdateTarget).append(" HTTP/1.1\r\n");
    request.append("Host: ").append(host);
    if (port != 80)
        request.append(":").append(std::to_string(port));
    request.append("\r\n");
    request.append("Accept: ").append(kUpdateAccept).append("\r\n");
    request.append("User-Agent: ").append(kUpdateUserAgent).append("\r\n");
    request.append("\r\n");
    return request;
}

int CheckForUpdateAt(std::string_view host, std::uint16_t port, const UpdateCheckLimits& limits) {
    try {
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
    } catch (...) {
        return -1;
    }
}

int CheckForUpdate() {
    return CheckForUpdateAt(KAVROLT_UPDATE_HOST, KAVROLT_UPDATE_PORT);
}

} // namespace kavrolt
