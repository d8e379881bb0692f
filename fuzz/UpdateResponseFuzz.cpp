// Arbitrary server bytes through the update check's answer handling: framing,
// interim answers, status, body limit, character set and token search. It
// must not crash, must keep within the memory bound (scripts/fuzz sets the
// allocation limit), must give one of the four results, and must give the
// same result however the network splits the bytes.
#include "services/UpdateCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

int ReadInPieces(std::string_view stream, std::size_t step, std::size_t maxBody) {
    kavrolt::UpdateAnswerReader reader(maxBody);
    auto progress = kavrolt::UpdateAnswerReader::Progress::NeedMore;
    for (std::size_t at = 0;
         at < stream.size() && progress == kavrolt::UpdateAnswerReader::Progress::NeedMore;
         at += step)
        progress = reader.Feed(stream.substr(at, step));
    reader.FinishAtEof();
    return reader.Result();
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Longer inputs only repeat what the parser's own windows already bound.
    if (size > 32 * 1024)
        return 0;
    const std::string_view stream(reinterpret_cast<const char*>(data), size);
    const std::size_t step = size == 0 ? 1 : data[size - 1] % 97 + 1;
    // Once with the product's body limit, once with a small one that the
    // inputs can reach.
    for (const std::size_t maxBody : {std::size_t{1024 * 1024}, std::size_t{64}}) {
        const int whole = kavrolt::UpdateResultOfStream(stream, maxBody);
        Check(whole >= -1 && whole <= 2);
        Check(ReadInPieces(stream, step, maxBody) == whole);
        Check(ReadInPieces(stream, 1, maxBody) == whole);
    }
    return 0;
}
