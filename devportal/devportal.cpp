#include "devportal/devportal.h"

#include "devportal/images.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <strings.h>
#include <thread>

namespace zvdev {

namespace {

using Clock = std::chrono::steady_clock;

const char* const kCookieName = "JSESSIONID";

std::string Tabs(int n) { return std::string(static_cast<size_t>(n), '\t'); }

// One row of the account tables, in the exact shape the client's markers expect.
std::string InfoRow(const std::string& label, int tabs, const std::string& value) {
    return "<tr><td class=\"reg_info_name\" valign=\"top\">" + label + ":</td>\r\n" + Tabs(tabs) +
           "<td class=\"reg_info_input\" valign=\"top\">" + value + "</td></tr>\r\n";
}

std::string Page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" "
           "content=\"text/html; charset=UTF-8\">\r\n<title>" +
           title + "</title>\r\n</head>\r\n<body>\r\n" + body + "\r\n</body>\r\n</html>\r\n";
}

std::string LoginPage(const std::string& note) {
    return Page("Zorvane 用户登录",
                "<h2>用户登录</h2>\r\n" + (note.empty() ? "" : "<p class=\"error\">" + note + "</p>\r\n") +
                    "<form method=\"post\" action=\"/views/customer.mvc?method=login\">\r\n"
                    "帐号:<input name=\"j_username\"> 密码:<input type=\"password\" name=\"j_password\">\r\n"
                    "验证码:<input name=\"j_captcha_response\"><img src=\"/captcha.jpg\">\r\n"
                    "<input type=\"submit\" value=\"登录\">\r\n</form>");
}

std::string Choice(int v, const char* one, const char* other) { return v == 1 ? one : other; }

std::string RandomToken(std::mt19937_64& rng) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < 32; ++i) s += hex[rng() % 16];
    return s;
}

std::string CookieValue(const std::string& header, const std::string& name) {
    size_t pos = 0;
    while (pos < header.size()) {
        size_t end = header.find(';', pos);
        if (end == std::string::npos) end = header.size();
        std::string part = header.substr(pos, end - pos);
        while (!part.empty() && part.front() == ' ') part.erase(0, 1);
        if (part.compare(0, name.size() + 1, name + "=") == 0) return part.substr(name.size() + 1);
        pos = end + 1;
    }
    return "";
}

std::string Param(const std::vector<std::pair<std::string, std::string>>& form, const std::string& name,
                  bool* present = nullptr) {
    for (const auto& [k, v] : form)
        if (k == name) {
            if (present) *present = true;
            return v;
        }
    if (present) *present = false;
    return "";
}

bool IsDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

std::string LoggedRequest::header(const std::string& name) const {
    for (const auto& [k, v] : headers)
        if (strcasecmp(k.c_str(), name.c_str()) == 0) return v;
    return "";
}

Fault ParseFault(const std::string& n) {
    static const std::map<std::string, Fault> names = {
        {"none", Fault::None},         {"refuse", Fault::Refuse}, {"stall", Fault::Stall},
        {"cut", Fault::Cut},           {"not-utf8", Fault::NotUtf8}, {"not-gb2312", Fault::NotGb2312},
        {"huge", Fault::Huge},         {"slow", Fault::Slow},
    };
    auto it = names.find(n);
    return it == names.end() ? Fault::None : it->second;
}

const char* FaultName(Fault f) {
    switch (f) {
    case Fault::None: return "none";
    case Fault::Refuse: return "refuse";
    case Fault::Stall: return "stall";
    case Fault::Cut: return "cut";
    case Fault::NotUtf8: return "not-utf8";
    case Fault::NotGb2312: return "not-gb2312";
    case Fault::Huge: return "huge";
    case Fault::Slow: return "slow";
    }
    return "none";
}

