#include "portal/operations.h"

#include "net/charset.h"
#include "net/scrape.h"
#include "net/webrequest.h"
#include "portal/account.h"
#include "portal/endpoints.h"

namespace zv {

namespace {
WebReply Post(const Text& host, const char* path, const Text& body) {
    return WebRequest(HttpAddress(host, path), "POST", body);
}

// Operation replies are searched in the ANSI code page.
PortalResult JudgedBody(const WebReply& reply, const char* marker) {
    return JudgeReply(reply, ReplyPart::Body, "char", marker);
}
PortalResult JudgedReply(const WebReply& reply, const char* marker) {
    return JudgeReply(reply, ReplyPart::Whole, "char", marker);
}
} // namespace

Text CallBody(const Text& customerId, const Text& caller, const Text& callee) {
    return FormBody({{"customerId", FormValue(customerId)}, {"compere", FormValue(caller)}, {"joins", FormValue(callee)}});
}

PortalResult PlaceCallRequest(const Text& host, const Text& customerId, const Text& caller, const Text& callee) {
    return JudgedBody(Post(host, paths::kConference, CallBody(customerId, caller, callee)), "请等待电话接通");
}

Text EncodeMemo(const Text& memo) { return PercentEncodeAll(GbkToUtf8(memo)); }

RequestEnd AddForwardingNumber(const Text& host, const Text& number, const Text& memo) {
    return Post(host, paths::kForwardSave, FormBody({{"id", ""}, {"phoneno", FormValue(number)}, {"memo", EncodeMemo(memo)}})).end;
}

RequestEnd UpdateForwardingNumber(const Text& host, const Text& id, const Text& number, const Text& memo) {
    return Post(host, paths::kForwardUpdate,
                FormBody({{"id", FormValue(id)}, {"phoneno", FormValue(number)}, {"memo", EncodeMemo(memo)}}))
        .end;
}

RequestEnd MoveForwardingNumber(const Text& host, const Text& id, bool toTop) {
    return Post(host, paths::kForwardOrder, FormBody({{"id", FormValue(id)}, {"action", toTop ? "top" : "up"}})).end;
}

RequestEnd RemoveForwardingNumber(const Text& host, const Text& id) {
    return Post(host, paths::kForwardRemove, FormBody({{"id", FormValue(id)}})).end;
}

Text OptionsBody(const Text& id, const ForwardingOptions& o) {
    return FormBody({{"id", FormValue(id)},
                     {"transType", FromNumber(o.transType)},
                     {"transCallerType", FromNumber(o.transCallerType)},
                     {"ringType", FromNumber(o.ringType)},
                     {"ringMode", FromNumber(o.ringMode)},
                     {"forbidFlag", FromNumber(o.forbidFlag)},
                     {"isMsg", FromNumber(o.isMsg)},
                     {"ringId", FromNumber(o.ringId)}});
}

PortalResult SubmitOptions(const Text& host, const Text& id, const ForwardingOptions& o) {
    return JudgedReply(Post(host, paths::kSetting, OptionsBody(id, o)), "设置基本参数成功");
}

Text BlacklistBody(int type, const Text& start, const Text& end, const Text& memo) {
    return FormBody({{"id", "id"},
                     {"type", FromNumber(type)},
                     {"starttele", FormValue(start)},
                     {"endtele", FormValue(end)},
                     {"ringId", "1"},
                     {"memo", EncodeMemo(memo)}});
}

PortalResult AddBlacklistRange(const Text& host, int type, const Text& start, const Text& end, const Text& memo) {
    return JudgedReply(Post(host, paths::kBlacklistSave, BlacklistBody(type, start, end, memo)), "新增对象成功");
}

Text PasswordBody(const Text& id, const Text& oldPassword, const Text& newPassword, const Text& confirmation) {
    return FormBody({{"id", FormValue(id)},
                     {"oldPassword", FormValue(oldPassword)},
                     {"newPassword", FormValue(newPassword)},
                     {"renewPassword", FormValue(confirmation)}});
}

PortalResult ChangePassword(const Text& host, const Text& id, const Text& oldPassword, const Text& newPassword,
                            const Text& confirmation) {
    return JudgedReply(Post(host, paths::kChangePassword, PasswordBody(id, oldPassword, newPassword, confirmation)),
                       "修改密码成功");
}

} // namespace zv
