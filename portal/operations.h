// The portal operations of the three tabs: each builds its body, sends it and judges the reply.
#pragma once

#include "net/text.h"
#include "portal/account.h"

namespace zv {

// Call placement: accepted when the portal answers that the call is being set up.
Text CallBody(const Text& customerId, const Text& caller, const Text& callee);
PortalResult PlaceCallRequest(const Text& portalHost, const Text& customerId, const Text& caller, const Text& callee);

// A memo as the portal takes it: GBK to UTF-8, then every byte percent-encoded.
Text EncodeMemo(const Text& memo);

// Forwarding numbers; the replies are not judged, only how the request ended is told.
RequestEnd AddForwardingNumber(const Text& host, const Text& number, const Text& memo);
RequestEnd UpdateForwardingNumber(const Text& host, const Text& id, const Text& number, const Text& memo);
RequestEnd MoveForwardingNumber(const Text& host, const Text& id, bool toTop);
RequestEnd RemoveForwardingNumber(const Text& host, const Text& id);

// Forwarding options, in the order of the body; -1 for a list with nothing selected.
struct ForwardingOptions {
    int transType, transCallerType, ringType, ringMode, forbidFlag, isMsg, ringId;
};
Text OptionsBody(const Text& customerId, const ForwardingOptions& o);
PortalResult SubmitOptions(const Text& host, const Text& customerId, const ForwardingOptions& o);

Text BlacklistBody(int type, const Text& start, const Text& end, const Text& memo);
PortalResult AddBlacklistRange(const Text& host, int type, const Text& start, const Text& end, const Text& memo);

Text PasswordBody(const Text& id, const Text& oldPassword, const Text& newPassword, const Text& confirmation);
PortalResult ChangePassword(const Text& host, const Text& id, const Text& oldPassword, const Text& newPassword,
                    const Text& confirmation);

} // namespace zv
