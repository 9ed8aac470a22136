#include "portal/banner.h"

#include "net/webrequest.h"
#include "portal/endpoints.h"
#include "store/files.h"

namespace zv {

bool UpdateBanner(const Text& siteHost, const Text& path) {
    const WebReply reply = WebRequest(HttpAddress(siteHost, paths::kBanner));
    if (reply.body.empty()) return false;
    const auto slash = path.rfind('/');
    if (slash != Text::npos && slash > 0) EnsureFolder(path.substr(0, slash));
    return ReplaceFile(path, reply.body);
}

} // namespace zv
