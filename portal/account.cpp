#include "account.h"

#include "charset.h"
#include "endpoints.h"
#include "scrape.h"
#include "webrequest.h"

namespace zv {

Text LoginBody(const Text& user, const Text& password, const Text& captcha) {
    return FormBody({{"j_username", FormValue(user)},
                     {"j_password", FormValue(password)},
                     {"j_captcha_response", FormValue(captcha)}});
}

Text PageBody(const Bytes& page) { return TextBetween(BytesToText(page), "<body>", "</body>"); }

bool IsSignedInReply(const Bytes& reply) {
    const Text body = BytesToText(Utf8ToGb2312(PageBody(reply)));
    return Find(body, Gbk("帐户资料管理"), 1) > 0;
}

bool PostLogin(const Text& host, const Text& user, const Text& password, const Text& captcha) {
    return IsSignedInReply(WebRequest(HttpAddress(host, paths::kLogin), "POST", LoginBody(user, password, captcha)));
}

Bytes FetchCaptcha(const Text& host) { return WebRequest(HttpAddress(host, paths::kCaptcha)); }

Bytes FetchCaptchaPlain(const Text& host) {
    WebRequestOptions o;
    o.shape = RequestShape::Plain10;
    return WebRequest(HttpAddress(host, paths::kCaptcha), o);
}

const std::array<OverviewField, 18>& OverviewFields() {
    static const std::array<OverviewField, 18> fields = [] {
        const Text tail = "<td class=\"reg_info_input\" valign=\"top\">";
        auto row = [&tail](const char* text, int tabs) {
            return Gbk(text) + ":</td>\r\n" + Text(static_cast<size_t>(tabs), '\t') + tail;
        };
        const Text minutes = Gbk(" 分钟");
        return std::array<OverviewField, 18>{{
            {"标签_ID", "method=show&id=", "\">", ""},
            {"标签_号码", Gbk("Zorvane号码:<span>"), "</span>", ""},
            {"标签_余额", "<span class=\"reg_info_input\">", Gbk("元</span>"), Gbk(" 元")},
            {"标签_客户名称", Gbk("欢迎访问:<span>"), "</span>", ""},
            {"标签_用户类型", row("用户类型", 8), "</td>", ""},
            {"标签_赠送通话时间", row("赠送通话时间", 9), "&nbsp", minutes},
            {"标签_身份证", "<td class=\"reg_info_name\" valign=\"top\">" + row("身份证", 8), "</td>", ""},
            {"标签_客户电话", row("客户电话", 8), "</td>", ""},
            {"标签_已用赠送时间", row("已用赠送时间", 9), "&nbsp", minutes},
            {"标签_客户单位", row("客户单位", 8), "</td>", ""},
            {"标签_注册时间", row("注册时间", 8), "</td>", ""},
            {"标签_转接类型", row("转接类型", 9), "</td>", ""},
            {"标签_呼转显示主叫方式", row("呼转显示主叫方式", 9), "</td>", ""},
            {"标签_呼转标志", row("呼转标志", 9), "</td>", ""},
            {"标签_外呼标志", row("外呼标志", 9), "</td>", ""},
            {"标签_来电回铃音模式", row("来电回铃音模式", 9), "</td>", ""},
            {"标签_Zorvane彩铃类型", row("Zorvane彩铃类型", 9), "</td>", ""},
            {"标签_接听方式", row("接听方式", 9), "</td>", ""},
        }};
    }();
    return fields;
}

std::array<Text, 18> ReadOverviewFields(const Text& mainBody) {
    std::array<Text, 18> out;
    const auto& fields = OverviewFields();
    for (size_t i = 0; i < fields.size(); ++i)
        out[i] = TextBetween(mainBody, fields[i].left, fields[i].right) + fields[i].suffix;
    return out;
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

} // namespace zv
