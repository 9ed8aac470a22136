#include "tests/support/raw_server.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zvtest {

std::vector<std::string> RawRequest::headerLines() const {
    std::vector<std::string> out;
    size_t pos = head.find("\r\n");
    while (pos != std::string::npos && pos + 2 < head.size()) {
        const size_t next = head.find("\r\n", pos + 2);
        std::string line = head.substr(pos + 2, next == std::string::npos ? std::string::npos : next - pos - 2);
        if (!line.empty()) out.push_back(line);
        pos = next;
    }
    return out;
}

std::string RawRequest::header(const std::string& name) const {
    for (const auto& line : headerLines()) {
        const auto colon = line.find(':');
        if (colon == name.size() && strncasecmp(line.c_str(), name.c_str(), name.size()) == 0) {
            size_t v = colon + 1;
            while (v < line.size() && line[v] == ' ') ++v;
            return line.substr(v);
        }
    }
    return "";
}

bool RawRequest::hasHeader(const std::string& name) const {
    for (const auto& line : headerLines())
        if (line.size() > name.size() && line[name.size()] == ':' &&
            strncasecmp(line.c_str(), name.c_str(), name.size()) == 0)
            return true;
    return false;
}

RawServer::RawServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listenFd_, 64);
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

RawServer::~RawServer() { Stop(); }

void RawServer::Stop() {
    if (stopping_.exchange(true)) return;
    ::shutdown(listenFd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    ::close(listenFd_);
    std::vector<std::thread> clients;
    {
        std::lock_guard<std::mutex> lock(mu_);
        clients.swap(clients_);
    }
    for (auto& t : clients) t.join();
}

std::string RawServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<RawRequest> RawServer::requests() {
    std::lock_guard<std::mutex> lock(mu_);
    return requests_;
}

void RawServer::Serve() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard<std::mutex> lock(mu_);
        clients_.emplace_back([this, fd] { HandleClient(fd); });
    }
}

void RawServer::HandleClient(int fd) {
    std::string data;
    char buf[4096];
    size_t headEnd = std::string::npos;
    auto readSome = [&]() {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        data.append(buf, static_cast<size_t>(n));
        return true;
    };
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos)
        if (!readSome()) {
            ::close(fd);
            return;
        }
    RawRequest req;
    req.head = data.substr(0, headEnd + 2);
    const std::string len = req.header("Content-Length");
    const size_t want = len.empty() ? 0 : std::stoul(len);
    while (data.size() - (headEnd + 4) < want)
        if (!readSome()) break;
    req.body = data.substr(headEnd + 4, want);
    {
        std::lock_guard<std::mutex> lock(mu_);
        requests_.push_back(req);
    }
    const RawReply reply = handler_(req);
    const size_t step = reply.chunk ? reply.chunk : reply.bytes.size();
    for (size_t off = 0; off < reply.bytes.size() && !stopping_; off += step) {
        ::send(fd, reply.bytes.data() + off, std::min(step, reply.bytes.size() - off), MSG_NOSIGNAL);
        if (reply.chunkDelayMs) ::usleep(reply.chunkDelayMs * 1000);
    }
    for (int waited = 0; waited < reply.stallMsBeforeClose && !stopping_; waited += 10) ::usleep(10000);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

} // namespace zvtest
