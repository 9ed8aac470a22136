#include "net/text.h"
#include "net/webrequest.h"
#include "tests/support/raw_server.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zv;
using zvtest::HttpOk;
using zvtest::RawReply;
using zvtest::RawRequest;
using zvtest::RawServer;

namespace {

class WebRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearCookies();
        SetEventPump(nullptr);
        RequestLimits() = WebRequestLimits{};
    }
    void TearDown() override {
        SetEventPump(nullptr);
        RequestLimits() = WebRequestLimits{};
    }
};

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST_F(WebRequestTest, GetSendsTheBrowserHeadersAndNoBody) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("hello")}; });
    WebRequestOptions o;
    o.body = "ignored=1";
    const Text url = server.url("/x?y=1");
    EXPECT_EQ(WebRequest(url, o).body, "hello");
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].requestLine(), "GET /x?y=1 HTTP/1.1");
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port());
    const std::string accept = std::string(kDefaultAccept).substr(0, std::string(kDefaultAccept).size() - 2);
    EXPECT_EQ(Sorted(reqs[0].headerLines()),
              Sorted({host, std::string("User-Agent: ") + kUserAgent, accept, "Referer: " + url,
                      "Accept-Language: zh-cn"}));
    EXPECT_EQ(reqs[0].body, "");
}

TEST_F(WebRequestTest, PostCarriesFormTypeAndByteLength) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("ok")}; });
    const Text body = "a=" + Gbk("中文") + "&b=2";
    EXPECT_EQ(WebRequest(server.url("/p"), "post", body).body, "ok");
    const auto r = server.requests().at(0);
    EXPECT_EQ(r.requestLine(), "POST /p HTTP/1.1");
    EXPECT_EQ(r.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(r.header("Content-Length"), std::to_string(body.size()));
    EXPECT_EQ(body.size(), 10u);
    EXPECT_EQ(r.body, body);
    EXPECT_FALSE(r.hasHeader("Expect"));
    EXPECT_FALSE(r.hasHeader("Accept-Encoding"));
}

TEST_F(WebRequestTest, PostWithAnEmptyBodySaysItsLengthIsZeroButNoType) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("ok")}; });
    EXPECT_EQ(WebRequest(server.url("/p"), "POST", "").body, "ok");
    const auto r = server.requests().at(0);
    EXPECT_EQ(r.requestLine(), "POST /p HTTP/1.1");
    EXPECT_FALSE(r.hasHeader("Content-Type"));
    EXPECT_EQ(r.header("Content-Length"), "0");
}

TEST_F(WebRequestTest, APortThatIsNotANumberMeansTheDefaultPort) {
    // Through a proxy the request line names the address the request was sent to.
    RawServer proxy([](const RawRequest&) { return RawReply{HttpOk("ok")}; });
    WebRequestOptions o;
    o.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    for (const Text url : {"http://portal.example:abc/x", "http://portal.example:/x", "http://portal.example:99999/x"})
        EXPECT_EQ(WebRequest(url, o).body, "ok") << url;
    EXPECT_EQ(WebRequest("http://portal.example:8080x/y", o).body, "ok");
    const auto reqs = proxy.requests();
    ASSERT_EQ(reqs.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reqs[i].requestLine(), "GET http://portal.example/x HTTP/1.1");
        EXPECT_EQ(reqs[i].header("Host"), "portal.example");
    }
    EXPECT_EQ(reqs[3].requestLine(), "GET http://portal.example:8080/y HTTP/1.1");
}

TEST_F(WebRequestTest, AnyOtherMethodIsAGet) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("ok")}; });
    WebRequest(server.url("/a"), "PUT", "x=1");
    WebRequest(server.url("/b"));
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[0].requestLine(), "GET /a HTTP/1.1");
    EXPECT_FALSE(reqs[0].hasHeader("Content-Length"));
    EXPECT_EQ(reqs[0].body, "");
    EXPECT_EQ(reqs[1].requestLine(), "GET /b HTTP/1.1");
}

