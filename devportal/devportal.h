// A loopback stand-in for the Zorvane portal and web site, for tests and the demo.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zvdev {

struct Forward {
    std::string number;
    std::string memo; // UTF-8
    int id = 0;
};

struct Blacklisted {
    int type = 0;
    std::string start, end, memo;
};

struct Call {
    std::string caller, callee;
};

// Every text is UTF-8, as the portal stores it.
struct Account {
    std::string number = "95013825"; // the 8-digit account number
    std::string password = "zorvane8";
    std::string customerId = "20460";
    std::string name = "张伟";
    std::string serviceNumber = "9501382500";
    std::string balance = "128.50";
    int freeMinutes = 60;
    int usedMinutes = 12;
    std::string userType = "个人用户";
    std::string idCard = "330106198805120031";
    std::string phone = "057188886666";
    std::string company = "杭州云帆科技有限公司";
    std::string registered = "2025-03-18";
    int transType = 1, transCallerType = 1, ringType = 1, ringMode = 1, forbidFlag = 1, isMsg = 1,
        ringId = 1;
    std::vector<Forward> forwards;
    std::vector<Blacklisted> blacklist;
    std::vector<Call> calls;
    int nextForwardId = 101;
};

struct LoggedRequest {
    std::string method;
    std::string target; // raw path and query
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string cookie; // the session cookie presented, or ""
    std::string version;
    std::string header(const std::string& name) const;
};

enum class Fault {
    None,
    Refuse,    // no connection is accepted (for every path)
    Stall,     // accept and never answer
    Cut,       // promise a length, send half, close
    NotUtf8,   // a body that is not valid UTF-8
    NotGb2312, // a body holding a character GB2312 lacks
    Huge,      // a body larger than 16 MiB
    Slow,      // the normal reply in small pieces with pauses
};

Fault ParseFault(const std::string& name);
const char* FaultName(Fault f);

struct Options {
    int idleMinutes = 30;
    std::function<void(const std::string&)> onCaptcha; // digits of every captcha served
    // Called after each request has been answered (with the portal's lock held).
    std::function<void(const LoggedRequest&, const Account&)> onRequest;
    int slowChunk = 16;
    int slowDelayMs = 20;
};

class DevPortal {
public:
    explicit DevPortal(Options options = {});
    ~DevPortal();
    DevPortal(const DevPortal&) = delete;
    DevPortal& operator=(const DevPortal&) = delete;

    bool Start(int port = 0); // 127.0.0.1 only; 0 picks a free port
    void Stop();
    int port() const;
    std::string host() const; // "127.0.0.1:port"

    std::vector<LoggedRequest> log() const;
    void ClearLog();

    // A fault for every path starting with prefix ("" for all).
    void SetFault(const std::string& prefix, Fault fault);
    void ClearFaults();
    void ExpireSessions();
    void SetIdleSeconds(int seconds);

    Account account() const;
    void EditAccount(const std::function<void(Account&)>& edit);
    std::string lastCaptcha() const; // of the newest session that fetched one

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Small helpers with logic of their own, exposed for tests.
std::string FormDecode(const std::string& s);
std::vector<std::pair<std::string, std::string>> ParseForm(const std::string& body);
std::string HtmlEscape(const std::string& s);

} // namespace zvdev
