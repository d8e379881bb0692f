// The update check: one HTTP GET to the maker's web site that names the
// product and the program's version, and the answer token read from the body.
#pragma once

#include "ProgramVersion.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kavrolt {

// The maker's web site. It also serves the home page (the host alone) and the
// support page "/support/".
inline constexpr std::string_view kMakerHost = "www.torvek.com";
inline constexpr std::uint16_t kMakerPort = 80;

// Where CheckForUpdate asks. The end-to-end test build defines both to aim the
// check at a loopback server; every other build asks the maker's web site.
#ifndef KAVROLT_UPDATE_HOST
#define KAVROLT_UPDATE_HOST ::kavrolt::kMakerHost
#endif
#ifndef KAVROLT_UPDATE_PORT
#define KAVROLT_UPDATE_PORT ::kavrolt::kMakerPort
#endif

inline constexpr std::string_view kUpdateTarget =
    "/downloads/update/?product=kavrolt&version=" KAVROLT_VERSION_TEXT;
inline constexpr std::string_view kUpdateUserAgent = "Mozilla/4.0 (compatible; TORVEK)";
inline constexpr std::string_view kUpdateAccept =
    "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";

// Bounds of one check. A stalled server must not hold the check-mode process.
struct UpdateCheckLimits {
    // Opening the TCP connection.
    std::chrono::milliseconds connect{10'000};
    // Everything, from resolving the host name to the last byte of the body.
    std::chrono::milliseconds total{20'000};
    // A longer body is a failure and is not read further.
    std::size_t maxBody = 1024 * 1024;
};

// Asks the maker's web site: 0 no update, 1 an update is available, 2 the
// third answer, -1 no usable answer. Never throws; every failure is -1.
int CheckForUpdate();

// The same request sent to the given host and port, within the given bounds.
int CheckForUpdateAt(std::string_view host, std::uint16_t port,
                     const UpdateCheckLimits& limits = {});

// The request bytes exactly as they go out. The Host header carries the port
// only when it is not 80.
std::string BuildUpdateRequest(std::string_view host, std::uint16_t port);

// The result for a decoded body: the first of "TORVEK|0", "TORVEK|1",
// "TORVEK|2" that the body contains, searched in that order, else -1.
int UpdateResultOfBody(std::u16string_view body);

// Reads the server's side of the connection as it arrives: skips 100 Continue
// answers, accepts only 2xx, frames the body by chunked coding, Content-Length
// or the closing of the connection, and holds at most the body limit and a
// small parsing window in memory.
class UpdateAnswerReader {
public:
    enum class Progress { NeedMore, Done, Failed };

    explicit UpdateAnswerReader(std::size_t maxBody = UpdateCheckLimits{}.maxBody);
    ~UpdateAnswerReader();
    UpdateAnswerReader(const UpdateAnswerReader&) = delete;
    UpdateAnswerReader& operator=(const UpdateAnswerReader&) = delete;

    // Takes the next bytes from the server. Once the answer is complete or has
    // failed, further bytes are ignored.
    Progress Feed(std::string_view bytes);
    // The server closed the connection.
    Progress FinishAtEof();
    // -1 until Done; then the token result of the decoded body.
    int Result() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Feeds a whole server stream to a reader, then the closing of the connection.
int UpdateResultOfStream(std::string_view stream,
                         std::size_t maxBody = UpdateCheckLimits{}.maxBody);

} // namespace kavrolt
