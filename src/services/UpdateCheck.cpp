#include "services/UpdateCheck.h"

#include "base/Failure.h"

#include "services/Charset.h"

// Only the HTTP parser of Boost.Beast: no socket headers, whose static set-up
// would start Winsock with the program (the sockets are in
// UpdateCheckSocketsWin32.cpp and UpdateCheckSocketsPortable.cpp).
#include <boost/asio/buffer.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/field.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <optional>

namespace kavrolt {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using boost::system::error_code;

// Bytes the reader holds that the parser has not taken yet: a header in the
// making, a chunk-size line or the trailer. Body bytes are taken as they come.
constexpr std::size_t kMaxPending = 64 * 1024;
constexpr std::uint32_t kMaxHeader = 64 * 1024;

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
    // An answer that cannot be taken in is a failed check.
    const auto progress = Guarded(std::optional<Progress>(), [&]() -> std::optional<Progress> {
        state_->pending.append(bytes);
        return state_->Parse();
    });
    return progress ? *progress : state_->Fail();
}

UpdateAnswerReader::Progress UpdateAnswerReader::FinishAtEof() {
    State& s = *state_;
    if (s.progress != Progress::NeedMore)
        return s.progress;
    // Only a body that runs to the closing of the connection ends here;
    // anything else cut short is a failure.
    const auto progress = Guarded(std::optional<Progress>(), [&]() -> std::optional<Progress> {
        if (!s.parser->got_some() || !s.pending.empty())
            return s.Fail();
        error_code ec;
        s.parser->put_eof(ec);
        if (ec || !s.parser->is_done())
            return s.Fail();
        return s.Complete();
    });
    return progress ? *progress : s.Fail();
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

int CheckForUpdate() {
    return CheckForUpdateAt(KAVROLT_UPDATE_HOST, KAVROLT_UPDATE_PORT);
}

} // namespace kavrolt
