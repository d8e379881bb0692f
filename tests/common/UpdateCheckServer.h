// A scripted HTTP server on a loopback port for the update check tests. It
// records every byte a client sends, counts connections, and answers each
// request with fixed bytes, then behaves as the script says. It runs on its
// own thread with Asio, natively and under Wine alike.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavrolt::test {

class ScriptedServer {
public:
    enum class Then {
        Close,    // answer, then close the connection
        StayOpen, // answer (possibly nothing), then keep the connection open
        Endless,  // answer, then send the filler forever
        Trickle,  // send the answer and then the filler one byte every 20 ms
    };

    struct Script {
        Script(std::string answerBytes, Then thenWhat = Then::Close, std::string fillerBytes = {})
            : answer(std::move(answerBytes)), then(thenWhat), filler(std::move(fillerBytes)) {}
        std::string answer;
        Then then;
        std::string filler;
    };

    // Port 0 takes any free port.
    explicit ScriptedServer(Script script, std::uint16_t port = 0)
        : script_(std::move(script)),
          acceptor_(io_, {boost::asio::ip::make_address_v4("127.0.0.1"), port}) {
        Accept();
        thread_ = std::thread([this] { io_.run(); });
    }

    ~ScriptedServer() {
        io_.stop();
        thread_.join();
    }

    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return acceptor_.local_endpoint().port(); }

    int Connections() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return connections_;
    }
    // Everything received on all connections, in order of arrival.
    std::string Received() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }
    std::uint64_t BytesSent() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return sent_;
    }
    // Whether a write failed because the client had gone.
    bool ClientWentAway() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return clientGone_;
    }

private:
    using tcp = boost::asio::ip::tcp;
    using error_code = boost::system::error_code;

    struct Connection {
        explicit Connection(boost::asio::io_context& io) : socket(io), timer(io) {}
        tcp::socket socket;
        boost::asio::steady_timer timer;
        std::vector<char> buffer = std::vector<char>(4096);
        std::string request;
        bool answered = false;
        std::size_t trickled = 0;
    };

    void Accept() {
        auto connection = std::make_shared<Connection>(io_);
        acceptor_.async_accept(connection->socket, [this, connection](const error_code& ec) {
            if (ec)
                return;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                ++connections_;
            }
            Read(connection);
            Accept();
        });
    }

    void Read(const std::shared_ptr<Connection>& c) {
        c->socket.async_read_some(
            boost::asio::buffer(c->buffer), [this, c](const error_code& ec, std::size_t n) {
                if (ec)
                    return;
                const std::string bytes(c->buffer.data(), n);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    received_ += bytes;
                }
                c->request += bytes;
                if (!c->answered && c->request.find("\r\n\r\n") != std::string::npos) {
                    c->answered = true;
                    Answer(c);
                }
                Read(c);
            });
    }

    void Answer(const std::shared_ptr<Connection>& c) {
        if (script_.then == Then::Trickle) {
            Trickle(c);
            return;
        }
        Send(c, script_.answer, [this, c] {
            if (script_.then == Then::Close) {
                error_code ignored;
                c->socket.shutdown(tcp::socket::shutdown_send, ignored);
            } else if (script_.then == Then::Endless) {
                Flood(c);
            }
        });
    }

    template <class Next>
    void Send(const std::shared_ptr<Connection>& c, std::string bytes, Next next) {
        auto held = std::make_shared<std::string>(std::move(bytes));
        boost::asio::async_write(c->socket, boost::asio::buffer(*held),
                                 [this, c, held, next](const error_code& ec, std::size_t n) {
                                     {
                                         std::lock_guard<std::mutex> lock(mutex_);
                                         sent_ += n;
                                         if (ec)
                                             clientGone_ = true;
                                     }
                                     if (!ec)
                                         next();
                                 });
    }

    void Flood(const std::shared_ptr<Connection>& c) {
        Send(c, script_.filler, [this, c] { Flood(c); });
    }

    void Trickle(const std::shared_ptr<Connection>& c) {
        const std::string& whole =
            c->trickled < script_.answer.size() ? script_.answer : script_.filler;
        const std::size_t at = c->trickled < script_.answer.size()
                                   ? c->trickled
                                   : (c->trickled - script_.answer.size()) % whole.size();
        ++c->trickled;
        Send(c, whole.substr(at, 1), [this, c] {
            c->timer.expires_after(std::chrono::milliseconds(20));
            c->timer.async_wait([this, c](const error_code& ec) {
                if (!ec)
                    Trickle(c);
            });
        });
    }

    Script script_;
    boost::asio::io_context io_;
    tcp::acceptor acceptor_;
    std::thread thread_;
    mutable std::mutex mutex_;
    int connections_ = 0;
    std::string received_;
    std::uint64_t sent_ = 0;
    bool clientGone_ = false;
};

} // namespace kavrolt::test
