#include "net/webrequest.h"

#include "net/url.h"

#include <chrono>
#include <curl/curl.h>
#include <memory>

namespace zv {

const char* const kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const char* const kDefaultAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

namespace {

using Clock = std::chrono::steady_clock;

std::function<bool()>& Pump() {
    static std::function<bool()> pump;
    return pump;
}

// The process-wide cookie store, shared by every easy handle.
CURLSH* CookieShare() {
    static CURLSH* share = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        CURLSH* s = curl_share_init();
        if (s) curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
        return s;
    }();
    return share;
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

struct Transfer {
    Bytes body;
    Text headers;
    size_t limit = 0;
    bool tooLarge = false;
    Clock::time_point lastActivity = Clock::now();
    curl_off_t lastUp = 0;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastActivity = Clock::now();
    if (t->body.size() + n > t->limit) {
        t->tooLarge = true;
        return 0; // aborts the transfer
    }
    t->body.append(data, n);
    return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastActivity = Clock::now();
    std::string_view line(data, n);
    if (line.substr(0, 5) == "HTTP/") t->headers.clear(); // only the final reply's block
    if (t->headers.size() < 64 * 1024) t->headers.append(line);
    return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow) {
    auto* t = static_cast<Transfer*>(user);
    if (ulnow != t->lastUp) {
        t->lastUp = ulnow;
        t->lastActivity = Clock::now();
    }
    return 0;
}

bool HasHeader(const Text& headers, const char* nameColonBlank) {
    return Find(headers, nameColonBlank, 1, true) > 0;
}

// The caller's header text as curl lines; blank lines are dropped.
void AppendLines(curl_slist*& list, const Text& text) {
    for (const Text& line : Split(text, "\r\n")) {
        if (line.empty()) continue;
        curl_slist* next = curl_slist_append(list, line.c_str());
        if (next) list = next;
    }
}

} // namespace

WebRequestLimits& RequestLimits() {
    static WebRequestLimits limits;
    return limits;
}

void SetEventPump(std::function<bool()> pump) { Pump() = std::move(pump); }

void ClearCookies() {
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy || !CookieShare()) return;
    curl_easy_setopt(easy.get(), CURLOPT_SHARE, CookieShare());
    curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
}

const char* RequestEndName(RequestEnd end) {
    switch (end) {
    case RequestEnd::Completed: return "completed";
    case RequestEnd::Unreachable: return "unreachable";
    case RequestEnd::TimedOut: return "timed out";
    case RequestEnd::Cut: return "cut";
    case RequestEnd::TooLarge: return "too large";
    case RequestEnd::Abandoned: return "abandoned";
    }
    return "?";
}

namespace {
RequestEnd EndOf(CURLcode code, bool connected) {
    switch (code) {
    case CURLE_OK: return RequestEnd::Completed;
    case CURLE_OPERATION_TIMEDOUT: return connected ? RequestEnd::TimedOut : RequestEnd::Unreachable;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return RequestEnd::Unreachable;
    default:
        // Once connected, the request may have reached the server: what came back is damaged.
        return connected ? RequestEnd::Cut : RequestEnd::Unreachable;
    }
}
} // namespace

WebReply WebRequest(const Text& url, const Text& method, const Bytes& body) {
    WebRequestOptions o;
    o.method = method;
    o.body = body;
    return WebRequest(url, o);
}

WebReply WebRequest(const Text& url, const WebRequestOptions& options) {
    const WebReply unreachable{{}, RequestEnd::Unreachable};
    CURLSH* share = CookieShare();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!share || !easy || !multi) return unreachable;
    CURL* h = easy.get();
    const WebRequestLimits limits = RequestLimits();

    const bool plain10 = options.shape == RequestShape::Plain10;
    const bool post = !plain10 && EqualsIgnoreCase(options.method, "POST");

    Transfer t;
    t.limit = limits.maxReplyBytes;

    const Text address = RequestUrl(url);
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_SHARE, share);
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, ""); // switches the cookie engine on
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION,
                     plain10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_POSTREDIR, 0L); // 301/302/303 after a POST go on as a GET
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);
    if (!options.proxy.empty()) {
        const Text proxy = "http://" + options.proxy;
        curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
    } else {
        curl_easy_setopt(h, CURLOPT_PROXY, ""); // direct, whatever the environment says
    }

    curl_slist* raw = nullptr;
    if (plain10) {
        AppendLines(raw, "Accept: */*\r\n");
    } else {
        Text headers = options.headers;
        if (!HasHeader(headers, "Accept: ")) headers += kDefaultAccept;
        if (!HasHeader(headers, "Referer: ")) headers += "Referer: " + address + "\r\n";
        if (!HasHeader(headers, "Accept-Language: ")) headers += "Accept-Language: zh-cn\r\n";
        AppendLines(raw, headers);
    }
    // Keep curl from adding headers no browser of this kind sends. An empty POST says its
    // length is 0, as the browser's own stack does (some servers answer 411 without it),
    // but names no form type.
    raw = curl_slist_append(raw, "Expect:");
    if (post && options.body.empty()) raw = curl_slist_append(raw, "Content-Type:");
    std::unique_ptr<curl_slist, SlistDeleter> headerList(raw);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headerList.get());

    if (post) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(options.body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, options.body.data());
    } else {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    }

    if (curl_multi_add_handle(multi.get(), h) != CURLM_OK) return unreachable;
    int running = 1;
    bool abandoned = false, stalled = false, failed = false;
    CURLcode code = CURLE_OK;
    while (running) {
        if (Pump() && !Pump()()) {
            abandoned = true;
            break;
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            failed = true;
            break;
        }
        if (!running) break;
        if (Clock::now() - t.lastActivity > std::chrono::milliseconds(limits.stallTimeoutMs)) {
            stalled = true;
            break;
        }
        int fds = 0;
        curl_multi_poll(multi.get(), nullptr, 0, limits.pollSliceMs, &fds);
    }
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi.get(), &left))
        if (m->msg == CURLMSG_DONE && m->easy_handle == h) code = m->data.result;
    curl_off_t connectTime = 0;
    curl_easy_getinfo(h, CURLINFO_CONNECT_TIME_T, &connectTime);
    const bool connected = connectTime > 0 || !t.headers.empty();
    curl_multi_remove_handle(multi.get(), h);

    if (abandoned) return {{}, RequestEnd::Abandoned};
    if (t.tooLarge) return {{}, RequestEnd::TooLarge};
    WebReply reply;
    reply.end = stalled   ? (connected ? RequestEnd::TimedOut : RequestEnd::Unreachable)
                : failed  ? RequestEnd::Unreachable
                          : EndOf(code, connected);
    if (reply.end == RequestEnd::Unreachable) return reply;
    if (options.replyHeaders) *options.replyHeaders = t.headers;
    reply.body = std::move(t.body);
    return reply;
}

} // namespace zv
