#include "portal/account.h"

#include "net/charset.h"
#include "net/scrape.h"
#include "net/webrequest.h"
#include "portal/endpoints.h"

namespace zv {

Text LoginBody(const Text& user, const Text& password, const Text& captcha) {
    return FormBody({{"j_username", FormValue(user)},
                     {"j_password", FormValue(password)},
                     {"j_captcha_response", FormValue(captcha)}});
}

Text PageBody(const Bytes& page, bool* found) { return TextBetweenBytes(BytesToText(page), "<body>", "</body>", found); }

Verdict VerdictOf(RequestEnd end, bool readable, bool holdsMarker) {
    if (holdsMarker) return Verdict::Accepted;
    if (end == RequestEnd::Unreachable || (end == RequestEnd::Completed && readable)) return Verdict::Refused;
    return Verdict::Unknown;
}

PortalResult JudgeReply(const WebReply& reply, ReplyPart part, const char* toSet, const char* marker) {
    bool found = true;
    const Text text = part == ReplyPart::Body ? PageBody(reply.body, &found) : BytesToText(reply.body);
    // A page without a body is a page all the same; only text that does not convert is damaged.
    const Text converted = found ? BytesToText(ConvertCharset(text, "UTF-8", toSet)) : Text();
    const bool readable = !found || text.empty() || !converted.empty();
    const bool holds = Find(converted, Gbk(marker), 1) > 0;
    return {VerdictOf(reply.end, readable, holds), reply.end};
}

bool IsSignedInReply(const Bytes& reply) {
    return JudgeReply({reply, RequestEnd::Completed}, ReplyPart::Body, "GB2312", "帐户资料管理").accepted();
}

PortalResult PostLogin(const Text& host, const Text& user, const Text& password, const Text& captcha) {
    const WebReply reply = WebRequest(HttpAddress(host, paths::kLogin), "POST", LoginBody(user, password, captcha));
    return JudgeReply(reply, ReplyPart::Body, "GB2312", "帐户资料管理");
}

Bytes FetchCaptcha(const Text& host) { return WebRequest(HttpAddress(host, paths::kCaptcha)).body; }

Bytes FetchCaptchaPlain(const Text& host) {
    WebRequestOptions o;
    o.shape = RequestShape::Plain10;
    return WebRequest(HttpAddress(host, paths::kCaptcha), o).body;
}

const std::array<OverviewField, 18>& OverviewFields() {
    static const std::array<OverviewField, 18> fields = [] {
        const Text tail = "<td class=\"reg_info_input\" valign=\"top\">";
        auto row = [&tail](const char* text, int tabs) {
            return Gbk(text) + ":</td>\r\n" + Text(static_cast<size_t>(tabs), '\t') + tail;
        };
        const Text minutes = Gbk(" 分钟");
        using O = AccountOverview;
        return std::array<OverviewField, 18>{{
            {&O::customerId, "method=show&id=", "\">", ""},
            {&O::serviceNumber, Gbk("Zorvane号码:<span>"), "</span>", ""},
            {&O::balance, "<span class=\"reg_info_input\">", Gbk("元</span>"), Gbk(" 元")},
            {&O::customerName, Gbk("欢迎访问:<span>"), "</span>", ""},
            {&O::userType, row("用户类型", 8), "</td>", ""},
            {&O::freeMinutes, row("赠送通话时间", 9), "&nbsp", minutes},
            {&O::idCard, "<td class=\"reg_info_name\" valign=\"top\">" + row("身份证", 8), "</td>", ""},
            {&O::customerPhone, row("客户电话", 8), "</td>", ""},
            {&O::usedMinutes, row("已用赠送时间", 9), "&nbsp", minutes},
            {&O::company, row("客户单位", 8), "</td>", ""},
            {&O::registeredOn, row("注册时间", 8), "</td>", ""},
            {&O::transferType, row("转接类型", 9), "</td>", ""},
            {&O::callerDisplay, row("呼转显示主叫方式", 9), "</td>", ""},
            {&O::transferFlag, row("呼转标志", 9), "</td>", ""},
            {&O::outboundFlag, row("外呼标志", 9), "</td>", ""},
            {&O::ringbackMode, row("来电回铃音模式", 9), "</td>", ""},
            {&O::ringToneType, row("Zorvane彩铃类型", 9), "</td>", ""},
            {&O::answerMode, row("接听方式", 9), "</td>", ""},
        }};
    }();
    return fields;
}

AccountOverview ParseAccountOverview(const Text& mainBody, const Text& forwardingPage) {
    AccountOverview o;
    if (mainBody.empty()) return o;
    o.read = true;
    for (const OverviewField& f : OverviewFields()) o.*f.value = TextBetween(mainBody, f.left, f.right) + f.suffix;
    const TextList numbers = ReadForwardingNumbers(mainBody, CountForwardingNumbers(mainBody));
    const TextList ids = ReadForwardingIds(forwardingPage);
    for (size_t i = 0; i < numbers.size(); ++i)
        o.forwardingNumbers.push_back(
            {numbers[i], ForwardingMemo(forwardingPage, numbers[i]), i < ids.size() ? ids[i] : Text()});
    return o;
}

AccountOverview ReadAccountOverview(const Text& host) {
    const WebReply main = WebRequest(HttpAddress(host, paths::kMainPage));
    const WebReply forwarding = WebRequest(HttpAddress(host, paths::kForwardingPage));
    AccountOverview o = ParseAccountOverview(BytesToText(Utf8ToGb2312(PageBody(main.body))),
                                             BytesToText(Utf8ToGb2312(forwarding.body)));
    o.mainPageEnd = main.end;
    o.forwardingPageEnd = forwarding.end;
    return o;
}

int CountForwardingNumbers(const Text& mainBody) {
    int count = 0;
    while (count < 4 && Find(mainBody, "<td>" + FromNumber(count + 1) + "</td>", 1) > 0) ++count;
    return count;
}

TextList ReadForwardingNumbers(const Text& mainBody, int count) {
    TextList out;
    for (int i = 1; i <= count; ++i) {
        const Text cell = "<td>" + FromNumber(i) + "</td>";
        const Text gap = TextBetween(mainBody, cell, "<td>");
        out.push_back(TextBetween(mainBody, cell + gap + "<td>", "</td>"));
    }
    return out;
}

TextList ReadForwardingIds(const Text& forwardPage) {
    return SplitFirstColumns(forwardPage, "<a href=\"/views/phoneno.mvc?method=removeAll&id=", "\"");
}

Text ForwardingMemo(const Text& forwardPage, const Text& number) {
    // The page lists each number in its own cell followed by the memo cell, with no other
    // cell between them.
    const TextList rows = SplitFirstColumns(forwardPage, "<td>" + number + "</td>", "&nbsp;</td>");
    if (rows.empty()) return {};
    const TextList pieces = Split(rows[0], "<td>");
    // The page escapes the memo; what the user wrote is what the references stand for.
    return pieces.size() == 2 ? DecodeCharacterReferences(pieces[1]) : Text();
}

} // namespace zv
