#include "net/scrape.h"
#include "portal/account.h"
#include "store/settings.h"

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
        {"entities kept", "<td>13812345678</td><td>a&amp;b&nbsp;</td>", "a&amp;b"},
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
    EXPECT_EQ(LoginBody("1", "a&b", "2"), "j_username=1&j_password=a%26b&j_captcha_response=2");
}

} // namespace
