#include "platform/win32/http.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace inkmoss {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr char kTarget[] = "/fcg-bin/cgi_get_portrait.fcg?get_nick=1&uins=10001";
const std::string kOkHead = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

long long millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration_cast<Ms>(to - from).count();
}

Backend::HttpRequest lookupAt(int port, std::string target = kTarget) {
    return {"127.0.0.1", port, std::move(target)};
}

class Winsock {
public:
    Winsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
};

sockaddr_in loopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    return address;
}

// A listening socket on 127.0.0.1 at a port the system picks.
SOCKET listenOnLoopback(int backlog) {
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = loopbackAddress(0);
    bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listen(listener, backlog);
    return listener;
}

int portOf(SOCKET s) {
    sockaddr_in address{};
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

bool readable(SOCKET s, Ms timeout) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{0, static_cast<long>(timeout.count() * 1000)};
    return select(0, &set, nullptr, nullptr, &limit) == 1;
}

bool writable(SOCKET s, Ms timeout) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval limit{0, static_cast<long>(timeout.count() * 1000)};
    return select(0, nullptr, &set, nullptr, &limit) == 1;
}

// An HTTP server on 127.0.0.1 whose every connection runs the test's script:
// the request head is read and recorded, the script writes the reply, and the
// connection is closed. Destroying the server ends every script's pause.
class LoopbackServer {
public:
    class Exchange {
    public:
        Exchange(SOCKET socket, const std::atomic<bool>& stopping) : socket_(socket), stopping_(stopping) {}

        std::string head;

        bool send(std::string_view bytes) {
            return ::send(socket_, bytes.data(), static_cast<int>(bytes.size()), 0) == static_cast<int>(bytes.size());
        }

        // False as soon as the server is stopping or the client has hung up.
        bool pause(Ms length) {
            const auto end = Clock::now() + length;
            while (!stopping_ && Clock::now() < end) {
                char byte;
                if (readable(socket_, 10ms) && recv(socket_, &byte, 1, 0) <= 0) {
                    return false;
                }
            }
            return !stopping_;
        }

        bool readHead() {
            char buffer[1024];
            while (!stopping_ && head.find("\r\n\r\n") == std::string::npos) {
                if (!readable(socket_, 10ms)) {
                    continue;
                }
                const int got = recv(socket_, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    return false;
                }
                head.append(buffer, got);
            }
            return !stopping_;
        }

    private:
        SOCKET socket_;
        const std::atomic<bool>& stopping_;
    };
    using Script = std::function<void(Exchange&)>;

    explicit LoopbackServer(Script script)
        : script_(std::move(script)), listener_(listenOnLoopback(SOMAXCONN)), acceptor_([this] { acceptLoop(); }) {}

    ~LoopbackServer() {
        stopping_ = true;
        acceptor_.join();
        for (auto& connection : connections_) {
            connection.join();
        }
        closesocket(listener_);
    }

    int port() const { return portOf(listener_); }

    std::vector<std::string> heads() const {
        const std::lock_guard lock(mutex_);
        return heads_;
    }

private:
    void acceptLoop() {
        while (!stopping_) {
            if (!readable(listener_, 10ms)) {
                continue;
            }
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client != INVALID_SOCKET) {
                connections_.emplace_back([this, client] { serve(client); });
            }
        }
    }

    void serve(SOCKET client) {
        Exchange exchange(client, stopping_);
        if (exchange.readHead()) {
            {
                const std::lock_guard lock(mutex_);
                heads_.push_back(exchange.head);
            }
            script_(exchange);
        }
        closesocket(client);
    }

    Winsock winsock_;
    Script script_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
    SOCKET listener_;
    std::vector<std::thread> connections_;  // touched by the acceptor only, until it is joined
    std::thread acceptor_;
};

