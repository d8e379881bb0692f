// The update check against a real web server: nginx from the system's
// packages, started by each test on a loopback port with a configuration of
// the test's own in a temporary folder.
#include "services/UpdateCheck.h"

#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace kavrolt::test {
namespace {

namespace fs = std::filesystem;
using tcp = boost::asio::ip::tcp;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::uint16_t FreeLoopbackPort() {
    boost::asio::io_context io;
    tcp::acceptor probe(io, {boost::asio::ip::make_address_v4("127.0.0.1"), 0});
    return probe.local_endpoint().port();
}

bool Accepts(std::uint16_t port) {
    boost::asio::io_context io;
    tcp::socket socket(io);
    boost::system::error_code ec;
    socket.connect({boost::asio::ip::make_address_v4("127.0.0.1"), port}, ec);
    return !ec;
}

// One nginx process in the foreground, ended and cleaned up with the object.
class Nginx {
public:
    // locations: the location blocks of the one server; files: name and
    // content of the files in its document root. "@PORT@" in the locations
    // stands for the port.
    Nginx(std::string locations, const std::map<std::string, std::string>& files)
        : port_(FreeLoopbackPort()) {
        char pattern[] = "/tmp/kavrolt-nginx.XXXXXX";
        if (mkdtemp(pattern) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        fs::create_directories(dir_ / "www");
        for (const auto& [name, content] : files)
            WriteAll(dir_ / "www" / name, content);
        for (std::size_t at; (at = locations.find("@PORT@")) != std::string::npos;)
            locations.replace(at, 6, std::to_string(port_));
        const std::string d = dir_.string();
        WriteAll(dir_ / "nginx.conf",
                 "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                 "pid " +
                     d + "/nginx.pid;\nerror_log " + d +
                     "/error.log;\n"
                     "events { worker_connections 64; }\n"
                     "http {\n"
                     "  log_format raw '$request|$http_host|$http_accept|$http_user_agent|"
                     "$http_connection|$http_accept_encoding';\n"
                     "  access_log " +
                     d +
                     "/access.log raw;\n"
                     "  client_body_temp_path " +
                     d + "/body;\n  proxy_temp_path " + d +
                     "/proxy;\n"
                     "  fastcgi_temp_path " +
                     d + "/fastcgi;\n  uwsgi_temp_path " + d +
                     "/uwsgi;\n"
                     "  scgi_temp_path " +
                     d +
                     "/scgi;\n"
                     "  default_type text/plain;\n"
                     "  server {\n    listen 127.0.0.1:" +
                     std::to_string(port_) +
                     ";\n"
                     "    root " +
                     d + "/www;\n" + locations + "\n  }\n}\n");

        const std::string prefix = d + "/", conf = d + "/nginx.conf", log = d + "/error.log";
        std::vector<std::string> args = {"nginx", "-p", prefix, "-c", conf, "-e", log};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        // nginx lives in sbin, which a test runner's PATH may lack.
        const std::string path =
            std::string(getenv("PATH") ? getenv("PATH") : "") + ":/usr/sbin:/usr/local/sbin:/sbin";
        setenv("PATH", path.c_str(), 1);
        if (posix_spawnp(&pid_, "nginx", nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
    }

    ~Nginx() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    Nginx(const Nginx&) = delete;
    Nginx& operator=(const Nginx&) = delete;

    // Waits until nginx accepts connections; on failure says why.
    ::testing::AssertionResult Ready() {
        if (pid_ <= 0)
            return ::testing::AssertionFailure() << "nginx could not be started (not installed?)";
        for (int i = 0; i < 100; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return ::testing::AssertionFailure()
                       << "nginx ended at start: " << ReadAll(dir_ / "error.log");
            }
            if (Accepts(port_))
                return ::testing::AssertionSuccess();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return ::testing::AssertionFailure() << "nginx does not listen on port " << port_;
    }

    std::uint16_t Port() const { return port_; }

    // The requests nginx logged, one line each.
    std::vector<std::string> Requests() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadAll(dir_ / "access.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // The logged requests once there are at least count of them. nginx logs a
    // request after sending the answer, which the client may have read first;
    // a little grace time afterwards lets any further request show up too.
    std::vector<std::string> RequestsOnceThereAre(std::size_t count) const {
        for (int i = 0; i < 100 && Requests().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return Requests();
    }

    // The raw answer to the update request, read to the end of the connection.
    std::string RawAnswer() const {
        boost::asio::io_context io;
        tcp::socket socket(io);
        socket.connect({boost::asio::ip::make_address_v4("127.0.0.1"), port_});
        std::string request = BuildUpdateRequest("127.0.0.1", port_);
        request.insert(request.size() - 2, "Connection: close\r\n");
        boost::asio::write(socket, boost::asio::buffer(request));
        std::string answer;
        boost::system::error_code ec;
        boost::asio::read(socket, boost::asio::dynamic_buffer(answer), ec);
        return answer;
    }

private:
    std::uint16_t port_;
    fs::path dir_;
    pid_t pid_ = -1;
};

TEST(UpdateCheckNginx, ServesTheTokenFileAndSeesExactlyTheRequest) {
    Nginx nginx("location = /downloads/update/ { try_files /token.txt =500; }",
                {{"token.txt", "TORVEK|1\n"}});
    ASSERT_TRUE(nginx.Ready());
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", nginx.Port()), 1);
    const std::string port = std::to_string(nginx.Port());
    EXPECT_EQ(nginx.RequestsOnceThereAre(1),
              std::vector<std::string>{
                  "GET /downloads/update/?product=kavrolt&version=2.11.23.2020 HTTP/1.1|"
                  "127.0.0.1:" +
                  port +
                  "|text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8|"
                  "Mozilla/4.0 (compatible; TORVEK)|-|-"});
}

TEST(UpdateCheckNginx, DoesNotFollowARedirection) {
    Nginx nginx("location = /downloads/update/ { return 301 http://127.0.0.1:@PORT@/moved/; }\n"
                "location = /moved/ { return 200 'TORVEK|1'; }",
                {});
    ASSERT_TRUE(nginx.Ready());
    ASSERT_NE(nginx.RawAnswer().find("HTTP/1.1 301 "), std::string::npos);
    const std::size_t before = nginx.RequestsOnceThereAre(1).size();
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", nginx.Port()), -1);
    const std::vector<std::string> requests = nginx.RequestsOnceThereAre(before + 1);
    ASSERT_EQ(requests.size(), before + 1);
    EXPECT_EQ(requests.back().rfind("GET /downloads/update/?", 0), 0u) << requests.back();
}

TEST(UpdateCheckNginx, RejectsANotFoundAnswerThatCarriesTheToken) {
    Nginx nginx("location = /downloads/update/ { return 404 'TORVEK|1'; }", {});
    ASSERT_TRUE(nginx.Ready());
    ASSERT_NE(nginx.RawAnswer().find("HTTP/1.1 404 "), std::string::npos);
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", nginx.Port()), -1);
}

TEST(UpdateCheckNginx, ReadsAChunkedBody) {
    // Server-side includes leave the length open, so nginx sends chunks.
    Nginx nginx("location = /downloads/update/ {\n"
                "  ssi on; ssi_types text/plain; try_files /chunked.txt =500;\n}",
                {{"chunked.txt", "<!--# echo var=\"arg_product\" --> says TORVEK|0\n"}});
    ASSERT_TRUE(nginx.Ready());
    const std::string raw = nginx.RawAnswer();
    ASSERT_NE(raw.find("\r\nTransfer-Encoding: chunked\r\n"), std::string::npos) << raw;
    ASSERT_NE(raw.find("kavrolt says TORVEK|0"), std::string::npos) << raw;
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", nginx.Port()), 0);
}

TEST(UpdateCheckNginx, DecodesAUtf16BodyByItsDeclaredCharset) {
    const std::string text = "TORVEK|2\r\n";
    std::string utf16;
    for (char c : text) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    Nginx nginx("location = /downloads/update/ {\n"
                "  default_type 'text/plain; charset=utf-16le'; try_files /utf16.txt =500;\n}",
                {{"utf16.txt", utf16}});
    ASSERT_TRUE(nginx.Ready());
    EXPECT_EQ(CheckForUpdateAt("127.0.0.1", nginx.Port()), 2);
}

} // namespace
} // namespace kavrolt::test