TEST_F(WebRequestTest, CallerHeadersReplaceOnlyTheLinesTheyHold) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("ok")}; });
    WebRequestOptions o;
    o.headers = "accept: text/plain\r\nX-Extra: 1\r\n";
    const Text url = server.url("/h");
    WebRequest(url, o);
    const auto r = server.requests().at(0);
    int accepts = 0;
    for (const auto& l : r.headerLines())
        if (l.rfind("accept:", 0) == 0 || l.rfind("Accept:", 0) == 0) ++accepts;
    EXPECT_EQ(accepts, 1);
    EXPECT_EQ(r.header("Accept"), "text/plain");
    EXPECT_EQ(r.header("X-Extra"), "1");
    EXPECT_EQ(r.header("Referer"), url);
    EXPECT_EQ(r.header("Accept-Language"), "zh-cn");
}

TEST_F(WebRequestTest, PlainHttp10ModeSendsOnlyAcceptAll) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("img")}; });
    WebRequestOptions o;
    o.shape = RequestShape::Plain10;
    o.method = "POST";
    o.body = "x";
    EXPECT_EQ(WebRequest(server.url("/captcha.jpg"), o).body, "img");
    const auto r = server.requests().at(0);
    EXPECT_EQ(r.requestLine(), "GET /captcha.jpg HTTP/1.0");
    EXPECT_EQ(r.header("Accept"), "*/*");
    EXPECT_FALSE(r.hasHeader("Referer"));
    EXPECT_FALSE(r.hasHeader("Accept-Language"));
    EXPECT_FALSE(r.hasHeader("Content-Length"));
}

TEST_F(WebRequestTest, CookiesAreCarriedToLaterRequestsAndBothShapes) {
    RawServer server([](const RawRequest& r) {
        if (r.requestLine().find("/set") != std::string::npos)
            return RawReply{HttpOk("set", "Set-Cookie: SID=abc; Path=/\r\n")};
        return RawReply{HttpOk("plain")};
    });
    WebRequest(server.url("/set"));
    WebRequest(server.url("/next"));
    WebRequestOptions o;
    o.shape = RequestShape::Plain10;
    WebRequest(server.url("/captcha.jpg"), o);
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 3u);
    EXPECT_FALSE(reqs[0].hasHeader("Cookie"));
    EXPECT_EQ(reqs[1].header("Cookie"), "SID=abc");
    EXPECT_EQ(reqs[2].header("Cookie"), "SID=abc");
}

TEST_F(WebRequestTest, RedirectAfterPostContinuesAsGetKeepingCookies) {
    RawServer server([](const RawRequest& r) {
        if (r.requestLine().rfind("POST", 0) == 0)
            return RawReply{"HTTP/1.1 302 Found\r\nLocation: /landing\r\nSet-Cookie: S=1; Path=/\r\n"
                            "Content-Length: 0\r\nConnection: close\r\n\r\n"};
        return RawReply{HttpOk("landed")};
    });
    EXPECT_EQ(WebRequest(server.url("/login"), "POST", "a=1").body, "landed");
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[1].requestLine(), "GET /landing HTTP/1.1");
    EXPECT_EQ(reqs[1].body, "");
    EXPECT_FALSE(reqs[1].hasHeader("Content-Length"));
    EXPECT_EQ(reqs[1].header("Cookie"), "S=1");
}

TEST_F(WebRequestTest, RedirectLoopsStopAfterTen) {
    RawServer server([](const RawRequest&) {
        return RawReply{"HTTP/1.1 302 Found\r\nLocation: /again\r\nContent-Length: 0\r\n"
                        "Connection: close\r\n\r\n"};
    });
    const WebReply reply = WebRequest(server.url("/loop"));
    EXPECT_EQ(reply.body, "");
    EXPECT_EQ(reply.end, RequestEnd::Cut);
    EXPECT_EQ(server.requests().size(), 11u);
}

