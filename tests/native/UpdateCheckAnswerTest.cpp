#include "services/UpdateCheck.h"
#include "common/UpdateCheckAnswers.h"

#include <gtest/gtest.h>

namespace kavrolt::test {
namespace {

using Progress = UpdateAnswerReader::Progress;

TEST(UpdateCheckRequest, IsByteForByteTheProductRequest) {
    EXPECT_EQ(BuildUpdateRequest(kMakerHost, kMakerPort),
              "GET /downloads/update/?product=kavrolt&version=2.11.23.2020 HTTP/1.1\r\n"
              "Host: www.torvek.com\r\n"
              "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
              "User-Agent: Mozilla/4.0 (compatible; TORVEK)\r\n"
              "\r\n");
    EXPECT_NE(BuildUpdateRequest("127.0.0.1", 8080).find("\r\nHost: 127.0.0.1:8080\r\nAccept: "),
              std::string::npos);
}

// Where the network splits the stream must not matter.
TEST(UpdateAnswerReader, GivesTheSameResultWholeAndByteByByte) {
    for (const AnswerCase& c : AnswerCases()) {
        EXPECT_EQ(UpdateResultOfStream(c.stream), c.expected) << c.what;
        UpdateAnswerReader reader;
        for (char byte : c.stream)
            reader.Feed(std::string_view(&byte, 1));
        reader.FinishAtEof();
        EXPECT_EQ(reader.Result(), c.expected) << c.what << " (byte by byte)";
    }
}

TEST(UpdateAnswerReader, AFramedAnswerIsCompleteWithoutTheConnectionClosing) {
    UpdateAnswerReader byLength;
    EXPECT_EQ(byLength.Feed(Ok("TORVEK|1")), Progress::Done);
    EXPECT_EQ(byLength.Result(), 1);
    UpdateAnswerReader chunked;
    EXPECT_EQ(chunked.Feed("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                           "8\r\nTORVEK|0\r\n0\r\n\r\n"),
              Progress::Done);
    EXPECT_EQ(chunked.Result(), 0);
    // What follows a complete answer changes nothing.
    EXPECT_EQ(chunked.Feed(Ok("TORVEK|1")), Progress::Done);
    EXPECT_EQ(chunked.FinishAtEof(), Progress::Done);
    EXPECT_EQ(chunked.Result(), 0);

    UpdateAnswerReader toClose;
    EXPECT_EQ(toClose.Feed("HTTP/1.1 200 OK\r\n\r\nTORVEK|1"), Progress::NeedMore);
    EXPECT_EQ(toClose.Result(), -1);
    EXPECT_EQ(toClose.FinishAtEof(), Progress::Done);
    EXPECT_EQ(toClose.Result(), 1);
}

TEST(UpdateAnswerReader, FailsAsSoonAsTheStatusIsNotTwoHundredSomething) {
    for (const char* status : {"301 Moved", "304 Not Modified", "404 Not Found", "101 Switching"}) {
        UpdateAnswerReader reader;
        EXPECT_EQ(reader.Feed(std::string("HTTP/1.1 ") + status +
                              "\r\nContent-Length: 100\r\n\r\nTORVEK|1"),
                  Progress::Failed)
            << status;
    }
}

TEST(UpdateAnswerReader, ABodyAtTheLimitIsReadAndOneByteMoreFails) {
    constexpr std::size_t limit = 16;
    const std::string atLimit = "        TORVEK|1";
    ASSERT_EQ(atLimit.size(), limit);
    const std::string beyond = atLimit + " ";
    const auto chunked = [](const std::string& body) {
        return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\n" + body.substr(0, 8) +
               "\r\n" + std::to_string(body.size() - 8) + "\r\n" + body.substr(8) + "\r\n0\r\n\r\n";
    };
    const auto toClose = [](const std::string& body) { return "HTTP/1.1 200 OK\r\n\r\n" + body; };
    EXPECT_EQ(UpdateResultOfStream(Ok(atLimit), limit), 1);
    EXPECT_EQ(UpdateResultOfStream(Ok(beyond), limit), -1);
    EXPECT_EQ(UpdateResultOfStream(chunked(atLimit), limit), 1);
    EXPECT_EQ(UpdateResultOfStream(chunked(beyond), limit), -1);
    EXPECT_EQ(UpdateResultOfStream(toClose(atLimit), limit), 1);
    EXPECT_EQ(UpdateResultOfStream(toClose(beyond), limit), -1);

    // A declared length beyond the limit fails at the end of the header, whether
    // the body comes with it or not, and no room is made for it.
    for (const char* length : {"17", "1000000000000", "18446744073709551615"}) {
        const std::string header =
            std::string("HTTP/1.1 200 OK\r\nContent-Length: ") + length + "\r\n\r\n";
        UpdateAnswerReader alone(limit);
        EXPECT_EQ(alone.Feed(header), Progress::Failed) << length;
        UpdateAnswerReader withBody(limit);
        EXPECT_EQ(withBody.Feed(header + beyond), Progress::Failed) << length;
    }
}

// Parts that are held until their end arrives (the header, a chunk-size line,
// the trailer) are bounded too: an endless one fails early.
TEST(UpdateAnswerReader, AnEndlessHeaderOrChunkLineFailsEarly) {
    const std::string starts[] = {
        "HTTP/1.1 200 OK\r\nX-Filler: ",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8;ext=",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\nX-Trailer: ",
    };
    const std::string piece(4096, 'a');
    for (const std::string& start : starts) {
        UpdateAnswerReader reader;
        Progress progress = reader.Feed(start);
        std::size_t fed = 0;
        while (progress == Progress::NeedMore && fed < 16 * 1024 * 1024) {
            progress = reader.Feed(piece);
            fed += piece.size();
        }
        EXPECT_EQ(progress, Progress::Failed) << start;
        EXPECT_LE(fed, 128u * 1024) << start;
    }
}

} // namespace
} // namespace kavrolt::test
