// A loopback HTTP server for transport tests: records each request's raw bytes and
// answers with whatever the test's handler returns.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zvtest {

struct RawRequest {
    std::string head; // request line and header lines, up to the blank line
    std::string body;
    std::string requestLine() const { return head.substr(0, head.find("\r\n")); }
    std::vector<std::string> headerLines() const; // without the request line
    std::string header(const std::string& name) const; // value of the first such line, or ""
    bool hasHeader(const std::string& name) const;
};

// What the server does with one request: bytes to send (complete response), and
// optionally how to misbehave.
struct RawReply {
    std::string bytes;
    int stallMsBeforeClose = 0; // keep the connection open silently this long after sending
    size_t chunk = 0;           // send in pieces of this size...
    int chunkDelayMs = 0;       // ...with this pause between them
};

class RawServer {
public:
    using Handler = std::function<RawReply(const RawRequest&)>;
    explicit RawServer(Handler handler);
    ~RawServer();
    int port() const { return port_; }
    std::string url(const std::string& path = "/") const;
    std::vector<RawRequest> requests();
    void Stop();

private:
    void Serve();
    void HandleClient(int fd);
    Handler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mu_;
    std::vector<RawRequest> requests_;
    std::vector<std::thread> clients_;
};

inline std::string HttpOk(const std::string& body, const std::string& extraHeaders = "") {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

} // namespace zvtest