std::string FormDecode(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    auto hexval = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%' && i + 2 < s.size() + 0 && hexval(s[i + 1]) >= 0 && hexval(s[i + 2]) >= 0) {
            out += static_cast<char>(hexval(s[i + 1]) * 16 + hexval(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> ParseForm(const std::string& body) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t pos = 0;
    while (pos <= body.size()) {
        size_t end = body.find('&', pos);
        if (end == std::string::npos) end = body.size();
        const std::string part = body.substr(pos, end - pos);
        if (!part.empty()) {
            const size_t eq = part.find('=');
            if (eq == std::string::npos)
                out.emplace_back(FormDecode(part), "");
            else
                out.emplace_back(FormDecode(part.substr(0, eq)), FormDecode(part.substr(eq + 1)));
        }
        pos = end + 1;
    }
    return out;
}

// As a JSP's <c:out> escapes.
std::string HtmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&#034;"; break;
        case '\'': out += "&#039;"; break;
        default: out += c;
        }
    }
    return out;
}

struct DevPortal::Impl {
    Options options;
    mutable std::mutex mu;
    Account account;
    struct Session {
        std::string captcha;
        bool signedIn = false;
        Clock::time_point lastSeen = Clock::now();
    };
    std::map<std::string, Session> sessions;
    std::string lastCaptcha;
    std::vector<LoggedRequest> log;
    std::vector<std::pair<std::string, Fault>> faults;
    int idleSeconds = 30 * 60;
    std::mt19937_64 rng{std::random_device{}()};

    std::unique_ptr<httplib::Server> server;
    std::thread thread;
    int port = 0;
    std::atomic<bool> stopping{false};
    bool refusing = false;

    Fault FaultFor(const std::string& target) const {
        for (const auto& [prefix, f] : faults)
            if (target.compare(0, prefix.size(), prefix) == 0) return f;
        return Fault::None;
    }

