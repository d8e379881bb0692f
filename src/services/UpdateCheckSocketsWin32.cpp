// The update check's connection through Winsock, whose ws2_32.dll is loaded
// when the first check starts (only the check mode asks): a normal start of
// the program does not pay for it. Every wait is bounded by select with the
// time left, on a non-blocking socket.
#include "services/Shell.h"

#include "base/Failure.h"
#include "services/NameLookup.h"
#include "services/UpdateCheck.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include "base/Handles.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace kavrolt {
namespace {

using Clock = std::chrono::steady_clock;

// The ws2_32 functions the check calls, looked up once. getaddrinfo exists
// from Windows XP on; where it is missing the lookup uses gethostbyname.
struct Winsock {
    using Startup = int(WSAAPI*)(WORD, LPWSADATA);
    using Socket = SOCKET(WSAAPI*)(int, int, int);
    using IoctlSocket = int(WSAAPI*)(SOCKET, long, u_long*);
    using Connect = int(WSAAPI*)(SOCKET, const sockaddr*, int);
    using Select = int(WSAAPI*)(int, fd_set*, fd_set*, fd_set*, const timeval*);
    using Send = int(WSAAPI*)(SOCKET, const char*, int, int);
    using Recv = int(WSAAPI*)(SOCKET, char*, int, int);
    using CloseSocket = int(WSAAPI*)(SOCKET);
    using GetSockOpt = int(WSAAPI*)(SOCKET, int, int, char*, int*);
    using LastError = int(WSAAPI*)();
    using GetHostByName = hostent*(WSAAPI*)(const char*);
    using GetAddrInfo = int(WSAAPI*)(const char*, const char*, const addrinfo*, addrinfo**);
    using FreeAddrInfo = void(WSAAPI*)(addrinfo*);

    Startup startup = nullptr;
    Socket socket = nullptr;
    IoctlSocket ioctlSocket = nullptr;
    Connect connect = nullptr;
    Select select = nullptr;
    Send send = nullptr;
    Recv recv = nullptr;
    CloseSocket closeSocket = nullptr;
    GetSockOpt getSockOpt = nullptr;
    LastError lastError = nullptr;
    GetHostByName getHostByName = nullptr;
    GetAddrInfo getAddrInfo = nullptr; // may stay null
    FreeAddrInfo freeAddrInfo = nullptr;
    bool ready = false;
};

template <class Function> void Bind(Function& function, const char* name) {
    function = reinterpret_cast<Function>(SystemFunction(u"ws2_32.dll", name));
}

// Loads ws2_32 and starts Winsock 2.2 once; it stays up until the process ends.
const Winsock& Sockets() {
    static const Winsock sockets = [] {
        Winsock w;
        Bind(w.startup, "WSAStartup");
        Bind(w.socket, "socket");
        Bind(w.ioctlSocket, "ioctlsocket");
        Bind(w.connect, "connect");
        Bind(w.select, "select");
        Bind(w.send, "send");
        Bind(w.recv, "recv");
        Bind(w.closeSocket, "closesocket");
        Bind(w.getSockOpt, "getsockopt");
        Bind(w.lastError, "WSAGetLastError");
        Bind(w.getHostByName, "gethostbyname");
        Bind(w.getAddrInfo, "getaddrinfo");
        Bind(w.freeAddrInfo, "freeaddrinfo");
        if (!w.freeAddrInfo)
            w.getAddrInfo = nullptr;
        WSADATA data{};
        w.ready = w.startup && w.socket && w.ioctlSocket && w.connect && w.select && w.send &&
                  w.recv && w.closeSocket && w.getSockOpt && w.lastError && w.getHostByName &&
                  w.startup(MAKEWORD(2, 2), &data) == 0;
        return w;
    }();
    return sockets;
}

// One piece of work for a thread of its own, and the event it sets when done.
// The thread owns the job; the caller shares only the event.
struct DetachedJob {
    std::function<void()> work;
    std::shared_ptr<UniqueHandle> finished;
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
    auto finished = std::make_shared<UniqueHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!*finished)
        return false;
    auto job = std::make_unique<DetachedJob>(DetachedJob{std::move(work), finished});
    const UniqueHandle thread(CreateThread(nullptr, 0, RunDetachedJob, job.get(), 0, nullptr));
    if (!thread)
        return false;
    job.release(); // the thread deletes it
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const DWORD wait = left <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(left, INFINITE - 1));
    return WaitForSingleObject(finished->get(), wait) == WAIT_OBJECT_0;
}

// The address of a dotted IPv4 text of exactly four decimal parts of 0 to 255,
// in network byte order; nothing for anything else, which is then a host name.
std::optional<std::uint32_t> NumericIpv4(std::string_view text) {
    std::array<std::uint32_t, 4> parts{};
    std::size_t part = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.') {
            if (digits == 0 || ++part > 3)
                return std::nullopt;
            digits = 0;
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + static_cast<std::uint32_t>(c - '0');
            if (++digits > 3 || parts[part] > 255)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (part != 3 || digits == 0)
        return std::nullopt;
    // Network byte order is the order of the parts in memory.
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
        static_cast<std::uint8_t>(parts[2]), static_cast<std::uint8_t>(parts[3])};
    std::uint32_t address = 0;
    std::memcpy(&address, bytes, sizeof address);
    return address;
}

