// Sign-in and the account overview: the requests and the reading of their pages.
#pragma once

#include "text.h"

#include <array>

namespace zv {

// The login body; each value as typed but for the bytes the form encoding reserves.
Text LoginBody(const Text& user, const Text& password, const Text& captcha);

// True when the portal's reply holds the success marker inside its body (GB2312 view).
bool IsSignedInReply(const Bytes& reply);

// Posts the login; true on success. The sign-in then lives in the cookie store.
bool PostLogin(const Text& portalHost, const Text& user, const Text& password, const Text& captcha);

// The captcha image, with the default headers, or in the plain HTTP/1.0 shape.
Bytes FetchCaptcha(const Text& portalHost);
Bytes FetchCaptchaPlain(const Text& portalHost);

// The 18 labels of the overview in their order, with their markers and suffixes.
struct OverviewField {
    const char* label; // the control's name (UTF-8)
    Text left, right, suffix;
};
const std::array<OverviewField, 18>& OverviewFields();

// The account page's body (the text between "<body>" and "</body>", or a failure text).
Text PageBody(const Bytes& page);

// What the refresh shows, read from the converted main-page body.
std::array<Text, 18> ReadOverviewFields(const Text& mainBody);
int CountForwardingNumbers(const Text& mainBody);
TextList ReadForwardingNumbers(const Text& mainBody, int count);
TextList ReadForwardingIds(const Text& forwardPage);

} // namespace zv