// A listener whose queue of completed handshakes is full and never drained:
// the kernel drops further connection attempts, so a client's connect neither
// completes nor fails.
class FullListener {
public:
    FullListener() : listener_(listenOnLoopback(0)) {
        const sockaddr_in address = loopbackAddress(port());
        for (int i = 0; i < 8 && !full_; ++i) {
            const SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            u_long nonBlocking = 1;
            ioctlsocket(filler, FIONBIO, &nonBlocking);
            connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address);
            fillers_.push_back(filler);
            full_ = !writable(filler, 300ms);
        }
    }
    ~FullListener() {
        for (SOCKET filler : fillers_) {
            closesocket(filler);
        }
        closesocket(listener_);
    }

    int port() const { return portOf(listener_); }
    bool full() const { return full_; }

private:
    Winsock winsock_;
    SOCKET listener_;
    std::vector<SOCKET> fillers_;
    bool full_ = false;
};

// A port on 127.0.0.1 that nothing listens on.
int refusedPort() {
    const Winsock winsock;
    const SOCKET s = listenOnLoopback(1);
    const int port = portOf(s);
    closesocket(s);
    return port;
}

std::vector<std::string> headLines(const std::string& head) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = head.find("\r\n", start)) != std::string::npos && end > start;
         start = end + 2) {
        lines.push_back(head.substr(start, end - start));
    }
    return lines;
}

bool hasField(const std::vector<std::string>& lines, std::string_view name) {
    return std::any_of(lines.begin() + 1, lines.end(), [&](const std::string& line) {
        return line.size() > name.size() && line[name.size()] == ':' &&
               std::equal(name.begin(), name.end(), line.begin(),
                          [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    });
}

TEST(WinInetGet, SendsThePlainLookupRequest) {
    LoopbackServer server([](auto& exchange) { exchange.send(kOkHead + "ok"); });
    ASSERT_EQ(winInetGet({lookupAt(server.port())}, 4500), std::vector<std::string>{"ok"});

    const auto heads = server.heads();
    ASSERT_EQ(heads.size(), 1u);
    std::printf("request as sent:\n%s", heads[0].c_str());
    const auto lines = headLines(heads[0]);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "GET /fcg-bin/cgi_get_portrait.fcg?get_nick=1&uins=10001 HTTP/1.0");
    const auto has = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line) == 1; };
    EXPECT_TRUE(has("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"));
    EXPECT_TRUE(has("Accept: */*"));
    EXPECT_TRUE(has("Host: 127.0.0.1:" + std::to_string(server.port())));
    for (const char* unasked : {"Pragma", "Cache-Control", "If-Modified-Since", "If-None-Match", "Authorization",
                                "Cookie", "Referer"}) {
        EXPECT_FALSE(hasField(lines, unasked)) << unasked;
    }
}

struct ReplyCase {
    const char* name;
    LoopbackServer::Script script;
    std::string body;
};

void PrintTo(const ReplyCase& reply, std::ostream* out) { *out << reply.name; }

// Bytes whose value tells their position, so a cut in the wrong place shows.
std::string numbered(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i % 251);
    }
    return bytes;
}

const std::string kZeroBody("cb(\0,\"2.1\",0)", 13);

const ReplyCase kReplies[] = {
    {"InPausedChunks",
     [](auto& exchange) {
         exchange.send("HTTP/1.0 200 OK\r\nContent-Ty");
         exchange.pause(200ms);
         exchange.send("pe: text/html\r\n\r\ncb({\"10001\":[\"img");
         exchange.pause(200ms);
         exchange.send("/10001.jpg\",0,0,\"2.1\"");
         exchange.pause(200ms);
         exchange.send(",0]})");
     },
     R"(cb({"10001":["img/10001.jpg",0,0,"2.1",0]}))"},
    {"WithZeroByte", [](auto& exchange) { exchange.send(kOkHead + kZeroBody); }, kZeroBody},
    {"NotFound", [](auto& exchange) { exchange.send("HTTP/1.0 404 Not Found\r\n\r\n<h1>no such page</h1>"); },
     "<h1>no such page</h1>"},
    {"ServerError",
     [](auto& exchange) { exchange.send("HTTP/1.0 500 Internal Server Error\r\n\r\nx,\"busy\",y"); },
     "x,\"busy\",y"},
    {"Redirected",
     [](auto& exchange) {
         if (exchange.head.starts_with("GET /moved ")) {
             exchange.send(kOkHead + "moved here");
         } else {
             exchange.send("HTTP/1.0 302 Found\r\nLocation: /moved\r\n\r\nsee /moved");
         }
     },
     "moved here"},
    {"OverTheLimit", [](auto& exchange) { exchange.send(kOkHead + numbered(100 * 1024)); },
     numbered(Backend::kMaxReply)},
};