// The IPv4 addresses of host (network byte order), or none when the lookup
// fails or outlasts the deadline. The lookup cannot be interrupted, so it runs
// on a thread of its own that the caller stops waiting for at the deadline;
// the thread owns its share of the state and ends on its own when the lookup
// returns.
std::vector<std::uint32_t> ResolveIpv4(const Winsock& ws, std::string_view host,
                                       Clock::time_point deadline) {
    if (const auto numeric = NumericIpv4(host))
        return {*numeric};
    // An empty name would give the addresses of this computer.
    if (host.empty() || host.find('\0') != std::string_view::npos)
        return {};
    const std::string name(host);
    const Winsock* sockets = &ws; // static, outlives the thread
    return LookUpByDeadline<std::uint32_t>(
        RunWithDeadline, deadline, [name, sockets](std::vector<std::uint32_t>& found) {
            if (sockets->getAddrInfo) {
                addrinfo hints{};
                hints.ai_family = AF_INET;
                hints.ai_socktype = SOCK_STREAM;
                addrinfo* list = nullptr;
                if (sockets->getAddrInfo(name.c_str(), nullptr, &hints, &list) == 0) {
                    for (const addrinfo* entry = list; entry; entry = entry->ai_next)
                        if (entry->ai_family == AF_INET &&
                            static_cast<std::size_t>(entry->ai_addrlen) >= sizeof(sockaddr_in))
                            found.push_back(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)
                                                ->sin_addr.s_addr);
                    sockets->freeAddrInfo(list);
                }
            } else if (const hostent* entry = sockets->getHostByName(name.c_str());
                       entry && entry->h_addrtype == AF_INET && entry->h_length == 4) {
                for (char** address = entry->h_addr_list; *address; ++address) {
                    std::uint32_t value = 0;
                    std::memcpy(&value, *address, sizeof value);
                    found.push_back(value);
                }
            }
        });
}

// A socket that is closed when it goes out of scope.
class Connection {
public:
    explicit Connection(const Winsock& ws) : ws_(ws) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { Close(); }
    SOCKET Get() const { return socket_; }
    bool Open() {
        Close();
        socket_ = ws_.socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        return socket_ != INVALID_SOCKET && ws_.ioctlSocket(socket_, FIONBIO, &nonBlocking) == 0;
    }
    void Close() {
        if (socket_ != INVALID_SOCKET)
            ws_.closeSocket(socket_);
        socket_ = INVALID_SOCKET;
    }

private:
    const Winsock& ws_;
    SOCKET socket_ = INVALID_SOCKET;
};

enum class Wait { Read, Write };

// Waits until the socket is ready or the deadline has passed: true when ready.
// A failed connect counts as ready (the caller reads SO_ERROR).
bool WaitFor(const Winsock& ws, SOCKET socket, Wait what, Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    timeval timeout{};
    timeout.tv_sec = static_cast<long>(left / 1'000'000);
    timeout.tv_usec = static_cast<long>(left % 1'000'000);
    // fd_set filled by hand: FD_SET and FD_ISSET would import __WSAFDIsSet.
    fd_set ready{};
    ready.fd_count = 1;
    ready.fd_array[0] = socket;
    fd_set failed{};
    failed.fd_count = 1;
    failed.fd_array[0] = socket;
    const int count = ws.select(0, what == Wait::Read ? &ready : nullptr,
                                what == Wait::Write ? &ready : nullptr, &failed, &timeout);
    return count > 0;
}

bool ConnectTo(const Winsock& ws, Connection& connection, std::uint32_t address, std::uint16_t port,
               Clock::time_point deadline) {
    if (!connection.Open())
        return false;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = static_cast<u_short>((port >> 8) | ((port & 0xFF) << 8)); // network order
    target.sin_addr.s_addr = address;
    if (ws.connect(connection.Get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) ==
        0)
        return true;
    if (ws.lastError() != WSAEWOULDBLOCK)
        return false;
    if (!WaitFor(ws, connection.Get(), Wait::Write, deadline))
        return false;
    int error = 0;
    int size = sizeof error;
    return ws.getSockOpt(connection.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                         &size) == 0 &&
           error == 0;
}

bool SendAll(const Winsock& ws, SOCKET socket, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 64 * 1024));
        const int sent = ws.send(socket, bytes.data(), chunk, 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && ws.lastError() == WSAEWOULDBLOCK &&
            WaitFor(ws, socket, Wait::Write, deadline))
            continue;
        return false;
    }
    return true;
}

} // namespace

int CheckForUpdateAt(std::string_view host, std::uint16_t port, const UpdateCheckLimits& limits) {
    return Guarded(-1, [&]() -> int {
        const Clock::time_point deadline = Clock::now() + limits.total;
        const Winsock& ws = Sockets();
        if (!ws.ready)
            return -1;
        const std::vector<std::uint32_t> addresses = ResolveIpv4(ws, host, deadline);
        if (addresses.empty())
            return -1;

        // Each address in turn until one takes the connection, all within the
        // connect bound.
        Connection connection(ws);
        const Clock::time_point connectDeadline = std::min(deadline, Clock::now() + limits.connect);
        bool connected = false;
        for (const std::uint32_t address : addresses)
            if ((connected = ConnectTo(ws, connection, address, port, connectDeadline)))
                break;
        if (!connected)
            return -1;

        if (!SendAll(ws, connection.Get(), BuildUpdateRequest(host, port), deadline))
            return -1;

        UpdateAnswerReader reader(limits.maxBody);
        std::array<char, 16 * 1024> buffer;
        for (;;) {
            const int received =
                ws.recv(connection.Get(), buffer.data(), static_cast<int>(buffer.size()), 0);
            if (received == 0) {
                reader.FinishAtEof();
                break;
            }
            if (received < 0) {
                if (ws.lastError() == WSAEWOULDBLOCK &&
                    WaitFor(ws, connection.Get(), Wait::Read, deadline))
                    continue;
                return -1;
            }
            if (reader.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(received))) !=
                UpdateAnswerReader::Progress::NeedMore)
                break;
        }
        return reader.Result();
    });
}

} // namespace kavrolt
