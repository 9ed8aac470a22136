// Every address the client uses on the portal and on the web site.
#pragma once

#include "net/text.h"

namespace zv::paths {

// Portal, "http://" + PortalHost + path.
inline constexpr const char* kLogin = "/views/customer.mvc?method=login";
inline constexpr const char* kCaptcha = "/captcha.jpg";
inline constexpr const char* kMainPage = "/views/myzorvane/main.jsp";
inline constexpr const char* kForwardingPage = "/views/phoneno.mvc?method=index";
inline constexpr const char* kConference = "/views/contact.mvc?method=conference";
inline constexpr const char* kForwardSave = "/views/phoneno.mvc?method=save";
inline constexpr const char* kForwardUpdate = "/views/phoneno.mvc?method=update";
inline constexpr const char* kForwardOrder = "/views/phoneno.mvc?method=order";
inline constexpr const char* kForwardRemove = "//views/phoneno.mvc?method=removeAll"; // two slashes
inline constexpr const char* kSetting = "/views/customer.mvc?method=setting";
inline constexpr const char* kBlacklistSave = "/views/blackNo.mvc?method=save";
inline constexpr const char* kChangePassword = "/views/customer.mvc?method=changePassword";
inline constexpr const char* kAccountShow = "/views/customer.mvc?method=show";

// Web site, "http://" + SiteHost + path.
inline constexpr const char* kHome = "/";
inline constexpr const char* kPay = "/qarlo/pay.html";
inline constexpr const char* kNumberSelection = "/qarlo/No.html";
inline constexpr const char* kRegister = "/qarlo/reg.html";
inline constexpr const char* kNotice = "/qarlo/gonggao.html";
inline constexpr const char* kBanner = "/qarlo/gonggao.png";

} // namespace zv::paths

namespace zv {

inline Text HttpAddress(const Text& host, const char* path) { return "http://" + host + path; }

} // namespace zv
