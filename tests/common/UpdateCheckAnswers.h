// Server answers and the result each must give, shared by the tests of the
// answer reader and the loopback tests.
#pragma once

#include <string>
#include <vector>

namespace kavrolt::test {

struct AnswerCase {
    const char* what;
    std::string stream; // everything the server sends before closing
    int expected;
};

inline std::string Ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The UTF-16 code units of ASCII text, in the given byte order.
inline std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string out;
    for (char c : ascii) {
        if (bigEndian)
            out.push_back('\0');
        out.push_back(c);
        if (!bigEndian)
            out.push_back('\0');
    }
    return out;
}

inline std::vector<AnswerCase> AnswerCases() {
    const std::string le = Utf16("  TORVEK|1\r\n", false);
    const std::string be = Utf16("TORVEK|1", true);
    // The meta element in single bytes, padded so that the UTF-16 text after it
    // stays aligned.
    std::string meta = "<meta charset=\"utf-16le\">";
    if (meta.size() % 2)
        meta += ' ';
    return {
        {"token alone", Ok("TORVEK|1"), 1},
        {"blanks and line breaks around", Ok(" \t\r\n  TORVEK|1 \r\n\r\n"), 1},
        {"no update", Ok("TORVEK|0"), 0},
        {"third answer", Ok("TORVEK|2"), 2},
        {"0 before 1", Ok("TORVEK|0 TORVEK|1"), 0},
        {"1 before 0", Ok("TORVEK|1\nTORVEK|0"), 0},
        {"1 wins over 2", Ok("TORVEK|2 TORVEK|1"), 1},
        {"1 followed by digits", Ok("TORVEK|1234"), 1},
        {"lower case", Ok("torvek|1"), -1},
        {"mixed case", Ok("Torvek|1"), -1},
        {"token in a page", Ok("<html><body><p>TORVEK|1</p></body></html>"), 1},
        {"empty 200", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", -1},
        {"no token", Ok("nothing new"), -1},
        {"204", "HTTP/1.1 204 No Content\r\n\r\n", -1},
        {"other 2xx", "HTTP/1.1 203 Non-Authoritative\r\nContent-Length: 8\r\n\r\nTORVEK|1", 1},
        {"404 with the token", "HTTP/1.1 404 Not Found\r\nContent-Length: 8\r\n\r\nTORVEK|1", -1},
        {"500 with the token", "HTTP/1.1 500 Oops\r\nContent-Length: 8\r\n\r\nTORVEK|1", -1},
        {"301 with Location",
         "HTTP/1.1 301 Moved Permanently\r\nLocation: http://127.0.0.1:1/x\r\n"
         "Content-Length: 8\r\n\r\nTORVEK|1",
         -1},
        {"302 with Location",
         "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 8\r\n\r\nTORVEK|1", -1},
        {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", -1},
        {"100 Continue then 200", "HTTP/1.1 100 Continue\r\n\r\n" + Ok("TORVEK|1"), 1},
        {"two 100 Continue then 200",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n" + Ok("TORVEK|0"), 0},
        {"100 Continue alone", "HTTP/1.1 100 Continue\r\n\r\n", -1},
        {"101 is no interim answer to skip",
         "HTTP/1.1 101 Switching Protocols\r\n\r\n" + Ok("TORVEK|1"), -1},
        {"chunked, token split over chunks",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
         "4\r\nTORV\r\n3;ext=1\r\nEK|\r\n1\r\n1\r\n0\r\n\r\n",
         1},
        {"chunked with trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\nTORVEK|2\r\n0\r\nX: y\r\n\r\n",
         2},
        {"chunked cut short",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\nTORVEK|1\r\n", -1},
        {"chunk size not hex",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nTORVEK|1\r\n0\r\n\r\n", -1},
        {"close-delimited", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nTORVEK|1\r\n", 1},
        {"close-delimited HTTP/1.0", "HTTP/1.0 200 OK\r\n\r\nTORVEK|0", 0},
        {"Content-Length cut short", "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nTORVEK|1", -1},
        {"bytes beyond Content-Length ignored",
         "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnopeTORVEK|1", -1},
        {"header cut short", "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n", -1},
        {"not HTTP", "TORVEK|1", -1},
        {"no status line at all", "", -1},
        {"UTF-16LE by charset",
         "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-16le\r\n\r\n" + le, 1},
        {"UTF-16BE by charset",
         "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=\"UTF-16BE\"\r\n\r\n" + be, 1},
        {"UTF-16 with byte order mark",
         "HTTP/1.1 200 OK\r\nContent-Type: text/html;charset=utf-16\r\n\r\n\xFE\xFF" + be, 1},
        {"UTF-16 without declaration is read byte by byte",
         "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + le, -1},
        {"UTF-16 under an unknown charset is read byte by byte",
         "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=x-unheard-of\r\n\r\n" + le, -1},
        {"UTF-16 declared by an HTML meta element",
         "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n" + meta + le, 1},
        {"meta ignored for a body that is not HTML",
         "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + meta + le, -1},
        {"gzip is not undone",
         "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: 8\r\n\r\nTORVEK|1", 1},
    };
}

} // namespace kavrolt::test
