#include "net/charset.h"
#include "net/scrape.h"
#include "net/text.h"
#include "net/url.h"

#include <gtest/gtest.h>

using namespace zv;

namespace {

struct FindCase {
    Text text, sought;
    long start;
    bool ignoreCase;
    long expected;
};

TEST(Text, FindFollowsItsRules) {
    const Text zhong = Gbk("中"); // D6 D0
    // "\xB0\xA1" then "\xA1\xB0": the sought pair A1 B0 is the second byte of one
    // character and the first of the next, so it must not be found there.
    const Text straddle = "\xB0\xA1\xB0\xA1";
    const std::vector<FindCase> cases = {
        {"abcabc", "c", 1, false, 3},
        {"abcabc", "c", 4, false, 6},
        {"abcabc", "c", 0, false, 3},   // a start below 1 counts as 1
        {"abcabc", "c", -5, false, 3},
        {"abcabc", "x", 1, false, -1},
        {"abc", "", 1, false, 1},       // empty sought in a non-empty text
        {"", "", 1, false, -1},         // ... and in an empty one
        {"", "a", 1, false, -1},
        {"ABC", "b", 1, false, -1},
        {"ABC", "b", 1, true, 2},
        {"Accept: x", "accept: ", 1, true, 1},
        {straddle, "\xA1\xB0", 1, false, -1},
        {"x" + zhong + "y", zhong, 1, false, 2},
        {zhong + "a", "a", 1, false, 3},
        {"\xC1\x41" "A", "a", 1, true, 3},  // trail byte 0x41 is no letter
        {"abc", "abcd", 1, false, -1},
        {"abc", "c", 4, false, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Find(c.text, c.sought, c.start, c.ignoreCase), c.expected)
            << "find [" << c.sought << "] in [" << c.text << "] from " << c.start;
}

TEST(Text, LeftRightMiddleClipToTheText) {
    EXPECT_EQ(Left("abcdef", 2), "ab");
    EXPECT_EQ(Left("ab", 5), "ab");
    EXPECT_EQ(Left("ab", -1), "");
    EXPECT_EQ(Right("abcdef", 2), "ef");
    EXPECT_EQ(Right("ab", 9), "ab");
    EXPECT_EQ(Middle("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Middle("abcdef", 5, 10), "ef");
    EXPECT_EQ(Middle("abcdef", 0, 2), "a");
    EXPECT_EQ(Middle("abcdef", 7, 1), "");
    EXPECT_EQ(Middle("abcdef", 3, 0), "");
}

TEST(Text, SplitKeepsInnerEmptyPiecesButNotATrailingOne) {
    const std::vector<std::pair<std::pair<Text, Text>, TextList>> cases = {
        {{"", ","}, {}},
        {{"abc", ""}, {"abc"}},
        {{"a,b", ","}, {"a", "b"}},
        {{"a,,b", ","}, {"a", "", "b"}},
        {{"a,b,", ","}, {"a", "b"}},
        {{",a", ","}, {"", "a"}},
        {{",", ","}, {""}},
        {{"aXb", "x"}, {"aXb"}}, // case-sensitive
        {{"\xB0\xA1\xB0\xA1", "\xA1\xB0"}, {"\xB0\xA1\xB0\xA1"}},
        {{"a<td>b<td>", "<td>"}, {"a", "b"}},
    };
    for (const auto& [in, expected] : cases)
        EXPECT_EQ(Split(in.first, in.second), expected) << in.first << " / " << in.second;
}

TEST(Text, BytesAndNumbers) {
    EXPECT_EQ(BytesToText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(BytesToText("abc"), "abc");
    const std::vector<std::pair<Text, long long>> numbers = {
        {"42", 42}, {"12abc", 12}, {"", 0}, {"abc", 0}, {"-7", -7}, {"3.9", 3}, {" 5", 5}, {"01", 1},
    };
    for (const auto& [t, n] : numbers) EXPECT_EQ(ToNumber(t), n) << t;
    EXPECT_EQ(FromNumber(-3), "-3");
}

TEST(Charset, ConvertsWholeStringsOrNothing) {
    const std::string zhongUtf8 = "\xE4\xB8\xAD";
    EXPECT_EQ(Utf8ToGb2312(zhongUtf8), "\xD6\xD0");
    EXPECT_EQ(Utf8ToGbk(zhongUtf8), "\xD6\xD0");
    EXPECT_EQ(GbkToUtf8("\xD6\xD0"), zhongUtf8);
    EXPECT_EQ(Gbk("帐户资料管理"), Utf8ToGbk("帐户资料管理"));
    EXPECT_EQ(Utf8ToGb2312(""), "");
    // Invalid, incomplete, and valid UTF-8 of a character GB2312 lacks (U+5011), or any
    // charset lacks as GBK bytes (U+1F600).
    EXPECT_EQ(Utf8ToGb2312("ab\xFF" "cd"), "");
    EXPECT_EQ(Utf8ToGb2312("ab\xE4\xB8"), "");
    EXPECT_EQ(Utf8ToGb2312("ok\xE5\x80\x91"), "");
    EXPECT_FALSE(Utf8ToGbk("\xE5\x80\x91").empty()); // GBK has it
    EXPECT_EQ(Utf8ToGbk("\xF0\x9F\x98\x80"), "");
    EXPECT_EQ(GbkToUtf8("\xD6"), "");  // a lone lead byte
    EXPECT_EQ(ConvertCharset("x", "UTF-8", "nonsense"), "");
}

TEST(Url, PartsOfAnAddress) {
    struct Row {
        Text url, host;
        int port;
        Text path;
    };
    const std::vector<Row> rows = {
        {"http://host:8080/x?y=1", "host", 8080, "/x?y=1"},
        {"http://host/x", "host", 80, "/x"},
        {"HTTP://Portal.Example.COM/a", "portal.example.com", 80, "/a"},
        {"http://host", "host", 80, "/"},
        {"http://host//views/phoneno.mvc?method=removeAll", "host", 80,
         "//views/phoneno.mvc?method=removeAll"},
        {"http://host:/x", "host", 0, "/x"},
        {"http://host:abc/x", "host", 0, "/x"},
        {"host:81/p", "host", 81, "/p"},
        {"http://t/x", "t", 80, "/x"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(UrlHost(r.url), r.host) << r.url;
        EXPECT_EQ(UrlPort(r.url), r.port) << r.url;
        EXPECT_EQ(UrlPath(r.url), r.path) << r.url;
    }
    // The address a request goes to: a port that is not a number gives way.
    const std::vector<std::pair<Text, Text>> sent = {
        {"http://host:8080/x", "http://host:8080/x"}, {"http://host:abc/x", "http://host/x"},
        {"http://p:/x", "http://p/x"},                {"http://host:0/x", "http://host/x"},
        {"http://host:70000/x", "http://host/x"},     {"http://host:81a", "http://host:81"},
        {"host:abc/p", "host/p"},                     {"http://[::1]:8080/x", "http://[::1]:8080/x"},
        {"http://host/x:y", "http://host/x:y"},
    };
    for (const auto& [url, address] : sent) EXPECT_EQ(RequestUrl(url), address) << url;
}

TEST(Scrape, TextBetweenAndItsFailureTexts) {
    bool found = false;
    EXPECT_EQ(TextBetween("[1][2]", "[", "]", &found), "1");
    EXPECT_TRUE(found);
    EXPECT_EQ(TextBetween("[]", "[", "]", &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(TextBetween("abc", "[", "]", &found), Gbk("失败"));
    EXPECT_FALSE(found);
    EXPECT_EQ(TextBetween("[abc", "[", "]", &found), Gbk("未找到"));
    EXPECT_FALSE(found);
    EXPECT_EQ(TextBetween("x[a]y[b]", "[", "]"), "a");
}

TEST(Scrape, TextBetweenBytesSearchesUtf8ByBytes) {
    // Seven Chinese characters, 21 UTF-8 bytes, right before the marker: stepping over them two
    // bytes at a time as GBK would swallows its "<".
    const Text reply = "<body>\xE8\xAF\xB7\xE7\xAD\x89\xE5\xBE\x85\xE7\x94\xB5\xE8\xAF\x9D\xE6\x8E\xA5\xE9\x80\x9A</body>";
    bool found = false;
    EXPECT_EQ(TextBetweenBytes(reply, "<body>", "</body>", &found), reply.substr(6, 21));
    EXPECT_TRUE(found);
    EXPECT_EQ(TextBetween(reply, "<body>", "</body>", &found), Gbk("未找到"));
    EXPECT_EQ(TextBetweenBytes("abc", "[", "]", &found), Gbk("失败"));
    EXPECT_FALSE(found);
    EXPECT_EQ(TextBetweenBytes("[abc", "[", "]", &found), Gbk("未找到"));
    EXPECT_EQ(TextBetweenBytes("x[a]y[b]", "[", "]"), "a");
}

TEST(Scrape, SplitFirstColumns) {
    EXPECT_EQ(SplitFirstColumns("x#a;b#c#", "#", ";"), (TextList{"a", "c"}));
    EXPECT_EQ(SplitFirstColumns("x##a", "#", ";"), (TextList{"a"}));
    EXPECT_EQ(SplitFirstColumns("no marker", "#", ";"), TextList{});
    EXPECT_EQ(SplitFirstColumns("x#;a", "#", ";"), (TextList{""}));
    const Text page = "<a href=\"/views/phoneno.mvc?method=removeAll&id=11\">x</a>"
                      "<a href=\"/views/phoneno.mvc?method=removeAll&id=12\">y</a>";
    EXPECT_EQ(SplitFirstColumns(page, "<a href=\"/views/phoneno.mvc?method=removeAll&id=", "\""),
              (TextList{"11", "12"}));
}

TEST(Scrape, Encodings) {
    EXPECT_EQ(PercentEncodeAll("abc"), "%61%62%63");
    EXPECT_EQ(PercentEncodeAll("\xD6\xD0"), "%D6%D0");
    EXPECT_EQ(PercentEncodeAll(std::string("\x00\x0A", 2)), "%00%0A");
    EXPECT_EQ(PercentEncodeAll(""), "");
    EXPECT_EQ(FormValue("a%b&c+d=e f\xD6\xD0"), "a%25b%26c%2Bd%3De f\xD6\xD0");
    EXPECT_EQ(FormBody({{"a", "1"}, {"b", ""}, {"c", "x"}}), "a=1&b=&c=x");
}

} // namespace
