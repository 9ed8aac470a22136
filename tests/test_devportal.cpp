#include "devportal/devportal.h"
#include "net/webrequest.h"

#include <gtest/gtest.h>

using namespace zvdev;

namespace {

class DevPortalTest : public ::testing::Test {
protected:
    void SetUp() override {
        zv::ClearCookies();
        ASSERT_TRUE(portal.Start(0));
        base = "http://" + portal.host();
    }
    std::string Get(const std::string& path) { return zv::WebRequest(base + path).body; }
    std::string Post(const std::string& path, const std::string& body) {
        return zv::WebRequest(base + path, "POST", body).body;
    }
    bool SignIn(const std::string& password = "zorvane8") {
        Get("/captcha.jpg");
        return Post("/views/customer.mvc?method=login",
                    "j_username=95013825&j_password=" + password +
                        "&j_captcha_response=" + portal.lastCaptcha())
                   .find("帐户资料管理") != std::string::npos;
    }
    std::vector<std::string> Numbers() {
        std::vector<std::string> out;
        for (const auto& f : portal.account().forwards) out.push_back(f.number);
        return out;
    }
    DevPortal portal;
    std::string base;
};

TEST_F(DevPortalTest, SignInNeedsTheCaptchaLastServedToThisSession) {
    EXPECT_EQ(Get("/views/myzorvane/main.jsp").find("Zorvane号码"), std::string::npos);
    // No captcha fetched yet: even the right digits of nothing fail.
    EXPECT_EQ(Post("/views/customer.mvc?method=login", "j_username=95013825&j_password=zorvane8&j_captcha_response=").find("帐户资料管理"),
              std::string::npos);
    Get("/captcha.jpg");
    const std::string first = portal.lastCaptcha();
    Get("/captcha.jpg");
    const std::string second = portal.lastCaptcha();
    if (first != second) {
        EXPECT_EQ(Post("/views/customer.mvc?method=login",
                       "j_username=95013825&j_password=zorvane8&j_captcha_response=" + first)
                      .find("帐户资料管理"),
                  std::string::npos)
            << "an older captcha was accepted";
        Get("/captcha.jpg");
    }
    EXPECT_FALSE(SignIn("wrong"));
    EXPECT_TRUE(SignIn());
    const std::string page = Get("/views/myzorvane/main.jsp");
    EXPECT_NE(page.find("method=show&id=20460\">"), std::string::npos);
    EXPECT_NE(page.find("<td>1</td>\r\n\t\t\t<td>13812345678</td>"), std::string::npos);
    // Another client (no cookies) is not signed in.
    zv::ClearCookies();
    EXPECT_EQ(Get("/views/myzorvane/main.jsp").find("Zorvane号码"), std::string::npos);
}

TEST_F(DevPortalTest, SessionsLapseWhenIdleAndOnRequest) {
    ASSERT_TRUE(SignIn());
    portal.ExpireSessions();
    EXPECT_EQ(Get("/views/myzorvane/main.jsp").find("Zorvane号码"), std::string::npos);
    ASSERT_TRUE(SignIn());
    portal.SetIdleSeconds(0);
    EXPECT_EQ(Get("/views/myzorvane/main.jsp").find("Zorvane号码"), std::string::npos);
}

TEST_F(DevPortalTest, FormsAreDecodedByTheUsualRules) {
    EXPECT_EQ(FormDecode("a+b%26c%3d%25%zz%4"), "a b&c=%%zz%4");
    const auto form = ParseForm("id=&phoneno=1%2B2&memo=%E4%B8%AD&flag&=x");
    ASSERT_EQ(form.size(), 5u);
    EXPECT_EQ(form[1].second, "1+2");
    EXPECT_EQ(form[2].second, "中");
    EXPECT_EQ(form[3].first, "flag");
    EXPECT_EQ(HtmlEscape("<td>&\"'"), "&lt;td&gt;&amp;&#034;&#039;"); // as a JSP escapes
}

TEST_F(DevPortalTest, AtMostFourForwardingNumbersInTheirOrder) {
    ASSERT_TRUE(SignIn());
    Post("/views/phoneno.mvc?method=save", "id=&phoneno=13900000003&memo=%E4%B8%89");
    Post("/views/phoneno.mvc?method=save", "id=&phoneno=13900000004&memo=");
    Post("/views/phoneno.mvc?method=save", "id=&phoneno=13900000005&memo=");
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"13812345678", "057187654321", "13900000003", "13900000004"}));
    EXPECT_EQ(portal.account().forwards[2].memo, "三");
    const int third = portal.account().forwards[2].id;
    const int fourth = portal.account().forwards[3].id;
    Post("/views/phoneno.mvc?method=order", "id=" + std::to_string(fourth) + "&action=top");
    Post("/views/phoneno.mvc?method=order", "id=" + std::to_string(third) + "&action=up");
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"13900000004", "13812345678", "13900000003", "057187654321"}));
    Post("//views/phoneno.mvc?method=removeAll", "id=" + std::to_string(third));
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"13900000004", "13812345678", "057187654321"}));
    // The single-slash path is not the removal endpoint.
    Post("/views/phoneno.mvc?method=removeAll", "id=" + std::to_string(fourth));
    EXPECT_EQ(Numbers().size(), 3u);
    const std::string page = Get("/views/phoneno.mvc?method=index");
    EXPECT_NE(page.find("<a href=\"/views/phoneno.mvc?method=removeAll&id=" + std::to_string(fourth) + "\""),
              std::string::npos);
}

TEST_F(DevPortalTest, PasswordChangeNeedsTheOldPasswordAndTwoEqualNewOnes) {
    ASSERT_TRUE(SignIn());
    const std::string op = "/views/customer.mvc?method=changePassword";
    EXPECT_EQ(Post(op, "id=20460&oldPassword=bad&newPassword=n1&renewPassword=n1").find("修改密码成功"), std::string::npos);
    EXPECT_EQ(Post(op, "id=20460&oldPassword=zorvane8&newPassword=n1&renewPassword=n2").find("修改密码成功"), std::string::npos);
    EXPECT_NE(Post(op, "id=20460&oldPassword=zorvane8&newPassword=a%26b&renewPassword=a%26b").find("修改密码成功"), std::string::npos);
    EXPECT_EQ(portal.account().password, "a&b");
}

TEST_F(DevPortalTest, RefusingClosesThePortUntilTheFaultClears) {
    EXPECT_FALSE(Get("/").empty());
    portal.SetFault("", Fault::Refuse);
    EXPECT_TRUE(Get("/").empty());
    portal.ClearFaults();
    EXPECT_FALSE(Get("/").empty());
}

} // namespace
