#include "operations.h"

#include "account.h"
#include "charset.h"
#include "endpoints.h"
#include "scrape.h"
#include "webrequest.h"

namespace zv {

namespace {
Bytes Post(const Text& host, const char* path, const Text& body) {
    return WebRequest(HttpAddress(host, path), "POST", body);
}
} // namespace

bool BodyHolds(const Bytes& reply, const char* marker) {
    return Find(BytesToText(Utf8ToGbk(PageBody(reply))), Gbk(marker), 1) > 0;
}

bool ReplyHolds(const Bytes& reply, const char* marker) {
    return Find(BytesToText(Utf8ToGbk(reply)), Gbk(marker), 1) > 0;
}

Text CallBody(const Text& customerId, const Text& caller, const Text& callee) {
    return FormBody({{"customerId", FormValue(customerId)}, {"compere", FormValue(caller)}, {"joins", FormValue(callee)}});
}

bool PlaceCallRequest(const Text& host, const Text& customerId, const Text& caller, const Text& callee) {
    return BodyHolds(Post(host, paths::kConference, CallBody(customerId, caller, callee)), "请等待电话接通");
}

Text EncodeMemo(const Text& memo) { return PercentEncodeAll(GbkToUtf8(memo)); }

void AddForwardingNumber(const Text& host, const Text& number, const Text& memo) {
    Post(host, paths::kForwardSave, FormBody({{"id", ""}, {"phoneno", FormValue(number)}, {"memo", EncodeMemo(memo)}}));
}

void UpdateForwardingNumber(const Text& host, const Text& id, const Text& number, const Text& memo) {
    Post(host, paths::kForwardUpdate,
         FormBody({{"id", FormValue(id)}, {"phoneno", FormValue(number)}, {"memo", EncodeMemo(memo)}}));
}

void MoveForwardingNumber(const Text& host, const Text& id, bool toTop) {
    Post(host, paths::kForwardOrder, FormBody({{"id", FormValue(id)}, {"action", toTop ? "top" : "up"}}));
}

void RemoveForwardingNumber(const Text& host, const Text& id) {
    Post(host, paths::kForwardRemove, FormBody({{"id", FormValue(id)}}));
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

bool SubmitOptions(const Text& host, const Text& id, const ForwardingOptions& o) {
    return ReplyHolds(Post(host, paths::kSetting, OptionsBody(id, o)), "设置基本参数成功");
}

Text BlacklistBody(int type, const Text& start, const Text& end, const Text& memo) {
    return FormBody({{"id", "id"},
                     {"type", FromNumber(type)},
                     {"starttele", FormValue(start)},
                     {"endtele", FormValue(end)},
                     {"ringId", "1"},
                     {"memo", EncodeMemo(memo)}});
}

bool AddBlacklistRange(const Text& host, int type, const Text& start, const Text& end, const Text& memo) {
    return ReplyHolds(Post(host, paths::kBlacklistSave, BlacklistBody(type, start, end, memo)), "新增对象成功");
}

Text PasswordBody(const Text& id, const Text& oldPassword, const Text& newPassword, const Text& confirmation) {
    return FormBody({{"id", FormValue(id)},
                     {"oldPassword", FormValue(oldPassword)},
                     {"newPassword", FormValue(newPassword)},
                     {"renewPassword", FormValue(confirmation)}});
}

bool ChangePassword(const Text& host, const Text& id, const Text& oldPassword, const Text& newPassword,
                    const Text& confirmation) {
    return ReplyHolds(Post(host, paths::kChangePassword, PasswordBody(id, oldPassword, newPassword, confirmation)),
                      "修改密码成功");
}

} // namespace zv
