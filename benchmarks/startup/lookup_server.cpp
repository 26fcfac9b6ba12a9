// The profile service as the start-up benchmark needs it, on 127.0.0.1:
//   lookup_server answer <port>   every lookup gets a reply naming version 1.0,
//                                 so the program has nothing to announce
//   lookup_server silent <port>   connections are accepted and never answered
// Prints "listening" once the port is bound; runs until it is killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kReply =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
    R"(portraitCallBack({"0":["img/0.jpg",0,0,"1.0",0]}))";

void answer(int client) {
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return;
        }
        head.append(buffer, static_cast<std::size_t>(got));
    }
    send(client, kReply.data(), kReply.size(), MSG_NOSIGNAL);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode != "answer" && mode != "silent") {
        std::fprintf(stderr, "usage: lookup_server answer|silent <port>\n");
        return 2;
    }
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<in_port_t>(std::atoi(argv[2])));
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0) {
        std::perror("lookup_server");
        return 1;
    }
    std::puts("listening");
    std::fflush(stdout);

    std::vector<int> held;
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0) {
            continue;
        }
        if (mode == "silent") {
            held.push_back(client);
        } else {
            answer(client);
            close(client);
        }
    }
}
