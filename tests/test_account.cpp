#include "net/scrape.h"
#include "portal/account.h"
#include "portal/banner.h"
#include "portal/operations.h"
#include "store/settings.h"
#include "tests/support/files.h"
#include "tests/support/raw_server.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace zv;

namespace {

TEST(Scramble, KnownFormsRoundTripsAndJunk) {
    auto keys = [](std::vector<int> k) {
        return [k, i = size_t(0)]() mutable { return k[i++]; };
    };
    EXPECT_EQ(ScramblePasswordWithKeys("abc", keys({0, 0, 0})), "9IaIbI");
    EXPECT_EQ(ScramblePasswordWithKeys("abc", keys({1, 0, 0})), "8JaIbI");
    EXPECT_EQ(UnscramblePassword("9IaIbI"), "abc");
    EXPECT_EQ(UnscramblePassword("8JaIbI"), "abc");
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";
    for (int b = 1; b < 256; ++b)
        for (int k = 0; k <= 5; ++k) {
            const Text one(1, static_cast<char>(b));
            const Text s = ScramblePasswordWithKeys(one, [k] { return k; });
            ASSERT_EQ(s.size(), 2u);
            ASSERT_NE(alphabet.find(s[0]), std::string::npos);
            ASSERT_LT(alphabet.find(s[1]), 38u);
            ASSERT_EQ(UnscramblePassword(s), one) << b << " " << k;
        }
    const Text mixed = Gbk("密码") + "p&w=+%";
    EXPECT_EQ(UnscramblePassword(ScramblePassword(mixed)), mixed);
    EXPECT_EQ(ScramblePassword(""), "");
    // Values it did not produce unscramble without failing.
    for (const Text junk : {"", "A", "abc", "!!!!", "zzzz", "\xFF\xFE", "AAAA"}) {
        const Text out = UnscramblePassword(junk);
        EXPECT_LE(out.size(), junk.size() / 2);
        EXPECT_EQ(out.find('\0'), Text::npos);
    }
}

Text Row(const char* label, int tabs, const char* value) {
    return "<td class=\"reg_info_name\" valign=\"top\">" + Gbk(label) + ":</td>\r\n" + Text(tabs, '\t') +
           "<td class=\"reg_info_input\" valign=\"top\">" + Gbk(value) + "</td>";
}

TEST(Overview, FieldsAreTakenByTheirMarkersWithSuffixes) {
    const Text body = "<a href=\"x?method=show&id=77\">" + Gbk("欢迎访问:<span>李四</span>") +
                      "<span class=\"reg_info_input\">12.50" + Gbk("元</span>") +
                      "<span class=\"reg_info_input\">99" + Gbk("元</span>") + Row("用户类型", 8, "个人") +
                      Row("赠送通话时间", 9, "30&nbsp;") + Row("身份证", 8, "<b>1</b>") +
                      Row("客户电话", 9, "wrong tabs");
    const AccountOverview v = ParseAccountOverview(body, "");
    EXPECT_TRUE(v.read);
    EXPECT_EQ(v.customerId, "77");
    EXPECT_EQ(v.serviceNumber, Gbk("失败"));          // no Zorvane number marker
    EXPECT_EQ(v.balance, "12.50" + Gbk(" 元"));        // the first span, with its suffix
    EXPECT_EQ(v.customerName, Gbk("李四"));
    EXPECT_EQ(v.userType, Gbk("个人"));
    EXPECT_EQ(v.freeMinutes, "30" + Gbk(" 分钟"));     // stops at "&nbsp"
    EXPECT_EQ(v.idCard, "<b>1</b>");                   // markup shown as it is
    EXPECT_EQ(v.customerPhone, Gbk("失败"));           // 9 tabs where 8 are expected
    EXPECT_EQ(v.usedMinutes, Gbk("失败 分钟"));        // the suffix follows a failure text too
    const Text cut = Gbk("欢迎访问:<span>") + "open";
    EXPECT_EQ(ParseAccountOverview(cut, "").customerName, Gbk("未找到"));
    // A body that did not arrive or convert reads nothing.
    EXPECT_FALSE(ParseAccountOverview("", "<a href=\"/views/phoneno.mvc?method=removeAll&id=5\">").read);
}

TEST(Overview, ForwardingRowsAndIds) {
    const Text body = "<td>1</td>\r\n\t<td>111</td><td>2</td><td>222</td><td>3</td>\n<td></td>"
                      "<td>4</td><td>444</td><td>5</td><td>555</td>";
    EXPECT_EQ(CountForwardingNumbers(body), 4);
    EXPECT_EQ(ReadForwardingNumbers(body, 4), (TextList{"111", "222", "", "444"}));
    EXPECT_EQ(CountForwardingNumbers("<td>1</td><td>3</td>"), 1);
    EXPECT_EQ(CountForwardingNumbers("<td>2</td>"), 0);
    const Text page = "<a href=\"/views/phoneno.mvc?method=removeAll&id=5\"><a href=\"/views/phoneno.mvc?method=removeAll&id=6\">";
    EXPECT_EQ(ReadForwardingIds(page), (TextList{"5", "6"}));
    // Each number carries the id at its row, and an empty one past the end of the ids.
    const AccountOverview o = ParseAccountOverview(body, page);
    ASSERT_EQ(o.forwardingNumbers.size(), 4u);
    EXPECT_EQ(o.forwardingNumbers[0].number, "111");
    EXPECT_EQ(o.forwardingNumbers[1].id, "6");
    EXPECT_EQ(o.forwardingNumbers[2].id, "");
}

TEST(Overview, TheMemoIsTheCellAfterTheNumbersCell) {
    struct Row {
        const char* what;
        Text page;
        Text memo;
    };
    const std::vector<Row> rows = {
        {"plain", "<td>13812345678</td><td>home&nbsp;</td>", "home"},
        {"Chinese", "<td>13812345678</td><td>" + Gbk("我的手机") + "&nbsp;</td>", Gbk("我的手机")},
        // The page escapes the memo as a JSP does; what the user wrote comes back.
        {"references decoded", "<td>13812345678</td><td>&#034;a&amp;b&#039; &lt;&gt; &quot;&#x5BB6;&#23478;&nbsp;</td>",
         "\"a&b' <> \"" + Gbk("家家")},
        {"a cell written by the user", "<td>13812345678</td><td>x&lt;td&gt;y&nbsp;</td>", "x<td>y"},
        {"what is no reference stays", "<td>13812345678</td><td>a&b &#; &#xZZ; &#128512; &copy;&nbsp;</td>",
         "a&b &#; &#xZZ; &#128512; &copy;"},
        {"a cell inside the memo", "<td>13812345678</td><td>x<td>y&nbsp;</td>", ""},
        {"no row for the number", "<td>999</td><td>other&nbsp;</td>", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(ForwardingMemo(r.page, "13812345678"), r.memo) << r.what;
}

TEST(Overview, TheBodyAndTheSignInMarker) {
    const Bytes ok = "<html><body>\xE5\xB8\x90\xE6\x88\xB7\xE8\xB5\x84\xE6\x96\x99\xE7\xAE\xA1\xE7\x90\x86</body></html>";
    EXPECT_TRUE(IsSignedInReply(ok));
    // Outside the body, in a body tag with attributes, or beside a character GB2312 lacks.
    EXPECT_FALSE(IsSignedInReply("<title>\xE5\xB8\x90\xE6\x88\xB7\xE8\xB5\x84\xE6\x96\x99\xE7\xAE\xA1\xE7\x90\x86</title><body></body>"));
    EXPECT_FALSE(IsSignedInReply("<body class=\"x\">\xE5\xB8\x90\xE6\x88\xB7\xE8\xB5\x84\xE6\x96\x99\xE7\xAE\xA1\xE7\x90\x86</body>"));
    EXPECT_FALSE(IsSignedInReply("<body>\xE5\x80\x91\xE5\xB8\x90\xE6\x88\xB7\xE8\xB5\x84\xE6\x96\x99\xE7\xAE\xA1\xE7\x90\x86</body>"));
    EXPECT_FALSE(IsSignedInReply(""));
    EXPECT_EQ(PageBody("<BODY>x</BODY>"), Gbk("失败"));
    // An odd number of Chinese characters right before the end of the body.
    EXPECT_TRUE(IsSignedInReply("<body>\xE5\xB8\x90\xE6\x88\xB7\xE8\xB5\x84\xE6\x96\x99\xE7\xAE\xA1\xE7\x90\x86\xE5\xA5\xBD</body>"));
    EXPECT_EQ(LoginBody("1", "a&b", "2"), "j_username=1&j_password=a%26b&j_captcha_response=2");
}

TEST(Verdict, ADamagedReplyLeavesTheOutcomeUnknown) {
    const Bytes marker = "\xE8\xAF\xB7\xE7\xAD\x89\xE5\xBE\x85\xE7\x94\xB5\xE8\xAF\x9D\xE6\x8E\xA5\xE9\x80\x9A"; // 请等待电话接通
    const Bytes refused = "<html><body><p>\xE5\x91\xBC\xE5\x8F\xAB\xE5\xA4\xB1\xE8\xB4\xA5</p></body></html>"; // 呼叫失败
    struct Row {
        const char* what;
        Bytes reply;
        RequestEnd end;
        ReplyPart part;
        Verdict verdict;
    };
    using E = RequestEnd;
    using P = ReplyPart;
    using V = Verdict;
    const std::vector<Row> rows = {
        {"the marker", "<body><p>" + marker + "</p></body>", E::Completed, P::Body, V::Accepted},
        {"the marker right before the body's end", "<body>" + marker + "</body>", E::Completed, P::Body, V::Accepted},
        {"a whole reply without it", refused, E::Completed, P::Body, V::Refused},
        {"a page without a body", "Bad Gateway", E::Completed, P::Body, V::Refused},
        {"an empty whole reply", "", E::Completed, P::Whole, V::Refused},
        {"nothing sent", "", E::Unreachable, P::Body, V::Refused},
        {"a body that is not UTF-8", "<body>\xB5\xC7 \xFF</body>", E::Completed, P::Body, V::Unknown},
        {"a reply that is not UTF-8", "\xB5\xC7 \xFF", E::Completed, P::Whole, V::Unknown},
        {"cut short", "<body><p>\xE5\x91", E::Cut, P::Body, V::Unknown},
        {"cut after a readable part", "<html><body><p>ok</p></body>", E::Cut, P::Whole, V::Unknown},
        {"too large", "", E::TooLarge, P::Whole, V::Unknown},
        {"stalled after sending", "<body>", E::TimedOut, P::Body, V::Unknown},
        {"cut, but the marker arrived", "<p>" + marker, E::Cut, P::Whole, V::Accepted},
    };
    for (const Row& r : rows) {
        const PortalResult got = JudgeReply({r.reply, r.end}, r.part, "char", "请等待电话接通");
        EXPECT_EQ(static_cast<int>(got.verdict), static_cast<int>(r.verdict)) << r.what;
        EXPECT_EQ(got.end, r.end) << r.what;
    }
}

TEST(Banner, OnlyAWholeImageReplacesTheBanner) {
    char tmpl[] = "/tmp/zvbannerXXXXXX";
    const std::string dir = mkdtemp(tmpl), path = dir + "/Skins/gonggao.png";
    const Bytes png = std::string("\x89PNG\r\n\x1A\n", 8) + "rest of the image";
    struct Row {
        const char* what;
        std::string reply;
        bool replaced;
    };
    const std::vector<Row> rows = {
        {"an error page", zvtest::HttpOk("<html>404</html>"), false},
        {"nothing", zvtest::HttpOk(""), false},
        {"a cut image", "HTTP/1.1 200 OK\r\nContent-Length: 900\r\n\r\n" + png, false},
        {"a PNG", zvtest::HttpOk(png), true},
        {"a JPEG", zvtest::HttpOk("\xFF\xD8\xFF\xE0jpeg"), true},
        {"a GIF", zvtest::HttpOk("GIF89a..."), true},
    };
    for (const Row& r : rows) {
        zvtest::RawServer site([&r](const zvtest::RawRequest&) { return zvtest::RawReply{r.reply}; });
        std::system(("mkdir -p '" + dir + "/Skins' && printf old > '" + path + "'").c_str());
        EXPECT_EQ(UpdateBanner("127.0.0.1:" + std::to_string(site.port()), path), r.replaced) << r.what;
        const std::string now = zvtest::ReadFile(path);
        EXPECT_EQ(now == "old", !r.replaced) << r.what;
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

} // namespace