TEST_F(WebRequestTest, UnreachableServerYieldsEmptyAndSaysSo) {
    // A port that was just free and is closed again refuses the connection.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    const int port = ntohs(a.sin_port);
    ::close(fd);
    for (const WebReply& r : {WebRequest("http://127.0.0.1:" + std::to_string(port) + "/"),
                              WebRequest("http://127.0.0.1:" + std::to_string(port) + "/", "POST", "a=1")}) {
        EXPECT_EQ(r.body, "");
        EXPECT_EQ(r.end, RequestEnd::Unreachable);
    }
}

TEST_F(WebRequestTest, CutAndStalledRepliesYieldWhatArrivedAndSaySo) {
    RawServer server([](const RawRequest& r) {
        if (r.requestLine().find("/cut") != std::string::npos)
            return RawReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial"};
        RawReply stall{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nbegun"};
        stall.stallMsBeforeClose = 5000;
        return stall;
    });
    const WebReply cut = WebRequest(server.url("/cut"));
    EXPECT_EQ(cut.body, "partial");
    EXPECT_EQ(cut.end, RequestEnd::Cut);
    RequestLimits().stallTimeoutMs = 300;
    const auto t0 = std::chrono::steady_clock::now();
    const WebReply stalled = WebRequest(server.url("/stall"));
    EXPECT_EQ(stalled.body, "begun");
    EXPECT_EQ(stalled.end, RequestEnd::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(4));
}

TEST_F(WebRequestTest, OversizedReplyYieldsEmpty) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk(std::string(5000, 'x'))}; });
    RequestLimits().maxReplyBytes = 4096;
    const WebReply big = WebRequest(server.url("/big"));
    EXPECT_EQ(big.body, "");
    EXPECT_EQ(big.end, RequestEnd::TooLarge);
    RequestLimits().maxReplyBytes = 5000;
    const WebReply fits = WebRequest(server.url("/big"));
    EXPECT_EQ(fits.body.size(), 5000u);
    EXPECT_TRUE(fits.completed());
}

TEST_F(WebRequestTest, ReplyHeadersOnRequest) {
    RawServer server([](const RawRequest&) { return RawReply{HttpOk("b", "X-Y: z\r\n")}; });
    Text headers;
    WebRequestOptions o;
    o.replyHeaders = &headers;
    EXPECT_EQ(WebRequest(server.url("/"), o).body, "b");
    EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
    EXPECT_NE(headers.find("X-Y: z\r\n"), std::string::npos);
}

TEST_F(WebRequestTest, ARequestStartedFromThePumpWorks) {
    RawServer server([](const RawRequest& r) {
        RawReply reply{HttpOk(r.requestLine().find("/inner") != std::string::npos ? "inner" : "outer")};
        reply.chunk = 2;
        reply.chunkDelayMs = 5;
        return reply;
    });
    Text inner;
    bool inPump = false;
    SetEventPump([&] {
        if (inPump || !inner.empty()) return true;
        inPump = true;
        inner = WebRequest(server.url("/inner")).body;
        inPump = false;
        return true;
    });
    EXPECT_EQ(WebRequest(server.url("/outer")).body, "outer");
    EXPECT_EQ(inner, "inner");
}

TEST_F(WebRequestTest, APumpThatSaysStopAbandonsTheRequest) {
    RawServer server([](const RawRequest&) {
        RawReply stall{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nbegun"};
        stall.stallMsBeforeClose = 3000;
        return stall;
    });
    int calls = 0;
    SetEventPump([&] { return ++calls < 5; });
    const auto t0 = std::chrono::steady_clock::now();
    const WebReply r = WebRequest(server.url("/"));
    EXPECT_EQ(r.body, "");
    EXPECT_EQ(r.end, RequestEnd::Abandoned);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
}

} // namespace
