// The one HTTP routine every exchange with the portal and the site goes through.
#pragma once

#include "net/text.h"

#include <functional>

namespace zv {

enum class RequestShape {
    Browser, // HTTP/1.1 with the browser-like default header lines
    Plain10, // HTTP/1.0 GET whose only header of its own is "Accept: */*"
};

struct WebRequestOptions {
    Text method;                   // "POST" (any case) sends a POST; anything else a GET
    Text proxy;                    // an HTTP proxy "host:port", or empty
    Text headers;                  // extra header lines, each ending in "\r\n"
    Bytes body;                    // the form body of a POST
    Text* replyHeaders = nullptr;  // receives the raw header block of the final reply
    RequestShape shape = RequestShape::Browser;
};

// How a request ended. Only Completed means the whole reply arrived; its HTTP status is not
// judged here. Unreachable means the request never reached the server; after every other
// end but Completed it may have.
enum class RequestEnd {
    Completed,   // the reply arrived whole
    Unreachable, // refused, no route, unknown host, no connection within the time-out, or no handle
    TimedOut,    // connected, but the reply stalled
    Cut,         // the connection ended before the reply was whole
    TooLarge,    // the reply grew past the size limit
    Abandoned,   // the event pump gave it up because the program is ending
};
const char* RequestEndName(RequestEnd end);

struct WebReply {
    Bytes body;   // what arrived; empty for Unreachable, TooLarge and Abandoned
    RequestEnd end = RequestEnd::Completed;
    bool completed() const { return end == RequestEnd::Completed; }
};

// A cut-off or stalled reply keeps what arrived, as the browser's own stack would hand it up.
WebReply WebRequest(const Text& url, const WebRequestOptions& options = {});
WebReply WebRequest(const Text& url, const Text& method, const Bytes& body);

// Called between waits for data so the window system can deliver events. A request
// started from inside the pump works; it runs to its end before the outer one goes on.
// A pump that answers false abandons the request (the program is ending): it yields empty.
void SetEventPump(std::function<bool()> pump);

// Limits, adjustable for tests.
struct WebRequestLimits {
    long connectTimeoutMs = 18000;
    long stallTimeoutMs = 18000;      // a reply that delivers nothing this long ends the read
    size_t maxReplyBytes = 16u << 20; // larger replies yield the empty string
    int pollSliceMs = 10;
};
WebRequestLimits& RequestLimits();

// Forget every cookie of the process-wide store.
void ClearCookies();

extern const char* const kUserAgent;
extern const char* const kDefaultAccept;

} // namespace zv