class WinInetReply : public testing::TestWithParam<ReplyCase> {};

TEST_P(WinInetReply, BodyComesBackRaw) {
    LoopbackServer server(GetParam().script);
    const auto bodies = winInetGet({lookupAt(server.port())}, 4500);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(bodies[0], GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(Replies, WinInetReply, testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinInetGet, RefusedConnectionFailsAtOnce) {
    const auto start = Clock::now();
    const auto bodies = winInetGet({lookupAt(refusedPort()), lookupAt(refusedPort())}, 4500);
    const auto elapsed = millisecondsBetween(start, Clock::now());
    std::printf("two refused lookups: %lld ms\n", elapsed);
    EXPECT_EQ(bodies, std::vector<std::string>(2));
    EXPECT_LT(elapsed, 1000);
}

TEST(WinInetGet, RunsTheRequestsTogether) {
    LoopbackServer server([](auto& exchange) {
        if (exchange.pause(1s)) {
            exchange.send(kOkHead + (exchange.head.find("uins=1 ") != std::string::npos ? "one" : "two"));
        }
    });
    const auto start = Clock::now();
    const auto bodies = winInetGet({lookupAt(server.port(), "/q?uins=1"), lookupAt(server.port(), "/q?uins=2")}, 4500);
    const auto elapsed = millisecondsBetween(start, Clock::now());
    std::printf("two lookups of 1000 ms each: %lld ms\n", elapsed);
    EXPECT_EQ(bodies, (std::vector<std::string>{"one", "two"}));
    EXPECT_LT(elapsed, 1700);
}

TEST(WinInetGet, StalledLookupsEndAtTheDeadline) {
    constexpr int kDeadline = 1500;
    const auto trickle = [](LoopbackServer::Exchange& exchange, std::string_view bytes) {
        for (char byte : bytes) {
            if (!exchange.pause(1s) || !exchange.send({&byte, 1})) {
                return;
            }
        }
    };
    LoopbackServer silent([](auto& exchange) { exchange.pause(1h); });
    LoopbackServer trickledHead([&](auto& exchange) { trickle(exchange, kOkHead + "late"); });
    std::promise<Clock::time_point> hungUp;
    LoopbackServer trickledBody([&](auto& exchange) {
        exchange.send(kOkHead);
        trickle(exchange, std::string(60, 'x'));
        hungUp.set_value(Clock::now());
    });
    LoopbackServer late([](auto& exchange) {
        if (exchange.pause(Ms(kDeadline + 300))) {
            exchange.send(kOkHead + "late");
        }
    });
    FullListener unanswered;
    ASSERT_TRUE(unanswered.full());

    const auto start = Clock::now();
    const auto bodies = winInetGet({lookupAt(silent.port()), lookupAt(trickledHead.port()),
                                    lookupAt(trickledBody.port()), lookupAt(late.port()),
                                    lookupAt(unanswered.port())},
                                   kDeadline);
    const auto elapsed = millisecondsBetween(start, Clock::now());
    std::printf("stalled lookups with a deadline of %d ms returned after %lld ms\n", kDeadline, elapsed);
    EXPECT_EQ(bodies, std::vector<std::string>(5));
    EXPECT_GE(elapsed, kDeadline - 20);
    EXPECT_LE(elapsed, kDeadline + 250);

    // The worker stuck on the trickled body lets go of the connection soon
    // after the deadline instead of reading on.
    auto leaving = hungUp.get_future();
    ASSERT_EQ(leaving.wait_for(4s), std::future_status::ready);
    const auto left = millisecondsBetween(start, leaving.get());
    std::printf("the reader of the trickled body hung up after %lld ms\n", left);
    EXPECT_LE(left, kDeadline + 1500);
}

}  // namespace
}  // namespace inkmoss