    bool Listen(int wanted) {
        auto svr = std::make_unique<httplib::Server>();
        svr->set_read_timeout(5, 0);
        svr->set_keep_alive_max_count(20);
        auto handler = [this](const httplib::Request& req, httplib::Response& res) { Handle(req, res); };
        svr->Get(".*", handler);
        svr->Post(".*", handler);
        int bound = wanted;
        if (wanted == 0) {
            bound = svr->bind_to_any_port("127.0.0.1");
        } else if (!svr->bind_to_port("127.0.0.1", wanted)) {
            bound = -1;
        }
        if (bound <= 0) return false;
        port = bound;
        server = std::move(svr);
        httplib::Server* s = server.get();
        thread = std::thread([s] { s->listen_after_bind(); });
        while (!s->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

    void Unlisten() {
        if (!server) return;
        server->stop();
        if (thread.joinable()) thread.join();
        server.reset();
    }

    // Must be called with mu held: the session of the request, made if it has none.
    Session& SessionOf(const httplib::Request& req, httplib::Response& res, std::string& id) {
        id = CookieValue(req.get_header_value("Cookie"), kCookieName);
        auto it = sessions.find(id);
        if (it != sessions.end() && it->second.signedIn &&
            Clock::now() - it->second.lastSeen > std::chrono::seconds(idleSeconds))
        {
            sessions.erase(it);
            it = sessions.end();
        }
        if (it == sessions.end()) {
            id = RandomToken(rng);
            it = sessions.emplace(id, Session{}).first;
            res.set_header("Set-Cookie", std::string(kCookieName) + "=" + id + "; Path=/");
        }
        it->second.lastSeen = Clock::now();
        return it->second;
    }

    std::string MainPage() const {
        const Account& a = account;
        std::string b;
        b += "<div class=\"top\">欢迎访问:<span>" + HtmlEscape(a.name) + "</span>\r\n";
        b += "<a href=\"/views/customer.mvc?method=show&id=" + a.customerId + "\">帐户资料管理</a></div>\r\n";
        b += "<div class=\"info\">Zorvane号码:<span>" + a.serviceNumber + "</span>\r\n";
        b += "余额:<span class=\"reg_info_input\">" + a.balance + "元</span></div>\r\n";
        b += "<table class=\"reg_info\">\r\n";
        b += InfoRow("用户类型", 8, HtmlEscape(a.userType));
        b += InfoRow("赠送通话时间", 9, std::to_string(a.freeMinutes) + "&nbsp;分钟");
        b += InfoRow("身份证", 8, a.idCard);
        b += InfoRow("客户电话", 8, a.phone);
        b += InfoRow("已用赠送时间", 9, std::to_string(a.usedMinutes) + "&nbsp;分钟");
        b += InfoRow("客户单位", 8, HtmlEscape(a.company));
        b += InfoRow("注册时间", 8, a.registered);
        b += "</table>\r\n<table class=\"reg_info\">\r\n";
        b += InfoRow("转接类型", 9, Choice(a.transType, "顺序接听", "同时振铃"));
        b += InfoRow("呼转显示主叫方式", 9, Choice(a.transCallerType, "真实主叫", "Zorvane号码"));
        b += InfoRow("呼转标志", 9, a.forwards.empty() ? "关闭" : "开启");
        b += InfoRow("外呼标志", 9, "开启");
        b += InfoRow("来电回铃音模式", 9, Choice(a.ringType, "原号码彩铃", "Zorvane号码彩铃"));
        b += InfoRow("Zorvane彩铃类型", 9, Choice(a.ringMode, "默认彩铃", "Zorvane彩铃类型"));
        b += InfoRow("接听方式", 9, Choice(a.forbidFlag, "正常接听状态", "免打扰状态"));
        b += InfoRow("是否允许留言", 9, Choice(a.isMsg, "是", "否"));
        b += InfoRow("免打扰提示", 9, "zrv_SetBotherVox" + std::to_string(a.ringId) + ".pcm");
        b += "</table>\r\n<table class=\"forward\">\r\n";
        for (size_t i = 0; i < a.forwards.size(); ++i)
            b += "<tr>\r\n\t\t\t<td>" + std::to_string(i + 1) + "</td>\r\n\t\t\t<td>" + a.forwards[i].number +
                 "</td>\r\n\t\t</tr>\r\n";
        b += "</table>";
        return Page("我的Zorvane", b);
    }

    std::string ForwardingPage() const {
        std::string b = "<h3>转接号码</h3>\r\n<table>\r\n";
        for (const Forward& f : account.forwards)
            b += "<tr><td>" + f.number + "</td><td>" + HtmlEscape(f.memo) +
                 "&nbsp;</td><td><a href=\"/views/phoneno.mvc?method=removeAll&id=" + std::to_string(f.id) +
                 "\">删除</a></td></tr>\r\n";
        b += "</table>";
        return Page("转接号码", b);
    }

    std::string Result(const std::string& sentence) const { return Page("Zorvane", "<p>" + sentence + "</p>"); }

    int ForwardIndex(const std::string& id) const {
        for (size_t i = 0; i < account.forwards.size(); ++i)
            if (std::to_string(account.forwards[i].id) == id) return static_cast<int>(i);
        return -1;
    }

    // Must be called with mu held. Returns the UTF-8 page to answer.
    std::string Route(const httplib::Request& req, httplib::Response& res, Session& s, bool& image) {
        const std::string& target = req.target;
        const std::string path = target.substr(0, target.find('?'));
        const auto q = target.find('?');
        const auto query = ParseForm(q == std::string::npos ? "" : target.substr(q + 1));
        const std::string method = Param(query, "method");
        const auto form = ParseForm(req.body);
        const bool post = req.method == "POST";
        image = false;

        if (path == "/captcha.jpg") {
            std::string digits;
            for (int i = 0; i < 4; ++i) digits += static_cast<char>('0' + rng() % 10);
            s.captcha = digits;
            lastCaptcha = digits;
            if (options.onCaptcha) options.onCaptcha(digits);
            image = true;
            res.set_header("Cache-Control", "no-store");
            return CaptchaJpeg(digits, static_cast<unsigned>(rng()));
        }
        if (path == "/qarlo/gonggao.png") {
            image = true;
            return BannerPng();
        }
        if (path == "/") return Page("Zorvane 一号通", "<h1>Zorvane 一号通</h1><p>一个号码，随处接听。</p>");
        if (path == "/qarlo/pay.html") return Page("充值", "<h1>帐户充值</h1>");
        if (path == "/qarlo/No.html") return Page("选号", "<h1>号码选择</h1>");
        if (path == "/qarlo/reg.html") return Page("注册", "<h1>新用户注册</h1>");
        if (path == "/qarlo/gonggao.html") return Page("公告", "<h1>系统公告</h1><p>Zorvane 客户端新版本发布。</p>");

        if (path == "/views/customer.mvc" && method == "login" && post) {
            const bool ok = !s.captcha.empty() && Param(form, "j_username") == account.number &&
                            Param(form, "j_password") == account.password &&
                            Param(form, "j_captcha_response") == s.captcha;
            s.captcha.clear(); // a captcha answers one attempt
            if (!ok) return LoginPage("登录失败：帐号、密码或验证码错误");
            s.signedIn = true;
            return Page("我的Zorvane", "<h2>帐户资料管理</h2>\r\n<p>欢迎您，" + HtmlEscape(account.name) +
                                          "</p>\r\n<a href=\"/views/myzorvane/main.jsp\">进入</a>");
        }
        if (!s.signedIn) return LoginPage("");

        if (path == "/views/myzorvane/main.jsp") return MainPage();
        if (path == "/views/customer.mvc" && method == "show") {
            return Page("帐户资料", "<h2>帐户资料管理</h2><p>" + HtmlEscape(account.name) + " (" +
                                        account.number + ")</p>");
        }
        if (path == "/views/phoneno.mvc" && method == "index") return ForwardingPage();
        if (!post) return Result("不支持的请求");

        if (path == "/views/phoneno.mvc" && method == "save") {
            const std::string number = Param(form, "phoneno");
            if (account.forwards.size() >= 4) return Result("保存失败：最多只能设置4个转接号码");
            if (!IsDigits(number)) return Result("保存失败：号码格式错误");
            account.forwards.push_back(Forward{number, Param(form, "memo"), account.nextForwardId++});
            return Result("保存成功");
        }
        if (path == "/views/phoneno.mvc" && method == "update") {
            const int i = ForwardIndex(Param(form, "id"));
            const std::string number = Param(form, "phoneno");
            if (i < 0 || !IsDigits(number)) return Result("修改失败");
            account.forwards[static_cast<size_t>(i)].number = number;
            account.forwards[static_cast<size_t>(i)].memo = Param(form, "memo");
            return Result("修改成功");
        }
        if (path == "/views/phoneno.mvc" && method == "order") {
            const int i = ForwardIndex(Param(form, "id"));
            const std::string action = Param(form, "action");
            if (i < 0 || (action != "top" && action != "up")) return Result("排序失败");
            auto& f = account.forwards;
            if (action == "top" && i > 0) {
                Forward moved = f[static_cast<size_t>(i)];
                f.erase(f.begin() + i);
                f.insert(f.begin(), moved);
            } else if (action == "up" && i > 0) {
                std::swap(f[static_cast<size_t>(i)], f[static_cast<size_t>(i - 1)]);
            }
            return Result("排序成功");
        }
        if (path == "//views/phoneno.mvc" && method == "removeAll") {
            const int i = ForwardIndex(Param(form, "id"));
            if (i < 0) return Result("删除失败");
            account.forwards.erase(account.forwards.begin() + i);
            return Result("删除成功");
        }
        if (path == "/views/customer.mvc" && method == "setting") {
            if (Param(form, "id") != account.customerId) return Result("设置失败");
            struct Field {
                const char* name;
                int* target;
                int lo, hi;
            } fields[] = {{"transType", &account.transType, 1, 2},   {"transCallerType", &account.transCallerType, 0, 1},
                          {"ringType", &account.ringType, 0, 1},     {"ringMode", &account.ringMode, 0, 1},
                          {"forbidFlag", &account.forbidFlag, 0, 1}, {"isMsg", &account.isMsg, 0, 1},
                          {"ringId", &account.ringId, 1, 4}};
            int values[7];
            for (int k = 0; k < 7; ++k) {
                const std::string v = Param(form, fields[k].name);
                if (!IsDigits(v)) return Result("设置失败：参数错误");
                values[k] = std::stoi(v);
                if (values[k] < fields[k].lo || values[k] > fields[k].hi) return Result("设置失败：参数错误");
            }
            for (int k = 0; k < 7; ++k) *fields[k].target = values[k];
            return Result("设置基本参数成功");
        }
        if (path == "/views/blackNo.mvc" && method == "save") {
            const std::string type = Param(form, "type");
            if (type != "1" && type != "2" && type != "3") return Result("新增对象失败");
            const std::string st = Param(form, "starttele"), en = Param(form, "endtele");
            if (st.empty() || en.empty()) return Result("新增对象失败");
            account.blacklist.push_back(Blacklisted{std::stoi(type), st, en, Param(form, "memo")});
            return Result("新增对象成功");
        }
        if (path == "/views/customer.mvc" && method == "changePassword") {
            const std::string np = Param(form, "newPassword");
            if (Param(form, "id") != account.customerId || Param(form, "oldPassword") != account.password)
                return Result("修改密码失败：原密码错误");
            if (np.empty() || np != Param(form, "renewPassword")) return Result("修改密码失败：两次密码不一致");
            account.password = np;
            return Result("修改密码成功");
        }
        if (path == "/views/contact.mvc" && method == "conference") {
            const std::string caller = Param(form, "compere"), callee = Param(form, "joins");
            bool known = false;
            for (const Forward& f : account.forwards) known = known || f.number == caller;
            if (Param(form, "customerId") != account.customerId || !known || callee.empty())
                return Result("呼叫失败");
            account.calls.push_back(Call{caller, callee});
            return Result("呼叫已发起，请等待电话接通");
        }
        res.status = 404;
        return Result("页面不存在");
    }

    void Handle(const httplib::Request& req, httplib::Response& res) {
        Fault fault;
        std::string body;
        bool image = false;
        {
            std::lock_guard<std::mutex> lock(mu);
            LoggedRequest entry;
            entry.method = req.method;
            entry.target = req.target;
            entry.version = req.version;
            for (const auto& [k, v] : req.headers) entry.headers.emplace_back(k, v);
            entry.body = req.body;
            entry.cookie = CookieValue(req.get_header_value("Cookie"), kCookieName);
            log.push_back(std::move(entry));
            fault = FaultFor(req.target);
            std::string id;
            Session& s = SessionOf(req, res, id);
            body = Route(req, res, s, image);
            if (options.onRequest) options.onRequest(log.back(), account);
        }
        const std::string type = image ? (req.target.find(".png") != std::string::npos ? "image/png" : "image/jpeg")
                                       : "text/html;charset=UTF-8";
        switch (fault) {
        case Fault::None:
        case Fault::Refuse:
            res.set_content(body, type);
            return;
        case Fault::NotUtf8:
            body = Page("Zorvane", "<p>\xB5\xC7\xC2\xBD \xFF\xFE 帐户资料管理 请等待电话接通 设置基本参数成功 新增对象成功 修改密码成功</p>");
            res.set_content(body, type);
            return;
        case Fault::NotGb2312:
            // 們 is in GBK but not in GB2312; the markers stand beside it.
            body = Page("Zorvane", "<p>們 帐户资料管理 请等待电话接通 设置基本参数成功 新增对象成功 修改密码成功</p>");
            res.set_content(body, type);
            return;
        case Fault::Huge: {
            const size_t size = (16u << 20) + 4096;
            res.set_content_provider(size, type, [size, this](size_t offset, size_t, httplib::DataSink& sink) {
                static const std::string block(65536, 'x');
                if (stopping) return false;
                sink.write(block.data(), std::min(block.size(), size - offset));
                return true;
            });
            return;
        }
        case Fault::Cut: {
            auto shared = std::make_shared<std::string>(body);
            res.set_content_provider(body.size() * 2 + 10, type,
                                     [shared](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) return false; // drop the connection
                                         sink.write(shared->data(), shared->size() / 2);
                                         return true;
                                     });
            return;
        }
        case Fault::Slow: {
            auto shared = std::make_shared<std::string>(body);
            const size_t chunk = static_cast<size_t>(options.slowChunk);
            const int delay = options.slowDelayMs;
            res.set_content_provider(body.size(), type,
                                     [shared, chunk, delay, this](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (stopping) return false;
                                         std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                                         sink.write(shared->data() + offset, std::min(chunk, shared->size() - offset));
                                         return true;
                                     });
            return;
        }
        case Fault::Stall:
            // Hold the connection without a byte until the server stops or the fault ends.
            for (int i = 0; i < 600 * 100 && !stopping; ++i) {
                {
                    std::lock_guard<std::mutex> lock(mu);
                    if (FaultFor(req.target) != Fault::Stall) break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            res.set_content(body, type);
            return;
        }
    }
};

DevPortal::DevPortal(Options options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    impl_->idleSeconds = impl_->options.idleMinutes * 60;
    Account& a = impl_->account;
    a.forwards = {{"13812345678", "我的手机", a.nextForwardId}, {"057187654321", "办公室", a.nextForwardId + 1}};
    a.nextForwardId += 2;
}

DevPortal::~DevPortal() { Stop(); }

bool DevPortal::Start(int port) {
    impl_->stopping = false;
    return impl_->Listen(port);
}

void DevPortal::Stop() {
    impl_->stopping = true;
    impl_->Unlisten();
}

int DevPortal::port() const { return impl_->port; }
std::string DevPortal::host() const { return "127.0.0.1:" + std::to_string(impl_->port); }

std::vector<LoggedRequest> DevPortal::log() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->log;
}

void DevPortal::ClearLog() {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->log.clear();
}

void DevPortal::SetFault(const std::string& prefix, Fault fault) {
    if (fault == Fault::Refuse) {
        // Nothing listens on the port while the portal refuses.
        {
            std::lock_guard<std::mutex> lock(impl_->mu);
            if (impl_->refusing) return;
            impl_->refusing = true;
        }
        impl_->stopping = true;
        impl_->Unlisten();
        impl_->stopping = false;
        return;
    }
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->faults.insert(impl_->faults.begin(), {prefix, fault});
}

void DevPortal::ClearFaults() {
    bool relisten = false;
    {
        std::lock_guard<std::mutex> lock(impl_->mu);
        impl_->faults.clear();
        relisten = impl_->refusing;
        impl_->refusing = false;
    }
    if (relisten) impl_->Listen(impl_->port);
}

void DevPortal::ExpireSessions() {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->sessions.clear();
}

void DevPortal::SetIdleSeconds(int seconds) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    impl_->idleSeconds = seconds;
}

Account DevPortal::account() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->account;
}

void DevPortal::EditAccount(const std::function<void(Account&)>& edit) {
    std::lock_guard<std::mutex> lock(impl_->mu);
    edit(impl_->account);
}

std::string DevPortal::lastCaptcha() const {
    std::lock_guard<std::mutex> lock(impl_->mu);
    return impl_->lastCaptcha;
}

} // namespace zvdev
