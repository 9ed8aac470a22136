// Sign-in and the account overview: the requests and the reading of their pages.
#pragma once

#include "net/text.h"
#include "net/webrequest.h"

#include <array>
#include <vector>

namespace zv {

// What a reply tells of an operation. Accepted: it holds the portal's success marker.
// Refused: the portal was never reached, or it answered a whole, readable reply without the
// marker. Unknown: the reply arrived damaged (cut short, too large, stalled, not convertible),
// so the portal may well have done what was asked.
enum class Verdict { Accepted, Refused, Unknown };
Verdict VerdictOf(RequestEnd end, bool readable, bool holdsMarker);

// How an operation on the portal ended: the verdict on its reply, and how the request ended.
struct PortalResult {
    Verdict verdict = Verdict::Refused;
    RequestEnd end = RequestEnd::Completed;
    bool accepted() const { return verdict == Verdict::Accepted; }
};

// Judges a reply by the portal's success marker (a UTF-8 literal), searched in the reply's
// body (the text between "<body>" and "</body>") or in the whole reply, after converting it
// from UTF-8 to toSet ("GB2312" or "char").
enum class ReplyPart { Body, Whole };
PortalResult JudgeReply(const WebReply& reply, ReplyPart part, const char* toSet, const char* markerUtf8);

// The login body; each value as typed but for the bytes the form encoding reserves.
Text LoginBody(const Text& user, const Text& password, const Text& captcha);

// True when the portal's reply holds the success marker inside its body (GB2312 view).
bool IsSignedInReply(const Bytes& reply);

// Posts the login; accepted on success. The sign-in then lives in the cookie store.
PortalResult PostLogin(const Text& portalHost, const Text& user, const Text& password, const Text& captcha);

// The captcha image, with the default headers, or in the plain HTTP/1.0 shape.
Bytes FetchCaptcha(const Text& portalHost);
Bytes FetchCaptchaPlain(const Text& portalHost);

struct ForwardingNumber {
    Text number;
    Text memo; // as the user wrote it: the page's character references decoded
    Text id;   // the portal's record id; empty when the forwarding page lists fewer ids
};

// The account as the portal's two pages show it. Each value is the text between its markers
// with its suffix, or a failure text ("失败", "未找到") when a marker is missing.
struct AccountOverview {
    // False when the main page's body did not arrive or did not convert: nothing below is
    // set, and what the windows show stays as it was.
    bool read = false;
    RequestEnd mainPageEnd = RequestEnd::Completed;
    RequestEnd forwardingPageEnd = RequestEnd::Completed;

    Text customerId, serviceNumber, balance, customerName, userType, freeMinutes, idCard, customerPhone,
        usedMinutes, company, registeredOn;
    // The service settings in force.
    Text transferType, callerDisplay, transferFlag, outboundFlag, ringbackMode, ringToneType, answerMode;
    // In page order, at most four.
    std::vector<ForwardingNumber> forwardingNumbers;
};

// The eighteen values in their order, with their markers and suffixes.
struct OverviewField {
    Text AccountOverview::*value;
    Text left, right, suffix;
};
const std::array<OverviewField, 18>& OverviewFields();

// The body of a page as it arrived, in UTF-8 (the text between "<body>" and "</body>", or a
// failure text).
Text PageBody(const Bytes& page, bool* found = nullptr);

// Fetches both pages and reads them.
AccountOverview ReadAccountOverview(const Text& portalHost);
// Reads the converted main-page body and forwarding page (GBK). An empty body reads nothing.
AccountOverview ParseAccountOverview(const Text& mainBody, const Text& forwardingPage);

// The pieces of the reading, each by its markers.
int CountForwardingNumbers(const Text& mainBody);
TextList ReadForwardingNumbers(const Text& mainBody, int count);
TextList ReadForwardingIds(const Text& forwardingPage);
// The memo cell after the number's cell with its character references decoded, or empty
// when it cannot be isolated.
Text ForwardingMemo(const Text& forwardingPage, const Text& number);

} // namespace zv
